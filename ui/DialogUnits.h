#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>

// Converts dialog-template units to pixels with the dialog font's average character size: a
// horizontal unit is a quarter of the average character width, a vertical one an eighth of the
// character height. User-interface thread (it measures with the font).
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font)
        : width(QFontMetrics(font).averageCharWidth()), height(QFontMetrics(font).height()) {}
    QRect Rect(int x, int y, int w, int h) const {
        return {x * width / 4, y * height / 8, w * width / 4, h * height / 8};
    }

private:
    int width;
    int height;
};
