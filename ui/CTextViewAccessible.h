#pragma once

#include <QAccessibleWidget>

class CTextView;

// What a screen reader gets from a CTextView. The Morse text is read-only text: the training text
// in its lines, the sent part as the caret (where sending stands) and as the one selection, and
// nothing at all while the text is hidden. A read-out is a label whose text and value are the
// number it shows. The name is the widget's accessible name (its frame's or label's caption).
// User-interface thread only.
class CTextViewAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleValueInterface {
public:
    explicit CTextViewAccessible(CTextView* view);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
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

    // QAccessibleValueInterface (read-outs only)
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    CTextView* View() const;
};
