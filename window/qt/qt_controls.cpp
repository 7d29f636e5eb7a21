// Qt widgets behind Form1's control operations.
#include "qt_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>

namespace kestrova {

void QtListControl::clear() {
    comboBox_->clear();
}

void QtListControl::addItem(std::string_view text, std::int16_t position) {
    comboBox_->insertItem(position, QString::fromUtf8(text));
}

std::int16_t QtListControl::listIndex() const {
    return static_cast<std::int16_t>(comboBox_->currentIndex());
}

void QtListControl::setListIndex(std::int16_t position) {
    comboBox_->setCurrentIndex(position);
}

void QtScrollBarControl::setMin(std::int16_t min) {
    scrollBar_->setMinimum(min);
}

void QtScrollBarControl::setMax(std::int16_t max) {
    scrollBar_->setMaximum(max);
}

std::int16_t QtScrollBarControl::value() const {
    return static_cast<std::int16_t>(scrollBar_->value());
}

void QtLabelControl::setCaption(std::string_view caption) {
    label_->setText(QString::fromUtf8(caption));
}

std::string SystemRegionalSettings::decimalSeparator() const {
    return QLocale::system().decimalPoint().toStdString();
}

} // namespace kestrova
