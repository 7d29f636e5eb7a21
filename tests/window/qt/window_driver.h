// Drives a real Form1Window as a user does and checks its captions against the model.
#pragma once

#include "form1_window.h"
#include "frequency_text.h"
#include "transponder.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace kestrova {

class WindowDriver {
public:
    WindowDriver()
        : window(std::make_unique<Form1Window>()), combo(window->findChild<QComboBox*>("Combo1")),
          scroll(window->findChild<QScrollBar*>("HScroll1")) {}

    QLabel* label(const char* name) const { return window->findChild<QLabel*>(name); }
    QString text(const char* name) const { return label(name)->text(); }

    // What the popup list does when the user clicks an entry.
    void chooseEntry(int index) {
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    // An empty string when every caption agrees with the model for the current entry and
    // position, in the user's locale; otherwise what differs.
    QString mismatch() const {
        const auto position = static_cast<std::int16_t>(combo->currentIndex());
        const auto offset = static_cast<std::int16_t>(scroll->value());
        const TransponderEntry* entry = findEntry(position);
        if (entry == nullptr) {
            return QStringLiteral("no entry selected");
        }
        const std::string separator = QLocale::system().decimalPoint().toStdString();
        const QString expected[] = {
            QString::fromStdString(frequencyText(*uplinkFrequency(position, offset), separator)),
            QString::fromStdString(frequencyText(*downlinkFrequency(position, offset), separator)),
            QString::fromUtf8(entry->uplinkSideband.data(),
                              static_cast<qsizetype>(entry->uplinkSideband.size())),
            QString::fromUtf8(entry->downlinkSideband.data(),
                              static_cast<qsizetype>(entry->downlinkSideband.size()))};
        const char* names[] = {"Label1", "Label2", "Label7", "Label8"};
        for (int i = 0; i < 4; ++i) {
            if (text(names[i]) != expected[i]) {
                return QStringLiteral("entry %1 at %2: %3 shows %4, expected %5")
                    .arg(position)
                    .arg(offset)
                    .arg(names[i], text(names[i]), expected[i]);
            }
        }
        if (scroll->minimum() != 0 || scroll->maximum() != entry->tuningSpan) {
            return QStringLiteral("range %1..%2").arg(scroll->minimum()).arg(scroll->maximum());
        }
        return {};
    }

    // One random user action: a selection (often the one already chosen), a key on the scroll
    // bar, a drag to some position, or a click on an arrow button or in the trough. During a
    // drag the captions are checked at the dragged position too.
    QString randomAction(QRandomGenerator& random) {
        static const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                       Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        static const QAbstractSlider::SliderAction clicks[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub};
        switch (random.bounded(5)) {
        case 0:
            chooseEntry(random.bounded(5));
            break;
        case 1:
            chooseEntry(combo->currentIndex());
            break;
        case 2:
            QTest::keyClick(scroll, keys[random.bounded(8)]);
            break;
        case 3: {
            scroll->setSliderDown(true);
            for (int steps = random.bounded(1, 4); steps > 0; --steps) {
                scroll->setSliderPosition(random.bounded(scroll->maximum() + 1));
                if (QString error = mismatch(); !error.isEmpty()) {
                    return QStringLiteral("during a drag: ") + error;
                }
            }
            scroll->setSliderDown(false);
            break;
        }
        default:
            scroll->triggerAction(clicks[random.bounded(4)]);
            break;
        }
        return mismatch();
    }

    std::unique_ptr<Form1Window> window;
    QComboBox* combo;
    QScrollBar* scroll;
};

} // namespace kestrova
