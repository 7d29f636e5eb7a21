// Builds Form1's native controls from the shared layout and maps window messages to the
// procedures. Win32 scroll bars do not move themselves: this layer moves them.
#include "form1_window.h"

#include "accessible.h"
#include "colours.h"

#include <algorithm>
#include <cmath>

#include <commctrl.h>

namespace kestrova {
namespace {

COLORREF toColorRef(Colour colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

Colour fromColorRef(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// Windows asks every program to draw with the system's colours in high-contrast mode.
bool highContrast() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The DPI of the screen a window is on: Windows 10 and later say it of the window, Windows 8.1
// of its monitor; before that every screen has the system's.
int dpiOf(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindow>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi != nullptr) {
        return static_cast<int>(getDpi(window));
    }
    using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getMonitorDpi = [] {
        HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return reinterpret_cast<GetDpiForMonitor>(
            reinterpret_cast<void*>(shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr));
    }();
    UINT x = 0, y = 0; // MDT_EFFECTIVE_DPI (0): the scale the user chose for that screen
    if (getMonitorDpi != nullptr &&
        SUCCEEDED(getMonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
        y != 0) {
        return static_cast<int>(y);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Windows 10 1607 and later say the frame around a client area at a DPI other than the
// window's own; only they send WM_GETDPISCALEDSIZE.
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
    GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));

bool isScale(WPARAM dpi) {
    return dpi >= kLeastDpi && dpi <= kMostDpi;
}

LOGFONTW logFontOf(std::string_view face) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(logFont.lfFaceName, toWide(face).c_str(), LF_FACESIZE - 1);
    return logFont;
}

// Whether Windows has the face as an outline (TrueType, OpenType or vector), which it draws at
// any size and weight; a bitmap face it draws only at the sizes it was made for.
int CALLBACK noteOutline(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM outline) {
    *reinterpret_cast<bool*>(outline) |= (type & RASTER_FONTTYPE) == 0;
    return 1;
}

bool isOutline(std::string_view face) {
    LOGFONTW wanted = logFontOf(face);
    bool outline = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteOutline, reinterpret_cast<LPARAM>(&outline), 0);
    ReleaseDC(nullptr, screen);
    return outline;
}

HFONT createFont(const FontSpec& font, int dotsPerInch) {
    LOGFONTW logFont = logFontOf(usableFace(font.family, isOutline));
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dotsPerInch / 72.0));
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    return CreateFontIndirectW(&logFont);
}

} // namespace

Form1Window::Procedures::Procedures(const std::array<HWND, kControlCount>& controls)
    : combo1(controls[std::size_t(Control::Combo1)]),
      hscroll1(controls[std::size_t(Control::HScroll1)]),
      label1(controls[std::size_t(Control::Label1)]),
      label2(controls[std::size_t(Control::Label2)]),
      label7(controls[std::size_t(Control::Label7)]),
      label8(controls[std::size_t(Control::Label8)]),
      form({combo1, hscroll1, label1, label2, label7, label8}, regionalSettings) {}

bool Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    instance_ = instance;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1ClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    // A fixed frame without a maximise box: the layout is absolute. Sized once the window
    // knows the DPI of the screen it is on.
    const std::wstring caption = toWide(kForm1.caption);
    window_ =
        CreateWindowExW(WS_EX_CONTROLPARENT, kForm1ClassName, caption.c_str(),
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (window_ == nullptr || !createControls()) {
        return false;
    }
    procedures_.emplace(controls_);
    dotsPerInch_ = dpiOf(window_);
    layOut();
    fitClientArea();
    run(&Form1::Form_Load);
    return true;
}

bool Form1Window::createControls() {
    displayBrush_ = CreateSolidBrush(toColorRef(kForm1[Control::Label1].display->background));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = kForm1.controls[i];
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        switch (c.kind) {
        case ControlKind::Label:
            style |= static_cast<DWORD>((c.display ? SS_CENTER : SS_LEFT) | SS_NOPREFIX);
            break;
        case ControlKind::ScrollBar:
            className = L"SCROLLBAR";
            style |= SBS_HORZ | WS_TABSTOP;
            break;
        case ControlKind::DropDownList:
            className = L"COMBOBOX";
            style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            break;
        case ControlKind::Image:
            style |= SS_ICON | SS_REALSIZECONTROL;
            break;
        }
        const std::wstring text = toWide(c.text);
        controls_[i] = CreateWindowExW(
            c.display ? WS_EX_CLIENTEDGE : 0, className, text.c_str(), style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i))),
            instance_, nullptr);
        if (controls_[i] == nullptr) {
            return false;
        }
        describeForScreenReaders(controls_[i], static_cast<Control>(i));
    }
    return true;
}

// Places every control, and makes its font, the picture and the window's icons, for the
// window's DPI: at start, and again whenever the window moves to a screen of another scale.
void Form1Window::layOut() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = kForm1.controls[i];
        int height = pixels(c.box.height);
        if (c.kind == ControlKind::DropDownList) {
            height += pixels(1440); // room for the dropped-down list below the field
        }
        SetWindowPos(controls_[i], nullptr, pixels(c.box.left), pixels(c.box.top),
                     pixels(c.box.width), height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.kind == ControlKind::Image) {
            continue;
        }
        HFONT old = fonts_[i];
        fonts_[i] = createFont(c.font.value_or(kForm1.font), dotsPerInch_);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[i]), TRUE);
        DeleteObject(old);
    }
    // Each picture drawn from the .ico's image for its size (enlarged from the largest, 256
    // pixels, only above 400 %); the old ones are destroyed once nothing shows them.
    const auto icon = [this](int size) {
        return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kApplicationIconId),
                                             IMAGE_ICON, pixels(size * 15), pixels(size * 15), 0));
    };
    const std::array<HICON, 3> old = icons_;
    icons_ = {icon(64), icon(16), icon(32)};
    SendMessageW(control(Control::Image1), STM_SETICON, reinterpret_cast<WPARAM>(icons_[0]), 0);
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_[1]));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_[2]));
    for (HICON held : old) {
        DestroyIcon(held);
    }
}

// Sizes the frame so that the client area is the layout's, exactly: measured on the frame the
// window system drew, whose borders differ between versions of Windows and between scales.
void Form1Window::fitClientArea() {
    RECT frame{}, client{};
    GetWindowRect(window_, &frame);
    GetClientRect(window_, &client);
    const int width = pixels(kForm1.clientWidth), height = pixels(kForm1.clientHeight);
    if (client.right != width || client.bottom != height) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left - client.right + width,
                     frame.bottom - frame.top - client.bottom + height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

Form1Window::~Form1Window() {
    DestroyWindow(window_); // unless it has gone already
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    for (HICON icon : icons_) {
        DestroyIcon(icon);
    }
    DeleteObject(displayBrush_);
}

void Form1Window::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

int Form1Window::run() {
    MSG message{};
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        handle(message);
    }
    return result == -1 ? 1 : static_cast<int>(message.wParam);
}

void Form1Window::handle(MSG& message) {
    if (!IsDialogMessageW(window_, &message)) { // Tab and Shift+Tab between the controls
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK Form1Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) { // the handle is gone: forget it
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->procedures_.reset();
        form->window_ = nullptr;
        form->controls_ = {};
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->handleMessage(message, wParam, lParam);
}

LRESULT Form1Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == control(Control::Combo1) &&
            HIWORD(wParam) == CBN_SELCHANGE) {
            run(&Form1::Combo1_Click);
            // Every screen reader hears the new entry, whether or not the system's list says
            // so itself (Wine's does not); readers fold two alike events into one.
            NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control(Control::Combo1), OBJID_CLIENT,
                           CHILDID_SELF);
            return 0;
        }
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == control(Control::HScroll1)) {
            onScroll(wParam);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush =
                colourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    // As a dialog does, the control that had the keyboard focus gets it back when the window
    // is activated again, so the arrow keys tune at once.
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            noteFocus(GetFocus());
        } else if (HIWORD(wParam) == 0) { // not minimised
            giveFocus();
        }
        return 0;
    case WM_SIZE: // minimised while active: the focus goes without a deactivation
        if (wParam == SIZE_MINIMIZED) {
            noteFocus(GetFocus());
        }
        return 0;
    case WM_SETFOCUS: // however the window got the focus, the control that had it gets it
        noteFocus(reinterpret_cast<HWND>(wParam));
        giveFocus();
        return 0;
    case WM_GETDPISCALEDSIZE: // about to move to a screen of another scale: the frame there
        if (auto* size = reinterpret_cast<SIZE*>(lParam);
            size != nullptr && isScale(wParam) && adjustForDpi != nullptr) {
            const int dpi = static_cast<int>(wParam);
            RECT frame{0, 0, twipsToPixels(kForm1.clientWidth, dpi),
                       twipsToPixels(kForm1.clientHeight, dpi)};
            adjustForDpi(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)),
                         static_cast<UINT>(dpi));
            *size = {frame.right - frame.left, frame.bottom - frame.top};
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED: // moved to a screen of another scale: Windows suggests the new frame
        if (const auto* frame = reinterpret_cast<const RECT*>(lParam);
            frame != nullptr && isScale(LOWORD(wParam))) {
            dotsPerInch_ = LOWORD(wParam);
            layOut();
            SetWindowPos(window_, nullptr, frame->left, frame->top, frame->right - frame->left,
                         frame->bottom - frame->top, SWP_NOZORDER | SWP_NOACTIVATE);
            fitClientArea();
        }
        return 0;
    case WM_SETTINGCHANGE: // the regional settings: the displays take the new separator now
        if (const auto* area = reinterpret_cast<const wchar_t*>(lParam);
            area != nullptr && lstrcmpiW(area, L"intl") == 0) {
            run(&Form1::HScroll1_Change);
        }
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1Window::noteFocus(HWND focus) {
    if (focus != nullptr &&
        std::find(controls_.begin(), controls_.end(), focus) != controls_.end()) {
        focus_ = focus;
    }
}

void Form1Window::giveFocus() {
    SetFocus(focus_ ? focus_ : control(Control::HScroll1)); // first the tuner
}

void Form1Window::onScroll(WPARAM wParam) {
    HWND scrollBar = control(Control::HScroll1);
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(scrollBar, SB_CTL, &info);
    const int code = LOWORD(wParam);
    const int steps[] = {-kForm1.smallChange, kForm1.smallChange, -kForm1.largeChange,
                         kForm1.largeChange}; // SB_LINELEFT to SB_PAGERIGHT
    int position = info.nPos;
    if (code <= SB_PAGERIGHT) {
        position += steps[code];
    } else if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
        position = static_cast<short>(HIWORD(wParam)); // positions are 16-bit, as the range
    } else if (code == SB_LEFT || code == SB_RIGHT) {
        position = code == SB_LEFT ? info.nMin : info.nMax;
    } else {
        return; // SB_ENDSCROLL: the position has already been reported
    }
    // Another program may have set the range the wrong way round.
    position = std::clamp(position, std::min(info.nMin, info.nMax), std::max(info.nMin, info.nMax));
    if (code != SB_THUMBPOSITION && position == info.nPos) {
        return; // a step against the end of the range moves nothing
    }
    SetScrollPos(scrollBar, SB_CTL, position, TRUE);
    run(code == SB_THUMBTRACK ? &Form1::HScroll1_Scroll : &Form1::HScroll1_Change);
}

// Runs a procedure, then tells screen readers that the tuner and the displays changed.
void Form1Window::run(void (Form1::*procedure)()) {
    if (!procedures_) {
        return; // before the controls exist, or after they have gone
    }
    (procedures_->form.*procedure)();
    for (Control changed : {Control::HScroll1, Control::Label1, Control::Label2}) {
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control(changed), OBJID_CLIENT, CHILDID_SELF);
    }
}

// Labels are painted on the button face, or the displays' own grey, in the colours the layout
// gives them where those read well, and in the system's colours in high-contrast mode.
HBRUSH Form1Window::colourLabel(HDC dc, HWND label) const {
    const auto found = std::find(controls_.begin(), controls_.end(), label);
    if (found == controls_.end()) {
        return nullptr;
    }
    const ControlLayout& c = kForm1.controls[static_cast<std::size_t>(found - controls_.begin())];
    const bool systemColours = highContrast();
    if (c.display && !systemColours) {
        SetTextColor(dc, toColorRef(c.display->text));
        SetBkColor(dc, toColorRef(c.display->background));
        return displayBrush_;
    }
    const int back = c.display ? COLOR_WINDOW : COLOR_BTNFACE;
    COLORREF text = GetSysColor(c.display ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    if (c.textColour && !systemColours) {
        text = toColorRef(readableOn(*c.textColour, fromColorRef(GetSysColor(back))));
    }
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(back));
    return GetSysColorBrush(back);
}

} // namespace kestrova
