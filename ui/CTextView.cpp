#include "ui/CTextView.h"

#include <QAccessible>
#include <QPainter>
#include <QStringList>
#include <algorithm>

#include "print/Contrast.h"
#include "print/MorseFont.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// Where the text starts inside the view, in pixels.
constexpr int kLeft = 2;
constexpr int kTop = 1;

// The sent part's own colour; the palette has none for it.
const QColor kSentRed(255, 0, 0);

// The reader's form of a display text: one line feed for each CR LF.
QString ReaderForm(const QString& text) {
    QString reader = text;
    reader.replace(kLineBreak, QStringLiteral("\n"));
    return reader;
}

}  // namespace

CTextView::CTextView(QWidget* parent) : QWidget(parent), font(MorseFont(20)) {}

void CTextView::SetFullText(const QString& text) {
    const QString before = ReaderText();
    fullText = text;
    sentText.clear();
    update();
    AnnounceText(before);
}

void CTextView::SetSentText(const QString& text) {
    // The sent part is where a reader's caret and selection stand when it asks; no event tells of
    // each character, which a reader would say aloud while the learner copies by ear.
    sentText = text;
    update();
}

void CTextView::ShowText(bool show) {
    if (show == !hidden) {
        return;
    }
    const QString before = ReaderText();
    hidden = !show;
    update();
    // Hidden means hidden for a reader too: the text goes, and comes back when shown.
    AnnounceText(before);
}

void CTextView::SetFontHeight(int pixelHeight) {
    font.setPixelSize(pixelHeight);
}

void CTextView::SetFontPointSize(int points) {
    font.setPointSize(points);
}

void CTextView::SetFontFace(const QString& face) {
    const QFont base = QWidget::font();
    QFont replaced = base;
    replaced.setFamily(face);
    if (font.pixelSize() > 0) {
        replaced.setPixelSize(font.pixelSize());
    } else {
        replaced.setPointSize(font.pointSize());
    }
    font = replaced;
}

QColor CTextView::BackgroundColour() const {
    return palette().color(QPalette::Base);
}

QColor CTextView::TextColour() const {
    const QColor background = BackgroundColour();
    if (hidden) {
        return background;
    }
    // The palette's dimmed text, as the text still to be sent has always been shown, unless it
    // would not read on this background.
    return ReadableInk(palette().color(QPalette::PlaceholderText), palette().color(QPalette::Text),
                       background, kLargeTextContrast);
}

QColor CTextView::SentColour() const {
    const QColor background = BackgroundColour();
    if (hidden) {
        return background;
    }
    return ReadableInk(kSentRed, palette().color(QPalette::Text), background, kLargeTextContrast);
}

QString CTextView::ReaderText() const {
    return hidden ? QString() : ReaderForm(fullText);
}

int CTextView::ReaderSentLength() const {
    return hidden ? 0 : static_cast<int>(ReaderForm(sentText).size());
}

QRect CTextView::ReaderCharacterRect(int offset) const {
    const QString text = ReaderText();
    if (offset < 0 || offset >= text.size()) {
        return {};
    }
    const QFontMetrics metrics(font);
    // (A search from -1 would start at the end.)
    const qsizetype lineStart =
        offset == 0 ? 0 : text.lastIndexOf(QLatin1Char('\n'), offset - 1) + 1;
    const int line = static_cast<int>(text.left(lineStart).count(QLatin1Char('\n')));
    const QString before = text.mid(lineStart, offset - lineStart);
    const QChar character = text.at(offset);
    const int width =
        character == QLatin1Char('\n') ? 1 : std::max(1, metrics.horizontalAdvance(character));
    return {kLeft + metrics.horizontalAdvance(before), kTop + line * metrics.height(), width,
            metrics.height()};
}

int CTextView::ReaderOffsetAt(const QPoint& point) const {
    const QString text = ReaderText();
    const QFontMetrics metrics(font);
    if (text.isEmpty() || point.y() < kTop || point.x() < kLeft) {
        return -1;
    }
    const int line = (point.y() - kTop) / metrics.height();
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (line >= lines.size()) {
        return -1;
    }
    int offset = 0;
    for (int k = 0; k < line; ++k) {
        offset += static_cast<int>(lines[k].size()) + 1;
    }
    const QString& shown = lines[line];
    for (int column = 0; column < shown.size(); ++column) {
        if (point.x() < kLeft + metrics.horizontalAdvance(shown.left(column + 1))) {
            return offset + column;
        }
    }
    return -1;
}

void CTextView::AnnounceText(const QString& before) {
    if (!QAccessible::isActive()) {
        return;
    }
    const QString after = ReaderText();
    if (after != before) {
        QAccessibleTextUpdateEvent event(this, 0, before, after);
        QAccessible::updateAccessibility(&event);
    }
}

void CTextView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CTextView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CTextView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BackgroundColour());
    // The frame; a keyboard user sees where the focus is by its highlight.
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    } else {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hidden) {
        // Hiding paints the text in the background colour: nothing shows, not even the marking.
        return;
    }
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int thickness = std::max(2, metrics.descent() / 2);
    const auto drawLines = [&](const QString& text, const QColor& colour, bool bar) {
        painter.setPen(colour);
        const QStringList lines = text.split(kLineBreak);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int baseline = kTop + static_cast<int>(i) * metrics.height() + metrics.ascent();
            painter.drawText(kLeft, baseline, lines[i]);
            if (bar && !lines[i].isEmpty()) {
                // A bar under the sent characters: the marking shows without its colour too.
                painter.fillRect(kLeft, baseline + 1, metrics.horizontalAdvance(lines[i]),
                                 thickness, colour);
            }
        }
    };
    drawLines(fullText, TextColour(), false);
    // The sent text is a prefix: drawn the same way it covers the first characters exactly.
    if (!sentText.isEmpty()) {
        drawLines(sentText, SentColour(), true);
    }
}
