// The control operations of Form1's procedures, implemented on Qt widgets.
#pragma once

#include "controls.h"

class QComboBox;
class QLabel;
class QScrollBar;

namespace kestrova {

class QtListControl : public ListControl {
public:
    explicit QtListControl(QComboBox* comboBox) : comboBox_(comboBox) {}
    void clear() override;
    void addItem(std::string_view text, std::int16_t position) override;
    std::int16_t listIndex() const override;
    void setListIndex(std::int16_t position) override;

private:
    QComboBox* comboBox_;
};

class QtScrollBarControl : public ScrollBarControl {
public:
    explicit QtScrollBarControl(QScrollBar* scrollBar) : scrollBar_(scrollBar) {}
    void setMin(std::int16_t min) override;
    void setMax(std::int16_t max) override;
    std::int16_t value() const override;

private:
    QScrollBar* scrollBar_;
};

class QtLabelControl : public LabelControl {
public:
    explicit QtLabelControl(QLabel* label) : label_(label) {}
    void setCaption(std::string_view caption) override;

private:
    QLabel* label_;
};

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG).
class SystemRegionalSettings : public RegionalSettings {
public:
    std::string decimalSeparator() const override;
};

} // namespace kestrova
