#pragma once

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

// The pieces of the record files' lines (the history of copy checks, the runs of instant
// recognition and of callsigns, the sessions of sending practice), read as hostile input. Pure
// functions; any thread.

// Splits a line at single spaces; an empty token (two spaces, a space at either end) makes the
// line damaged.
inline std::optional<std::vector<std::string_view>> SpaceTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end == start) {
            return std::nullopt;
        }
        tokens.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

// A whole decimal number from `low` to `high`, nothing else.
inline std::optional<int> WholeNumber(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// "YYYY-MM-DD" and "hh:mm:ss" into the record's year, month, day, hour, minute and second;
// false, leaving them, for anything else.
template <typename Record>
bool ParseDate(std::string_view date, std::string_view time, Record& record) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 8 ||
        time[2] != ':' || time[5] != ':') {
        return false;
    }
    const auto year = WholeNumber(date.substr(0, 4), 1970, 9999);
    const auto month = WholeNumber(date.substr(5, 2), 1, 12);
    const auto day = WholeNumber(date.substr(8, 2), 1, 31);
    const auto hour = WholeNumber(time.substr(0, 2), 0, 23);
    const auto minute = WholeNumber(time.substr(3, 2), 0, 59);
    const auto second = WholeNumber(time.substr(6, 2), 0, 60);
    if (!year || !month || !day || !hour || !minute || !second) {
        return false;
    }
    record.year = *year;
    record.month = *month;
    record.day = *day;
    record.hour = *hour;
    record.minute = *minute;
    record.second = *second;
    return true;
}

// The "key=value" fields of `tokens` from `first` on, each known key once. False when a token is
// no field, a known key comes twice or one is missing. Unknown keys are skipped.
inline bool Fields(const std::vector<std::string_view>& tokens, std::size_t first,
                   std::initializer_list<std::pair<std::string_view, std::string_view*>> known) {
    std::vector<bool> seen(known.size(), false);
    for (std::size_t k = first; k < tokens.size(); ++k) {
        const std::size_t equals = tokens[k].find('=');
        if (equals == 0 || equals == std::string_view::npos) {
            return false;
        }
        const std::string_view key = tokens[k].substr(0, equals);
        std::size_t index = 0;
        for (const auto& [name, value] : known) {
            if (key == name) {
                if (seen[index]) {
                    return false;
                }
                seen[index] = true;
                *value = tokens[k].substr(equals + 1);
            }
            ++index;
        }
    }
    return std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
}
