// What a user sees, step by step, written once for both windows. Each window's test drives
// its real window through the steps and compares the captions, the position and the focus.
#pragma once

#include <string>
#include <string_view>

namespace kestrova::scenario {

enum class Act { Start, Choose, Key, ClickTroughRight, Drag, Release, SwitchAway };
enum class Key { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, BackTab, Unused };
enum class Focus { Tuner, List };

struct Step {
    Act act;
    int argument; // Choose: the entry; Key: a Key; Drag: the thumb's position
    int position; // the tuning offset afterwards
    std::string_view uplink, downlink, sidebands; // frequencies with "." for the separator
    Focus focus = Focus::Tuner;
};

constexpr int key(Key k) {
    return static_cast<int>(k);
}

// From a fresh start: every key, the trough, a drag, each entry, the focus.
inline constexpr Step kSteps[] = {
    {Act::Start, 0, 0, "146.000", "435.800", "LSB USB"},
    {Act::Key, key(Key::Right), 1, "145.999", "435.801", "LSB USB"},
    {Act::Key, key(Key::Down), 2, "145.998", "435.802", "LSB USB"},
    {Act::Key, key(Key::Up), 1, "145.999", "435.801", "LSB USB"},
    {Act::Key, key(Key::Left), 0, "146.000", "435.800", "LSB USB"},
    {Act::Key, key(Key::Left), 0, "146.000", "435.800", "LSB USB"},
    {Act::Key, key(Key::PageDown), 10, "145.990", "435.810", "LSB USB"},
    {Act::Key, key(Key::Unused), 10, "145.990", "435.810", "LSB USB"},
    {Act::Key, key(Key::PageUp), 0, "146.000", "435.800", "LSB USB"},
    {Act::Key, key(Key::End), 100, "145.900", "435.900", "LSB USB"},
    {Act::Key, key(Key::PageDown), 100, "145.900", "435.900", "LSB USB"},
    {Act::Key, key(Key::Home), 0, "146.000", "435.800", "LSB USB"},
    {Act::ClickTroughRight, 0, 10, "145.990", "435.810", "LSB USB"},
    {Act::Drag, 42, 42, "145.958", "435.842", "LSB USB"},
    {Act::Drag, 77, 77, "145.923", "435.877", "LSB USB"},
    {Act::Release, 77, 77, "145.923", "435.877", "LSB USB"},
    {Act::Choose, 1, 77, "145.927", "29.477", "USB USB"},
    {Act::Choose, 3, 50, "435.225", "145.925", "LSB USB"},
    {Act::Choose, 3, 50, "435.225", "145.925", "LSB USB"},
    {Act::Choose, 4, 50, "145.975", "435.715", "LSB USB"},
    {Act::Key, key(Key::Home), 0, "145.925", "435.765", "LSB USB"},
    {Act::Choose, 2, 0, "432.175", "145.925", "LSB USB"},
    {Act::Key, key(Key::Right), 1, "432.174", "145.926", "LSB USB"},
    {Act::SwitchAway, 0, 1, "432.174", "145.926", "LSB USB"},
    {Act::Key, key(Key::Right), 2, "432.173", "145.927", "LSB USB"},
    {Act::Key, key(Key::Tab), 2, "432.173", "145.927", "LSB USB", Focus::List},
    {Act::Key, key(Key::Down), 2, "435.273", "145.877", "LSB USB", Focus::List},
    {Act::SwitchAway, 0, 2, "435.273", "145.877", "LSB USB", Focus::List},
    {Act::Key, key(Key::BackTab), 2, "435.273", "145.877", "LSB USB"},
};

// The frequency as shown with the user's decimal separator.
inline std::string shown(std::string_view pointText, std::string_view separator) {
    std::string text(pointText);
    return text.replace(text.find('.'), 1, separator);
}

// The captions a step leaves, "uplink downlink sidebands", with the user's separator.
inline std::string captions(const Step& step, std::string_view separator) {
    return shown(step.uplink, separator) + " " + shown(step.downlink, separator) + " " +
           std::string(step.sidebands);
}

} // namespace kestrova::scenario
