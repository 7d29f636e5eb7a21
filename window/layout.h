// Form1's frame and eleven controls as data, in twips, shared by every toolkit binding.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

enum class ControlKind { Label, ScrollBar, DropDownList, Image };

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

struct FontSpec {
    std::string_view family;
    double points;
    bool bold;
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    int left; // twips from the client area's top-left corner
    int top;
    int width;
    int height;
    std::string_view text;        // initial text; empty for none
    std::optional<FontSpec> font; // empty: the window's default font
    std::optional<Colour> textColour;
    std::optional<Colour> backColour; // empty: the window's background
    int tabIndex;                     // -1: not in the tab order
    bool centred;                     // centred horizontally, text at the top
    bool sunkenBorder;                // the platform's standard label border
    std::string_view accessibleName;  // what a screen reader calls the control
    std::string_view accessibleUnit;  // said after a label's current text, if any
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixelAt96Dpi = kTwipsPerInch / 96;

struct FormLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth; // twips
    int clientHeight;
    std::array<ControlLayout, 11> controls; // in tab order, the image last
    std::int16_t smallChange;               // kHz per arrow step of the scroll bar
    std::int16_t largeChange;               // kHz per page step

    const ControlLayout& control(std::string_view controlName) const;
};

const FormLayout& form1Layout();

// Twips to device pixels at a given dots-per-inch, rounded to the nearest pixel.
int twipsToPixels(int twips, int dotsPerInch);

} // namespace kestrova
