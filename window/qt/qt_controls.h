// The control operations of Form1's procedures, implemented on Qt widgets.
#pragma once

#include "controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>

namespace kestrova {

struct QtListControl : ListControl {
    explicit QtListControl(QComboBox* widget) : list(widget) {}
    void clear() override { list->clear(); }
    void addItem(std::string_view text, std::int16_t at) override {
        list->insertItem(at, QString::fromUtf8(text));
    }
    std::int16_t listIndex() const override {
        return static_cast<std::int16_t>(list->currentIndex());
    }
    void setListIndex(std::int16_t position) override { list->setCurrentIndex(position); }
    QComboBox* list;
};

struct QtScrollBarControl : ScrollBarControl {
    explicit QtScrollBarControl(QScrollBar* widget) : scrollBar(widget) {}
    void setRange(std::int16_t min, std::int16_t max) override { scrollBar->setRange(min, max); }
    std::int16_t value() const override { return static_cast<std::int16_t>(scrollBar->value()); }
    QScrollBar* scrollBar;
};

// A label whose text keeps to its box: where a wider face stands in for the one the layout was
// drawn for, its font shrinks just enough to fit, rather than clip the text. It is fitted when
// it is shown, resized, or given a new text or layout font.
class FittedLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setLayoutFont(const QFont& font) {
        layoutFont_ = font;
        fit();
    }
    void fit();

protected:
    void showEvent(QShowEvent* event) override {
        QLabel::showEvent(event);
        fit();
    }
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    QFont layoutFont_;
};

struct QtLabelControl : LabelControl {
    explicit QtLabelControl(FittedLabel* widget) : label(widget) {}
    void setCaption(std::string_view caption) override {
        label->setText(QString::fromUtf8(caption));
        label->fit();
    }
    FittedLabel* label;
};

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG).
struct SystemRegionalSettings : RegionalSettings {
    std::string decimalSeparator() const override {
        return QLocale::system().decimalPoint().toStdString();
    }
};

} // namespace kestrova
