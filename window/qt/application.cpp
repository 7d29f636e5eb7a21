// Kestrova on Qt 6 Widgets: start-up and the event loop.
#include "application.h"

#include "form1_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace kestrova {
namespace {

QtMessageHandler defaultMessageHandler = nullptr;

// Without a display Qt aborts after several lines about platform plugins; say it in one line
// and leave with a plain failure status instead.
void startupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0')) {
            std::fputs("kestrova: cannot open the window: no display is available "
                       "(DISPLAY is not set)\n",
                       stderr);
        } else {
            std::fprintf(stderr,
                         "kestrova: cannot open the window: the display %s is not available\n",
                         display != nullptr && *display != '\0' ? display : wayland);
        }
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (QByteArray(context.category).startsWith("qt.qpa.")) {
        return; // the platform's own account of the failure above
    }
    defaultMessageHandler(type, context, message);
}

} // namespace

int runApplication(int& argc, char* argv[], const std::function<void(Form1Window&)>& afterShow) {
    defaultMessageHandler = qInstallMessageHandler(startupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(defaultMessageHandler);

    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("org.kestrova.kestrova"));

    Form1Window window;
    window.show();
    if (afterShow) {
        afterShow(window);
    }
    return QApplication::exec();
}

} // namespace kestrova
