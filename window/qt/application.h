// Start-up and the event loop of the Qt program, shared by the program and its benchmarks.
#pragma once

#include <functional>

namespace kestrova {

class Form1Window;

// Creates the application and Form1 (running Form_Load), shows the window, calls afterShow
// if given, and runs the event loop until the window is closed. Returns the exit status; when
// no display can be opened it says so in one line and returns 1.
int runApplication(int& argc, char* argv[],
                   const std::function<void(Form1Window&)>& afterShow = {});

} // namespace kestrova
