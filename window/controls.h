// The few operations the event procedures need from the window's controls and settings.
// Each toolkit binding implements them on its native controls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

struct ListControl {
    virtual ~ListControl() = default;
    virtual void clear() = 0;
    virtual void addItem(std::string_view text, std::int16_t position) = 0;
    virtual std::int16_t listIndex() const = 0;
    virtual void setListIndex(std::int16_t position) = 0;
};

struct ScrollBarControl {
    virtual ~ScrollBarControl() = default;
    // Keeps the position inside the new range, as a scroll bar does.
    virtual void setRange(std::int16_t min, std::int16_t max) = 0;
    virtual std::int16_t value() const = 0;
};

struct LabelControl {
    virtual ~LabelControl() = default;
    virtual void setCaption(std::string_view caption) = 0;
};

// The user's regional settings, read at the moment of formatting.
struct RegionalSettings {
    virtual ~RegionalSettings() = default;
    virtual std::string decimalSeparator() const = 0;
};

} // namespace kestrova
