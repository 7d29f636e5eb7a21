// The Qt window with its real widgets: start state, events, keyboard, layout and accessibility.
#include "window_driver.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QtTest>

#include <memory>

using namespace kestrova;

class Form1WindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowDriver> driver;
    Form1Window* window = nullptr;
    QComboBox* combo = nullptr;
    QScrollBar* scroll = nullptr;

    QLabel* label(const char* name) const { return driver->label(name); }
    QStringList captions() const {
        return {label("Label1")->text(), label("Label2")->text(), label("Label7")->text(),
                label("Label8")->text()};
    }
    void chooseEntry(int index) { driver->chooseEntry(index); }
    void verifyCaptionsMatchModel() {
        const QString error = driver->mismatch();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    bool pointLocale() const { return QLocale::system().decimalPoint() == QLatin1String("."); }

private Q_SLOTS:
    void init() {
        driver = std::make_unique<WindowDriver>();
        window = driver->window.get();
        combo = driver->combo;
        scroll = driver->scroll;
        QVERIFY(combo && scroll);
    }
    void cleanup() { driver.reset(); }

    void startsWithTheFirstEntryBeforeItIsShown() {
        if (!pointLocale()) {
            QSKIP("needs a decimal-point locale");
        }
        QVERIFY(!window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Kestrova V.1.0"));
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
        QCOMPARE(items, QStringList({"FO-29", "AO-7 Mode A", "AO-7 Mode B", "VO-52", "HO-68"}));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(scroll->minimum(), 0);
        QCOMPARE(scroll->maximum(), 100);
        QCOMPARE(scroll->value(), 0);
        QCOMPARE(label("Label1")->text(), QString("146.000"));
        QCOMPARE(label("Label2")->text(), QString("435.800"));
        QCOMPARE(label("Label7")->text(), QString("LSB"));
        QCOMPARE(label("Label8")->text(), QString("USB"));
        QVERIFY(!combo->isEditable());
    }

    void switchingEntriesKeepsOrClampsThePosition_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("FO-29 at 30 to AO-7 Mode A")
            << 0 << 30 << 1 << 30 << QStringList{"145.880", "29.430", "USB", "USB"};
        QTest::newRow("FO-29 at 80 to VO-52")
            << 0 << 80 << 3 << 50 << QStringList{"435.225", "145.925", "LSB", "USB"};
        QTest::newRow("VO-52 at 37 to VO-52 again")
            << 3 << 37 << 3 << 37 << QStringList{"435.238", "145.912", "LSB", "USB"};
    }
    void switchingEntriesKeepsOrClampsThePosition() {
        QFETCH(int, from);
        QFETCH(int, offset);
        QFETCH(int, to);
        QFETCH(int, position);
        QFETCH(QStringList, expected);
        if (!pointLocale()) {
            QSKIP("needs a decimal-point locale");
        }
        chooseEntry(from);
        scroll->setValue(offset);
        chooseEntry(to);
        QCOMPARE(scroll->value(), position);
        QCOMPARE(captions(), expected);
    }

    void theKeyboardChoosesEntries() {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(label("Label7")->text(), QString("USB"));
        QTest::keyClick(combo, Qt::Key_End);
        QCOMPARE(combo->currentIndex(), 4);
        QCOMPARE(scroll->maximum(), 50);
        verifyCaptionsMatchModel();
    }

    void everyScrollPathUpdatesBothDisplays_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("position");
        QTest::newRow("right arrow") << 0 << 0 << int(Qt::Key_Right) << 1;
        QTest::newRow("left arrow") << 0 << 40 << int(Qt::Key_Left) << 39;
        QTest::newRow("left arrow at the edge") << 0 << 0 << int(Qt::Key_Left) << 0;
        QTest::newRow("page down") << 1 << 5 << int(Qt::Key_PageDown) << 15;
        QTest::newRow("page up") << 1 << 5 << int(Qt::Key_PageUp) << 0;
        QTest::newRow("page down at the edge") << 2 << 45 << int(Qt::Key_PageDown) << 50;
        QTest::newRow("end") << 3 << 10 << int(Qt::Key_End) << 50;
        QTest::newRow("home") << 4 << 33 << int(Qt::Key_Home) << 0;
        QTest::newRow("up arrow") << 2 << 49 << int(Qt::Key_Up) << 50;
        QTest::newRow("down arrow") << 2 << 1 << int(Qt::Key_Down) << 0;
    }
    void everyScrollPathUpdatesBothDisplays() {
        QFETCH(int, entry);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, position);
        chooseEntry(entry);
        scroll->setValue(start);
        QTest::keyClick(scroll, Qt::Key(key));
        QCOMPARE(scroll->value(), position);
        verifyCaptionsMatchModel();
    }

    void theDisplaysFollowTheThumbWhileItIsDragged() {
        chooseEntry(2);
        scroll->setSliderDown(true);
        for (int position : {1, 7, 26, 50, 12}) {
            scroll->setSliderPosition(position);
            QCOMPARE(scroll->value(), position);
            verifyCaptionsMatchModel();
        }
        scroll->setSliderDown(false);
        verifyCaptionsMatchModel();
    }

    void focusStartsOnTheScrollBarAndTabReachesTheList() {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), scroll);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(scroll->value(), 1);
        verifyCaptionsMatchModel();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), combo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), scroll);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), combo);
        for (const char* name : {"Label1", "Label2", "Label3", "Label7", "Image1"}) {
            QCOMPARE(window->findChild<QWidget*>(name)->focusPolicy(), Qt::NoFocus);
        }
    }

    // Places and sizes in pixels at 96 dpi (twips / 15), with fonts and colours.
    void layoutMatchesTheWindowDescription_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("back");
        const QColor none;
        const QColor cyan(0, 255, 255), grey(64, 64, 64), blue(0, 0, 255);
        QTest::newRow("Label1") << "Label1" << QRect(8, 24, 161, 49) << "Arial" << 24.0 << true
                                << cyan << grey;
        QTest::newRow("Label2") << "Label2" << QRect(8, 96, 161, 49) << "Arial" << 24.0 << true
                                << cyan << grey;
        QTest::newRow("Label3") << "Label3" << QRect(176, 24, 49, 25) << "MS Sans Serif" << 12.0
                                << true << none << none;
        QTest::newRow("Label4") << "Label4" << QRect(176, 96, 81, 25) << "MS Sans Serif" << 12.0
                                << true << none << none;
        QTest::newRow("Label5") << "Label5" << QRect(144, 72, 33, 17) << "" << 0.0 << false << none
                                << none;
        QTest::newRow("Label6") << "Label6" << QRect(144, 144, 33, 17) << "" << 0.0 << false << none
                                << none;
        QTest::newRow("HScroll1") << "HScroll1" << QRect(8, 168, 249, 25) << "" << 0.0 << false
                                  << none << none;
        QTest::newRow("Combo1") << "Combo1" << QRect(256, 24, 145, 32) << "MS Sans Serif" << 13.5
                                << false << none << none;
        QTest::newRow("Label7") << "Label7" << QRect(176, 56, 49, 17) << "MS Sans Serif" << 9.75
                                << true << blue << none;
        QTest::newRow("Label8") << "Label8" << QRect(176, 128, 49, 17) << "MS Sans Serif" << 9.75
                                << true << blue << none;
        QTest::newRow("Image1") << "Image1" << QRect(328, 80, 64, 64) << "" << 0.0 << false << none
                                << none;
    }
    void layoutMatchesTheWindowDescription() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(QColor, text);
        QFETCH(QColor, back);
        const QWidget* widget = window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        if (family.isEmpty()) {
            QCOMPARE(widget->font(), window->font());
        } else {
            // The Windows face where installed, otherwise its installed stand-in.
            const QString installed =
                QFontDatabase::hasFamily(family) ? family : QStringLiteral("Liberation Sans");
            QCOMPARE(widget->font().family(), installed);
            QCOMPARE(QFontInfo(widget->font()).family(), installed);
            QCOMPARE(widget->font().pointSizeF(), points);
            QCOMPARE(widget->font().bold(), bold);
        }
        if (text.isValid()) {
            QCOMPARE(widget->palette().color(QPalette::WindowText), text);
        }
        QCOMPARE(widget->autoFillBackground(), back.isValid());
        if (back.isValid()) {
            QCOMPARE(widget->palette().color(QPalette::Window), back);
        }
    }

    void theFrameIsFixedAndTheDisplaysAreFramedAndCentred() {
        QCOMPARE(window->minimumSize(), QSize(407, 205));
        QCOMPARE(window->maximumSize(), QSize(407, 205));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window->windowIcon().availableSizes(),
                 (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
        for (const char* name : {"Label1", "Label2"}) {
            QCOMPARE(label(name)->alignment(), Qt::AlignHCenter | Qt::AlignTop);
            QCOMPARE(label(name)->frameShape(), QFrame::Panel);
            QCOMPARE(label(name)->frameShadow(), QFrame::Sunken);
        }
        for (const char* name : {"Label3", "Label7"}) {
            QCOMPARE(label(name)->frameShape(), QFrame::NoFrame);
        }
    }

    // The pictures built into the program are the drawn ones, in every shipped size.
    void theBuiltInPicturesAreTheShippedOnes() {
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QImage drawn(
                QStringLiteral(KESTROVA_RESOURCES "/icons/kestrova-%1.png").arg(size));
            QVERIFY2(!drawn.isNull(), qPrintable(QString::number(size)));
            QCOMPARE(shippedPicture(size).convertToFormat(QImage::Format_ARGB32),
                     drawn.convertToFormat(QImage::Format_ARGB32));
        }
    }

    void aScreenReaderHearsWhatEachControlIsAndShows() {
        if (!pointLocale()) {
            QSKIP("needs a decimal-point locale");
        }
        struct Expected {
            const char* name;
            QString accessibleName;
            QString description;
        };
        chooseEntry(1);
        scroll->setValue(37);
        const Expected expected[] = {
            {"Label1", "Uplink frequency", "145.887 MHz"},
            {"Label2", "Downlink frequency", "29.437 MHz"},
            {"Label7", "Uplink sideband", "USB"},
            {"Label8", "Downlink sideband", "USB"},
            {"HScroll1", "Tuning offset in kHz", ""},
        };
        for (const Expected& e : expected) {
            QAccessibleInterface* accessible =
                QAccessible::queryAccessibleInterface(window->findChild<QWidget*>(e.name));
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), e.accessibleName);
            if (!e.description.isEmpty()) {
                QCOMPARE(accessible->text(QAccessible::Description), e.description);
            }
        }
        QCOMPARE(label("Label1")->text(), QString("145.887")); // the visible text is unchanged
        QAccessibleInterface* scrollBar = QAccessible::queryAccessibleInterface(scroll);
        QCOMPARE(scrollBar->role(), QAccessible::ScrollBar);
        QCOMPARE(scrollBar->valueInterface()->currentValue().toInt(), 37);
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(combo);
        QCOMPARE(list->text(QAccessible::Value), QString("AO-7 Mode A"));
        QVERIFY(list->text(QAccessible::Name).contains("Transponder") ||
                list->text(QAccessible::Description) == "Transponder");
    }
};

QTEST_MAIN(Form1WindowTest)
#include "form1_window_test.moc"
