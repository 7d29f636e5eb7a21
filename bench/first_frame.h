// For start-up benchmarks: reports when a window's first frame has been painted.
#pragma once

class QWidget;

namespace kestrova::bench {

// Once lastPainted has been painted for the first time (and the frame handed to the window
// system), prints "first-frame <CLOCK_MONOTONIC ns> <VmHWM kB>" on standard output and quits.
void reportFirstFrame(QWidget& lastPainted);

} // namespace kestrova::bench
