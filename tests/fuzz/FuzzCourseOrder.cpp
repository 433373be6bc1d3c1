// The reader of a user's order file on any bytes: whatever it reads is an order the course can
// use, and reading the order back gives the same order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CCourseOrders.h"
#include "training/CKochCourse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto order = CCourseOrders::Parse(bytes, "file");
    if (!order) {
        return 0;
    }
    const auto again = CCourseOrders::Parse("poradi=" + order->order, "file");
    if (order->order.size() < 2 || CKochCourse::CleanOrder(order->order) != order->order ||
        !again || again->order != order->order || order->name.empty()) {
        std::abort();
    }
    return 0;
}
