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

HFONT createFont(const FontSpec& font, int dotsPerInch) {
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dotsPerInch / 72.0));
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::wstring family = toWide(font.family);
    wcsncpy(logFont.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&logFont);
}

} // namespace

bool Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);
    HDC screen = GetDC(nullptr);
    dotsPerInch_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    // Shared icons belong to the system for the life of the process, as the class needs.
    const auto icon = [instance](int size) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId),
                                             IMAGE_ICON, size, size, LR_SHARED));
    };
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon(GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = icon(GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1ClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    // A fixed frame without a maximise box: the layout is absolute.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, twipsToPixels(kForm1.clientWidth, dotsPerInch_),
               twipsToPixels(kForm1.clientHeight, dotsPerInch_)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const std::wstring caption = toWide(kForm1.caption);
    window_ = CreateWindowExW(exStyle, kForm1ClassName, caption.c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                              nullptr, nullptr, instance, this);
    if (window_ == nullptr || !createControls(instance)) {
        return false;
    }
    run(&Form1::Form_Load);
    return true;
}

bool Form1Window::createControls(HINSTANCE instance) {
    const auto pixels = [this](int twips) { return twipsToPixels(twips, dotsPerInch_); };
    displayBrush_ = CreateSolidBrush(toColorRef(*kForm1[Control::Label1].display));
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = kForm1.controls[i];
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        int height = pixels(c.box.height);
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
            height += pixels(1440); // room for the dropped-down list below the field
            break;
        case ControlKind::Image:
            style |= SS_ICON | SS_REALSIZECONTROL;
            break;
        }
        const std::wstring text = toWide(c.text);
        HWND control = controls_[i] = CreateWindowExW(
            c.display ? WS_EX_CLIENTEDGE : 0, className, text.c_str(), style, pixels(c.box.left),
            pixels(c.box.top), pixels(c.box.width), height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i))),
            instance, nullptr);
        if (control == nullptr) {
            return false;
        }
        fonts_[i] = c.font ? createFont(*c.font, dotsPerInch_) : nullptr;
        SendMessageW(
            control, WM_SETFONT,
            reinterpret_cast<WPARAM>(fonts_[i] ? fonts_[i] : GetStockObject(DEFAULT_GUI_FONT)),
            FALSE);
        if (c.kind == ControlKind::Image) {
            // Drawn from the .ico's image for the screen's scale, never enlarged.
            const int size = MulDiv(64, dotsPerInch_, 96);
            pictureIcon_ = static_cast<HICON>(LoadImageW(
                instance, MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON, size, size, 0));
            SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(pictureIcon_), 0);
        }
        describeForScreenReaders(control, static_cast<Control>(i));
    }
    return true;
}

Form1Window::~Form1Window() {
    DestroyWindow(window_); // unless it has gone already
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    DestroyIcon(pictureIcon_);
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
    // is activated again, so the arrow keys tune at once. A window minimised while it stays
    // active loses the focus without a deactivation, so the focus is noted then too.
    case WM_ACTIVATE:
    case WM_SIZE:
        if (message == WM_ACTIVATE ? LOWORD(wParam) == WA_INACTIVE : wParam == SIZE_MINIMIZED) {
            HWND focus = GetFocus();
            focus_ = IsChild(window_, focus) ? focus : focus_;
        } else if (message == WM_ACTIVATE && HIWORD(wParam) == 0) { // first the tuner
            SetFocus(focus_ ? focus_ : control(Control::HScroll1));
        }
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
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
    position = std::clamp(position, info.nMin, info.nMax);
    if (code != SB_THUMBPOSITION && position == info.nPos) {
        return; // a step against the end of the range moves nothing
    }
    SetScrollPos(scrollBar, SB_CTL, position, TRUE);
    run(code == SB_THUMBTRACK ? &Form1::HScroll1_Scroll : &Form1::HScroll1_Change);
}

// Runs a procedure, then tells screen readers that the tuner and the displays changed.
void Form1Window::run(void (Form1::*procedure)()) {
    (form_.*procedure)();
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
        SetTextColor(dc, toColorRef(*c.textColour));
        SetBkColor(dc, toColorRef(*c.display));
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
