#include "ui/CTextView.h"

#include <QPainter>
#include <QStringList>

QFont MorseFont(int pixelHeight) {
    QFont font(QStringLiteral("Courier"));
    font.setFamilies({QStringLiteral("Courier"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Courier New")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(QFont::Black);
    font.setPixelSize(pixelHeight);
    return font;
}

CTextView::CTextView(QWidget* parent) : QWidget(parent), font(MorseFont(20)) {}

void CTextView::SetFullText(const QString& text) {
    fullText = text;
    sentText.clear();
    update();
}

void CTextView::SetSentText(const QString& text) {
    sentText = text;
    update();
}

void CTextView::ShowText(bool show) {
    if (!show && !hidden) {
        savedTextColour = textColour;
        savedSentColour = sentColour;
        savedBackgroundColour = backgroundColour;
        textColour = backgroundColour;
        sentColour = backgroundColour;
        hidden = true;
    } else if (show && hidden) {
        textColour = savedTextColour;
        sentColour = savedSentColour;
        backgroundColour = savedBackgroundColour;
        hidden = false;
    }
    update();
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

void CTextView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const auto drawLines = [&](const QString& text, const QColor& colour) {
        painter.setPen(colour);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            painter.drawText(2, 1 + static_cast<int>(i) * metrics.height() + metrics.ascent(),
                             lines[i]);
        }
    };
    drawLines(fullText, textColour);
    // The sent text is a prefix: drawn the same way it covers the first characters exactly.
    if (!sentText.isEmpty()) {
        drawLines(sentText, sentColour);
    }
}
