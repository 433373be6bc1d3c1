#include "session/CaptionText.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace {

// The code points of the bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string FillCaption(std::string_view pattern,
                        std::initializer_list<std::string_view> arguments) {
    std::string filled;
    filled.reserve(pattern.size());
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pattern[k] == '%' && k + 1 < pattern.size() && pattern[k + 1] >= '1' &&
            pattern[k + 1] <= '9') {
            const auto number = static_cast<std::size_t>(pattern[k + 1] - '1');
            if (number < arguments.size()) {
                filled += *(arguments.begin() + number);
                ++k;
                continue;
            }
        }
        filled.push_back(pattern[k]);
    }
    return filled;
}

std::string DecimalText(double value, int decimals, std::string_view decimalSign) {
    // to_chars, unlike printf, ignores the process's locale.
    std::array<char, 64> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                       std::chars_format::fixed, decimals);
    std::string text(digits.data(), written.ptr);
    if (const std::size_t point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSign);
    }
    return text;
}

std::string Utf8FromCp1250(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<std::uint8_t>(byte);
        AppendUtf8(out, code < 0x80 ? char32_t{code} : char32_t{kUpperHalf[code - 0x80]});
    }
    return out;
}

std::string ConfusionsText(const std::vector<CCopyCheck::Confusion>& confusions, std::size_t limit,
                           const std::string& heading, const std::string& pairFormat,
                           const std::string& none) {
    std::string pairs;
    for (std::size_t k = 0; k < confusions.size() && k < limit; ++k) {
        const CCopyCheck::Confusion& confusion = confusions[k];
        pairs += (k > 0 ? "; " : "") +
                 FillCaption(pairFormat, {Utf8FromCp1250(std::string_view(&confusion.sent, 1)),
                                          Utf8FromCp1250(std::string_view(&confusion.copied, 1)),
                                          std::to_string(confusion.count)});
    }
    return heading + ' ' + (pairs.empty() ? none : pairs);
}
