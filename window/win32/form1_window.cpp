// Builds Form1's native controls from the shared layout and maps window messages to the
// procedures. Win32 scroll bars do not move themselves: this layer moves them.
#include "form1_window.h"

#include "layout.h"

#include <cmath>

#include <commctrl.h>

namespace kestrova {
namespace {

constexpr std::size_t kControlCount = 11;

std::size_t indexOf(std::string_view name) {
    const auto& controls = form1Layout().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) {
            return i;
        }
    }
    return controls.size();
}

COLORREF toColorRef(const Colour& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

HFONT createFont(const FontSpec& font, int dotsPerInch) {
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dotsPerInch / 72.0));
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = DEFAULT_QUALITY;
    const std::wstring family = toWide(font.family);
    wcsncpy(logFont.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectW(&logFont);
}

} // namespace

std::unique_ptr<Form1Window> Form1Window::create(HINSTANCE instance) {
    INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);

    std::unique_ptr<Form1Window> form(new Form1Window());
    {
        HDC screen = GetDC(nullptr);
        form->dotsPerInch_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    const auto iconSize = [&](int metric) { return GetSystemMetrics(metric); };
    form->largeIcon_ =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON,
                                      iconSize(SM_CXICON), iconSize(SM_CYICON), LR_DEFAULTCOLOR));
    form->smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId),
                                                     IMAGE_ICON, iconSize(SM_CXSMICON),
                                                     iconSize(SM_CYSMICON), LR_DEFAULTCOLOR));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = form->largeIcon_;
    windowClass.hIconSm = form->smallIcon_;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kForm1ClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }

    // A fixed frame without a maximise box: the layout is absolute.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    constexpr DWORD exStyle = WS_EX_CONTROLPARENT;
    const FormLayout& layout = form1Layout();
    RECT frame{0, 0, twipsToPixels(layout.clientWidth, form->dotsPerInch_),
               twipsToPixels(layout.clientHeight, form->dotsPerInch_)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const std::wstring caption = toWide(layout.caption);
    form->window_ = CreateWindowExW(
        exStyle, kForm1ClassName, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, form.get());
    if (form->window_ == nullptr || !form->createControls(instance)) {
        return nullptr;
    }

    const auto control = [&](std::string_view name) { return form->controls_[indexOf(name)]; };
    form->combo1_ = std::make_unique<Win32ListControl>(control("Combo1"));
    form->hscroll1_ = std::make_unique<Win32ScrollBarControl>(control("HScroll1"));
    form->label1_ = std::make_unique<Win32LabelControl>(control("Label1"));
    form->label2_ = std::make_unique<Win32LabelControl>(control("Label2"));
    form->label7_ = std::make_unique<Win32LabelControl>(control("Label7"));
    form->label8_ = std::make_unique<Win32LabelControl>(control("Label8"));
    form->form_ =
        std::make_unique<Form1>(Form1Controls{*form->combo1_, *form->hscroll1_, *form->label1_,
                                              *form->label2_, *form->label7_, *form->label8_},
                                form->regionalSettings_);
    form->form_->Form_Load();
    return form;
}

bool Form1Window::createControls(HINSTANCE instance) {
    const FormLayout& layout = form1Layout();
    const auto pixels = [this](int twips) { return twipsToPixels(twips, dotsPerInch_); };
    displayBrush_ = CreateSolidBrush(toColorRef(layout.control("Label1").backColour.value()));
    HFONT defaultFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& c = layout.controls[i];
        const wchar_t* className = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        int height = pixels(c.height);
        switch (c.kind) {
        case ControlKind::Label:
            style |= (c.centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX;
            exStyle |= c.sunkenBorder ? WS_EX_CLIENTEDGE : 0;
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
        controls_[i] = CreateWindowExW(
            exStyle, className, text.c_str(), style, pixels(c.left), pixels(c.top), pixels(c.width),
            height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i))),
            instance, nullptr);
        if (controls_[i] == nullptr) {
            return false;
        }
        HFONT font = defaultFont;
        if (c.font) {
            font = createFont(*c.font, dotsPerInch_);
            fonts_.push_back(font);
        }
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == ControlKind::ScrollBar) {
            SCROLLINFO info{sizeof info, SIF_ALL, 0, 32767, 0, 0, 0};
            SetScrollInfo(controls_[i], SB_CTL, &info, FALSE);
        }
        if (c.kind == ControlKind::Image) {
            const int size = MulDiv(64, dotsPerInch_, 96);
            pictureIcon_ = static_cast<HICON>(LoadImageW(
                instance, MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON, size, size, 0));
            SendMessageW(controls_[i], STM_SETICON, reinterpret_cast<WPARAM>(pictureIcon_), 0);
        }
    }
    return true;
}

Form1Window::~Form1Window() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    for (HICON icon : {largeIcon_, smallIcon_, pictureIcon_}) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    if (displayBrush_ != nullptr) {
        DeleteObject(displayBrush_);
    }
}

void Form1Window::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(controls_[indexOf("HScroll1")]);
}

int Form1Window::run() {
    MSG message;
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) {
            return 1;
        }
        if (!IsDialogMessageW(window_, &message)) { // Tab and Shift+Tab between the controls
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Form1Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form != nullptr && form->form_ != nullptr) {
        return form->handleMessage(message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == controls_[indexOf("Combo1")] &&
            HIWORD(wParam) == CBN_SELCHANGE) {
            form_->Combo1_Click();
            return 0;
        }
        break;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == controls_[indexOf("HScroll1")]) {
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
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form1Window::onScroll(WPARAM wParam) {
    HWND scrollBar = controls_[indexOf("HScroll1")];
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(scrollBar, SB_CTL, &info);
    const FormLayout& layout = form1Layout();
    int position = info.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
        position -= layout.smallChange;
        break;
    case SB_LINERIGHT:
        position += layout.smallChange;
        break;
    case SB_PAGELEFT:
        position -= layout.largeChange;
        break;
    case SB_PAGERIGHT:
        position += layout.largeChange;
        break;
    case SB_LEFT:
        position = info.nMin;
        break;
    case SB_RIGHT:
        position = info.nMax;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = static_cast<short>(HIWORD(wParam)); // positions are 16-bit, as in the range
        break;
    default:
        return; // SB_ENDSCROLL: the position has already been reported
    }
    position = position < info.nMin ? info.nMin : position > info.nMax ? info.nMax : position;
    if (LOWORD(wParam) != SB_THUMBPOSITION && position == info.nPos) {
        return; // a step against the end of the range moves nothing
    }
    SetScrollPos(scrollBar, SB_CTL, position, TRUE);
    if (LOWORD(wParam) == SB_THUMBTRACK) {
        form_->HScroll1_Scroll();
    } else {
        form_->HScroll1_Change();
    }
}

HBRUSH Form1Window::colourLabel(HDC dc, HWND label) {
    const FormLayout& layout = form1Layout();
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (controls_[i] != label) {
            continue;
        }
        const ControlLayout& c = layout.controls[i];
        if (c.textColour) {
            SetTextColor(dc, toColorRef(*c.textColour));
        }
        if (c.backColour) {
            SetBkColor(dc, toColorRef(*c.backColour));
            return displayBrush_;
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    return nullptr;
}

} // namespace kestrova
