// Drives the real Kestrova.exe from another process, as a user, the window system and a screen
// reader would: the shared scenario, the layout at the screen's DPI, what MSAA reports and the
// contrast of every text under several colour schemes.
// Usage: win32_window_tests.exe [gtest flags] KESTROVA_EXE [--separator=,]
#include "colours.h"
#include "form1_window.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <oleacc.h>

namespace kestrova {
namespace {

std::wstring gProgram;
std::string gSeparator = ".";

bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (MSG message; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) { // out-of-context events
            DispatchMessageW(&message);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

// One running Kestrova.exe, closed again at the end of the test.
class Kestrova {
public:
    Kestrova() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + gProgram + L"\"";
        if (!CreateProcessW(gProgram.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &process_)) {
            ADD_FAILURE() << "cannot start the program, error " << GetLastError();
            return;
        }
        WaitForInputIdle(process_.hProcess, 20000);
        waitFor(
            [&] { return (form = FindWindowW(kForm1ClassName, nullptr)) && IsWindowVisible(form); },
            20000);
    }
    ~Kestrova() {
        PostMessageW(form, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, 10000), WAIT_OBJECT_0);
        GetExitCodeProcess(process_.hProcess, &exitCode);
        EXPECT_EQ(exitCode, 0u);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Kestrova(const Kestrova&) = delete;
    Kestrova& operator=(const Kestrova&) = delete;

    HWND control(Control c) const {
        return GetDlgItem(form, kFirstControlId + static_cast<int>(c));
    }
    std::string text(Control c) const {
        wchar_t buffer[64] = {};
        GetWindowTextW(control(c), buffer, 64);
        return toUtf8(buffer);
    }
    int position() const {
        return static_cast<int>(SendMessageW(control(Control::HScroll1), SBM_GETPOS, 0, 0));
    }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }
    void press(WORD key, bool shift = false) const {
        std::vector<INPUT> inputs;
        for (WORD vk : {WORD(VK_SHIFT), key}) {
            if (vk == key || shift) {
                inputs.push_back({});
                inputs.back().type = INPUT_KEYBOARD;
                inputs.back().ki.wVk = vk;
            }
        }
        for (std::size_t i = inputs.size(); i-- > 0;) { // released in reverse order
            inputs.push_back(inputs[i]);
            inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
        }
        SetForegroundWindow(form);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
    void scroll(WORD code, int thumb = 0) const {
        SendMessageW(form, WM_HSCROLL, MAKEWPARAM(code, thumb),
                     reinterpret_cast<LPARAM>(control(Control::HScroll1)));
    }

    HWND form = nullptr;

private:
    PROCESS_INFORMATION process_{};
};

void act(const Kestrova& app, const scenario::Step& step) {
    using scenario::Act;
    static const WORD keys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN, VK_PRIOR, VK_NEXT,
                                VK_HOME, VK_END,   VK_TAB, VK_TAB,  VK_F5};
    switch (step.act) {
    case Act::Start:
        break;
    case Act::Choose: // what the list does when the user picks an entry
        SendMessageW(app.control(Control::Combo1), CB_SETCURSEL, static_cast<WPARAM>(step.argument),
                     0);
        SendMessageW(app.form, WM_COMMAND,
                     MAKEWPARAM(kFirstControlId + int(Control::Combo1), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(app.control(Control::Combo1)));
        break;
    case Act::Key:
        app.press(keys[step.argument], step.argument == scenario::key(scenario::Key::BackTab));
        break;
    case Act::ClickTroughRight: {
        RECT bar{};
        GetClientRect(app.control(Control::HScroll1), &bar);
        const LPARAM point = MAKELPARAM(bar.right - 30, bar.bottom / 2);
        PostMessageW(app.control(Control::HScroll1), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(app.control(Control::HScroll1), WM_LBUTTONUP, 0, point);
        break;
    }
    case Act::Drag:
        app.scroll(SB_THUMBTRACK, step.argument);
        break;
    case Act::Release:
        app.scroll(SB_THUMBPOSITION, step.argument);
        app.scroll(SB_ENDSCROLL);
        break;
    case Act::SwitchAway: { // another window comes to the front; the window is minimised and
                            // restored
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == other; }));
        ShowWindow(app.form, SW_MINIMIZE);
        ShowWindow(app.form, SW_RESTORE);
        SetForegroundWindow(app.form);
        DestroyWindow(other);
        break;
    }
    }
}

TEST(Win32Window, TheScenarioShowsWhatTheUserExpects) {
    Kestrova app;
    ASSERT_NE(app.form, nullptr);
    for (const scenario::Step& step : scenario::kSteps) {
        act(app, step);
        const std::string expected = scenario::shown(step.uplink, gSeparator) + " " +
                                     scenario::shown(step.downlink, gSeparator) + " " +
                                     std::string(step.sidebands);
        const auto shown = [&] {
            return app.text(Control::Label1) + " " + app.text(Control::Label2) + " " +
                   app.text(Control::Label7) + " " + app.text(Control::Label8);
        };
        HWND focus =
            app.control(step.focus == scenario::Focus::Tuner ? Control::HScroll1 : Control::Combo1);
        EXPECT_TRUE(waitFor([&] {
            return app.focus() == focus && app.position() == step.position && shown() == expected;
        })) << "step "
            << &step - scenario::kSteps << ": at " << app.position() << " shows " << shown()
            << " instead of " << expected << (app.focus() == focus ? "" : ", focus elsewhere");
    }
    for (Control fixed : {Control::Label3, Control::Label4, Control::Label5, Control::Label6}) {
        EXPECT_EQ(app.text(fixed), kForm1[fixed].text);
    }
    wchar_t title[32] = {};
    GetWindowTextW(app.form, title, 32);
    EXPECT_EQ(toUtf8(title), "Kestrova V.1.0");
}

TEST(Win32Window, ControlsSitWhereTheLayoutPutsThemAtTheScreensDpi) {
    Kestrova app;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(app.form, &client);
    EXPECT_EQ(client.right, MulDiv(407, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(205, dpi, 96));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const Box& box = kForm1.controls[i].box;
        RECT rect{};
        GetWindowRect(app.control(Control(i)), &rect);
        MapWindowPoints(nullptr, app.form, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, MulDiv(box.left, dpi, 1440)) << kForm1.controls[i].name;
        EXPECT_EQ(rect.top, MulDiv(box.top, dpi, 1440)) << kForm1.controls[i].name;
        EXPECT_EQ(rect.right - rect.left, MulDiv(box.width, dpi, 1440)) << kForm1.controls[i].name;
    }
}

std::vector<HWND> gValueChanges;
void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == static_cast<LONG>(OBJID_CLIENT)) {
        gValueChanges.push_back(window);
    }
}

// Name, role and value as a screen reader reads them, or an empty string where it gets none.
std::string msaa(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return "";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, value = nullptr;
    VARIANT role{};
    accessible->get_accName(self, &name);
    accessible->get_accValue(self, &value);
    accessible->get_accRole(self, &role);
    accessible->Release();
    wchar_t roleText[32] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 32);
    const std::string text =
        toUtf8(name ? name : L"") + "|" + toUtf8(roleText) + "|" + toUtf8(value ? value : L"");
    SysFreeString(name);
    SysFreeString(value);
    return text;
}

TEST(Win32Window, AScreenReaderHearsNamesRolesAndTheNewFrequencies) {
    CoInitialize(nullptr);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
                                         nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    Kestrova app;
    gValueChanges.clear();
    app.press(VK_RIGHT);
    EXPECT_TRUE(waitFor([&] {
        return std::count(gValueChanges.begin(), gValueChanges.end(),
                          app.control(Control::HScroll1)) > 0 &&
               std::count(gValueChanges.begin(), gValueChanges.end(),
                          app.control(Control::Label1)) > 0;
    })) << "no value change event for the tuner and the uplink display";
    const std::string up = scenario::shown("145.999", gSeparator);
    const std::string down = scenario::shown("435.801", gSeparator);
    const std::pair<Control, std::string> kExpected[] = {
        {Control::HScroll1, "Tuning|scroll bar|Uplink " + up + " MHz, downlink " + down + " MHz"},
        {Control::Combo1, "Transponder|combo box|FO-29"},
        {Control::Label1, "Uplink frequency|static text|" + up + " MHz"},
        {Control::Label2, "Downlink frequency|static text|" + down + " MHz"},
        {Control::Label8, "Downlink sideband|static text|USB"},
        {Control::Label3, "Uplink|static text|"},
        {Control::Image1, "|graphic|"},
    };
    for (const auto& [control, expected] : kExpected) {
        EXPECT_EQ(msaa(app.control(control)), expected);
    }
    UnhookWinEvent(hook);
}

// A screen reader that still holds a control's object after the window has gone gets a
// failure, not a crash.
TEST(Win32Window, AnObjectOutlivingItsWindowAnswersWithAFailure) {
    Form1Window window;
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    IAccessible* tuner = nullptr;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(
        FindWindowExW(FindWindowW(kForm1ClassName, nullptr), nullptr, L"SCROLLBAR", nullptr),
        static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&tuner)));
    DestroyWindow(FindWindowW(kForm1ClassName, nullptr));
    VARIANT self{};
    self.vt = VT_I4;
    BSTR text = nullptr;
    EXPECT_HRESULT_FAILED(tuner->get_accName(self, &text));
    EXPECT_HRESULT_FAILED(tuner->get_accValue(self, &text));
    tuner->Release();
}

// The contrast between the most common colour of a control (its background) and the colour
// that stands out most from it (its text), as painted on the screen.
double paintedContrast(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    std::vector<std::pair<COLORREF, int>> counts;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(memory, x, y);
            auto found =
                std::find_if(counts.begin(), counts.end(), [c](auto& e) { return e.first == c; });
            found == counts.end() ? counts.push_back({c, 1}) : void(++found->second);
        }
    }
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    const auto toColour = [](COLORREF c) {
        return Colour{GetRValue(c), GetGValue(c), GetBValue(c)};
    };
    const COLORREF back = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
    double best = 1;
    for (const auto& entry : counts) {
        best = std::max(best, contrastRatio(toColour(entry.first), toColour(back)));
    }
    return best;
}

TEST(Win32Window, EveryTextReadsOnEveryColourScheme) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    COLORREF original[4];
    for (int i = 0; i < 4; ++i) {
        original[i] = GetSysColor(elements[i]);
    }
    const struct {
        const char* name;
        COLORREF colours[4];
    } kSchemes[] = {
        {"default", {original[0], original[1], original[2], original[3]}},
        {"dark", {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)}},
        {"light", {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}},
    };
    Kestrova app;
    for (const auto& scheme : kSchemes) { // changed while the program runs
        SetSysColors(4, elements, scheme.colours);
        RedrawWindow(app.form, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        waitFor([] { return false; }, 300);
        for (Control c : {Control::Label1, Control::Label2, Control::Label3, Control::Label4,
                          Control::Label5, Control::Label6, Control::Label7, Control::Label8}) {
            const double ratio = paintedContrast(app.control(c));
            EXPECT_GE(ratio, 4.5) << scheme.name << ": " << kForm1[c].name;
        }
    }
    SetSysColors(4, elements, original);
}

} // namespace
} // namespace kestrova

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--separator=", 0) == 0) {
            kestrova::gSeparator = argument.substr(12);
        } else {
            kestrova::gProgram = kestrova::toWide(argument);
        }
    }
    return RUN_ALL_TESTS();
}
