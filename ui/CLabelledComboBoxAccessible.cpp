#include "ui/CLabelledComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

CLabelledComboBoxAccessible::CLabelledComboBoxAccessible(QComboBox* list)
    : QAccessibleWidget(list, QAccessible::ComboBox) {}

QComboBox* CLabelledComboBoxAccessible::List() const {
    return static_cast<QComboBox*>(widget());
}

QString CLabelledComboBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return List()->currentText();
    }
    // The accessible name, else the caption of the label whose buddy the list is.
    return QAccessibleWidget::text(t);
}

QAccessible::State CLabelledComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.hasPopup = true;
    const QAbstractItemView* view = List()->view();
    state.expanded = view != nullptr && view->isVisible();
    state.collapsed = !state.expanded;
    return state;
}

int CLabelledComboBoxAccessible::childCount() const {
    return List()->view() != nullptr ? 1 : 0;
}

QAccessibleInterface* CLabelledComboBoxAccessible::child(int index) const {
    if (index != 0 || List()->view() == nullptr) {
        return nullptr;
    }
    return QAccessible::queryAccessibleInterface(List()->view());
}

int CLabelledComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child != nullptr && List()->view() != nullptr && child->object() == List()->view() ? 0
                                                                                              : -1;
}

QStringList CLabelledComboBoxAccessible::actionNames() const {
    return {showMenuAction(), pressAction()};
}

void CLabelledComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName == showMenuAction() || actionName == pressAction()) {
        if (List()->view() != nullptr && List()->view()->isVisible()) {
            List()->hidePopup();
        } else {
            List()->showPopup();
        }
        return;
    }
    QAccessibleWidget::doAction(actionName);
}
