// Drives the real Kestrova.exe from another process, as a user, the window system and a screen
// reader would: the shared scenario, the layout at the screen's DPI and what MSAA reports; and,
// in this process, the colours every label is given.
// Usage: win32_window_tests.exe [gtest flags] KESTROVA_EXE [DECIMAL_SEPARATOR]
#include "colours.h"
#include "form1_window.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include <oleacc.h>

namespace kestrova {
namespace {

std::wstring gProgram;
std::string gSeparator = ".";
std::vector<HWND> gValueChanges;
// 64-bit Wine 8 marshals no IAccessible of a program's own (E_NOINTERFACE), even within one
// process; the shipped 32-bit file is read where Wine runs it.
constexpr char kUnreadable[] = "unreadable in 64-bit Wine";

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

// Role, name and value as a screen reader reads them.
std::string msaa(HWND window) {
    IAccessible* object = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                                      reinterpret_cast<void**>(&object));
    if (FAILED(result)) {
        return result == E_NOINTERFACE && sizeof(void*) == 8 ? kUnreadable : "no object";
    }
    VARIANT self{}, role{};
    self.vt = VT_I4;
    BSTR name = nullptr, value = nullptr;
    object->get_accName(self, &name);
    object->get_accValue(self, &value);
    object->get_accRole(self, &role);
    object->Release();
    const std::string text = std::to_string(role.lVal) + "|" + toUtf8(name ? name : L"") + "|" +
                             toUtf8(value ? value : L"");
    SysFreeString(name);
    SysFreeString(value);
    return text;
}

void CALLBACK onValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    gValueChanges.push_back(window);
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
    HWND control(Control c) const { return GetDlgItem(form, kFirstControlId + int(c)); }
    std::string shown() const { // as scenario::expected writes it
        std::string shown;
        for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
            wchar_t text[64] = {};
            GetWindowTextW(control(c), text, 64);
            shown += toUtf8(text) + " ";
        }
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(process.dwThreadId, &thread);
        const auto focus = std::size_t(GetDlgCtrlID(thread.hwndFocus) - kFirstControlId);
        return shown + "at " +
               std::to_string(SendMessageW(control(Control::HScroll1), SBM_GETPOS, 0, 0)) +
               ", focus on " +
               std::string(focus < kControlCount ? kForm1.controls[focus].name : "");
    }
    void act(const scenario::Step& step) const {
        using scenario::Act;
        const BYTE keys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN, VK_PRIOR,
                             VK_NEXT, VK_HOME,  VK_END, VK_TAB,  VK_TAB};
        HWND tuner = control(Control::HScroll1), list = control(Control::Combo1);
        if (step.act == Act::Choose) { // what the list does when the user picks an entry
            SendMessageW(list, CB_SETCURSEL, WPARAM(step.argument), 0);
            SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                         LPARAM(list));
        } else if (step.act == Act::Key) { // Shift goes down only for Shift+Tab
            SetForegroundWindow(form);
            keybd_event(VK_SHIFT, 0, step.argument == scenario::BackTab ? 0 : KEYEVENTF_KEYUP, 0);
            keybd_event(keys[step.argument], 0, 0, 0);
            keybd_event(keys[step.argument], 0, KEYEVENTF_KEYUP, 0);
            keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        } else if (step.act == Act::Drag || step.act == Act::Release) { // what the thumb reports
            const int code = step.act == Act::Drag ? SB_THUMBTRACK : SB_THUMBPOSITION;
            SendMessageW(form, WM_HSCROLL, MAKEWPARAM(code, step.argument), LPARAM(tuner));
        } else if (step.act == Act::SwitchAway && step.argument == 0) { // to another window
            HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99,
                                         nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == other; }));
            SetForegroundWindow(form);
            DestroyWindow(other);
        } else if (step.act == Act::SwitchAway) { // minimised while active, and restored
            ShowWindow(form, SW_MINIMIZE);
            ShowWindow(form, SW_RESTORE);
        }
    }
    HWND form = nullptr;
    PROCESS_INFORMATION process{};
};

TEST(Win32Window, AUserAndAScreenReaderFindWhatTheyExpect) {
    CoInitialize(nullptr);
    SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, onValueChange, 0,
                    0, WINEVENT_OUTOFCONTEXT);
    Kestrova app;
    gValueChanges.clear(); // the start's own
    for (const scenario::Step& step : scenario::kSteps) {
        app.act(step);
        const std::string expected = scenario::expected(step, gSeparator);
        EXPECT_TRUE(waitFor([&] { return app.shown() == expected; }))
            << "step " << &step - scenario::kSteps << ": " << app.shown();
    }
    for (Control changed : {Control::HScroll1, Control::Label1, Control::Label2}) {
        EXPECT_TRUE(std::count(gValueChanges.begin(), gValueChanges.end(), app.control(changed)))
            << "no value change event from " << kForm1[changed].name;
    }
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY);
    for (std::size_t i = 0; i < kControlCount; ++i) { // at the screen's DPI
        const Box& box = kForm1.controls[i].box;
        RECT r{};
        GetWindowRect(app.control(Control(i)), &r);
        MapWindowPoints(nullptr, app.form, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right - r.left}),
                  std::vector<LONG>({MulDiv(box.left, dpi, 1440), MulDiv(box.top, dpi, 1440),
                                     MulDiv(box.width, dpi, 1440)}))
            << kForm1.controls[i].name;
    }
    const std::tuple<Control, int, std::string> kHeard[] = {
        // at the scenario's end
        {Control::HScroll1, ROLE_SYSTEM_SCROLLBAR,
         "Tuning|Uplink 435.272 MHz, downlink 145.878 MHz"},
        {Control::Combo1, ROLE_SYSTEM_COMBOBOX, "Transponder|VO-52"},
        {Control::Label1, ROLE_SYSTEM_STATICTEXT, "Uplink frequency|435.272 MHz"},
        {Control::Label3, ROLE_SYSTEM_STATICTEXT, "Uplink|"},
        {Control::Image1, ROLE_SYSTEM_GRAPHIC, "|"},
    };
    for (const auto& [control, role, heard] : kHeard) {
        const std::string read = msaa(app.control(control));
        if (read == kUnreadable) {
            GTEST_SKIP() << read; // after every other check of this run
        }
        EXPECT_EQ(read, std::to_string(role) + "|" + scenario::shown(heard, gSeparator));
    }
}

// Each label's text reads at 4.5:1 or better on the background the window gives it, on a dark
// scheme and on the machine's own.
TEST(Win32Window, EveryLabelReadsOnEveryScheme) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF original[] = {GetSysColor(elements[0]), GetSysColor(elements[1]),
                                 GetSysColor(elements[2]), GetSysColor(elements[3])};
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)};
    const auto colour = [](COLORREF c) { return Colour{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    Form1Window window;
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    HWND form = FindWindowW(kForm1ClassName, nullptr);
    for (const COLORREF* scheme : {dark, original}) {
        SetSysColors(4, elements, scheme);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            HDC dc = CreateCompatibleDC(nullptr);
            LOGBRUSH brush{};
            GetObjectW(reinterpret_cast<HBRUSH>(
                           SendMessageW(form, WM_CTLCOLORSTATIC, WPARAM(dc),
                                        LPARAM(GetDlgItem(form, kFirstControlId + int(i))))),
                       sizeof brush, &brush);
            const Colour text = colour(GetTextColor(dc));
            EXPECT_TRUE(kForm1.controls[i].kind != ControlKind::Label ||
                        std::min(contrastRatio(text, colour(brush.lbColor)),
                                 contrastRatio(text, colour(GetBkColor(dc)))) >= 4.5)
                << kForm1.controls[i].name << (scheme == dark ? " on a dark scheme" : "");
            DeleteDC(dc);
        }
    }
}

} // namespace
} // namespace kestrova

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kestrova::gProgram = kestrova::toWide(argc > 1 ? argv[1] : "");
    kestrova::gSeparator = argc > 2 ? argv[2] : ".";
    return RUN_ALL_TESTS();
}
