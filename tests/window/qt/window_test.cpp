// The Qt window with its real widgets: the shared scenario and what a screen reader hears at its
// end, the layout at the screen's scale, how every text reads under several palettes, and the
// screen-reader bridge's word where Qt's tree is not on the bus.
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

    template <typename Widget = QLabel> Widget* get(Control c) const {
        return static_cast<Widget*>(window->control(c));
    }
    // Whether a label's text fits its box as drawn, whatever faces stand in for the layout's.
    bool fits(Control c) const {
        const QFontMetrics metrics(get(c)->font());
        const QRect box = get(c)->contentsRect();
        return metrics.horizontalAdvance(get(c)->text()) <= box.width() &&
               metrics.height() <= box.height();
    }
    // Keys go to the window's focus widget whether or not the window system has activated the
    // window, which a headless Wayland compositor never does. Switching away and back is left
    // out: Qt gives the focus back itself.
    void act(const scenario::Step& step) const {
        auto* tuner = get<QScrollBar>(Control::HScroll1);
        if (step.act == "Start") {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        } else if (step.act == "Choose") { // what the popup list does when an entry is clicked
            get<QComboBox>(Control::Combo1)->setCurrentIndex(std::stoi(step.argument));
            Q_EMIT get<QComboBox>(Control::Combo1)->activated(std::stoi(step.argument));
        } else if (step.act == "Key") { // the browser's key names, as Qt spells them
            QTest::keySequence(
                window->windowHandle(),
                QString::fromStdString(step.argument).remove("Arrow").replace("Page", "Pg"));
        } else if (step.act == "Drag" || step.act == "Release") {
            tuner->setSliderDown(step.act == "Drag");
            tuner->setSliderPosition(std::stoi(step.argument));
        }
    }

private Q_SLOTS:
    void init() { window = std::make_unique<Form1Window>(); }

    void theScenarioShowsWhatTheUserExpects() {
        for (const scenario::Step& step : scenario::steps()) {
            act(step);
            QString shown; // the captions, each only if it fits in any face
            for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
                shown += (fits(c) ? get(c)->text() : QStringLiteral("(clipped)")) + " ";
            }
            const QWidget* focus = window->focusWidget();
            QCOMPARE(shown + "at " + QString::number(get<QScrollBar>(Control::HScroll1)->value()) +
                         ", focus on " + (focus ? focus->objectName() : QString()),
                     QString::fromStdString(scenario::shown(step.expected, separator)));
        }
        QCOMPARE(window->windowTitle(), "Kestrova V.1.0");
        const std::pair<Control, QString> kHeard[] = {
            // Name and value, with the user's separator; Orca reads them in orca_test.py.
            {Control::HScroll1, "Tuning|Uplink 435.272 MHz, downlink 145.878 MHz"},
            {Control::Label1, "Uplink frequency 435.272 MHz|"},
            {Control::Label8, "Downlink sideband USB|"},
        };
        for (const auto& [control, heard] : kHeard) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(window->control(control));
            QCOMPARE(a->text(QAccessible::Name) + "|" + a->text(QAccessible::Value),
                     QString::fromStdString(scenario::shown(heard.toStdString(), separator)));
        }
    }

    // In logical pixels, which Qt scales for the screen; every label drawn in the face expected
    // of the installed fonts, its text fitting its box; the picture drawn from an image at least
    // as large as the screen needs, never blown up.
    void theLayoutAndPictureFitTheScreen() {
        window->show();
        QCOMPARE(window->size(), QSize(407, 205));
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const Box& b = kForm1.controls[i].box;
            QCOMPARE(window->control(Control(i))->geometry(),
                     QRect(b.left / 15, b.top / 15, b.width / 15, b.height / 15));
            if (kForm1.controls[i].kind == ControlKind::Label) {
                QVERIFY2(fits(Control(i)), kForm1.controls[i].name.data());
                QCOMPARE(QFontInfo(get(Control(i))->font()).family(),
                         qEnvironmentVariable("KESTROVA_EXPECT_FACE", "Liberation Sans"));
            }
        }
        // The picture is drawn again when the screen or its scale changes.
        for (auto change :
             {+[](QWindow* w) { Q_EMIT w->screenChanged(w->screen()); },
              +[](QWindow* w) { Q_EMIT w->screen()->logicalDotsPerInchChanged(96); },
              +[](QWindow* w) { Q_EMIT w->screen()->physicalDotsPerInchChanged(96); }}) {
            get(Control::Image1)->clear();
            change(window->windowHandle());
            const qreal scale = window->devicePixelRatioF();
            const QImage picture = get(Control::Image1)->pixmap().toImage();
            QCOMPARE(picture.size(), QSize(qRound(64 * scale), qRound(64 * scale)));
            QCOMPARE(picture.devicePixelRatio(), scale);
        }
    }

    // Every text reads at 4.5:1 or better on what is behind it, on a light theme and a dark
    // one, as the theme changes under the running window; the default look keeps its blue.
    void everyTextReadsOnEveryPalette() {
        QCOMPARE(get(Control::Label7)->palette().windowText().color(), QColor(Qt::blue));
        const auto colour = [](QColor c) {
            return Colour{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
        };
        for (QColor back : {QColor(239, 239, 239), QColor(32, 32, 32)}) {
            QPalette palette = window->palette();
            palette.setColor(QPalette::Window, back);
            palette.setColor(QPalette::WindowText, back.lightness() < 128 ? Qt::white : Qt::black);
            window->setPalette(palette);
            for (std::size_t i = 0; i < kControlCount; ++i) {
                const QPalette& p = window->control(Control(i))->palette();
                const double ratio =
                    contrastRatio(colour(p.windowText().color()), colour(p.window().color()));
                QVERIFY2(kForm1.controls[i].kind != ControlKind::Label || ratio >= 4.5,
                         kForm1.controls[i].name.data());
            }
        }
    }

    // What Orca hears through the screen-reader bridge, the Orca tests check; here, that it says
    // so when a screen reader turns accessibility on and Qt's tree is not on the bus (here there
    // is no accessibility bus at all).
    void theBridgeSaysWhenQtsTreeIsMissing() {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^kestrova: Qt's accessibility tree "
                                                              "is not where it was expected"));
        QAccessible::setActive(true);
        QCoreApplication::processEvents();
        QAccessible::setActive(false);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
