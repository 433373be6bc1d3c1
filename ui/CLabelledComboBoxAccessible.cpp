#include "ui/CLabelledComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <algorithm>

#include "ui/Accessibility.h"

CLabelledComboBoxAccessible::CLabelledComboBoxAccessible(QComboBox* list)
    : QAccessibleWidget(list, QAccessible::ComboBox) {
    // Readers ignore a closed list's own change events; the new item is said instead. An open
    // list's items are read as they are chosen.
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [list] {
        if (list->hasFocus() && (list->view() == nullptr || !list->view()->isVisible())) {
            Announce(list->currentText());
        }
    });
}

void* CLabelledComboBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

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

void CLabelledComboBoxAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int CLabelledComboBoxAccessible::selectionCount() const {
    return 0;
}

void CLabelledComboBoxAccessible::addSelection(int, int) {}

void CLabelledComboBoxAccessible::removeSelection(int) {}

void CLabelledComboBoxAccessible::setSelection(int, int, int) {}

int CLabelledComboBoxAccessible::cursorPosition() const {
    return 0;
}

void CLabelledComboBoxAccessible::setCursorPosition(int) {}

QString CLabelledComboBoxAccessible::text(int startOffset, int endOffset) const {
    const QString shown = List()->currentText();
    const int start = std::clamp(startOffset, 0, static_cast<int>(shown.size()));
    const int end = endOffset < 0 ? static_cast<int>(shown.size())
                                  : std::clamp(endOffset, start, static_cast<int>(shown.size()));
    return shown.mid(start, end - start);
}

int CLabelledComboBoxAccessible::characterCount() const {
    return static_cast<int>(List()->currentText().size());
}

QRect CLabelledComboBoxAccessible::characterRect(int) const {
    return QRect();
}

int CLabelledComboBoxAccessible::offsetAtPoint(const QPoint&) const {
    return -1;
}

void CLabelledComboBoxAccessible::scrollToSubstring(int, int) {}

QString CLabelledComboBoxAccessible::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}
