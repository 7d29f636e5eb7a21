// The Qt window with its real widgets: the shared scenario and what a screen reader hears at its
// end, the layout at the screen's scale, and how every text reads under several palettes.
#include "colours.h"
#include "form1_window.h"
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
    bool activate(QWidget* widget) const {
        widget->show();
        widget->activateWindow();
        return seatless ? QTest::qWaitForWindowExposed(widget)
                        : QTest::qWaitForWindowActive(widget);
    }
    void act(const scenario::Step& step) const {
        using scenario::Act;
        const Qt::Key keys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
                                Qt::Key_Tab,    Qt::Key_Backtab};
        auto* tuner = get<QScrollBar>(Control::HScroll1);
        auto* list = get<QComboBox>(Control::Combo1);
        if (step.act == Act::Start) {
            QVERIFY(activate(window.get()));
        } else if (step.act == Act::Choose) { // what the popup list does when an entry is clicked
            list->setCurrentIndex(step.argument);
            Q_EMIT list->activated(step.argument);
        } else if (step.act == Act::Key) {
            QTest::keyClick(window->windowHandle(), keys[step.argument]);
        } else if (step.act == Act::Drag || step.act == Act::Release) {
            tuner->setSliderDown(step.act == Act::Drag);
            tuner->setSliderPosition(step.argument);
        } else if (step.act == Act::SwitchAway) { // either way: Qt keeps the focus itself
            QWidget other;
            QVERIFY(activate(&other) && activate(window.get()));
        }
    }

private Q_SLOTS:
    void init() { window = std::make_unique<Form1Window>(); }

    void theScenarioShowsWhatTheUserExpects() {
        QVERIFY(!window->isVisible()); // loaded before it is first shown
        QCOMPARE(get(Control::Label1)->text().toStdString(), scenario::shown("146.000", separator));
        for (const scenario::Step& step : scenario::kSteps) {
            act(step);
            QString shown; // the captions, each display's only if it fits in any face
            for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
                const bool fits = QFontMetrics(get(c)->font()).horizontalAdvance(get(c)->text()) <=
                                  get(c)->contentsRect().width();
                shown += (fits ? get(c)->text() : QStringLiteral("(clipped)")) + " ";
            }
            const QWidget* focus = seatless ? window->focusWidget() : QApplication::focusWidget();
            QCOMPARE(shown + "at " + QString::number(get<QScrollBar>(Control::HScroll1)->value()) +
                         ", focus on " + (focus ? focus->objectName() : QString()),
                     QString::fromStdString(scenario::expected(step, separator)));
        }
        QCOMPARE(window->windowTitle(), "Kestrova V.1.0");
        const QString tuning = "Uplink 435.272 MHz, downlink 145.878 MHz";
        const std::pair<Control, QString> kHeard[] = {
            // Name, description and value; on Linux a list is named by its entry.
            {Control::HScroll1, "Tuning|" + tuning + "|" + tuning},
            {Control::Combo1, "VO-52|Transponder|VO-52"},
            {Control::Label1, "Uplink frequency|435.272 MHz|"},
        };
        for (const auto& [control, heard] : kHeard) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(window->control(control));
            QCOMPARE(a->text(QAccessible::Name) + "|" + a->text(QAccessible::Description) + "|" +
                         a->text(QAccessible::Value),
                     QString::fromStdString(scenario::shown(heard.toStdString(), separator)));
        }
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
        const QImage picture = get(Control::Image1)->pixmap().toImage();
        QCOMPARE(picture.size(), QSize(qRound(64 * scale), qRound(64 * scale)));
        QCOMPARE(picture.devicePixelRatio(), scale);
    }

    // Every text reads at 4.5:1 or better on what is painted behind it, on a light theme and a
    // dark one; the default look keeps its blue.
    void everyTextReadsOnEveryPalette() {
        QCOMPARE(get(Control::Label7)->palette().windowText().color(), QColor(Qt::blue));
        for (bool dark : {false, true}) { // as the theme changes under the running window
            QPalette palette = window->palette();
            palette.setColor(QPalette::Window, dark ? QColor(32, 32, 32) : QColor(239, 239, 239));
            palette.setColor(QPalette::WindowText, dark ? QColor(238, 238, 238) : Qt::black);
            window->setPalette(palette);
            for (std::size_t i = 0; i < kControlCount; ++i) {
                const ControlLayout& c = kForm1.controls[i];
                if (c.kind == ControlKind::Label) {
                    // Between its lightest and darkest pixels: the text and what is behind it.
                    const QImage image =
                        get(Control(i))->grab(get(Control(i))->contentsRect()).toImage();
                    double lightest = 1, darkest = 21; // each against black
                    for (int p = 0; p < image.width() * image.height(); ++p) {
                        const QRgb rgb = image.pixel(p % image.width(), p / image.width());
                        const double r =
                            contrastRatio({std::uint8_t(qRed(rgb)), std::uint8_t(qGreen(rgb)),
                                           std::uint8_t(qBlue(rgb))},
                                          {0, 0, 0});
                        lightest = std::max(lightest, r), darkest = std::min(darkest, r);
                    }
                    QVERIFY2(lightest / darkest >= 4.5,
                             qPrintable(QString::fromUtf8(c.name) + ": " +
                                        QString::number(lightest / darkest)));
                }
            }
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
