// Controls that only keep what Form1's procedures set, as real controls do (a scroll bar keeps
// its position inside its range): the page's first state is written from them at build time.
#pragma once

#include "controls.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova {

struct RecordedList : ListControl {
    void clear() override { items.clear(), index = -1; }
    void addItem(std::string_view text, std::int16_t position) override {
        items.insert(items.begin() + position, std::string(text));
    }
    std::int16_t listIndex() const override { return index; }
    void setListIndex(std::int16_t position) override { index = position; }
    std::vector<std::string> items;
    std::int16_t index = -1;
};

struct RecordedScrollBar : ScrollBarControl {
    void setRange(std::int16_t low, std::int16_t high) override {
        min = low, max = high, position = std::clamp(position, low, high);
    }
    std::int16_t value() const override { return position; }
    std::int16_t min = 0, max = 0, position = 0;
};

struct RecordedLabel : LabelControl {
    void setCaption(std::string_view text) override { caption = text; }
    std::string caption;
};

struct FixedSeparator : RegionalSettings {
    std::string decimalSeparator() const override { return separator; }
    std::string separator = ".";
};

} // namespace kestrova
