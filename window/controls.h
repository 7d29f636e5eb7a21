// The few operations the event procedures need from the window's controls and settings.
// Each toolkit binding implements them on its native controls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class ListControl {
public:
    virtual ~ListControl() = default;
    virtual void clear() = 0;
    virtual void addItem(std::string_view text, std::int16_t position) = 0;
    virtual std::int16_t listIndex() const = 0;
    virtual void setListIndex(std::int16_t position) = 0;
};

class ScrollBarControl {
public:
    virtual ~ScrollBarControl() = default;
    // Keeps the position inside the new range, as a scroll bar does.
    virtual void setRange(std::int16_t min, std::int16_t max) = 0;
    virtual std::int16_t value() const = 0;
};

class LabelControl {
public:
    virtual ~LabelControl() = default;
    virtual void setCaption(std::string_view caption) = 0;
};

// The user's regional settings, read at the moment of formatting.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;
    virtual std::string decimalSeparator() const = 0;
};

} // namespace kestrova
