// Kestrova on Win32: start-up and the event loop.
#include "form1_window.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    kestrova::Form1Window window;
    if (!window.create(instance)) {
        MessageBoxW(nullptr, L"Kestrova could not create its window.", L"Kestrova",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    window.show(showCommand);
    return window.run();
}

// The C++ run-time's report of an uncaught exception demangles type names with a printf of
// its own, over 60 KiB of the file; ending the program at once needs none of it.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
