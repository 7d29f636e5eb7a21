// What a screen reader hears of Form1's controls on Windows (MSAA).
#pragma once

#include "layout.h"

#include <windows.h>

namespace kestrova {

// Gives a control the role of its kind, and, where its layout row names it, that name and a
// value that follows what it shows: the tuner reads as both frequencies, a display as its text
// and unit, the list as its entry. Headings and units are named by their text.
void describeForScreenReaders(HWND control, Control id);

} // namespace kestrova
