// Spoken texts, built from the layout's meanings and the captions as shown.
#include "screen_reader.h"

namespace kestrova {

std::string tuningAnnouncement(std::string_view uplink, std::string_view downlink) {
    return "Uplink " + std::string(uplink) + " MHz, downlink " + std::string(downlink) + " MHz";
}

std::string heardValue(Control label, std::string_view caption) {
    return std::string(caption) + (kForm1[label].display ? " MHz" : "");
}

std::string heardLabel(Control label, std::string_view caption) {
    return std::string(kForm1[label].accessibleName) + " " + heardValue(label, caption);
}

} // namespace kestrova
