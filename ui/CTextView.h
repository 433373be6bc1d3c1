#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

// Shows a text with its already-sent prefix in another colour: the Morse text of the main window
// and the two speed read-outs. The text keeps its own line breaks (CR LF); nothing wraps.
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
    void SetFontHeight(int pixelHeight);
    void SetFontPointSize(int points);
    void SetFontFace(const QString& face);
    const QFont& TextFont() const { return font; }

    QColor TextColour() const { return textColour; }
    QColor SentColour() const { return sentColour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font;
    QString fullText;
    QString sentText;
    QColor textColour{127, 127, 127};
    QColor savedTextColour;
    QColor sentColour{255, 0, 0};
    QColor savedSentColour;
    QColor backgroundColour{255, 255, 255};
    QColor savedBackgroundColour;
    bool hidden = false;
};

// The Morse font at a pixel height: Courier, or a font of the same metrics, at the heaviest weight.
QFont MorseFont(int pixelHeight);
