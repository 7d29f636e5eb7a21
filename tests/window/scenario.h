// What a user sees, step by step, written once for both windows. Each window's test drives
// its real window through the steps and compares the captions, the position and the focus.
#pragma once

#include <string>
#include <string_view>

namespace kestrova::scenario {

enum class Act { Start, Choose, Key, Drag, Release, SwitchAway };
enum Key { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, BackTab };

struct Step {
    Act act;
    int argument; // Choose: the entry; Key: a Key; Drag: the thumb's position; SwitchAway: to
                  // another window (0) or minimised and restored (1)
    int position; // the tuning offset afterwards
    std::string_view captions; // uplink, downlink and sidebands, with "." for the separator
    bool listFocused = false;  // else the tuner has the keyboard focus
};

// From a fresh start: every key, a drag, each entry, the focus. A click in the trough is the
// toolkit's own Page Up or Page Down.
inline constexpr Step kSteps[] = {
    {Act::Start, 0, 0, "146.000 435.800 LSB USB"},
    {Act::Key, Key::Right, 1, "145.999 435.801 LSB USB"},
    {Act::Key, Key::Down, 2, "145.998 435.802 LSB USB"},
    {Act::Key, Key::Up, 1, "145.999 435.801 LSB USB"},
    {Act::Key, Key::Left, 0, "146.000 435.800 LSB USB"},
    {Act::Key, Key::Left, 0, "146.000 435.800 LSB USB"},
    {Act::Key, Key::PageDown, 10, "145.990 435.810 LSB USB"},
    {Act::Key, Key::End, 100, "145.900 435.900 LSB USB"},
    {Act::Key, Key::PageUp, 90, "145.910 435.890 LSB USB"},
    {Act::Key, Key::Home, 0, "146.000 435.800 LSB USB"},
    {Act::Drag, 42, 42, "145.958 435.842 LSB USB"},
    {Act::Drag, 77, 77, "145.923 435.877 LSB USB"},
    {Act::Release, 77, 77, "145.923 435.877 LSB USB"},
    {Act::Choose, 1, 77, "145.927 29.477 USB USB"},
    {Act::Choose, 3, 50, "435.225 145.925 LSB USB"},
    {Act::Choose, 4, 50, "145.975 435.715 LSB USB"},
    {Act::Key, Key::Home, 0, "145.925 435.765 LSB USB"},
    {Act::Choose, 2, 0, "432.175 145.925 LSB USB"},
    {Act::Key, Key::Right, 1, "432.174 145.926 LSB USB"},
    {Act::Key, Key::Tab, 1, "432.174 145.926 LSB USB", true},
    {Act::Key, Key::Down, 1, "435.274 145.876 LSB USB", true},
    {Act::SwitchAway, 0, 1, "435.274 145.876 LSB USB", true},
    {Act::Key, Key::BackTab, 1, "435.274 145.876 LSB USB"},
    {Act::Key, Key::Right, 2, "435.273 145.877 LSB USB"},
    {Act::SwitchAway, 1, 2, "435.273 145.877 LSB USB"},
    {Act::Key, Key::Right, 3, "435.272 145.878 LSB USB"},
};

// Text as shown with the user's decimal separator in place of each ".".
inline std::string shown(std::string text, std::string_view separator) {
    for (auto at = text.find('.'); at != text.npos; at = text.find('.', at + separator.size())) {
        text.replace(at, 1, separator);
    }
    return text;
}

// What a step leaves on the screen, in the form each window's test reports it:
// "146.000 435.800 LSB USB at 0, focus on HScroll1" with the user's separator.
inline std::string expected(const Step& step, std::string_view separator) {
    return shown(std::string(step.captions), separator) + " at " + std::to_string(step.position) +
           ", focus on " + (step.listFocused ? "Combo1" : "HScroll1");
}

} // namespace kestrova::scenario
