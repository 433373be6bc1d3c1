#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader gets from a drop-down list: its name is what its label says ("Tónová
// volba") and its value the chosen item ("600"), so that a reader says both. (Qt's own interface
// names a list by its chosen item on this platform.) The chosen item is also the list's read-only
// text, where readers look for a closed list's value, and a choice made with the keys while the
// list is closed is said. The popup list is its child, as in Qt's. User-interface thread only.
class CLabelledComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CLabelledComboBoxAccessible(QComboBox* list);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    // The chosen item as text, with the caret at its start and nothing selected.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* List() const;
};
