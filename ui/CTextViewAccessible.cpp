#include "ui/CTextViewAccessible.h"

#include <algorithm>

#include "ui/CTextView.h"

CTextViewAccessible::CTextViewAccessible(CTextView* view)
    : QAccessibleWidget(view, QAccessible::EditableText) {}

CTextView* CTextViewAccessible::View() const {
    return static_cast<CTextView*>(widget());
}

QAccessible::Role CTextViewAccessible::role() const {
    return View()->IsReadOut() ? QAccessible::StaticText : QAccessible::EditableText;
}

QAccessible::State CTextViewAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = !View()->IsReadOut();
    state.selectableText = !View()->IsReadOut();
    return state;
}

QString CTextViewAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return View()->ReaderText();
    }
    return QAccessibleWidget::text(t);
}

void* CTextViewAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (t == QAccessible::ValueInterface && View()->IsReadOut()) {
        return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(t);
}

void CTextViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const bool marked = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = 0;
    *endOffset = marked ? View()->ReaderSentLength() : 0;
}

int CTextViewAccessible::selectionCount() const {
    return View()->ReaderSentLength() > 0 ? 1 : 0;
}

// The selection and the caret are where sending stands; a reader does not move them.
void CTextViewAccessible::addSelection(int, int) {}

void CTextViewAccessible::removeSelection(int) {}

void CTextViewAccessible::setSelection(int, int, int) {}

int CTextViewAccessible::cursorPosition() const {
    return View()->ReaderSentLength();
}

void CTextViewAccessible::setCursorPosition(int) {}

QString CTextViewAccessible::text(int startOffset, int endOffset) const {
    const QString all = View()->ReaderText();
    const int size = static_cast<int>(all.size());
    const int start = std::clamp(startOffset, 0, size);
    const int end = endOffset < 0 ? size : std::clamp(endOffset, start, size);
    return all.mid(start, end - start);
}

int CTextViewAccessible::characterCount() const {
    return static_cast<int>(View()->ReaderText().size());
}

QRect CTextViewAccessible::characterRect(int offset) const {
    const QRect local = View()->ReaderCharacterRect(offset);
    if (local.isNull()) {
        return {};
    }
    return {View()->mapToGlobal(local.topLeft()), local.size()};
}

int CTextViewAccessible::offsetAtPoint(const QPoint& point) const {
    return View()->ReaderOffsetAt(View()->mapFromGlobal(point));
}

void CTextViewAccessible::scrollToSubstring(int, int) {}

QString CTextViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // The sent part is underlined on the screen, and said so.
    const int sent = View()->ReaderSentLength();
    const int count = characterCount();
    if (offset < sent) {
        *startOffset = 0;
        *endOffset = sent;
        return QStringLiteral("text-underline-style:solid;");
    }
    *startOffset = std::min(sent, count);
    *endOffset = count;
    return {};
}

QVariant CTextViewAccessible::currentValue() const {
    bool number = false;
    const int value = View()->GetFullText().toInt(&number);
    return number ? QVariant(value) : QVariant();
}

void CTextViewAccessible::setCurrentValue(const QVariant&) {}

QVariant CTextViewAccessible::maximumValue() const {
    return currentValue();
}

QVariant CTextViewAccessible::minimumValue() const {
    return currentValue();
}

QVariant CTextViewAccessible::minimumStepSize() const {
    return 0;
}
