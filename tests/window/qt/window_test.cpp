// The Qt window with its real widgets: the shared scenario, the layout at the screen's scale,
// what a screen reader hears, and the contrast of every text under several palettes.
#include "colours.h"
#include "form1_window.h"
#include "scenario.h"

#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>

using namespace kestrova;

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1Window> window;
    QString separator = qEnvironmentVariable("KESTROVA_EXPECT_SEPARATOR", ".");

    QLabel* label(Control c) const { return static_cast<QLabel*>(window->control(c)); }
    QScrollBar* tuner() const {
        return static_cast<QScrollBar*>(window->control(Control::HScroll1));
    }

    void act(const scenario::Step& step) {
        using scenario::Act;
        static const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                       Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                       Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_F5};
        QComboBox* list = static_cast<QComboBox*>(window->control(Control::Combo1));
        switch (step.act) {
        case Act::Start:
            window->show();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            break;
        case Act::Choose: // what the popup list does when the user clicks an entry
            list->setCurrentIndex(step.argument);
            Q_EMIT list->activated(step.argument);
            break;
        case Act::Key:
            QTest::keyClick(window->windowHandle(), keys[step.argument]);
            break;
        case Act::ClickTroughRight:
            QTest::mouseClick(tuner(), Qt::LeftButton, {},
                              {tuner()->width() - 30, tuner()->height() / 2});
            break;
        case Act::Drag:
            tuner()->setSliderDown(true);
            tuner()->setSliderPosition(step.argument);
            break;
        case Act::Release:
            tuner()->setSliderDown(false);
            break;
        case Act::SwitchAway: {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            break;
        }
        }
    }

private Q_SLOTS:
    void init() { window = std::make_unique<Form1Window>(); }
    void cleanup() { window.reset(); }

    void theScenarioShowsWhatTheUserExpects() {
        QVERIFY(!window->isVisible()); // loaded before it is first shown
        QCOMPARE(label(Control::Label1)->text().toStdString(),
                 scenario::shown("146.000", separator.toStdString()));
        for (const scenario::Step& step : scenario::kSteps) {
            act(step);
            const QString where = QStringLiteral("step %1").arg(&step - scenario::kSteps);
            const QWidget* focus =
                step.focus == scenario::Focus::Tuner ? tuner() : window->control(Control::Combo1);
            QVERIFY2(QApplication::focusWidget() == focus, qPrintable(where));
            QVERIFY2(tuner()->value() == step.position, qPrintable(where));
            const QString shown =
                label(Control::Label1)->text() + " " + label(Control::Label2)->text() + " " +
                label(Control::Label7)->text() + " " + label(Control::Label8)->text();
            const std::string sep = separator.toStdString();
            const QString expected = QString::fromStdString(
                scenario::shown(step.uplink, sep) + " " + scenario::shown(step.downlink, sep) +
                " " + std::string(step.sidebands));
            QVERIFY2(shown == expected,
                     qPrintable(where + ": " + shown + " instead of " + expected));
        }
        for (Control fixed : {Control::Label3, Control::Label4, Control::Label5, Control::Label6}) {
            QCOMPARE(label(fixed)->text(), QString::fromUtf8(kForm1[fixed].text));
        }
        QCOMPARE(window->windowTitle(), "Kestrova V.1.0");
    }

    // In logical pixels, which Qt scales for the screen; the picture comes from an image at
    // least as large as the screen needs, never blown up.
    void theLayoutAndPictureFitTheScreen() {
        QCOMPARE(window->size(), QSize(407, 205));
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const Box& b = kForm1.controls[i].box;
            QCOMPARE(window->control(Control(i))->geometry(),
                     QRect(b.left / 15, b.top / 15, b.width / 15, b.height / 15));
        }
        if (qEnvironmentVariableIsSet("KESTROVA_MOVE_TO_SECOND_SCREEN")) { // of another scale
            QCOMPARE(QGuiApplication::screens().size(), 2);
            window->show();
            window->windowHandle()->setScreen(QGuiApplication::screens().last());
            QTRY_COMPARE(window->devicePixelRatioF(),
                         QGuiApplication::screens().last()->devicePixelRatio());
        }
        const qreal scale = window->devicePixelRatioF();
        const QPixmap picture = label(Control::Image1)->pixmap();
        QCOMPARE(picture.deviceIndependentSize(), QSizeF(64, 64));
        QCOMPARE(picture.size(), QSize(qRound(64 * scale), qRound(64 * scale)));
        if (scale == 1 || scale == 2) { // a shipped size, as drawn
            QImage drawn(
                QStringLiteral(":/kestrova/icons/kestrova-%1.png").arg(qRound(64 * scale)));
            drawn.setDevicePixelRatio(scale);
            QCOMPARE(picture.toImage().convertToFormat(QImage::Format_ARGB32),
                     drawn.convertToFormat(QImage::Format_ARGB32));
        }
    }

    // Whichever faces stand in for the Windows fonts, every frequency fits its display.
    void everyFrequencyFitsItsDisplay() {
        auto* list = static_cast<QComboBox*>(window->control(Control::Combo1));
        for (int entry = 0; entry < 5; ++entry) {
            list->setCurrentIndex(entry);
            Q_EMIT list->activated(entry);
            for (int k = 0; k <= tuner()->maximum(); ++k) {
                tuner()->setValue(k);
                for (Control display : {Control::Label1, Control::Label2}) {
                    const QFontMetrics metrics(label(display)->font());
                    QVERIFY2(metrics.horizontalAdvance(label(display)->text()) <=
                                 label(display)->contentsRect().width(),
                             qPrintable(label(display)->text() + " in " +
                                        QFontInfo(label(display)->font()).family()));
                }
            }
        }
    }

    void aScreenReaderHearsNamesAndFrequencies() {
        QTest::keyClick(tuner(), Qt::Key_Right);
        const QString up = label(Control::Label1)->text(), down = label(Control::Label2)->text();
        const QString tuning = "Uplink " + up + " MHz, downlink " + down + " MHz";
        // Name, description and value; on Linux a list is named by its entry.
        const std::pair<Control, QString> kExpected[] = {
            {Control::HScroll1, "Tuning|" + tuning + "|" + tuning},
            {Control::Combo1, "FO-29|Transponder|FO-29"},
            {Control::Label1, "Uplink frequency|" + up + " MHz|"},
            {Control::Label2, "Downlink frequency|" + down + " MHz|"},
            {Control::Label7, "Uplink sideband|LSB|"},
            {Control::Label3, "Uplink||"},
        };
        for (const auto& [control, expected] : kExpected) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(window->control(control));
            QCOMPARE(a->text(QAccessible::Name) + "|" + a->text(QAccessible::Description) + "|" +
                         a->text(QAccessible::Value),
                     expected);
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(tuner())->role(), QAccessible::ScrollBar);
    }

    // Every text reads at 4.5:1 or better on what is painted behind it, measured on pixels.
    void everyTextReadsOnEveryPalette_data() {
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("text");
        QTest::newRow("default") << QColor() << QColor();
        QTest::newRow("dark") << QColor(32, 32, 32) << QColor(238, 238, 238);
        QTest::newRow("light") << QColor(255, 255, 255) << QColor(0, 0, 0);
        QTest::newRow("text as background") << QColor(90, 90, 90) << QColor(90, 90, 90);
    }
    void everyTextReadsOnEveryPalette() {
        QFETCH(QColor, back);
        QFETCH(QColor, text);
        const QPalette original = QApplication::palette();
        if (back.isValid()) {
            QPalette palette = original;
            palette.setColor(QPalette::Window, back);
            palette.setColor(QPalette::WindowText, text);
            QApplication::setPalette(palette);
        }
        for (Control c : {Control::Label1, Control::Label2, Control::Label3, Control::Label4,
                          Control::Label5, Control::Label6, Control::Label7, Control::Label8}) {
            const bool ownColours = kForm1[c].display || kForm1[c].textColour;
            if (text == back && !ownColours) {
                continue; // the user's choice
            }
            const double ratio = paintedContrast(label(c)->grab().toImage());
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1: %2").arg(label(c)->objectName()).arg(ratio)));
        }
        if (!back.isValid()) { // the default look keeps the blue
            QCOMPARE(label(Control::Label7)->palette().color(QPalette::WindowText),
                     QColor(0, 0, 255));
        }
        QApplication::setPalette(original);
    }

private:
    // The contrast between the most common colour (the background) and the colour that
    // stands out most from it (the text).
    static double paintedContrast(const QImage& image) {
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ++counts[image.pixel(x, y) | 0xff000000];
            }
        }
        const auto toColour = [](QRgb c) {
            return Colour{std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))};
        };
        QRgb background = counts.begin().key();
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            background = it.value() > counts[background] ? it.key() : background;
        }
        double best = 1;
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            best = std::max(best, contrastRatio(toColour(it.key()), toColour(background)));
        }
        return best;
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
