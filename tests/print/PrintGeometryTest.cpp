#include <gtest/gtest.h>

#include "print/CPrintCollection.h"
#include "print/PrintGeometry.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

TEST(PrintGeometry, FontSearchStopsInsideTheRange) {
    const int W = 4800;
    // Widths of 61 W at 0.6 of the height.
    const auto measure = [](int height) { return 61 * height * 6 / 10; };
    const int height = FitSheetFont(W, measure);
    EXPECT_GE(measure(height), 6 * W / 8);
    EXPECT_LE(measure(height), 7 * W / 8);
    EXPECT_LT(measure(height - 1), 6 * W / 8);
    // Widths that jump over the whole range still end the search, at the first past it.
    EXPECT_EQ(FitSheetFont(W, [](int tried) { return tried < 50 ? 10 : 100000; }), 50);
    // A font that never gets wide enough ends at the page width.
    EXPECT_EQ(FitSheetFont(300, [](int) { return 1; }), 300);
}

TEST(PrintGeometry, FiguresOfAPage) {
    // A4 at 600 dpi, printable 4760 x 6814; the font's 61 W measure 3950.
    const SheetGeometry g = ComputeSheetGeometry(4760, 6814, 3950, 110, 60);
    EXPECT_EQ(g.x0, 396);
    EXPECT_EQ(g.m, 65);
    EXPECT_EQ(g.o, (3950 - 650) / 10);
    EXPECT_EQ(g.p, g.m + g.o);
    EXPECT_EQ(g.xr, g.x0 + 10 * g.p);
    EXPECT_EQ(g.xl, g.x0 - g.m);
    EXPECT_EQ(g.xn, g.x0 - 2 * g.m - 120);
    EXPECT_EQ(g.rowsPerPage, 61);
    EXPECT_EQ(g.blocksPerPage, 7);
}

TEST(PrintGeometry, TwentyRowsHoldTwoBlocks) {
    const SheetGeometry g = ComputeSheetGeometry(1000, 2000, 800, 100, 10);
    EXPECT_EQ(g.rowsPerPage, 20);
    EXPECT_EQ(g.blocksPerPage, 2);
    const auto pages = LayOutBlocks(15, g.blocksPerPage);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 2u);
    EXPECT_EQ(pages[1].size(), 1u);
    EXPECT_EQ(pages[1][0].firstRecord, 10);
}

TEST(PrintGeometry, PageShorterThanABlockStillPrintsEveryLine) {
    const SheetGeometry g = ComputeSheetGeometry(1000, 500, 800, 100, 10);
    EXPECT_EQ(g.blocksPerPage, 1);
    EXPECT_LE(8 * g.lineHeight, 500);
    EXPECT_EQ(LayOutBlocks(10, g.blocksPerPage).size(), 2u);
}

TEST(PrintGeometry, RemainingRecordsMakeAShorterBlock) {
    const auto pages = LayOutBlocks(12, 7);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 3u);
    EXPECT_EQ(pages[0][2].records, 2);
    EXPECT_TRUE(LayOutBlocks(0, 7).empty());
}

TEST(PrintCollection, RecordsAndTheirText) {
    CTemporaryFolder folder;
    const std::string line = std::string(59, 'A') + "B";
    WriteWholeFile(folder.File("tisk.tmp"), line + "\r\n" + std::string("XY\0Z", 4) +
                                                std::string(56, ' ') + "\r\n" + "short");
    CPrintCollection collection(folder.File("tisk.tmp"));
    EXPECT_EQ(collection.Records(), 2);
    EXPECT_EQ(collection.ReadRecord(), line);
    EXPECT_EQ(collection.ReadRecord(), "XY");
    EXPECT_EQ(collection.ReadRecord(), "");  // beyond the end
    collection.Rewind();
    EXPECT_EQ(collection.ReadRecord(), line);
    EXPECT_EQ(CPrintCollection(folder.File("none")).Records(), 0);
}

}  // namespace
