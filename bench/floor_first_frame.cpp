// The least Qt Widgets program: a window of Kestrova's size with one label.
#include "first_frame.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(407, 205);
    QLabel label(QStringLiteral("146.000"), &window);
    window.show();
    kestrova::bench::reportFirstFrame(label);
    return QApplication::exec();
}
