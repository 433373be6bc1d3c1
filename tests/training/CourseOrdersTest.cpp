#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "tests/support/CTemporaryFolder.h"
#include "text/TextFile.h"
#include "training/CCourseOrders.h"
#include "training/CKochCourse.h"

namespace {

struct OrderCase {
    const char* name;
    std::string bytes;
    std::optional<CCourseOrders::Order> read;
};

class OrderFiles : public testing::TestWithParam<OrderCase> {};

TEST_P(OrderFiles, ReadAsTheCourseUsesThem) {
    EXPECT_EQ(CCourseOrders::Parse(GetParam().bytes, "file"), GetParam().read);
}

using Order = CCourseOrders::Order;

INSTANTIATE_TEST_SUITE_P(
    Table, OrderFiles,
    testing::Values(
        OrderCase{"Keyed", "nazev=Mine\nporadi=KMRS\n", Order{"Mine", "KMRS", "", 0}},
        OrderCase{"KeyedCrLfLowerCase", "nazev=Mine\r\nporadi=kmrs\r\n",
                  Order{"Mine", "KMRS", "", 0}},
        OrderCase{"BareLineAfterComments", "# my order\n\n  e t a o\n",
                  Order{"file", "ETAO", "", 0}},
        // What goes unused is counted: the bare line beside "poradi=", a line of an unknown key.
        OrderCase{"KeyedWinsOverBare", "ABC\nporadi=XYZ\nbarva=modra", Order{"file", "XYZ", "", 2}},
        OrderCase{"RepeatsAndUncodedDropped", "poradi=KK.MM\xE8R#\xE8",
                  Order{"file", "K.MR", "\xE8#", 0}},
        OrderCase{"ControlCharactersOfTheName", "nazev=a\tb\nporadi=KM", Order{"a b", "KM", "", 0}},
        OrderCase{"BlankName", "nazev=   \nporadi=KM", Order{"file", "KM", "", 0}},
        OrderCase{"OneCharacter", "poradi=K\n", std::nullopt},
        OrderCase{"NothingUsable", "nazev=x\nporadi=..\xE8\xE8\n", std::nullopt},
        OrderCase{"Empty", "", std::nullopt},
        OrderCase{"ZeroBytesDropped", std::string("poradi=\0K\0M", 11), Order{"file", "KM", "", 0}},
        OrderCase{"OverlongLineSkipped", "poradi=" + std::string(2000, 'A') + "B\nKM",
                  Order{"file", "KM", "", 1}},
        OrderCase{"TooLarge", "poradi=KM\n" + std::string(CCourseOrders::kMaxFileBytes, '#'),
                  std::nullopt}),
    [](const testing::TestParamInfo<OrderCase>& param) { return std::string(param.param.name); });

TEST(CourseOrders, ShippedOrdersAreWholeAndDistinct) {
    const auto& shipped = CCourseOrders::Shipped();
    ASSERT_GE(shipped.size(), 3U);
    // The program's own order comes first, so that nothing changes for a course under way.
    EXPECT_EQ(shipped.front().order, CKochCourse::DefaultOrder());
    std::set<std::string> orders;
    std::set<std::string> names;
    for (std::size_t k = 0; k < shipped.size(); ++k) {
        const std::string& order = shipped[k].order;
        orders.insert(order);
        names.insert(shipped[k].name);
        EXPECT_FALSE(shipped[k].name.empty());
        // Every letter and digit is taught.
        for (const char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
            EXPECT_NE(order.find(c), std::string::npos) << shipped[k].name << " " << c;
        }
        EXPECT_EQ(CCourseOrders::ShippedIndex(order), k);
    }
    EXPECT_EQ(orders.size(), shipped.size());
    EXPECT_EQ(names.size(), shipped.size());
    EXPECT_EQ(CCourseOrders::ShippedIndex("KMRS"), std::nullopt);
    // An order as typed (small letters, a character without a code) is still the shipped one.
    EXPECT_EQ(CCourseOrders::ShippedIndex("kmrsuaptlowi.njef0y,vg5/q9zh38b?427c1d6x"), 0U);
}

TEST(CourseOrders, UserFilesAreNamedAfterTheFileAndLargeOnesRefused) {
    CTemporaryFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("mine.txt"), "# practice\nQZXJ\n", false));
    EXPECT_EQ(CCourseOrders::ReadFile(folder.File("mine.txt")), (Order{"mine.txt", "QZXJ", "", 0}));
    ASSERT_TRUE(WriteFileBytes(folder.File("big"),
                               "KM\n" + std::string(CCourseOrders::kMaxFileBytes, ' '), false));
    EXPECT_EQ(CCourseOrders::ReadFile(folder.File("big")), std::nullopt);
    EXPECT_EQ(CCourseOrders::ReadFile(folder.File("missing")), std::nullopt);
    EXPECT_EQ(CCourseOrders::ReadFile(folder.Path()), std::nullopt);
}

}  // namespace
