// Form1 as a native Win32 window: built from the layout table, wired to Form1's procedures.
#pragma once

#include "form1.h"
#include "win32_controls.h"

#include <memory>
#include <vector>

#include <windows.h>

namespace kestrova {

inline constexpr wchar_t kForm1ClassName[] = L"KestrovaForm1";
inline constexpr int kFirstControlId = 100; // control ids follow the layout table's order
inline constexpr int kApplicationIconId = 1;

class Form1Window {
public:
    // Creates the window and its controls and runs Form_Load; nullptr when the window system
    // refuses. The window is not shown yet.
    static std::unique_ptr<Form1Window> create(HINSTANCE instance);
    ~Form1Window();
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND handle() const { return window_; }
    // Shows the window with the keyboard focus on the tuning scroll bar.
    void show(int showCommand);
    // Runs the event loop until the window is closed; returns the exit code.
    int run();

private:
    Form1Window() = default;
    bool createControls(HINSTANCE instance);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onScroll(WPARAM wParam);
    HBRUSH colourLabel(HDC dc, HWND label);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND controls_[11] = {};
    int dotsPerInch_ = 96;
    std::vector<HFONT> fonts_;
    HBRUSH displayBrush_ = nullptr;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HICON pictureIcon_ = nullptr;
    std::unique_ptr<Win32ListControl> combo1_;
    std::unique_ptr<Win32ScrollBarControl> hscroll1_;
    std::unique_ptr<Win32LabelControl> label1_, label2_, label7_, label8_;
    Win32RegionalSettings regionalSettings_;
    std::unique_ptr<Form1> form_;
};

} // namespace kestrova
