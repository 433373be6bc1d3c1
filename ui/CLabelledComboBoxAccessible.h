#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What a screen reader gets from a drop-down list: its name is what its label says ("Tónová
// volba") and its value the chosen item ("600"), so that a reader says both. (Qt's own interface
// names a list by its chosen item on this platform.) The popup list is its child, as in Qt's.
// User-interface thread only.
class CLabelledComboBoxAccessible : public QAccessibleWidget {
public:
    explicit CLabelledComboBoxAccessible(QComboBox* list);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* List() const;
};
