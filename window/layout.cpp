// Form1's layout: positions and sizes in twips (15 to a pixel at 96 dpi), fonts, colours.
#include "layout.h"

namespace kestrova {
namespace {

constexpr Colour kCyan{0, 255, 255};
constexpr Colour kDarkGrey{64, 64, 64};
constexpr Colour kBlue{0, 0, 255};
constexpr FontSpec kWindowFont{"MS Sans Serif", 8.0};
constexpr FontSpec kDisplayFont{"Arial", 24.0, true};
constexpr FontSpec kHeadingFont{"MS Sans Serif", 12.0, true};
constexpr FontSpec kSidebandFont{"MS Sans Serif", 9.75, true};
constexpr auto kLabel = ControlKind::Label;
#define KESTROVA_NAME(name) #name,
constexpr std::string_view kControlNames[] = {KESTROVA_CONTROLS(KESTROVA_NAME)};
#undef KESTROVA_NAME

} // namespace

// One control to a row, as a form file lists them.
// clang-format off
constexpr FormLayout kForm1{
    .name = "Form1", .caption = "Kestrova V." KESTROVA_CAPTION_VERSION, .font = kWindowFont,
    .clientWidth = 6105, .clientHeight = 3075,
    .smallChange = 1, .largeChange = 10,
    .controls = {{
        {.name = "Label1", .kind = kLabel, .box = {120, 360, 2415, 735}, .font = kDisplayFont,
            .display = {{kCyan, kDarkGrey}}, .accessibleName = "Uplink frequency"},
        {.name = "Label2", .kind = kLabel, .box = {120, 1440, 2415, 735}, .font = kDisplayFont,
            .display = {{kCyan, kDarkGrey}}, .accessibleName = "Downlink frequency"},
        {.name = "Label3", .kind = kLabel, .box = {2640, 360, 735, 375}, .text = "Uplink", .font = kHeadingFont},
        {.name = "Label4", .kind = kLabel, .box = {2640, 1440, 1215, 375}, .text = "Downlink", .font = kHeadingFont},
        {.name = "Label5", .kind = kLabel, .box = {2160, 1080, 495, 255}, .text = "MHz"},
        {.name = "Label6", .kind = kLabel, .box = {2160, 2160, 495, 255}, .text = "MHz"},
        {.name = "HScroll1", .kind = ControlKind::ScrollBar, .box = {120, 2520, 3735, 375}, .accessibleName = "Tuning"},
        {.name = "Combo1", .kind = ControlKind::DropDownList, .box = {3840, 360, 2175, 480},
            .font = FontSpec{"MS Sans Serif", 13.5}, .accessibleName = "Transponder"},
        {.name = "Label7", .kind = kLabel, .box = {2640, 840, 735, 255}, .text = "LSB", .font = kSidebandFont,
            .textColour = kBlue, .accessibleName = "Uplink sideband"},
        {.name = "Label8", .kind = kLabel, .box = {2640, 1920, 735, 255}, .text = "USB", .font = kSidebandFont,
            .textColour = kBlue, .accessibleName = "Downlink sideband"},
        {.name = "Image1", .kind = ControlKind::Image, .box = {4920, 1200, 960, 960}},
    }},
};
// clang-format on

static_assert(
    [] {
        for (std::size_t i = 0; i < kControlCount; ++i) {
            if (kForm1.controls[i].name != kControlNames[i]) {
                return false;
            }
        }
        return true;
    }(),
    "each row of the layout stands at its control's place");

} // namespace kestrova
