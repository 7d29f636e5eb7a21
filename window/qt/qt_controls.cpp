// Qt widgets behind Form1's control operations.
#include "qt_controls.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QScrollBar>

namespace kestrova {

void QtListControl::clear() {
    comboBox_->clear();
}

void QtListControl::addItem(std::string_view text, std::int16_t position) {
    comboBox_->insertItem(position, fromUtf8(text));
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
    label_->setText(fromUtf8(caption));
    // The description is read from the text when asked for (see the window's accessibility
    // factory); only a listening screen reader needs to hear of the change.
    if (QAccessible::isActive()) {
        QAccessibleEvent event(label_, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

SystemRegionalSettings::SystemRegionalSettings() {
    readSeparator();
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

bool SystemRegionalSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        readSeparator();
    }
    return QObject::eventFilter(watched, event);
}

void SystemRegionalSettings::readSeparator() {
    separator_ = QLocale::system().decimalPoint().toStdString();
}

} // namespace kestrova
