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
// drawn for, its font shrinks just enough to fit, rather than clip the text.
class FittedLabel : public QLabel {
public:
    using QLabel::QLabel;
    // The font the layout gives the label, or the window's, once the label has its box.
    void setLayoutFont(const QFont& font) {
        layoutFont_ = font;
        fitted_ = false;
    }
    void setText(const QString& text) {
        QLabel::setText(text);
        fitted_ = false;
    }

protected:
    // Fitted when drawn, not when set: measuring loads the font, and at start-up that is better
    // done once the window is on the screen than before it is shown.
    void paintEvent(QPaintEvent* event) override {
        if (!fitted_) {
            fitted_ = true;
            fit();
        }
        QLabel::paintEvent(event);
    }

private:
    void fit();
    QFont layoutFont_;
    bool fitted_ = false;
};

struct QtLabelControl : LabelControl {
    explicit QtLabelControl(FittedLabel* widget) : label(widget) {}
    void setCaption(std::string_view caption) override {
        label->setText(QString::fromUtf8(caption));
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
