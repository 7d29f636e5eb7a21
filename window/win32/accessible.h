// What a screen reader hears of Form1's controls on Windows (MSAA).
#pragma once

#include "layout.h"

#include <windows.h>

namespace kestrova {

// Gives a control the accessible name and role of its layout row and a value that follows
// what it shows: the tuner reads as both frequencies, a display as its text and unit.
// Controls without an accessible name keep the system's own description.
void describeForScreenReaders(HWND control, Control id);

} // namespace kestrova
