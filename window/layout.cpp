// Form1's layout: positions and sizes in twips (15 to a pixel at 96 dpi), fonts, colours.
#include "layout.h"

#include <stdexcept>
#include <string>

namespace kestrova {
namespace {

constexpr Colour kCyan{0, 255, 255};
constexpr Colour kDarkGrey{64, 64, 64};
constexpr Colour kBlue{0, 0, 255};
constexpr FontSpec kDisplayFont{"Arial", 24.0, true};
constexpr FontSpec kHeadingFont{"MS Sans Serif", 12.0, true};
constexpr FontSpec kListFont{"MS Sans Serif", 13.5, false};
constexpr FontSpec kSidebandFont{"MS Sans Serif", 9.75, true};

constexpr FormLayout kForm1{
    "Form1",
    "Kestrova V.1.0",
    6105,
    3075,
    {{
        {"Label1", ControlKind::Label, 120, 360, 2415, 735, "", kDisplayFont, kCyan, kDarkGrey, 0,
         true, true, "Uplink frequency", " MHz"},
        {"Label2", ControlKind::Label, 120, 1440, 2415, 735, "", kDisplayFont, kCyan, kDarkGrey, 1,
         true, true, "Downlink frequency", " MHz"},
        {"Label3",
         ControlKind::Label,
         2640,
         360,
         735,
         375,
         "Uplink",
         kHeadingFont,
         {},
         {},
         2,
         false,
         false,
         "",
         ""},
        {"Label4",
         ControlKind::Label,
         2640,
         1440,
         1215,
         375,
         "Downlink",
         kHeadingFont,
         {},
         {},
         3,
         false,
         false,
         "",
         ""},
        {"Label5",
         ControlKind::Label,
         2160,
         1080,
         495,
         255,
         "MHz",
         {},
         {},
         {},
         4,
         false,
         false,
         "",
         ""},
        {"Label6",
         ControlKind::Label,
         2160,
         2160,
         495,
         255,
         "MHz",
         {},
         {},
         {},
         5,
         false,
         false,
         "",
         ""},
        {"HScroll1",
         ControlKind::ScrollBar,
         120,
         2520,
         3735,
         375,
         "",
         {},
         {},
         {},
         6,
         false,
         false,
         "Tuning offset in kHz",
         ""},
        {"Combo1",
         ControlKind::DropDownList,
         3840,
         360,
         2175,
         480,
         "",
         kListFont,
         {},
         {},
         7,
         false,
         false,
         "Transponder",
         ""},
        {"Label7",
         ControlKind::Label,
         2640,
         840,
         735,
         255,
         "LSB",
         kSidebandFont,
         kBlue,
         {},
         8,
         false,
         false,
         "Uplink sideband",
         ""},
        {"Label8",
         ControlKind::Label,
         2640,
         1920,
         735,
         255,
         "USB",
         kSidebandFont,
         kBlue,
         {},
         9,
         false,
         false,
         "Downlink sideband",
         ""},
        {"Image1",
         ControlKind::Image,
         4920,
         1200,
         960,
         960,
         "",
         {},
         {},
         {},
         -1,
         false,
         false,
         "",
         ""},
    }},
    1,
    10,
};

} // namespace

const ControlLayout& FormLayout::control(std::string_view controlName) const {
    for (const ControlLayout& c : controls) {
        if (c.name == controlName) {
            return c;
        }
    }
    throw std::out_of_range("no control named " + std::string(controlName));
}

const FormLayout& form1Layout() {
    return kForm1;
}

int twipsToPixels(int twips, int dotsPerInch) {
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

} // namespace kestrova
