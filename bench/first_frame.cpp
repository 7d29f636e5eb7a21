// Starts Kestrova's window, or the floor (a window of its size with one label), and prints
// "<CLOCK_REALTIME ns> <peak resident kB>" once its last widget has been painted and flushed.
// Usage: first_frame kestrova|floor
#include "form1_window.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {

class FirstPaint : public QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] { // after the frame has been handed to the window system
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::ifstream status("/proc/self/status");
                std::string line;
                while (std::getline(status, line) && line.rfind("VmHWM:", 0) != 0) {
                }
                std::printf("%lld %ld\n", now.tv_sec * 1000000000LL + now.tv_nsec,
                            std::atol(line.c_str() + 6));
                QCoreApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    FirstPaint probe;
    std::unique_ptr<QWidget> window;
    if (argc > 1 && std::strcmp(argv[1], "kestrova") == 0) {
        auto* form = new kestrova::Form1Window;
        window.reset(form);
        form->control(kestrova::Control::Image1)->installEventFilter(&probe); // painted last
    } else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(407, 205);
        (new QLabel(QStringLiteral("146.000"), window.get()))->installEventFilter(&probe);
    }
    window->show();
    return QApplication::exec();
}
