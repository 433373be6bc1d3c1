#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The course orders to choose from: those shipped with the program (res/poradi, built in) and a
// user's own order file. An order file has "key=value" lines in Windows-1250: "nazev=" names the
// order, "poradi=" holds its characters; a file without "poradi=" takes its first line that is
// neither empty nor a comment ("#") as the order. Read as hostile input: any bytes, any length.
// Plain functions; any thread.
class CCourseOrders {
public:
    // A larger file is no order file: it is not read at all.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;

    struct Order {
        std::string name;   // Windows-1250
        std::string order;  // cleaned as the course cleans it, two characters at least
        // What of the file went unused: the order's characters without a code (each once, in
        // their order) and the lines that are none of the above.
        std::string droppedCharacters;
        int unusedLines = 0;
        bool operator==(const Order&) const = default;
    };

    // The order of `bytes`, named `fallbackName` when the file names none; nothing when it holds
    // fewer than two characters the course can use.
    static std::optional<Order> Parse(std::string_view bytes, std::string_view fallbackName);
    // The order file at `path`, named after the file when it names no order itself.
    static std::optional<Order> ReadFile(const std::string& path);

    // The shipped orders, the program's own first.
    static const std::vector<Order>& Shipped();
    // The position of `order` (as the course cleans it) among the shipped orders; nothing for an
    // order of the user's own.
    static std::optional<std::size_t> ShippedIndex(std::string_view order);
};
