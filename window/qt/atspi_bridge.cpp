// The accessibility bus as Qt's bridge uses it: the connection named "a11y", one object tree
// under kRoot, and an object's path made of kRoot and its unique id.
#include "atspi_bridge.h"

#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QScrollBar>
#include <QTimer>

namespace kestrova {
namespace {

const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible");

QDBusConnection accessibilityBus() {
    return QDBusConnection(QStringLiteral("a11y"));
}

QString pathOf(QAccessibleInterface* object) {
    return kRoot + QLatin1Char('/') + QString::number(QAccessible::uniqueId(object));
}

// One line for the user's log: screen readers then hear the tuner as a bare number.
void warn(const char* what) {
    qWarning("kestrova: %s on Qt %s; screen readers hear the tuner's position only", what,
             qVersion());
}

} // namespace

AtSpiBridge::AtSpiBridge(QScrollBar* tuner, std::function<QString()> valueText, QObject* parent)
    : QDBusVirtualObject(parent), tuner_(tuner), valueText_(std::move(valueText)) {
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive()) {
        accessibilityActiveChanged(true);
    }
}

AtSpiBridge::~AtSpiBridge() {
    QAccessible::removeActivationObserver(this);
}

// Qt registers its tree just after it reports accessibility active.
void AtSpiBridge::accessibilityActiveChanged(bool active) {
    if (active) {
        QTimer::singleShot(0, this, [this] { takeOver(); });
    }
}

void AtSpiBridge::takeOver() {
    QDBusConnection bus = accessibilityBus();
    auto* tree = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(kRoot));
    if (tree == this) {
        return;
    }
    if (!bus.isConnected() || tree == nullptr) {
        return warn("Qt's accessibility tree is not where it was expected");
    }
    qDBusRegisterMetaType<QMap<QString, QString>>();
    qtBridge_ = tree;
    bus.unregisterObject(kRoot, QDBusConnection::UnregisterTree);
    if (!bus.registerVirtualObject(kRoot, this, QDBusConnection::SubPath)) {
        bus.registerVirtualObject(kRoot, tree, QDBusConnection::SubPath); // Qt's, as it was
        qtBridge_ = nullptr;
        warn("the accessibility tree could not be extended");
    }
}

QString AtSpiBridge::introspect(const QString& path) const {
    return qtBridge_ ? qtBridge_->introspect(path) : QString();
}

// Qt 6.4 answers GetAttributes with an empty set for every object: the tuner's is its value
// text alone. From Qt 6.8 Qt answers from the tuner's own attributes.
bool AtSpiBridge::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QAccessibleInterface* tuner = QAccessible::queryAccessibleInterface(tuner_);
    if (tuner != nullptr && message.member() == QLatin1String("GetAttributes") &&
        message.path() == pathOf(tuner)) {
        const QMap<QString, QString> attributes{{QStringLiteral("valuetext"), valueText_()}};
        return connection.send(message.createReply(QVariant::fromValue(attributes)));
    }
#endif
    return qtBridge_ && qtBridge_->handleMessage(message, connection);
}

// The list's selected item, in the list view behind the closed list, becomes its active
// descendant, which Orca speaks as it would an item the user moved to.
void AtSpiBridge::entryChanged(QComboBox* list) {
    if (!qtBridge_) {
        return;
    }
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(list);
    QAccessibleInterface* items = combo ? combo->child(0) : nullptr;
    QAccessibleInterface* item = items ? items->child(list->currentIndex()) : nullptr;
    if (item == nullptr) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(pathOf(combo), QStringLiteral("org.a11y.atspi.Event.Object"),
                                   QStringLiteral("ActiveDescendantChanged"));
    QDBusConnection bus = accessibilityBus();
    QDBusArgument reference; // (so): the application's bus name and the item's path
    reference.beginStructure();
    reference << bus.baseService() << QDBusObjectPath(pathOf(item));
    reference.endStructure();
    signal << QString() << 0 << 0
           << QVariant::fromValue(QDBusVariant(QVariant::fromValue(reference))) << QVariantMap();
    bus.send(signal);
}

} // namespace kestrova
