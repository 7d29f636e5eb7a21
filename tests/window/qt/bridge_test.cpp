// The screen-reader bridge on the accessibility bus, read from another client as a screen reader
// would, without one. Needs an X server and a session bus of its own (xvfb-run -a
// dbus-run-session --); the accessibility bus is started by the session bus.
#include "form1_window.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QtTest>

using namespace kestrova;

namespace {

const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible");

QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                  const QString& method) {
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

} // namespace

class BridgeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What Orca hears through the bridge, the Orca tests check; here, that it says so when it
    // cannot take Qt's tree over.
    void theBridgeSaysWhenQtsTreeIsMissing() {
        auto window = std::make_unique<Form1Window>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        // A screen reader starts: it finds the accessibility bus and turns accessibility on.
        const QDBusMessage address = QDBusConnection::sessionBus().call(
            call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        QVERIFY2(address.type() == QDBusMessage::ReplyMessage,
                 qPrintable("no accessibility bus (at-spi2-core): " + address.errorMessage()));
        QDBusMessage enable = call("org.a11y.Bus", "/org/a11y/bus",
                                   "org.freedesktop.DBus.Properties", QStringLiteral("Set"));
        enable << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled")
               << QVariant::fromValue(QDBusVariant(true));
        QDBusConnection::sessionBus().call(enable);

        // The program's tree, with the bridge in front of Qt's.
        const auto tree = [] {
            return QDBusConnection(QStringLiteral("a11y")).objectRegisteredAt(kRoot);
        };
        QVERIFY(QTest::qWaitFor([&] { return tree() && tree()->parent() == window.get(); }));

        // Where Qt's tree is not, the bridge says so in one line, and leaves the bus as it is.
        static QStringList said;
        const QtMessageHandler qtTest = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { said << message; });
        QDBusConnection(QStringLiteral("a11y")).unregisterObject(kRoot);
        AtSpiBridge lost(
            nullptr, [] { return QString(); }, nullptr);
        static_cast<void>(QTest::qWaitFor([] { return !said.isEmpty(); })); // compared below
        qInstallMessageHandler(qtTest);
        QCOMPARE(said, QStringList("kestrova: Qt's accessibility tree is not where it was expected "
                                   "on Qt " +
                                   QString(qVersion()) +
                                   "; screen readers hear the tuner's position only"));
        QCOMPARE(tree(), nullptr);
    }
};

QTEST_MAIN(BridgeTest)
#include "bridge_test.moc"
