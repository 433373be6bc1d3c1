#pragma once

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

class QAction;
class QMenu;

// What a screen reader gets from a drop-down menu and its items. Qt's own items report a check
// only while it is on (and Qt 6.4 passes no checkable state to AT-SPI), so an item that is off
// said nothing of its state. Here a checkable item is a check box inside the menu, checked or
// not, and the menu finds it among its children. User-interface thread only.
class CMenuAccessible : public QAccessibleWidget {
public:
    explicit CMenuAccessible(QMenu* menu);

    QString text(QAccessible::Text t) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    QMenu* Menu() const;
};

class CMenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CMenuItemAccessible(QMenu* menu, QAction* action);

    // The drop-down menu an action is an item of, or none (an item of the menu bar, a submenu).
    static QMenu* MenuOf(QAction* action);

    bool isValid() const override;
    QObject* object() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QPointer<QMenu> ownerMenu;
    QPointer<QAction> item;
};
