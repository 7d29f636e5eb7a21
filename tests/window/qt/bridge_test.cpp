// The window's accessible objects as another client of the accessibility bus reads them, as a
// screen reader would, without one: seconds where the Orca test takes a minute, so a change in
// Qt's bridge shows here first. Needs an X server and a session bus of its own (with_xvfb.sh
// dbus-run-session --); the accessibility bus is started by the session bus.
#include "form1_window.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QtTest>

using namespace kestrova;

namespace {

const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible");

QString pathOf(QAccessibleInterface* object) {
    return kRoot + QLatin1Char('/') + QString::number(QAccessible::uniqueId(object));
}

// Events served until done() holds, for at most ten seconds: bounds for a loaded machine.
template <typename Done> bool waitFor(Done done) {
    return QTest::qWaitFor(done, 10000);
}

QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                  const QString& method) {
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

} // namespace

class BridgeTest : public QObject {
    Q_OBJECT
    QString activeDescendant_;

    // The answer of another client's call, while this process goes on serving the bus.
    template <typename T> T ask(QDBusConnection& reader, const QDBusMessage& message) {
        QDBusPendingReply<T> reply = reader.asyncCall(message);
        [&] {
            QVERIFY(waitFor([&] { return reply.isFinished(); }));
            QVERIFY2(reply.isValid(), qPrintable(message.member() + " of " + message.path() + ": " +
                                                 reply.error().message()));
        }();
        return reply.value();
    }

private Q_SLOTS:
    void descendantChanged(const QDBusMessage& event) {
        const QDBusVariant reference = qdbus_cast<QDBusVariant>(event.arguments().value(3));
        const QDBusArgument item = qvariant_cast<QDBusArgument>(reference.variant());
        QString service;
        QDBusObjectPath path;
        item.beginStructure();
        item >> service >> path;
        item.endStructure();
        activeDescendant_ = path.path();
    }

    void aScreenReaderReadsTheTunerAndHearsTheList() {
        auto window = std::make_unique<Form1Window>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        // A screen reader starts: it finds the accessibility bus and turns accessibility on.
        const QDBusMessage address = QDBusConnection::sessionBus().call(
            call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        QVERIFY2(address.type() == QDBusMessage::ReplyMessage,
                 qPrintable("no accessibility bus (at-spi2-core): " + address.errorMessage()));
        QDBusConnection reader =
            QDBusConnection::connectToBus(address.arguments().value(0).toString(), "reader");
        QVERIFY(reader.isConnected());
        QDBusMessage enable = call("org.a11y.Bus", "/org/a11y/bus",
                                   "org.freedesktop.DBus.Properties", QStringLiteral("Set"));
        enable << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled")
               << QVariant::fromValue(QDBusVariant(true));
        QDBusConnection::sessionBus().call(enable);

        // The program's tree, with the bridge in front of Qt's.
        const auto tree = [] {
            return QDBusConnection(QStringLiteral("a11y")).objectRegisteredAt(kRoot);
        };
        QVERIFY(waitFor([&] { return tree() && tree()->parent() == window.get(); }));
        const QString service = QDBusConnection(QStringLiteral("a11y")).baseService();
        const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");

        // The tuner's value text is an attribute, with both frequencies as shown; the list's
        // attributes are Qt's own.
        QAccessibleInterface* tuner =
            QAccessible::queryAccessibleInterface(window->control(Control::HScroll1));
        auto* list = static_cast<QComboBox*>(window->control(Control::Combo1));
        QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(list);
        using Attributes = QMap<QString, QString>;
        QCOMPARE(ask<Attributes>(reader, call(service, pathOf(tuner), accessible, "GetAttributes"))
                     .value("valuetext"),
                 window->tuningText());
        QVERIFY(window->tuningText().startsWith("Uplink 146"));
        QCOMPARE(ask<Attributes>(reader, call(service, pathOf(combo), accessible, "GetAttributes"))
                     .value("valuetext", "none"),
                 "none");

        // A new entry in the closed list is announced as the list's active descendant.
        QVERIFY(reader.connect(QString(), pathOf(combo), "org.a11y.atspi.Event.Object",
                               "ActiveDescendantChanged", this,
                               SLOT(descendantChanged(QDBusMessage))));
        QTest::keyClick(list, Qt::Key_Down);
        const QString item = pathOf(combo->child(0)->child(1));
        waitFor([&] { return activeDescendant_ == item; });
        QCOMPARE(activeDescendant_, item);

        // When the window goes, Qt's tree is back in its place, and answers.
        const QString application = kRoot + QStringLiteral("/root");
        const auto windows = [&] {
            const QDBusMessage count = call(service, application, accessible, "GetChildCount");
            return ask<QDBusVariant>(reader, count).variant().toInt();
        };
        QCOMPARE(windows(), 1);
        window.reset();
        QCOMPARE(windows(), 0);
        QVERIFY(tree() != nullptr);

        // Where Qt's tree is not, the bridge says so in one line, and leaves the bus as it is.
        static QStringList said;
        const QtMessageHandler qtTest = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { said << message; });
        QDBusConnection(QStringLiteral("a11y")).unregisterObject(kRoot);
        AtSpiBridge lost(
            nullptr, [] { return QString(); }, nullptr);
        waitFor([] { return !said.isEmpty(); });
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
