// Form1 as a native Win32 window: built from the layout table, wired to Form1's procedures.
#pragma once

#include "form1.h"
#include "layout.h"
#include "win32_controls.h"

#include <windows.h>

#include <optional>

namespace kestrova {

inline constexpr wchar_t kForm1ClassName[] = L"KestrovaForm1";
inline constexpr int kFirstControlId = 100; // control ids follow the layout table's order
inline constexpr int kApplicationIconId = 1;
// The scales a window follows to another screen: 50 % to 1000 %.
inline constexpr int kLeastDpi = 48, kMostDpi = 960;
#ifndef WM_GETDPISCALEDSIZE // Windows 10 1703 and later; the headers hide it for Windows 7
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

class Form1Window {
public:
    Form1Window() = default;
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    // Creates the window and its controls and runs Form_Load; false when the window system
    // refuses. The window is not shown yet.
    bool create(HINSTANCE instance);
    // Shows the window; the keyboard focus goes to the tuning scroll bar as it is activated.
    void show(int showCommand);
    // Runs the event loop until the window is closed; returns the exit code.
    int run();
    // Handles one message from this thread's queue as the event loop does.
    void handle(MSG& message);

private:
    // Form1's procedures on the window's controls, made once the controls exist.
    struct Procedures {
        explicit Procedures(const std::array<HWND, kControlCount>& controls);
        Win32ListControl combo1;
        Win32ScrollBarControl hscroll1;
        Win32LabelControl label1, label2, label7, label8;
        Win32RegionalSettings regionalSettings;
        Form1 form;
    };

    HWND control(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
    int pixels(int twips) const { return twipsToPixels(twips, dotsPerInch_); }
    bool createControls();
    void layOut();
    void fitClientArea();
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void noteFocus(HWND focus); // the control to give the focus back to, where it is one
    void giveFocus();
    void onScroll(WPARAM wParam);
    void run(void (Form1::*procedure)());
    HBRUSH colourLabel(HDC dc, HWND label) const;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    std::array<HWND, kControlCount> controls_{};
    std::array<HFONT, kControlCount> fonts_{};
    HWND focus_ = nullptr; // the control to give the focus back to
    int dotsPerInch_ = 96;
    HBRUSH displayBrush_ = nullptr;
    std::array<HICON, 3> icons_{}; // the picture's, the window's small and large icons
    std::optional<Procedures> procedures_;
};

} // namespace kestrova
