// The control operations of Form1's procedures, implemented on Win32 controls.
#pragma once

#include "controls.h"

#include <windows.h>

namespace kestrova {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// Each adapter works on the control it is made with.
struct Win32ListControl : ListControl {
    explicit Win32ListControl(HWND list) : handle(list) {}
    void clear() override;
    void addItem(std::string_view text, std::int16_t position) override;
    std::int16_t listIndex() const override;
    void setListIndex(std::int16_t position) override;
    HWND handle;
};

struct Win32ScrollBarControl : ScrollBarControl {
    explicit Win32ScrollBarControl(HWND scrollBar) : handle(scrollBar) {}
    void setRange(std::int16_t min, std::int16_t max) override;
    std::int16_t value() const override;
    HWND handle;
};

struct Win32LabelControl : LabelControl {
    explicit Win32LabelControl(HWND label) : handle(label) {}
    void setCaption(std::string_view caption) override;
    HWND handle;
};

// The decimal separator of the user's regional settings, read afresh each time.
struct Win32RegionalSettings : RegionalSettings {
    std::string decimalSeparator() const override;
};

} // namespace kestrova
