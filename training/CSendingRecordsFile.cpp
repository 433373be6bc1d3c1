#include "training/CSendingRecordsFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"
#include "training/RecordLines.h"

namespace {

// A line longer than this is no line this program wrote.
constexpr std::size_t kMaxLineBytes = 4096;

// The words of the file, by the numbers of the enums and in the order of the kinds.
constexpr std::array<std::string_view, 3> kPracticeWords = {"volne", "ozvena", "opis"};
constexpr std::array<std::string_view, 3> kKeyerWords = {"rucni", "a", "b"};
constexpr std::array<std::string_view, SendingRecord::kKinds> kKindKeys = {
    "tecka", "carka", "mezera", "znak", "slovo"};

bool Digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A length of exactly two decimals after a point ("3.05") from 0 to kMostDots; the value is the
// nearest double to the hundredths, as the line's own reading of it.
std::optional<double> Hundredths(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point > 4 || text.size() != point + 3 ||
        !Digits(text.substr(0, point)) || !Digits(text.substr(point + 1))) {
        return std::nullopt;
    }
    const auto whole = WholeNumber(text.substr(0, point), 0, CSendingRecordsFile::kMostDots);
    const auto part = WholeNumber(text.substr(point + 1), 0, 99);
    if (!whole || !part || *whole * 100 + *part > CSendingRecordsFile::kMostDots * 100) {
        return std::nullopt;
    }
    return (*whole * 100 + *part) / 100.0;
}

// A length as the file writes it: rounded to hundredths, never "-0.00".
std::string HundredthsText(double value) {
    const long long hundredths = std::llround(value * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", hundredths / 100, hundredths % 100);
    return text;
}

// A whole number of digits only (no sign) from `low` to `high`.
std::optional<int> Count(std::string_view text, int low, int high) {
    return Digits(text) ? WholeNumber(text, low, high) : std::nullopt;
}

template <std::size_t N>
std::optional<int> WordIndex(const std::array<std::string_view, N>& words, std::string_view word) {
    const auto found = std::find(words.begin(), words.end(), word);
    return found == words.end() ? std::nullopt
                                : std::optional(static_cast<int>(found - words.begin()));
}

// "count/mean/spread".
std::optional<SendingRecord::Kind> ParseKind(std::string_view text) {
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto count = Count(text.substr(0, first), 0, CSendingRecordsFile::kMostCounts);
    const auto mean = Hundredths(text.substr(first + 1, second - first - 1));
    const auto spread = Hundredths(text.substr(second + 1));
    if (!count || !mean || !spread) {
        return std::nullopt;
    }
    return SendingRecord::Kind{*count, *mean, *spread};
}

bool LeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool InDots(double value) {
    return value >= 0.0 && value <= CSendingRecordsFile::kMostDots;
}

// Whether every value is in its range and the figures add up, so that the line written of the
// record reads back.
bool Keepable(const SendingRecord& r) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (r.year < 1970 || r.year > 9999 || r.month < 1 || r.month > 12 || r.day < 1 ||
        r.day > kDays[static_cast<std::size_t>(r.month - 1)] +
                    (r.month == 2 && LeapYear(r.year) ? 1 : 0) ||
        r.hour < 0 || r.hour > 23 || r.minute < 0 || r.minute > 59 || r.second < 0 ||
        r.second > 60) {
        return false;
    }
    const int practice = static_cast<int>(r.practice);
    const int keyer = static_cast<int>(r.keyer);
    const bool echo = r.practice == SendingPractice::kEcho;
    if (practice < 0 || practice >= static_cast<int>(kPracticeWords.size()) || keyer < 0 ||
        keyer >= static_cast<int>(kKeyerWords.size()) || r.characters < 0 ||
        r.characters > CSendingRecordsFile::kMostCounts || r.judged < 0 ||
        r.judged > CSendingRecordsFile::kMostCounts || r.right < 0 || r.right > r.judged ||
        (r.practice == SendingPractice::kFree && r.judged != 0) || r.signSpeed < 0 ||
        r.signSpeed > CSendingRecordsFile::kHighestSpeed || r.highestSpeed < 0 ||
        r.highestSpeed > CSendingRecordsFile::kHighestSpeed || (!echo && r.highestSpeed != 0) ||
        r.reactionMilliseconds < 0 ||
        r.reactionMilliseconds > CSendingRecordsFile::kSlowestReaction ||
        (!echo && r.reactionMilliseconds != 0) || !InDots(r.dashRatio)) {
        return false;
    }
    // A kind never sent has no length.
    return std::all_of(r.kinds.begin(), r.kinds.end(), [](const SendingRecord::Kind& kind) {
        return kind.count >= 0 && kind.count <= CSendingRecordsFile::kMostCounts &&
               InDots(kind.mean) && InDots(kind.spread) &&
               (kind.count > 0 || (kind.mean == 0.0 && kind.spread == 0.0));
    });
}

std::optional<SendingRecord> ParseLine(std::string_view line) {
    const auto tokens = SpaceTokens(line);
    if (line.size() > kMaxLineBytes || !tokens || tokens->size() < 2) {
        return std::nullopt;
    }
    SendingRecord record;
    if (!ParseDate((*tokens)[0], (*tokens)[1], record)) {
        return std::nullopt;
    }
    std::string_view practice, keyer, characters, right, judged, speed, highest, ratio, reaction;
    std::array<std::string_view, SendingRecord::kKinds> kinds;
    if (!Fields(*tokens, 2,
                {{"cviceni", &practice},
                 {"klic", &keyer},
                 {"znaky", &characters},
                 {"spravne", &right},
                 {"posouzeno", &judged},
                 {"rychlost", &speed},
                 {"nejvyssi", &highest},
                 {"pomer", &ratio},
                 {kKindKeys[0], &kinds[0]},
                 {kKindKeys[1], &kinds[1]},
                 {kKindKeys[2], &kinds[2]},
                 {kKindKeys[3], &kinds[3]},
                 {kKindKeys[4], &kinds[4]},
                 {"reakce", &reaction}})) {
        return std::nullopt;
    }
    const auto practiceIndex = WordIndex(kPracticeWords, practice);
    const auto keyerIndex = WordIndex(kKeyerWords, keyer);
    const auto characterCount = Count(characters, 0, CSendingRecordsFile::kMostCounts);
    const auto rightCount = Count(right, 0, CSendingRecordsFile::kMostCounts);
    const auto judgedCount = Count(judged, 0, CSendingRecordsFile::kMostCounts);
    const auto signSpeed = Count(speed, 0, CSendingRecordsFile::kHighestSpeed);
    const auto highestSpeed = Count(highest, 0, CSendingRecordsFile::kHighestSpeed);
    const auto dashRatio = Hundredths(ratio);
    const auto milliseconds = Count(reaction, 0, CSendingRecordsFile::kSlowestReaction);
    if (!practiceIndex || !keyerIndex || !characterCount || !rightCount || !judgedCount ||
        !signSpeed || !highestSpeed || !dashRatio || !milliseconds) {
        return std::nullopt;
    }
    record.practice = static_cast<SendingPractice>(*practiceIndex);
    record.keyer = static_cast<KeyerMode>(*keyerIndex);
    record.characters = *characterCount;
    record.right = *rightCount;
    record.judged = *judgedCount;
    record.signSpeed = *signSpeed;
    record.highestSpeed = *highestSpeed;
    record.dashRatio = *dashRatio;
    record.reactionMilliseconds = *milliseconds;
    for (std::size_t k = 0; k < SendingRecord::kKinds; ++k) {
        const auto kind = ParseKind(kinds[k]);
        if (!kind) {
            return std::nullopt;
        }
        record.kinds[k] = *kind;
    }
    if (!Keepable(record)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace

CSendingRecordsFile::CSendingRecordsFile(std::string filePath) : path(std::move(filePath)) {}

std::vector<SendingRecord> CSendingRecordsFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CSendingRecordsFile::Append(const SendingRecord& record) const {
    const std::string line = Format(record);
    return !line.empty() && AppendLines(path, line);
}

std::string CSendingRecordsFile::Format(const SendingRecord& record) {
    if (!Keepable(record)) {
        return {};
    }
    char head[64];
    std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d", record.year, record.month,
                  record.day, record.hour, record.minute, record.second);
    std::string line = head;
    line += " cviceni=" + std::string(kPracticeWords[static_cast<std::size_t>(record.practice)]);
    line += " klic=" + std::string(kKeyerWords[static_cast<std::size_t>(record.keyer)]);
    line += " znaky=" + std::to_string(record.characters);
    line += " spravne=" + std::to_string(record.right);
    line += " posouzeno=" + std::to_string(record.judged);
    line += " rychlost=" + std::to_string(record.signSpeed);
    line += " nejvyssi=" + std::to_string(record.highestSpeed);
    line += " pomer=" + HundredthsText(record.dashRatio);
    for (std::size_t k = 0; k < SendingRecord::kKinds; ++k) {
        const SendingRecord::Kind& kind = record.kinds[k];
        line += ' ' + std::string(kKindKeys[k]) + '=' + std::to_string(kind.count) + '/' +
                HundredthsText(kind.mean) + '/' + HundredthsText(kind.spread);
    }
    line += " reakce=" + std::to_string(record.reactionMilliseconds) + "\n";
    return line;
}

std::vector<SendingRecord> CSendingRecordsFile::Parse(std::string_view bytes) {
    std::vector<SendingRecord> records;
    ForEachLine(bytes, [&records](std::string_view line) {
        if (auto record = ParseLine(line)) {
            records.push_back(*record);
        }
    });
    return records;
}
