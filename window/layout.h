// Form1's frame and eleven controls as data, in twips, shared by every toolkit binding.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// Form1's controls in tab order, the picture last; each indexes its row of the layout, whose
// name the compiler checks against the enumerator's.
// clang-format off
#define KESTROVA_CONTROLS(X) \
    X(Label1) X(Label2) X(Label3) X(Label4) X(Label5) X(Label6) X(HScroll1) X(Combo1) X(Label7) \
    X(Label8) X(Image1)
// clang-format on
#define KESTROVA_ENUMERATOR(name) name,
enum class Control { KESTROVA_CONTROLS(KESTROVA_ENUMERATOR) };
#undef KESTROVA_ENUMERATOR
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::Image1) + 1;

enum class ControlKind { Label, ScrollBar, DropDownList, Image };

struct Colour {
    std::uint8_t red, green, blue;
};

// Faces that stand in for the window's Windows faces where those are not installed or not
// usable, the metric-compatible ones first: "MS Sans Serif" is a bitmap face on Windows, drawn
// at its 96 and 120 dpi sizes only, and "Microsoft Sans Serif" is its outline twin.
struct FaceStandIns {
    std::string_view family;
    std::array<std::string_view, 3> standIns;
};
inline constexpr FaceStandIns kFaceStandIns[] = {
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"MS Sans Serif", {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}},
};

// The family if it is usable, else the first of its stand-ins that is; the family itself where
// none is, for the system's own substitute.
template <typename Usable> std::string_view usableFace(std::string_view family, Usable usable) {
    if (usable(family)) {
        return family;
    }
    for (const FaceStandIns& face : kFaceStandIns) {
        for (std::string_view standIn : face.standIns) {
            if (face.family == family && usable(standIn)) {
                return standIn;
            }
        }
    }
    return family;
}

struct FontSpec {
    std::string_view family;
    double points;
    bool bold = false;
};

struct Box {
    int left, top, width, height; // twips from the client area's top-left corner
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    Box box;
    std::string_view text = {};            // initial text
    std::optional<FontSpec> font = {};     // empty: the window's default font
    std::optional<Colour> textColour = {}; // of a label on the window's background
    // A frequency display: centred text at the top, the standard label border, colours of its
    // own, and " MHz" after its text for a screen reader.
    struct Display {
        Colour text, background;
    };
    std::optional<Display> display = {};
    std::string_view accessibleName = {}; // what a screen reader calls the control
};

struct FormLayout {
    std::string_view name;
    std::string_view caption;
    FontSpec font;                 // the window's default face, for controls without one
    int clientWidth, clientHeight; // twips
    std::int16_t smallChange;      // kHz per arrow step of the scroll bar
    std::int16_t largeChange;      // kHz per page step
    std::array<ControlLayout, kControlCount> controls;

    const ControlLayout& operator[](Control control) const {
        return controls[static_cast<std::size_t>(control)];
    }
};

extern const FormLayout kForm1;

// Twips to device pixels at a given dots-per-inch, rounded to the nearest pixel.
constexpr int twipsToPixels(int twips, int dotsPerInch) {
    return (twips * dotsPerInch + 720) / 1440;
}

} // namespace kestrova
