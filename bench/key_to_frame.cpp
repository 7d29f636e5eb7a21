// Key press to repainted frame: an arrow key goes through the window system's event path
// until the frame with the new captions has been painted and flushed, in Kestrova's window and
// in the floor (a scroll bar that writes its value into a label), taking turns; prints the median
// microseconds of each. Usage: key_to_frame REPETITIONS, or key_to_frame floor (the floor alone).
#include "form1_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Painted : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

// One key to the window's focus widget, then events until every watched label has painted
// once more. Each window has its own focus widget, so neither needs to be the active one.
double keyToFrame(QWidget& window, const std::vector<QWidget*>& captions, Qt::Key key) {
    Painted painted;
    for (QWidget* caption : captions) {
        caption->installEventFilter(&painted);
    }
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(window.windowHandle(), key);
    while (painted.count < static_cast<int>(captions.size()) && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget floor;
    floor.setFixedSize(407, 205);
    auto* scrollBar = new QScrollBar(Qt::Horizontal, &floor);
    auto* label = new QLabel(QStringLiteral("146.000"), &floor);
    scrollBar->setGeometry(8, 168, 249, 25);
    label->setGeometry(8, 24, 161, 49);
    QObject::connect(scrollBar, &QScrollBar::valueChanged, label,
                     [label](int value) { label->setText(QString::number(value)); });
    if (argc > 1 && std::strcmp(argv[1], "floor") == 0) {
        floor.show();
        return QApplication::exec();
    }
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 200;
    kestrova::Form1Window kestrova;
    floor.move(420, 0);
    for (QWidget* window : {static_cast<QWidget*>(&kestrova), &floor}) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window)) {
            return 1;
        }
    }
    scrollBar->setFocus();
    std::vector<double> kestrovaTimes, floorTimes;
    for (int i = 0; i < repetitions; ++i) { // right and left in turn, so neither reaches an end
        const Qt::Key key = i % 2 ? Qt::Key_Left : Qt::Key_Right;
        kestrovaTimes.push_back(keyToFrame(kestrova,
                                           {kestrova.control(kestrova::Control::Label1),
                                            kestrova.control(kestrova::Control::Label2)},
                                           key));
        floorTimes.push_back(keyToFrame(floor, {label}, key));
    }
    std::sort(kestrovaTimes.begin(), kestrovaTimes.end());
    std::sort(floorTimes.begin(), floorTimes.end());
    std::printf("%.1f %.1f\n", kestrovaTimes[kestrovaTimes.size() / 2],
                floorTimes[floorTimes.size() / 2]);
}
