// The control operations of Form1's procedures, implemented on Qt widgets.
#pragma once

#include "controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>

namespace kestrova {

class QtListControl : public ListControl {
public:
    explicit QtListControl(QComboBox* list) : list_(list) {}
    void clear() override { list_->clear(); }
    void addItem(std::string_view text, std::int16_t at) override {
        list_->insertItem(at, QString::fromUtf8(text));
    }
    std::int16_t listIndex() const override {
        return static_cast<std::int16_t>(list_->currentIndex());
    }
    void setListIndex(std::int16_t position) override { list_->setCurrentIndex(position); }

private:
    QComboBox* list_;
};

class QtScrollBarControl : public ScrollBarControl {
public:
    explicit QtScrollBarControl(QScrollBar* scrollBar) : scrollBar_(scrollBar) {}
    void setRange(std::int16_t min, std::int16_t max) override { scrollBar_->setRange(min, max); }
    std::int16_t value() const override { return static_cast<std::int16_t>(scrollBar_->value()); }

private:
    QScrollBar* scrollBar_;
};

class QtLabelControl : public LabelControl {
public:
    explicit QtLabelControl(QLabel* label) : label_(label) {}
    void setCaption(std::string_view caption) override {
        label_->setText(QString::fromUtf8(caption));
    }

private:
    QLabel* label_;
};

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG).
class SystemRegionalSettings : public RegionalSettings {
public:
    std::string decimalSeparator() const override {
        return QLocale::system().decimalPoint().toStdString();
    }
};

} // namespace kestrova
