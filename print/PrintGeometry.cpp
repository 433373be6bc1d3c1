#include "print/PrintGeometry.h"

#include <algorithm>

namespace {

constexpr int kRecordsPerBlock = 5;
constexpr int kRowsPerBlock = 8;

}  // namespace

int FitSheetFont(int printableWidth, const SheetFontMeasure& measure) {
    const int low = 6 * printableWidth / 8;
    const int largest = std::max(printableWidth, 1);
    for (int height = 1; height <= largest; ++height) {
        const int width = measure(height);
        // Widths grow with the height, so the first one at or past 6/8 is within 7/8 unless the
        // step from the height before jumped over the whole range; it is taken either way.
        if (width >= low) {
            return height;
        }
    }
    return largest;
}

SheetGeometry ComputeSheetGeometry(int printableWidth, int printableHeight, int h, int lineHeight,
                                   int averageWidth) {
    SheetGeometry g;
    g.x0 = printableWidth / 12;
    g.m = h / 60;
    g.o = (h - 10 * g.m) / 10;
    g.p = g.m + g.o;
    g.xr = g.x0 + 10 * g.p;
    g.xl = g.x0 - g.m;
    g.xn = g.x0 - 2 * g.m - 2 * averageWidth;
    g.lineHeight = std::max(lineHeight, 1);
    g.rowsPerPage = printableHeight / g.lineHeight;
    g.blocksPerPage = g.rowsPerPage / kRowsPerBlock;
    if (g.blocksPerPage == 0) {
        g.lineHeight = std::max(printableHeight / kRowsPerBlock, 1);
        g.rowsPerPage = printableHeight / g.lineHeight;
        g.blocksPerPage = 1;
    }
    return g;
}

std::vector<std::vector<SheetBlock>> LayOutBlocks(int records, int blocksPerPage) {
    std::vector<std::vector<SheetBlock>> pages;
    const int perPage = std::max(blocksPerPage, 1);
    for (int first = 0; first < records; first += kRecordsPerBlock) {
        if (pages.empty() || static_cast<int>(pages.back().size()) == perPage) {
            pages.emplace_back();
        }
        pages.back().push_back({first, std::min(kRecordsPerBlock, records - first)});
    }
    return pages;
}
