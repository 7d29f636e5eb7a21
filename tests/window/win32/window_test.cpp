// Kestrova.exe as shipped, started in a process of its own and driven from this one as a user,
// Windows and a screen reader do: the shared scenario with real keys, the layout at the screen's
// DPI and after moves between screens, what MSAA answers and the events it sends out of process,
// and what other programs' messages do. Nothing of the window is built into this program.
// KESTROVA_EXE: the file; KESTROVA_EXPECT_SEPARATOR: the user's decimal separator, if not ".";
// KESTROVA_DPI: the screen's DPI (Wine's LogPixels), 96 unless set.
#include "colours.h"
#include "form1_window.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include <oleacc.h>

namespace kestrova {
namespace {

const char* const gUserSeparator = std::getenv("KESTROVA_EXPECT_SEPARATOR");
const std::string gSeparator = gUserSeparator ? gUserSeparator : ".";
const int gStartDpi = std::getenv("KESTROVA_DPI") ? std::atoi(std::getenv("KESTROVA_DPI")) : 96;

std::string utf8(std::wstring_view wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(std::size_t(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()),
                                                text.data(), int(text.size()), nullptr, nullptr)));
    return text;
}

// Role, name and value as a screen reader in another process reads them, through IDispatch as
// a script does: the properties themselves answer through it.
std::string msaa(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return "no object";
    }
    VARIANT self{};
    self.vt = VT_I4;
    DISPPARAMS parameters{&self, nullptr, 1, 0};
    std::string text;
    for (DISPID property : {DISPID_ACC_ROLE, DISPID_ACC_NAME, DISPID_ACC_VALUE}) {
        VARIANT got{};
        object->Invoke(property, IID_NULL, 0, DISPATCH_PROPERTYGET, &parameters, &got, nullptr,
                       nullptr);
        text.append(got.vt == VT_I4     ? std::to_string(got.lVal)
                    : got.vt == VT_BSTR ? utf8(got.bstrVal)
                                        : "")
            .append("|");
        VariantClear(&got);
    }
    object->Release();
    text.pop_back();
    return text;
}

std::vector<HWND> gHeard; // the controls a new value was heard from

void CALLBACK onEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT) {
        gHeard.push_back(window);
    }
}

class ShippedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        start();
    }
    void TearDown() override { stop(); }
    void start() {
        const char* exe = std::getenv("KESTROVA_EXE");
        ASSERT_NE(exe, nullptr) << "KESTROVA_EXE names no file";
        std::wstring path = std::wstring(L"Z:") + std::wstring(exe, exe + std::strlen(exe));
        std::replace(path.begin(), path.end(), L'/', L'\\');
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process))
            << "cannot start " << exe;
        ASSERT_TRUE(waitFor([&] { // the only one: each test's Wine runs nothing else
            return IsWindowVisible(form = FindWindowW(kForm1ClassName, nullptr));
        })) << "no window shown";
        thread = GetWindowThreadProcessId(form, nullptr);
    }
    void stop() { // closing the window ends the program, and well
        DWORD status = 0;
        PostMessageW(form, WM_CLOSE, 0, 0);
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &status);
        EXPECT_EQ(status, 0u) << "the exit status after the window was closed";
        TerminateProcess(process.hProcess, 1); // where it is still running
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        process = {};
    }
    HWND control(Control c) const { return GetDlgItem(form, kFirstControlId + int(c)); }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }
    std::string text(HWND window) const {
        wchar_t text[64] = {};
        SendMessageW(window, WM_GETTEXT, 64, LPARAM(text));
        return utf8(text);
    }
    // Waits for what is expected, as long as a loaded machine may need, handling this thread's
    // own messages: the events a screen reader hears arrive among them.
    template <typename Condition> static bool waitFor(Condition condition) {
        for (const auto until = GetTickCount64() + 10000;
             !condition() && GetTickCount64() < until;) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                DispatchMessageW(&message);
            }
            Sleep(10);
        }
        return condition();
    }
    // A message whose parameter points to a structure, written into the program's memory, as
    // Windows sends WM_GETDPISCALEDSIZE and WM_DPICHANGED: neither is copied between processes.
    template <typename T> LRESULT sendPointing(UINT message, WPARAM wParam, T& value) const {
        void* there = VirtualAllocEx(process.hProcess, nullptr, sizeof value,
                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        WriteProcessMemory(process.hProcess, there, &value, sizeof value, nullptr);
        const LRESULT result = SendMessageW(form, message, wParam, LPARAM(there));
        ReadProcessMemory(process.hProcess, there, &value, sizeof value, nullptr);
        VirtualFreeEx(process.hProcess, there, 0, MEM_RELEASE);
        return result;
    }
    void press(BYTE key, bool shift = false) const {
        SetForegroundWindow(form); // under Wine it takes effect once X has moved the focus
        waitFor([&] { return GetForegroundWindow() == form; });
        keybd_event(VK_SHIFT, 0, shift ? 0 : KEYEVENTF_KEYUP, 0);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    }
    std::string shown() const { // as the scenario writes it
        std::string shown;
        for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
            shown += text(control(c)) + " ";
        }
        const auto at = std::size_t(GetDlgCtrlID(focus()) - kFirstControlId);
        return shown + "at " +
               std::to_string(SendMessageW(control(Control::HScroll1), SBM_GETPOS, 0, 0)) +
               ", focus on " + std::string(at < kControlCount ? kForm1.controls[at].name : "");
    }
    void act(const scenario::Step& step) {
        static const std::map<std::string, BYTE> keys{
            {"ArrowLeft", VK_LEFT}, {"ArrowRight", VK_RIGHT}, {"ArrowUp", VK_UP},
            {"ArrowDown", VK_DOWN}, {"PageUp", VK_PRIOR},     {"PageDown", VK_NEXT},
            {"Home", VK_HOME},      {"End", VK_END},          {"Tab", VK_TAB},
            {"Shift+Tab", VK_TAB}};
        HWND tuner = control(Control::HScroll1), list = control(Control::Combo1);
        if (step.act == "Choose") { // what the list does when the user picks an entry
            SendMessageW(list, CB_SETCURSEL, WPARAM(std::stoi(step.argument)), 0);
            SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                         LPARAM(list));
        } else if (step.act == "Key") {
            press(keys.at(step.argument), step.argument == "Shift+Tab");
        } else if (step.act == "Drag" || step.act == "Release") { // what the thumb reports
            const int code = step.act == "Drag" ? SB_THUMBTRACK : SB_THUMBPOSITION;
            SendMessageW(form, WM_HSCROLL, MAKEWPARAM(code, std::stoi(step.argument)),
                         LPARAM(tuner));
        } else if (step.argument == "window") { // another window in front, then this one
            HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 99, 99,
                                         nullptr, nullptr, nullptr, nullptr);
            SetForegroundWindow(other);
            waitFor([&] { return GetForegroundWindow() == other; });
            SetForegroundWindow(form);
            waitFor([&] { return GetForegroundWindow() == form; });
            DestroyWindow(other);
        } else if (step.argument == "minimised") { // while active, and restored
            ShowWindow(form, SW_MINIMIZE);
            ShowWindow(form, SW_RESTORE);
        }
    }
    PROCESS_INFORMATION process{};
    HWND form = nullptr;
    DWORD thread = 0;
};

TEST_F(ShippedWindow, AUserAndAScreenReaderFindWhatTheyExpect) {
    SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, onEvent,
                    process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    // What a screen reader hears after a real key press: the step, and where a new value is.
    const std::pair<int, Control> kEvents[] = {
        {1, Control::HScroll1}, {1, Control::Label1}, {1, Control::Label2}, {20, Control::Combo1}};
    const std::vector<scenario::Step> steps = scenario::steps();
    for (const scenario::Step& step : steps) {
        const auto index = int(&step - steps.data());
        gHeard.clear();
        act(step);
        const std::string expected = scenario::shown(step.expected, gSeparator);
        ASSERT_TRUE(waitFor([&] { return shown() == expected; }))
            << "step " << index << ": " << shown();
        for (const auto& [at, source] : kEvents) {
            EXPECT_TRUE(at != index || waitFor([&, source = source] {
                            return std::count(gHeard.begin(), gHeard.end(), control(source)) > 0;
                        }))
                << "step " << index << ": no new value heard from " << kForm1[source].name;
        }
    }
    const std::pair<Control, std::string> kRead[] = {
        // at the scenario's end
        {Control::Label1, "41|Uplink frequency|435.272 MHz"},
        {Control::Label2, "41|Downlink frequency|145.878 MHz"},
        {Control::HScroll1, "3|Tuning|Uplink 435.272 MHz, downlink 145.878 MHz"},
        {Control::Combo1, "46|Transponder|VO-52"},
        {Control::Label7, "41|Uplink sideband|LSB"},
        {Control::Label8, "41|Downlink sideband|USB"},
    };
    for (const auto& [c, heard] : kRead) {
        EXPECT_EQ(msaa(control(c)), scenario::shown(heard, gSeparator)) << kForm1[c].name;
    }
    // A change of the regional settings shows at once.
    SendMessageW(control(Control::Label1), WM_SETTEXT, 0, LPARAM(L"stale"));
    SendMessageW(form, WM_SETTINGCHANGE, 0, LPARAM(L"intl"));
    EXPECT_EQ(text(control(Control::Label1)), scenario::shown("435.272", gSeparator));
}

// What a control draws on the screen over its background (the colour most of its client area
// has): how many rows it spans, which is how tall its text or picture is, and the contrast of its
// most distinct pixel (the middle of a stroke) to the background.
struct Drawn {
    COLORREF background;
    int height;
    double contrast;
};

Colour colour(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

Drawn drawn(HWND window) {
    RECT box{};
    GetClientRect(window, &box);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof format.bmiHeader, box.right, -box.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr), copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(copy, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, box.right, box.bottom, screen, origin.x, origin.y, SRCCOPY);
    const auto* pixels = static_cast<const DWORD*>(bits); // 0x00RRGGBB, a row after another
    const int width = int(box.right), count = width * int(box.bottom);
    std::map<DWORD, int> counts;
    for (int i = 0; i < count; ++i) {
        ++counts[pixels[i]];
    }
    const DWORD back = std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                           return a.second < b.second;
                       })->first;
    const auto rgb = [](DWORD pixel) { return RGB(pixel >> 16, pixel >> 8 & 255, pixel & 255); };
    Drawn drawn{rgb(back), 0, 1};
    // Where another control lies over the box, what shows is not this control's drawing.
    std::vector<RECT> others;
    for (HWND other = GetWindow(GetParent(window), GW_CHILD); other;
         other = GetWindow(other, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(other, &r);
        OffsetRect(&r, -origin.x, -origin.y);
        others.push_back(other == window ? RECT{} : r);
    }
    int first = count, last = -1;
    for (int i = 0; i < count; ++i) {
        const POINT at{i % width, i / width};
        if (pixels[i] != back && std::none_of(others.begin(), others.end(),
                                              [&](const RECT& r) { return PtInRect(&r, at); })) {
            first = std::min(first, i / width), last = std::max(last, i / width);
            drawn.contrast = std::max(
                drawn.contrast, contrastRatio(colour(rgb(pixels[i])), colour(drawn.background)));
        }
    }
    drawn.height = last - first + 1;
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return drawn;
}

// Whether this Wine gives "MS Sans Serif" as Windows does: its bitmap face.
bool givesBitmapFace() {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old =
        SelectObject(screen, CreateFontW(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"MS Sans Serif"));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    DeleteObject(SelectObject(screen, old));
    ReleaseDC(nullptr, screen);
    return (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0;
}

// At the DPI the window starts at, on screens of other scales it is moved to and back, ten
// times over: the frame it asks for before each move gives the layout's client area exactly;
// every control is where the table puts it, every text and the picture drawn at the size for
// the scale. In a Wine with Windows' own fonts: a bitmap face keeps its 96 or 120 dpi size.
TEST_F(ShippedWindow, EveryControlFollowsTheScreensScale) {
    ASSERT_TRUE(givesBitmapFace()) << "this Wine has not Windows' own fonts";
    std::array<int, kControlCount> inkAtStart{};
    int listAtStart = 0;
    const auto laidOutAt = [&](int dpi) { // the parts that are not as the table has them
        const auto pixels = [dpi](int twips) { return twipsToPixels(twips, dpi); };
        const auto scaled = [dpi](int atStart) { return MulDiv(atStart, dpi, gStartDpi); };
        std::string wrong;
        RECT client{};
        GetClientRect(form, &client);
        if (client.right != pixels(kForm1.clientWidth) ||
            client.bottom != pixels(kForm1.clientHeight)) {
            wrong.append(" the client area");
        }
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const ControlLayout& c = kForm1.controls[i];
            RECT r{};
            GetWindowRect(control(Control(i)), &r);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
            const int ink =
                c.kind != ControlKind::ScrollBar ? drawn(control(Control(i))).height : 0;
            const int height = r.bottom - r.top; // the list's follows its font
            // Near enough for rounding and for hinting, which draws small text at other
            // proportions; far from the size at the scale it was moved from.
            const auto nearEnough = [](int size, int wanted) {
                return std::abs(size - wanted) <= std::max(2, wanted * 15 / 100);
            };
            if (r.left != pixels(c.box.left) || r.top != pixels(c.box.top) ||
                r.right - r.left != pixels(c.box.width) ||
                !nearEnough(ink, scaled(inkAtStart[i])) ||
                (c.kind == ControlKind::DropDownList && !nearEnough(height, scaled(listAtStart)))) {
                wrong.append(" ").append(c.name).append(" (drawn ").append(std::to_string(ink));
                wrong.append(" high, not ").append(std::to_string(scaled(inkAtStart[i])));
                wrong.append("; the box ").append(std::to_string(height)).append(" high)");
            }
        }
        return std::to_string(dpi) + " dpi:" + (wrong.empty() ? " as the table" : wrong);
    };
    const auto asTable = [](int dpi) { return std::to_string(dpi) + " dpi: as the table"; };
    EXPECT_TRUE(waitFor([&] { // its first picture, once painted: the sizes to scale from
        RECT list{};
        GetWindowRect(control(Control::Combo1), &list);
        listAtStart = list.bottom - list.top;
        bool painted = true;
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const bool draws = kForm1.controls[i].kind != ControlKind::ScrollBar; // text, picture
            inkAtStart[i] = draws ? drawn(control(Control(i))).height : 0;
            painted = painted && (inkAtStart[i] > 0 || !draws);
        }
        return painted && laidOutAt(gStartDpi) == asTable(gStartDpi);
    })) << laidOutAt(gStartDpi);

    for (int round = 0; round < 10; ++round) {           // as the table at every move: no drift
        for (int dpi : {144, 192, 120, 96, gStartDpi}) { // as Windows moves it
            SIZE size{};
            EXPECT_EQ(sendPointing(WM_GETDPISCALEDSIZE, WPARAM(dpi), size), TRUE);
            RECT was{}, now{};
            GetWindowRect(form, &was);
            RECT suggested{was.left, was.top, was.left + size.cx, was.top + size.cy};
            sendPointing(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), suggested);
            GetWindowRect(form, &now);
            ASSERT_TRUE(now.left == suggested.left && now.top == suggested.top &&
                        waitFor([&] { return laidOutAt(dpi) == asTable(dpi); }))
                << "round " << round << ", " << laidOutAt(dpi);
        }
    }
}

// Each label's text reads at 4.5:1 or better on the background the window gives it, on the
// screen, on Wine's light scheme and on a dark one the program runs on.
TEST_F(ShippedWindow, EveryLabelReadsOnLightAndDarkSchemes) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)};
    COLORREF light[4] = {};
    std::transform(std::begin(elements), std::end(elements), light, GetSysColor);
    for (bool isDark : {false, true}) {
        if (isDark) { // for the whole run: Windows tells a running program of every change
            stop();
            SetSysColors(4, elements, dark);
            start();
        }
        EXPECT_TRUE(waitFor([&] {
            return drawn(control(Control::Label3)).background ==
                   (isDark ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNFACE));
        })) << "not started on the scheme";
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const auto contrast = [&] { return drawn(control(Control(i))).contrast; };
            EXPECT_TRUE(kForm1.controls[i].kind != ControlKind::Label ||
                        waitFor([&] { return contrast() >= 4.5; }))
                << kForm1.controls[i].name << " at " << contrast() << ":1 on the "
                << (isDark ? "dark" : "light") << " scheme";
        }
    }
    SetSysColors(4, elements, light);
}

} // namespace
} // namespace kestrova
