// The real Win32 window, its messages handled as the program's own event loop handles them,
// driven as a user, the window system and a screen reader would: the shared scenario, the
// layout at the screen's DPI, what MSAA reports, and the colours every label is given.
// KESTROVA_EXPECT_SEPARATOR: the user's decimal separator, if not ".".
#include "colours.h"
#include "form1_window.h"
#include "scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <oleacc.h>

namespace kestrova {
namespace {

const char* const gUserSeparator = std::getenv("KESTROVA_EXPECT_SEPARATOR");
const std::string gSeparator = gUserSeparator ? gUserSeparator : ".";
std::vector<HWND> gValueChanges;

// Role, name and value as a screen reader reads them.
std::string msaa(HWND window) {
    IAccessible* object = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                                      reinterpret_cast<void**>(&object));
    if (FAILED(result)) {
        return "no object";
    }
    VARIANT self{}, role{};
    self.vt = VT_I4;
    object->get_accRole(self, &role);
    std::string text = std::to_string(role.lVal);
    for (auto read : {&IAccessible::get_accName, &IAccessible::get_accValue}) {
        BSTR got = nullptr;
        (object->*read)(self, &got);
        text.append("|").append(toUtf8(got ? got : L""));
        SysFreeString(got);
    }
    object->Release();
    return text;
}

void CALLBACK onValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    gValueChanges.push_back(window);
}

class Win32Window : public ::testing::Test {
protected:
    HWND control(Control c) const { return GetDlgItem(form, kFirstControlId + int(c)); }
    // Waits for a condition while the window's messages are handled as the program does.
    template <typename Condition> bool waitFor(Condition condition) {
        for (int waited = 0; waited < 5000 && !condition(); waited += 10) {
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                window.handle(message);
            }
            Sleep(10);
        }
        return condition();
    }
    std::string shown() const { // as scenario::expected writes it
        std::string shown;
        for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
            wchar_t text[64] = {};
            GetWindowTextW(control(c), text, 64);
            shown += toUtf8(text) + " ";
        }
        const auto focus = std::size_t(GetDlgCtrlID(GetFocus()) - kFirstControlId);
        return shown + "at " +
               std::to_string(SendMessageW(control(Control::HScroll1), SBM_GETPOS, 0, 0)) +
               ", focus on " +
               std::string(focus < kControlCount ? kForm1.controls[focus].name : "");
    }
    void act(const scenario::Step& step) {
        using scenario::Act;
        const BYTE keys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN, VK_PRIOR,
                             VK_NEXT, VK_HOME,  VK_END, VK_TAB,  VK_TAB};
        HWND tuner = control(Control::HScroll1), list = control(Control::Combo1);
        if (step.act == Act::Start) {
            window.show(SW_SHOWNORMAL);
        } else if (step.act == Act::Choose) { // what the list does when the user picks an entry
            SendMessageW(list, CB_SETCURSEL, WPARAM(step.argument), 0);
            SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                         LPARAM(list));
        } else if (step.act == Act::Key) { // Shift goes down only for Shift+Tab
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
            SetForegroundWindow(form);
            DestroyWindow(other);
        } else if (step.act == Act::SwitchAway) { // minimised while active, and restored
            ShowWindow(form, SW_MINIMIZE);
            ShowWindow(form, SW_RESTORE);
        }
    }
    Form1Window window;
    HWND form =
        window.create(GetModuleHandleW(nullptr)) ? FindWindowW(kForm1ClassName, nullptr) : nullptr;
};

TEST_F(Win32Window, AUserAndAScreenReaderFindWhatTheyExpect) {
    CoInitialize(nullptr);
    SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, onValueChange, 0,
                    0, WINEVENT_OUTOFCONTEXT);
    for (const scenario::Step& step : scenario::kSteps) {
        act(step);
        const std::string expected = scenario::expected(step, gSeparator);
        EXPECT_TRUE(waitFor([&] { return shown() == expected; }))
            << "step " << &step - scenario::kSteps << ": " << shown();
    }
    for (Control changed : {Control::HScroll1, Control::Label1, Control::Label2}) {
        EXPECT_TRUE(std::count(gValueChanges.begin(), gValueChanges.end(), control(changed)))
            << "no value change event from " << kForm1[changed].name;
    }
    const std::tuple<Control, int, std::string> kHeard[] = {
        // at the scenario's end
        {Control::HScroll1, ROLE_SYSTEM_SCROLLBAR,
         "Tuning|Uplink 435.272 MHz, downlink 145.878 MHz"},
        {Control::Combo1, ROLE_SYSTEM_COMBOBOX, "Transponder|VO-52"},
        {Control::Label1, ROLE_SYSTEM_STATICTEXT, "Uplink frequency|435.272 MHz"},
    };
    for (const auto& [control, role, heard] : kHeard) {
        EXPECT_EQ(msaa(this->control(control)),
                  std::to_string(role) + "|" + scenario::shown(heard, gSeparator));
    }
}

// At the DPI the window starts at (KESTROVA_DPI, Wine's LogPixels), on screens of other scales
// it is moved to, and back: every control where the table puts it, its font, the picture and
// the window's icons at the size for the scale. An absurd DPI or no frame changes nothing.
TEST_F(Win32Window, EveryControlFollowsTheScreensScale) {
    const int startDpi = std::getenv("KESTROVA_DPI") ? std::atoi(std::getenv("KESTROVA_DPI")) : 96;
    RECT frame{}, client{};
    GetWindowRect(form, &frame);
    GetClientRect(form, &client);
    const SIZE border{frame.right - frame.left - client.right,
                      frame.bottom - frame.top - client.bottom};
    const auto laidOutAt = [&](int dpi) { // the parts that are not where the table puts them
        const auto pixels = [dpi](int twips) { return twipsToPixels(twips, dpi); };
        std::string wrong;
        GetClientRect(form, &client);
        if (client.right != pixels(kForm1.clientWidth) ||
            client.bottom != pixels(kForm1.clientHeight)) {
            wrong.append(" the client area");
        }
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const ControlLayout& c = kForm1.controls[i];
            RECT r{};
            LOGFONTW font{};
            GetWindowRect(control(Control(i)), &r);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
            GetObjectW(HFONT(SendMessageW(control(Control(i)), WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            if (r.left != pixels(c.box.left) || r.top != pixels(c.box.top) ||
                r.right - r.left != pixels(c.box.width) ||
                (c.font && font.lfHeight != -std::lround(c.font->points * dpi / 72))) {
                wrong.append(" ").append(c.name);
            }
        }
        for (auto [icon, at96] :
             {std::pair{SendMessageW(control(Control::Image1), STM_GETICON, 0, 0), 64},
              {SendMessageW(form, WM_GETICON, ICON_SMALL, 0), 16},
              {SendMessageW(form, WM_GETICON, ICON_BIG, 0), 32}}) {
            ICONINFO info{};
            BITMAP bitmap{};
            GetIconInfo(HICON(icon), &info);
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
            if (bitmap.bmWidth != MulDiv(at96, dpi, 96)) {
                wrong.append(" a picture of ").append(std::to_string(bitmap.bmWidth));
            }
        }
        return std::to_string(dpi) + " dpi:" + (wrong.empty() ? " as the table" : wrong);
    };
    EXPECT_EQ(laidOutAt(startDpi), std::to_string(startDpi) + " dpi: as the table");
    for (int dpi : {120, 192, 96, 144, startDpi}) { // as Windows sends it, with the new frame
        RECT suggested{10, 20, 10 + border.cx + twipsToPixels(kForm1.clientWidth, dpi),
                       20 + border.cy + twipsToPixels(kForm1.clientHeight, dpi)};
        SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        GetWindowRect(form, &frame);
        EXPECT_EQ(laidOutAt(dpi) + (EqualRect(&frame, &suggested) ? "" : ", not in its frame"),
                  std::to_string(dpi) + " dpi: as the table");
    }
    RECT elsewhere{0, 0, 999, 999};
    for (auto [dpi, suggested] : {std::pair{0, &elsewhere}, {10000, &elsewhere}, {120, nullptr}}) {
        SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(suggested));
        EXPECT_EQ(laidOutAt(startDpi), std::to_string(startDpi) + " dpi: as the table") << dpi;
    }
}

// What other programs may send: after a range set the wrong way round a step shows where the
// scroll bar is (the test build checks the standard library's preconditions), and the focus
// given to the window itself lands on the control that had it.
TEST_F(Win32Window, OtherProgramsMessagesKeepItWorking) {
    HWND tuner = control(Control::HScroll1);
    window.show(SW_SHOWNORMAL);
    SendMessageW(tuner, SBM_SETRANGE, 100, 0);
    SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), LPARAM(tuner));
    const auto uplink = std::to_string(146000 - SendMessageW(tuner, SBM_GETPOS, 0, 0));
    wchar_t shown[64] = {};
    GetWindowTextW(control(Control::Label1), shown, 64);
    EXPECT_EQ(toUtf8(shown),
              scenario::shown(uplink.substr(0, 3) + "." + uplink.substr(3), gSeparator));
    SetFocus(form);
    EXPECT_TRUE(waitFor([&] { return GetFocus() == tuner; }));
}

// A client inside the process, as some screen readers are: null out-pointers, a walk between
// interfaces, IDispatch, child ids of every kind and out of range, and the object held past its
// window. It gets failure codes and the answers of the object itself.
TEST_F(Win32Window, AHostileClientGetsFailureCodes) {
    CoInitialize(nullptr);
    IAccessible* tuner = nullptr;
    IOleWindow* oleWindow = nullptr;
    IUnknown *first = nullptr, *second = nullptr;
    AccessibleObjectFromWindow(control(Control::HScroll1), DWORD(OBJID_CLIENT), IID_IAccessible,
                               reinterpret_cast<void**>(&tuner));
    ASSERT_NE(tuner, nullptr);
    VARIANT self{}, role{}, invoked{};
    self.vt = VT_I4;
    BSTR name = nullptr;
    EXPECT_EQ(std::vector({tuner->get_accName(self, nullptr), tuner->get_accValue(self, nullptr),
                           tuner->get_accRole(self, nullptr),
                           tuner->QueryInterface(IID_IAccessible, nullptr)}),
              std::vector<HRESULT>(4, E_POINTER));
    tuner->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow));
    ASSERT_NE(oleWindow, nullptr);
    tuner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&first));
    oleWindow->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&second));
    DISPPARAMS parameters{&self, nullptr, 1, 0};
    tuner->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &parameters, &invoked,
                  nullptr, nullptr);
    EXPECT_TRUE(first == second && invoked.vt == VT_BSTR && toUtf8(invoked.bstrVal) == "Tuning");
    VariantClear(&invoked);

    VARIANT children[5]{}; // none of these is the control or one of its parts
    children[1].vt = VT_BSTR, children[2].vt = VT_DISPATCH, children[3].vt = VT_I4;
    children[3].lVal = 99, children[4].vt = VT_I4, children[4].lVal = -7;
    for (const VARIANT& child : children) {
        EXPECT_TRUE(FAILED(tuner->get_accName(child, &name)) &&
                    FAILED(tuner->get_accValue(child, &name)) &&
                    FAILED(tuner->get_accRole(child, &role)))
            << "child of variant type " << child.vt;
    }
    DestroyWindow(form);
    HWND gone = nullptr;
    EXPECT_TRUE(FAILED(tuner->get_accName(self, &name)) &&
                FAILED(tuner->get_accValue(self, &name)) &&
                FAILED(tuner->get_accRole(self, &role)) && FAILED(oleWindow->GetWindow(&gone)));
    for (IUnknown* object : {first, second, static_cast<IUnknown*>(oleWindow)}) {
        object->Release();
    }
    tuner->Release();
}

// Each label's text reads at 4.5:1 or better on the background the window gives it on a dark
// scheme. (Light schemes are Wine's own, and the same colours are checked on Linux.)
TEST_F(Win32Window, EveryLabelReadsOnADarkScheme) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    const COLORREF dark[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)};
    const auto colour = [](COLORREF c) { return Colour{GetRValue(c), GetGValue(c), GetBValue(c)}; };
    SetSysColors(4, elements, dark);
    for (std::size_t i = 0; i < kControlCount; ++i) { // a fresh DC: none left coloured
        HDC dc = CreateCompatibleDC(nullptr);
        LOGBRUSH brush{};
        GetObjectW(
            HBRUSH(SendMessageW(form, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(control(Control(i))))),
            sizeof brush, &brush);
        const Colour text = colour(GetTextColor(dc));
        EXPECT_TRUE(kForm1.controls[i].kind != ControlKind::Label ||
                    std::min(contrastRatio(text, colour(brush.lbColor)),
                             contrastRatio(text, colour(GetBkColor(dc)))) >= 4.5)
            << kForm1.controls[i].name;
        DeleteDC(dc);
    }
}

} // namespace
} // namespace kestrova
