#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

// Reading the small "key=value" files the program keeps, as hostile input: any bytes, any length.

// Calls `visit` with each line of `bytes` (ended by "\n" or "\r\n", the last one perhaps by the
// end of the bytes), without its line break; a UTF-8 byte order mark an editor put before the
// first line is not part of it. The record files are read with it too.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t start =
        bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        visit(line);
    }
}

// The key and the value of a line "key=value" of at most `maxBytes`; none for any other line.
inline std::optional<std::pair<std::string_view, std::string_view>> KeyAndValue(
    std::string_view line, std::size_t maxBytes) {
    const std::size_t equals = line.find('=');
    if (line.size() > maxBytes || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return std::pair{line.substr(0, equals), line.substr(equals + 1)};
}

// The whole of `value` as a decimal number within [low, high] into `number`; false, leaving it
// as it was, for anything else.
template <typename Number>
bool ReadNumber(std::string_view value, Number low, Number high, Number& number) {
    Number read{};
    const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), read);
    if (value.empty() || error != std::errc() || stop != value.data() + value.size() ||
        read < low || read > high) {
        return false;
    }
    number = read;
    return true;
}

// "1" or "0" into `flag`; false, leaving it as it was, for anything else.
inline bool ReadFlag(std::string_view value, bool& flag) {
    int number = 0;
    if (!ReadNumber(value, 0, 1, number)) {
        return false;
    }
    flag = number == 1;
    return true;
}
