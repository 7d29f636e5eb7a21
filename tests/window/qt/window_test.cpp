// The Qt window with its real widgets: the shared scenario, the layout at the screen's scale,
// what a screen reader hears, and how every text reads under several palettes.
#include "form1_window.h"
#include "painted_contrast.h"
#include "scenario.h"

#include <QAccessible>
#include <QtTest>

using namespace kestrova;

class WindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1Window> window;
    std::string separator = qEnvironmentVariable("KESTROVA_EXPECT_SEPARATOR", ".").toStdString();
    // A Wayland compositor alone activates a window, through a seat, which a headless one has
    // not: there the window's own focus widget takes the keys.
    bool seatless = qEnvironmentVariableIsSet("KESTROVA_NO_SEAT");

    template <typename Widget = QLabel> Widget* get(Control c) const {
        return static_cast<Widget*>(window->control(c));
    }
    QString captions() const {
        return get(Control::Label1)->text() + " " + get(Control::Label2)->text() + " " +
               get(Control::Label7)->text() + " " + get(Control::Label8)->text();
    }
    void choose(int entry) { // what the popup list does when the user clicks an entry
        get<QComboBox>(Control::Combo1)->setCurrentIndex(entry);
        Q_EMIT get<QComboBox>(Control::Combo1)->activated(entry);
    }
    void switchAway() {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(seatless || QTest::qWaitForWindowActive(&other));
        window->activateWindow();
        QVERIFY(seatless || QTest::qWaitForWindowActive(window.get()));
    }

private Q_SLOTS:
    void init() { window = std::make_unique<Form1Window>(); }

    void theScenarioShowsWhatTheUserExpects() {
        using scenario::Act;
        const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_F5};
        auto* tuner = get<QScrollBar>(Control::HScroll1);
        QVERIFY(!window->isVisible()); // loaded before it is first shown
        QCOMPARE(get(Control::Label1)->text().toStdString(), scenario::shown("146.000", separator));
        for (const scenario::Step& step : scenario::kSteps) {
            switch (step.act) {
            case Act::Start:
                window->show();
                QVERIFY(seatless ? QTest::qWaitForWindowExposed(window.get())
                                 : QTest::qWaitForWindowActive(window.get()));
                break;
            case Act::Choose:
                choose(step.argument);
                break;
            case Act::Key:
                QTest::keyClick(window->windowHandle(), keys[step.argument]);
                break;
            case Act::ClickTroughRight:
                QTest::mouseClick(tuner, Qt::LeftButton, {}, {tuner->width() - 30, 8});
                break;
            case Act::Drag:
                tuner->setSliderDown(true);
                tuner->setSliderPosition(step.argument);
                break;
            case Act::Release:
                tuner->setSliderDown(false);
                break;
            case Act::SwitchAway:
                switchAway();
                break;
            }
            const QString expected = QString::fromStdString(scenario::captions(step, separator));
            const auto focus =
                step.focus == scenario::Focus::Tuner ? Control::HScroll1 : Control::Combo1;
            const QWidget* focused = seatless ? window->focusWidget() : QApplication::focusWidget();
            QVERIFY2(captions() == expected && tuner->value() == step.position &&
                         focused == get<QWidget>(focus),
                     qPrintable(QStringLiteral("step %1: at %2 shows %3")
                                    .arg(&step - scenario::kSteps)
                                    .arg(tuner->value())
                                    .arg(captions())));
            for (QLabel* display : {get(Control::Label1), get(Control::Label2)}) { // in any face
                QVERIFY(QFontMetrics(display->font()).horizontalAdvance(display->text()) <=
                        display->contentsRect().width());
            }
        }
        for (Control fixed : {Control::Label3, Control::Label4, Control::Label5, Control::Label6}) {
            QCOMPARE(get(fixed)->text(), QString::fromUtf8(kForm1[fixed].text));
        }
        QCOMPARE(window->windowTitle(), "Kestrova V.1.0");
    }

    // In logical pixels, which Qt scales for the screen; the picture is drawn from an image at
    // least as large as the screen needs, never blown up, also after a move to another screen.
    void theLayoutAndPictureFitTheScreen() {
        QCOMPARE(window->size(), QSize(407, 205));
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const Box& b = kForm1.controls[i].box;
            QCOMPARE(window->control(Control(i))->geometry(),
                     QRect(b.left / 15, b.top / 15, b.width / 15, b.height / 15));
        }
        if (qEnvironmentVariableIsSet("KESTROVA_MOVE_TO_OTHER_SCREEN")) { // of another scale
            window->show();
            QScreen* other = QGuiApplication::screens().value(window->screen() ==
                                                              QGuiApplication::screens().value(0));
            QVERIFY(other->devicePixelRatio() != window->devicePixelRatioF());
            window->windowHandle()->setScreen(other);
            QTRY_COMPARE(window->devicePixelRatioF(), other->devicePixelRatio());
        }
        const qreal scale = window->devicePixelRatioF();
        const QPixmap picture = get(Control::Image1)->pixmap();
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

    void aScreenReaderHearsNamesAndFrequencies() {
        QTest::keyClick(get<QWidget>(Control::HScroll1), Qt::Key_Right);
        const QString up = get(Control::Label1)->text(), down = get(Control::Label2)->text();
        const QString tuning = "Uplink " + up + " MHz, downlink " + down + " MHz";
        const std::pair<Control, QString> kExpected[] = {
            // Name, description and value; on Linux a list is named by its entry.
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
        QCOMPARE(QAccessible::queryAccessibleInterface(window->control(Control::HScroll1))->role(),
                 QAccessible::ScrollBar);
    }

    // Every text reads at 4.5:1 or better on what is painted behind it, while the palette
    // changes under the running window.
    void everyTextReadsOnEveryPalette_data() {
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("text");
        QTest::newRow("default") << QColor() << QColor();
        QTest::newRow("dark") << QColor(32, 32, 32) << QColor(238, 238, 238);
        QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("text as background") << QColor(90, 90, 90) << QColor(90, 90, 90);
    }
    void everyTextReadsOnEveryPalette() {
        QFETCH(QColor, back);
        QFETCH(QColor, text);
        QPalette palette = window->palette(); // as a theme change gives the running window
        palette.setColor(QPalette::Window, back.isValid() ? back : palette.color(QPalette::Window));
        palette.setColor(QPalette::WindowText,
                         text.isValid() ? text : palette.color(QPalette::WindowText));
        window->setPalette(palette);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const ControlLayout& c = kForm1.controls[i];
            if (c.kind == ControlKind::Label &&
                (text != back || c.display || c.textColour)) { // else the user's choice
                const QImage image = get(Control(i))->grab().toImage();
                const double ratio =
                    paintedContrast(image.width(), image.height(), [&](int x, int y) {
                        const QColor p = image.pixelColor(x, y);
                        return Colour{std::uint8_t(p.red()), std::uint8_t(p.green()),
                                      std::uint8_t(p.blue())};
                    });
                QVERIFY2(
                    ratio >= 4.5,
                    qPrintable(
                        QStringLiteral("%1: %2").arg(QLatin1String(c.name.data())).arg(ratio)));
            }
        }
        if (!back.isValid()) { // the default look keeps the blue
            QCOMPARE(get(Control::Label7)->palette().color(QPalette::WindowText),
                     QColor(0, 0, 255));
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
