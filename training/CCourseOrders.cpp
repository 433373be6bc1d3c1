#include "training/CCourseOrders.h"

#include <filesystem>
#include <system_error>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"
#include "training/CKochCourse.h"
#include "training/ShippedOrders.h"

namespace {

// Longer lines are no line of an order file: an order has at most 256 distinct bytes.
constexpr std::size_t kMaxLineBytes = 1024;
constexpr std::size_t kMaxNameBytes = 60;

}  // namespace

std::optional<CCourseOrders::Order> CCourseOrders::Parse(std::string_view bytes,
                                                         std::string_view fallbackName) {
    if (bytes.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    std::string name;
    std::optional<std::string> keyed;
    std::optional<std::string> bare;
    ForEachLine(bytes, [&](std::string_view line) {
        if (line.empty() || line.size() > kMaxLineBytes || line.front() == '#') {
            return;
        }
        if (line.starts_with("nazev=") && name.empty()) {
            name = line.substr(6, kMaxNameBytes);
        } else if (line.starts_with("poradi=") && !keyed) {
            keyed = CKochCourse::CleanOrder(line.substr(7));
        } else if (line.find('=') == std::string_view::npos && !bare) {
            bare = CKochCourse::CleanOrder(line);
        }
    });
    const std::string order = keyed ? *keyed : bare.value_or(std::string());
    if (order.size() < 2) {
        return std::nullopt;
    }
    // A name is shown in a list: no control characters.
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    if (name.find_first_not_of(' ') == std::string::npos) {
        name = fallbackName.substr(0, kMaxNameBytes);
    }
    return Order{name, order};
}

std::optional<CCourseOrders::Order> CCourseOrders::ReadFile(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return Parse(*bytes, std::filesystem::path(path).filename().string());
}

const std::vector<CCourseOrders::Order>& CCourseOrders::Shipped() {
    static const std::vector<Order> orders = [] {
        std::vector<Order> read;
        for (const std::string_view file : ShippedOrderFiles()) {
            if (std::optional<Order> order = Parse(file, "")) {
                read.push_back(std::move(*order));
            }
        }
        return read;
    }();
    return orders;
}

std::optional<std::size_t> CCourseOrders::ShippedIndex(std::string_view order) {
    const std::string cleaned = CKochCourse::CleanOrder(order);
    const std::vector<Order>& shipped = Shipped();
    for (std::size_t k = 0; k < shipped.size(); ++k) {
        if (shipped[k].order == cleaned) {
            return k;
        }
    }
    return std::nullopt;
}
