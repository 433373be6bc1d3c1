#include "ui/CMenuAccessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/Accessibility.h"

CMenuAccessible::CMenuAccessible(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

QMenu* CMenuAccessible::Menu() const {
    return static_cast<QMenu*>(widget());
}

QString CMenuAccessible::text(QAccessible::Text t) const {
    const QString own = QAccessibleWidget::text(t);
    if (own.isEmpty() && t == QAccessible::Name) {
        return SpokenCaption(Menu()->title());
    }
    return own;
}

QAccessibleInterface* CMenuAccessible::parent() const {
    // A menu of the menu bar hangs below the bar's item that opens it.
    QAction* opener = Menu()->menuAction();
    for (QObject* holder : opener->associatedObjects()) {
        if (auto* bar = qobject_cast<QMenuBar*>(holder)) {
            const qsizetype index = bar->actions().indexOf(opener);
            QAccessibleInterface* barInterface = QAccessible::queryAccessibleInterface(bar);
            if (index >= 0 && barInterface != nullptr) {
                return barInterface->child(static_cast<int>(index));
            }
        }
    }
    return QAccessibleWidget::parent();
}

QAccessibleInterface* CMenuAccessible::child(int index) const {
    const QList<QAction*> actions = Menu()->actions();
    if (index < 0 || index >= actions.size()) {
        return nullptr;
    }
    return QAccessible::queryAccessibleInterface(actions[index]);
}

int CMenuAccessible::childCount() const {
    return static_cast<int>(Menu()->actions().size());
}

int CMenuAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr) {
        return -1;
    }
    return static_cast<int>(Menu()->actions().indexOf(qobject_cast<QAction*>(child->object())));
}

QAccessibleInterface* CMenuAccessible::childAt(int x, int y) const {
    QAction* action = Menu()->actionAt(Menu()->mapFromGlobal(QPoint(x, y)));
    if (action == nullptr || action->isSeparator()) {
        return nullptr;
    }
    return QAccessible::queryAccessibleInterface(action);
}

CMenuItemAccessible::CMenuItemAccessible(QMenu* menu, QAction* action)
    : ownerMenu(menu), item(action) {}

QMenu* CMenuItemAccessible::MenuOf(QAction* action) {
    if (action == nullptr || action->menu() != nullptr) {
        return nullptr;
    }
    for (QObject* holder : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(holder)) {
            return menu;
        }
    }
    return nullptr;
}

bool CMenuItemAccessible::isValid() const {
    return ownerMenu != nullptr && item != nullptr;
}

QObject* CMenuItemAccessible::object() const {
    return item;
}

QAccessibleInterface* CMenuItemAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(ownerMenu);
}

QAccessibleInterface* CMenuItemAccessible::child(int /*index*/) const {
    return nullptr;
}

int CMenuItemAccessible::childCount() const {
    return 0;
}

int CMenuItemAccessible::indexOfChild(const QAccessibleInterface* /*child*/) const {
    return -1;
}

QAccessibleInterface* CMenuItemAccessible::childAt(int /*x*/, int /*y*/) const {
    return nullptr;
}

QString CMenuItemAccessible::text(QAccessible::Text t) const {
    if (!isValid()) {
        return {};
    }
    if (t == QAccessible::Name) {
        return SpokenCaption(item->text());
    }
    if (t == QAccessible::Accelerator && !item->shortcut().isEmpty()) {
        return item->shortcut().toString(QKeySequence::NativeText);
    }
    return {};
}

void CMenuItemAccessible::setText(QAccessible::Text /*t*/, const QString& /*text*/) {}

QRect CMenuItemAccessible::rect() const {
    if (!isValid()) {
        return {};
    }
    return ownerMenu->actionGeometry(item).translated(ownerMenu->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role CMenuItemAccessible::role() const {
    if (!isValid() || item->isSeparator()) {
        return QAccessible::Separator;
    }
    return item->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
}

QAccessible::State CMenuItemAccessible::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.invisible = !ownerMenu->isVisible() || !item->isVisible();
    s.disabled = item->isSeparator() || !item->isEnabled();
    s.focusable = !item->isSeparator();
    s.focused = ownerMenu->activeAction() == item;
    s.checkable = item->isCheckable();
    s.checked = item->isChecked();
    return s;
}

void* CMenuItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
}

QStringList CMenuItemAccessible::actionNames() const {
    if (!isValid() || item->isSeparator()) {
        return {};
    }
    return {item->isCheckable() ? toggleAction() : pressAction()};
}

void CMenuItemAccessible::doAction(const QString& actionName) {
    if (isValid() && item->isEnabled() && actionNames().contains(actionName)) {
        item->trigger();
    }
}

QStringList CMenuItemAccessible::keyBindingsForAction(const QString& /*actionName*/) const {
    return {};
}
