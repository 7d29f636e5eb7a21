// The control operations of Form1's procedures, implemented on Win32 controls.
#pragma once

#include "controls.h"

#include <string>
#include <string_view>

#include <windows.h>

namespace kestrova {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

class Win32ListControl : public ListControl {
public:
    void clear() override;
    void addItem(std::string_view text, std::int16_t position) override;
    std::int16_t listIndex() const override;
    void setListIndex(std::int16_t position) override;
    HWND handle = nullptr;
};

// A scroll bar control keeps its position inside its range itself, as the procedures expect.
class Win32ScrollBarControl : public ScrollBarControl {
public:
    void setRange(std::int16_t min, std::int16_t max) override;
    std::int16_t value() const override;
    HWND handle = nullptr;
};

class Win32LabelControl : public LabelControl {
public:
    void setCaption(std::string_view caption) override;
    HWND handle = nullptr;
};

// The decimal separator of the user's regional settings, read afresh each time.
class Win32RegionalSettings : public RegionalSettings {
public:
    std::string decimalSeparator() const override;
};

} // namespace kestrova
