#include "config/SettingsFile.h"

#include <climits>

namespace {

std::string Flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

std::string FormatSettings(const Settings& s) {
    const std::string lines[kSettingsLines] = {
        Flag(s.remember),
        s.portName,
        std::to_string(s.outputKind),
        s.letters,
        s.digits,
        Flag(s.shortZeros),
        std::to_string(s.textKind),
        std::to_string(s.toneIndex),
        std::to_string(s.textSpeedIndex),
        std::to_string(s.signSpeedIndex),
        std::to_string(s.ratioIndex),
        Flag(s.stepping),
        Flag(s.language),
        Flag(s.hideText),
    };
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> SplitSettingsLines(std::string_view bytes) {
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        bytes = bytes.substr(0, zero);
    }
    std::vector<std::string> lines;
    std::size_t position = 0;
    for (std::size_t k = 0; k < kSettingsLines; ++k) {
        const std::size_t end = position < bytes.size() ? bytes.find_first_of("\r\n", position)
                                                        : std::string_view::npos;
        if (position >= bytes.size()) {
            lines.emplace_back();
        } else if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(position));
            position = bytes.size();
        } else {
            lines.emplace_back(bytes.substr(position, end - position));
            // CR LF as the program writes it, or the LF or CR alone of a file saved elsewhere.
            position = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    }
    return lines;
}

bool BeginsWithNumber(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t\v\f");
    if (start == std::string_view::npos) {
        return false;
    }
    const std::size_t digit = line[start] == '+' || line[start] == '-' ? start + 1 : start;
    return digit < line.size() && line[digit] >= '0' && line[digit] <= '9';
}

int ParseNumber(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1) {
            value = value * 10 + (line[i] - '0');
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}
