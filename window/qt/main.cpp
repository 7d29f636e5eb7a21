// Kestrova for Linux: start-up and the event loop.
#include "form1_window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler defaultHandler = nullptr;
QByteArray platformReason; // what Qt's platform layer said before giving up

// Where the window cannot be opened Qt aborts after several lines about plugins; say in one
// line what failed, with the platform's own reason, and leave with a plain failure status.
// Every other message goes out as Qt would write it.
void startupHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (!QByteArray(context.category).startsWith("qt.qpa.")) {
            defaultHandler(type, context, message);
        } else if (platformReason.isEmpty()) {
            platformReason = message.toLocal8Bit();
        }
        return;
    }
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const QByteArray reason =
        noDisplay ? "no display is available (DISPLAY and WAYLAND_DISPLAY are not set)"
        : platformReason.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0).toLocal8Bit()
                                   : platformReason;
    std::fprintf(stderr, "kestrova: cannot open the window: %s\n", reason.constData());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt asks once, as the accessibility bus appears, whether a screen reader runs, and is not
    // told when one starts later: on a desktop where accessibility was off, a screen reader
    // started after the window would never hear it. Registered whenever there is a bus, as GTK
    // programs are, the window is heard by one started at any time.
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    }
    defaultHandler = qInstallMessageHandler(startupHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(defaultHandler);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.kestrova.kestrova"));

    kestrova::Form1Window window;
    window.show();
    return QApplication::exec();
}
