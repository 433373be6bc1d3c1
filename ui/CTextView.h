#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include "print/MorseFont.h"

// Shows a text with its already-sent prefix marked: the Morse text of the main window and the two
// speed read-outs. The text keeps its own line breaks (CR LF); nothing wraps. The colours come
// from the palette (the window's base, the palette's dimmed text for what is still to be sent),
// and the sent part is set apart by a bar under it as well as by its red, so that it shows in any
// palette and to a reader of any colour vision. A screen reader reads it as read-only text (see
// CTextViewAccessible): the text with its lines, and the sent part as the caret and the selection.
// Used on the user-interface thread only; the keying's progress reaches it through the window.
class CTextView : public QWidget {
    Q_OBJECT

public:
    explicit CTextView(QWidget* parent = nullptr);

    void SetFullText(const QString& text);
    // Always a prefix of the full text.
    void SetSentText(const QString& text);
    QString GetFullText() const { return fullText; }
    QString GetSentText() const { return sentText; }
    // Hide (false) paints the text in the background colour; show (true) restores the colours.
    void ShowText(bool show);
    bool IsHidden() const { return hidden; }
    void SetFontHeight(int pixelHeight);
    void SetFontPointSize(int points);
    void SetFontFace(const QString& face);
    const QFont& TextFont() const { return font; }

    // A read-out shows a single value (a speed); the Morse text is not one.
    void SetReadOut(bool readOut) { isReadOut = readOut; }
    bool IsReadOut() const { return isReadOut; }

    // The colours the text is drawn in now (the background colour for both while hidden).
    QColor TextColour() const;
    QColor SentColour() const;
    QColor BackgroundColour() const;

    // What a screen reader gets: the text with its lines ending in a single line feed, nothing
    // while hidden; the length of the sent part in that text; where a character of it is drawn
    // (in this widget) and which character is drawn at a point (-1 for none).
    QString ReaderText() const;
    int ReaderSentLength() const;
    QRect ReaderCharacterRect(int offset) const;
    int ReaderOffsetAt(const QPoint& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Tells a screen reader that the text changed from `before` (as it read it).
    void AnnounceText(const QString& before);

    QFont font;
    QString fullText;
    QString sentText;
    bool hidden = false;
    bool isReadOut = false;
};
