#pragma once

#include <functional>
#include <vector>

// The geometry of a printed practice sheet, in device units with the origin at the top left of
// the printable area. Pure arithmetic, so that it can be checked for any page; any thread.

// The width of 61 capital W characters in the sheet's font at a height.
using SheetFontMeasure = std::function<int(int height)>;

// The first font height whose 61 W characters are between 6/8 and 7/8 of the printable width.
// Where the widths of consecutive heights jump over that range, the first height past 6/8 is
// taken; the search ends at the page width in any case.
int FitSheetFont(int printableWidth, const SheetFontMeasure& measure);

struct SheetGeometry {
    int x0 = 0;             // left edge of the text
    int m = 0;              // character unit
    int o = 0;              // group gap
    int p = 0;              // group pitch
    int xr = 0;             // right border
    int xl = 0;             // left border
    int xn = 0;             // line-number column
    int lineHeight = 0;     // L, the height of a row
    int rowsPerPage = 0;    // R
    int blocksPerPage = 0;  // B
};

// `h` is the width of the 61 W characters in the chosen font; `lineHeight` and `averageWidth`
// that font's row height and average character width. A page too short for the eight rows of a
// block gets rows that fit, one block a page, so that every line is still printed.
SheetGeometry ComputeSheetGeometry(int printableWidth, int printableHeight, int h, int lineHeight,
                                   int averageWidth);

// Which records each page prints: blocks of five records, `blocksPerPage` a page; a last block
// with fewer records (a collection of other than whole texts) prints what there is.
struct SheetBlock {
    int firstRecord = 0;
    int records = 0;
};
std::vector<std::vector<SheetBlock>> LayOutBlocks(int records, int blocksPerPage);
