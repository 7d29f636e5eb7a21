// What a screen reader hears of Form1, the same on every platform.
#pragma once

#include "layout.h"

#include <string>
#include <string_view>

namespace kestrova {

// The tuner's value: both frequencies as the displays show them.
std::string tuningAnnouncement(std::string_view uplink, std::string_view downlink);

// What a named label shows, as heard: a display's text with its unit, a sideband's text.
std::string heardValue(Control label, std::string_view caption);

// A named label read whole, for readers that read a label by its name alone: its meaning,
// then its value ("Uplink frequency 145.999 MHz").
std::string heardLabel(Control label, std::string_view caption);

} // namespace kestrova
