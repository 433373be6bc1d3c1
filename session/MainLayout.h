#pragma once

#include <functional>
#include <map>

// The main window's layout, computed from the screen alone: u and v are hundredths of the screen
// width and of its usable height, pt the dialog font size. Pure arithmetic, so that it can be
// checked for any screen. User-interface thread (the font measures are Qt's).

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct LayoutInput {
    int screenWidth = 0;   // W
    int usableHeight = 0;  // H
    int pointSize = 8;     // pt
    int averageCharWidth = 6;
};

// The width of 61 capital W characters and the line height of the Morse font at a pixel height.
struct TextExtent {
    int width = 0;
    int height = 0;
};
using MorseFontMeasure = std::function<TextExtent(int pixelHeight)>;

struct MainLayout {
    int W = 0;
    int H = 0;
    int u = 0;
    int v = 0;
    int pt = 0;
    int fontHeight = 0;  // pixel height of the Morse font
    int lineHeight = 0;  // cy
    int viewHeight = 0;  // L
    int viewWidth = 0;   // t
    int viewLeft = 0;    // X0
    int viewTop = 0;     // Y0
    int sixCharacters = 0;
    std::map<int, LayoutRect> controls;  // by control id
};

// The dialog font's point size for a screen width.
int DialogFontSize(int screenWidth);

// The first Morse font height from 10 up whose 61 W characters plus 6u reach W - W/3 + 50
// (10 when even that one is wider).
int FitMorseFont(int screenWidth, const MorseFontMeasure& measure);

MainLayout ComputeMainLayout(const LayoutInput& input, const MorseFontMeasure& measure);
