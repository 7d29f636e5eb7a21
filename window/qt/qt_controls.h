// The control operations of Form1's procedures, implemented on Qt widgets.
#pragma once

#include "controls.h"

#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QScrollBar;

namespace kestrova {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// A label that tells an active screen reader when its text changes.
class QtLabelControl : public LabelControl {
public:
    explicit QtLabelControl(QLabel* label) : label_(label) {}
    void setCaption(std::string_view caption) override;

private:
    QLabel* label_;
};

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG), as Qt has it now.
// Asking Qt's system locale costs a lock and several allocations, and tuning asks at every
// step, so the answer is kept and asked again whenever Qt reports a change of locale.
class SystemRegionalSettings : public QObject, public RegionalSettings {
public:
    SystemRegionalSettings();
    std::string decimalSeparator() const override { return separator_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readSeparator();
    std::string separator_;
};

} // namespace kestrova
