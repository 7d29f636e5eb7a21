// Drives the real Kestrova.exe from another process, as a user, the window system and a screen
// reader would: the shared scenario, the layout at the screen's DPI, what MSAA reports and how
// every text reads under several colour schemes.
// Usage: win32_window_tests.exe [gtest flags] KESTROVA_EXE [--separator=,]
#include "form1_window.h"
#include "painted_contrast.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <oleacc.h>

namespace kestrova {
namespace {

std::wstring gProgram;
std::string gSeparator = ".";
std::vector<HWND> gValueChanges;

// Waits for a condition, handling this thread's messages meanwhile (window events among them).
bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    for (int waited = 0; waited < milliseconds && !condition(); waited += 10) {
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    return condition();
}

// One running Kestrova.exe, closed again at the end of the test.
struct Kestrova {
    Kestrova() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L'"' + gProgram + L'"';
        EXPECT_TRUE(CreateProcessW(gProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process));
        waitFor([&] {
            return (form = FindWindowW(kForm1ClassName, nullptr)) && IsWindowVisible(form);
        });
    }
    ~Kestrova() {
        PostMessageW(form, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode) && exitCode == 0);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    HWND control(Control c) const {
        return GetDlgItem(form, kFirstControlId + static_cast<int>(c));
    }
    std::string text(Control c) const {
        wchar_t buffer[64] = {};
        GetWindowTextW(control(c), buffer, 64);
        return toUtf8(buffer);
    }
    std::string captions() const {
        return text(Control::Label1) + " " + text(Control::Label2) + " " + text(Control::Label7) +
               " " + text(Control::Label8);
    }
    int position() const {
        return static_cast<int>(SendMessageW(control(Control::HScroll1), SBM_GETPOS, 0, 0));
    }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process.dwThreadId, &info);
        return info.hwndFocus;
    }
    void press(WORD key, bool shift) const {
        std::vector<INPUT> inputs(shift ? 4 : 2);
        for (std::size_t i = 0; i < inputs.size(); ++i) { // Shift down, key down, key up, Shift up
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wVk = shift && (i == 0 || i == 3) ? WORD(VK_SHIFT) : key;
            inputs[i].ki.dwFlags = i >= inputs.size() / 2 ? KEYEVENTF_KEYUP : 0;
        }
        SetForegroundWindow(form);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
    void send(UINT message, WPARAM wParam, Control from) const {
        SendMessageW(form, message, wParam, reinterpret_cast<LPARAM>(control(from)));
    }
    void act(const scenario::Step& step) const {
        using scenario::Act;
        const WORD keys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN, VK_PRIOR, VK_NEXT,
                             VK_HOME, VK_END,   VK_TAB, VK_TAB,  VK_F5};
        RECT bar{};
        GetClientRect(control(Control::HScroll1), &bar);
        if (step.act == Act::Choose) { // what the list does when the user picks an entry
            SendMessageW(control(Control::Combo1), CB_SETCURSEL, WPARAM(step.argument), 0);
            send(WM_COMMAND, MAKEWPARAM(kFirstControlId + int(Control::Combo1), CBN_SELCHANGE),
                 Control::Combo1);
        } else if (step.act == Act::Key) {
            press(keys[step.argument], step.argument == scenario::key(scenario::Key::BackTab));
        } else if (step.act == Act::ClickTroughRight) {
            PostMessageW(control(Control::HScroll1), WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(bar.right - 30, bar.bottom / 2));
            PostMessageW(control(Control::HScroll1), WM_LBUTTONUP, 0,
                         MAKELPARAM(bar.right - 30, bar.bottom / 2));
        } else if (step.act == Act::Drag || step.act == Act::Release) { // what the thumb reports
            send(
                WM_HSCROLL,
                MAKEWPARAM(step.act == Act::Drag ? SB_THUMBTRACK : SB_THUMBPOSITION, step.argument),
                Control::HScroll1);
        } else if (step.act == Act::SwitchAway) {
            // Another window comes to the front; this one is minimised and restored.
            HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99,
                                         nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == other; }));
            ShowWindow(form, SW_MINIMIZE);
            ShowWindow(form, SW_RESTORE);
            SetForegroundWindow(form);
            DestroyWindow(other);
        }
    }
    HWND form = nullptr;
    PROCESS_INFORMATION process{};
};

TEST(Win32Window, TheScenarioShowsWhatTheUserExpectsInTheLayoutsPlaces) {
    Kestrova app;
    for (const scenario::Step& step : scenario::kSteps) {
        app.act(step);
        const std::string expected = scenario::captions(step, gSeparator);
        HWND focus =
            app.control(step.focus == scenario::Focus::Tuner ? Control::HScroll1 : Control::Combo1);
        EXPECT_TRUE(waitFor([&] {
            return app.focus() == focus && app.position() == step.position &&
                   app.captions() == expected;
        })) << "step "
            << &step - scenario::kSteps << ": at " << app.position() << " shows " << app.captions()
            << (app.focus() == focus ? "" : ", focus elsewhere");
    }
    for (Control fixed : {Control::Label3, Control::Label4, Control::Label5, Control::Label6}) {
        EXPECT_EQ(app.text(fixed), kForm1[fixed].text);
    }
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);
    RECT r{};
    GetClientRect(app.form, &r);
    EXPECT_EQ(r.right * 96, 407 * dpi);
    for (std::size_t i = 0; i < kControlCount; ++i) { // at the screen's DPI
        const Box& box = kForm1.controls[i].box;
        GetWindowRect(app.control(Control(i)), &r);
        MapWindowPoints(nullptr, app.form, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left}),
                  std::vector<LONG>({MulDiv(box.left, dpi, 1440), MulDiv(box.top, dpi, 1440),
                                     MulDiv(box.width, dpi, 1440)}))
            << kForm1.controls[i].name;
    }
}

// 64-bit Wine 8 marshals no IAccessible of a program's own (E_NOINTERFACE), even within one
// process; there the objects cannot be read, and the shipped 32-bit file is read where Wine
// runs it.
constexpr char kUnreadable[] = "64-bit Wine cannot marshal the program's IAccessible objects";
bool unreadableHere(HWND control) {
    IAccessible* accessible = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                                      reinterpret_cast<void**>(&accessible));
    if (accessible != nullptr) {
        accessible->Release();
    }
    return sizeof(void*) == 8 && result == E_NOINTERFACE;
}

// Name, role and value as a screen reader reads them.
std::string msaa(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return "none";
    }
    VARIANT self{}, role{};
    self.vt = VT_I4;
    BSTR name = nullptr, value = nullptr;
    wchar_t roleText[32] = {};
    accessible->get_accName(self, &name);
    accessible->get_accValue(self, &value);
    accessible->get_accRole(self, &role);
    accessible->Release();
    GetRoleTextW(DWORD(role.lVal), roleText, 32);
    const std::string text =
        toUtf8(name ? name : L"") + "|" + toUtf8(roleText) + "|" + toUtf8(value ? value : L"");
    SysFreeString(name);
    SysFreeString(value);
    return text;
}

void CALLBACK onValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    gValueChanges.push_back(window);
}

TEST(Win32Window, AScreenReaderHearsNamesRolesAndEachNewFrequency) {
    CoInitialize(nullptr);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
                                         nullptr, onValueChange, 0, 0, WINEVENT_OUTOFCONTEXT);
    Kestrova app;
    waitFor([] { return false; }, 500); // the events of the start are not what is looked for
    gValueChanges.clear();
    app.press(VK_RIGHT, false);
    for (Control changed : {Control::HScroll1, Control::Label1, Control::Label2}) {
        EXPECT_TRUE(waitFor([&] {
            return std::count(gValueChanges.begin(), gValueChanges.end(), app.control(changed));
        })) << "no value change event from "
            << kForm1[changed].name;
    }
    const std::string up = scenario::shown("145.999", gSeparator),
                      down = scenario::shown("435.801", gSeparator);
    const std::pair<Control, std::string> kExpected[] = {
        {Control::HScroll1, "Tuning|scroll bar|Uplink " + up + " MHz, downlink " + down + " MHz"},
        {Control::Combo1, "Transponder|combo box|FO-29"},
        {Control::Label1, "Uplink frequency|static text|" + up + " MHz"},
        {Control::Label2, "Downlink frequency|static text|" + down + " MHz"},
        {Control::Label8, "Downlink sideband|static text|USB"},
        {Control::Label3, "Uplink|static text|"},
        {Control::Image1, "|graphic|"},
    };
    UnhookWinEvent(hook);
    if (unreadableHere(app.control(Control::HScroll1))) {
        GTEST_SKIP() << kUnreadable;
    }
    for (const auto& [control, expected] : kExpected) {
        EXPECT_EQ(msaa(app.control(control)), expected);
    }
}

// A screen reader that still holds an object after its window has gone gets a failure.
TEST(Win32Window, AnObjectOutlivingItsWindowAnswersWithAFailure) {
    Form1Window window;
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    HWND form = FindWindowW(kForm1ClassName, nullptr);
    if (unreadableHere(GetDlgItem(form, kFirstControlId + int(Control::HScroll1)))) {
        GTEST_SKIP() << kUnreadable;
    }
    IAccessible* tuner = nullptr;
    AccessibleObjectFromWindow(GetDlgItem(form, kFirstControlId + int(Control::HScroll1)),
                               DWORD(OBJID_CLIENT), IID_IAccessible,
                               reinterpret_cast<void**>(&tuner));
    ASSERT_NE(tuner, nullptr);
    DestroyWindow(form);
    VARIANT self{};
    self.vt = VT_I4;
    BSTR text = nullptr;
    EXPECT_TRUE(FAILED(tuner->get_accName(self, &text)) &&
                FAILED(tuner->get_accValue(self, &text)));
    tuner->Release();
}

// Every text reads at 4.5:1 or better on the screen. Wine gives a running program the colours
// it started with, so each scheme is set before a start.
TEST(Win32Window, EveryTextReadsOnEveryColourScheme) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF original[] = {GetSysColor(elements[0]), GetSysColor(elements[1]),
                                 GetSysColor(elements[2]), GetSysColor(elements[3])};
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)};
    const COLORREF light[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (const COLORREF* scheme : {original, dark, light}) {
        SetSysColors(4, elements, scheme);
        Kestrova app;
        // Painted now, whatever else the machine is doing: the paint is sent and waited for.
        RedrawWindow(app.form, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        waitFor([] { return false; }, 300);
        RECT form{};
        GetWindowRect(app.form, &form);
        HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen); // one copy of the window
        HBITMAP bitmap =
            CreateCompatibleBitmap(screen, form.right - form.left, form.bottom - form.top);
        SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, form.right - form.left, form.bottom - form.top, screen, form.left,
               form.top, SRCCOPY);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            RECT r{};
            GetWindowRect(app.control(Control(i)), &r);
            const double ratio =
                paintedContrast(r.right - r.left, r.bottom - r.top, [&](int x, int y) {
                    const COLORREF c = GetPixel(copy, r.left - form.left + x, r.top - form.top + y);
                    return Colour{GetRValue(c), GetGValue(c), GetBValue(c)};
                });
            EXPECT_TRUE(ratio >= 4.5 || kForm1.controls[i].kind != ControlKind::Label)
                << kForm1.controls[i].name << ": " << ratio << " in scheme "
                << (scheme == original ? 0
                    : scheme == dark   ? 1
                                       : 2);
        }
        DeleteDC(copy);
        DeleteObject(bitmap);
        ReleaseDC(nullptr, screen);
    }
    SetSysColors(4, elements, original);
}

} // namespace
} // namespace kestrova

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        argument.rfind("--separator=", 0) == 0
            ? void(kestrova::gSeparator = argument.substr(12))
            : void(kestrova::gProgram = kestrova::toWide(argument));
    }
    return RUN_ALL_TESTS();
}
