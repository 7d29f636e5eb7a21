// Two things Orca reads that Qt 6.4's AT-SPI bridge leaves out, added on the accessibility bus.
#pragma once

#include <QAccessible>
#include <QDBusVirtualObject>
#include <QMap>
#include <QPointer>

#include <functional>

class QComboBox;
class QScrollBar;

namespace kestrova {

// Orca speaks a scroll bar's value as a bare number unless the object carries a "valuetext"
// attribute, and hears a closed list's new entry only when the list names its selected item as
// its active descendant; Qt 6.4 exports no attributes and sends neither. Once a screen reader
// turns accessibility on, this takes the place of Qt's object tree on the accessibility bus:
// built with a Qt before 6.8 it answers the tuner's attributes with its value text, it hands every
// other call to Qt's own bridge, and it tells the bus which entry a list now shows.
class AtSpiBridge : public QDBusVirtualObject, public QAccessible::ActivationObserver {
public:
    AtSpiBridge(QScrollBar* tuner, std::function<QString()> valueText, QObject* parent);
    ~AtSpiBridge() override;

    // Called after the list's entry changed: a listening screen reader hears the new entry.
    void entryChanged(QComboBox* list);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    void accessibilityActiveChanged(bool active) override;

private:
    void takeOver();

    QPointer<QDBusVirtualObject> qtBridge_;
    QScrollBar* tuner_;
    std::function<QString()> valueText_;
};

} // namespace kestrova
