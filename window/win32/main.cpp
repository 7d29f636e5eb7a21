// Kestrova on Win32: start-up and the event loop.
#include "form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    auto window = kestrova::Form1Window::create(instance);
    if (window == nullptr) {
        MessageBoxW(nullptr, L"Kestrova could not create its window.", L"Kestrova",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    window->show(showCommand);
    return window->run();
}
