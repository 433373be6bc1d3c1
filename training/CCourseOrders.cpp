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
    std::optional<std::string_view> keyed;
    std::optional<std::string_view> bare;
    int unusedLines = 0;
    ForEachLine(bytes, [&](std::string_view line) {
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#') {
            return;
        }
        if (line.size() > kMaxLineBytes) {
            ++unusedLines;
        } else if (line.starts_with("nazev=") && name.empty()) {
            name = line.substr(6, kMaxNameBytes);
        } else if (line.starts_with("poradi=") && !keyed) {
            keyed = line.substr(7);
        } else if (line.find('=') == std::string_view::npos && !bare) {
            bare = line;
        } else {
            ++unusedLines;
        }
    });
    // A bare line beside "poradi=" is one more line the order does not use.
    if (keyed && bare) {
        ++unusedLines;
    }
    const std::string_view raw = keyed ? *keyed : bare.value_or(std::string_view());
    const std::string order = CKochCourse::CleanOrder(raw);
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
    std::string dropped;
    for (const char c : raw) {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        // Spaces part the characters; control characters are nothing a learner typed.
        if (static_cast<unsigned char>(upper) > 0x20 && order.find(upper) == std::string::npos &&
            dropped.find(upper) == std::string::npos) {
            dropped.push_back(upper);
        }
    }
    return Order{name, order, dropped, unusedLines};
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
