#include "training/CRecognitionFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

#include "core/CMorseTable.h"
#include "core/KeyValueLines.h"
#include "text/TextFile.h"
#include "training/RecordLines.h"

namespace {

// A line longer than this is no line this program wrote.
constexpr std::size_t kMaxLineBytes = 64 * 1024;
constexpr int kMaxCount = 10000000;
constexpr int kMaxReaction = kLongestReactionMilliseconds;
constexpr int kMaxSpeed = 10000;
constexpr std::string_view kCharactersMark = "znaky";

constexpr std::array<std::pair<RecognitionSet, std::string_view>, 4> kSetNames = {{
    {RecognitionSet::Lesson, "lekce"},
    {RecognitionSet::Letters, "pismena"},
    {RecognitionSet::Digits, "cislice"},
    {RecognitionSet::All, "vse"},
}};

// The value of "key=value", when the token has this key.
std::optional<std::string_view> Value(std::string_view token, std::string_view key) {
    if (token.size() <= key.size() + 1 || token.substr(0, key.size()) != key ||
        token[key.size()] != '=') {
        return std::nullopt;
    }
    return token.substr(key.size() + 1);
}

// "K=12/1/420", "K=3/3/-" or "K=12/1/420/3".
std::optional<RecognitionRecord::Character> ParseCharacter(std::string_view token) {
    if (token.size() < 7 || token[1] != '=' || token[0] == ' ' ||
        !CMorseTable::HasCodeInEitherTable(token[0])) {
        return std::nullopt;
    }
    const std::string_view counts = token.substr(2);
    const std::size_t first = counts.find('/');
    const std::size_t second =
        first == std::string_view::npos ? first : counts.find('/', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const auto answers = WholeNumber(counts.substr(0, first), 0, kMaxCount);
    const auto errors = WholeNumber(counts.substr(first + 1, second - first - 1), 0, kMaxCount);
    const std::size_t third = counts.find('/', second + 1);
    const std::string_view median = counts.substr(second + 1, third - (second + 1));
    const auto early = third == std::string_view::npos
                           ? std::optional<int>(0)
                           : WholeNumber(counts.substr(third + 1), 0, kMaxCount);
    if (!answers || !errors || !early || *errors > *answers || *early > *answers - *errors) {
        return std::nullopt;
    }
    RecognitionRecord::Character character{token[0], *answers, *errors, std::nullopt, *early};
    if (median != "-") {
        // A median needs a timed right answer to be the median of.
        const auto value = WholeNumber(median, 0, kMaxReaction);
        if (!value || *answers - *errors - *early == 0) {
            return std::nullopt;
        }
        character.medianMilliseconds = *value;
    }
    return character;
}

}  // namespace

std::map<char, int> ReactionMedians(const std::vector<RecognitionRecord>& records, int runs) {
    std::map<char, std::vector<int>> timed;
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        for (const RecognitionRecord::Character& c : record->characters) {
            std::vector<int>& times = timed[c.character];
            if (c.medianMilliseconds && static_cast<int>(times.size()) < runs) {
                times.push_back(*c.medianMilliseconds);
            }
        }
    }
    std::map<char, int> medians;
    for (auto& [character, times] : timed) {
        if (times.empty()) {
            continue;
        }
        std::sort(times.begin(), times.end());
        const std::size_t middle = times.size() / 2;
        medians[character] =
            times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    }
    return medians;
}

std::vector<RecognitionTotal> RecognitionTotals(const std::vector<RecognitionRecord>& records) {
    std::map<char, RecognitionTotal> totals;
    for (const RecognitionRecord& record : records) {
        for (const RecognitionRecord::Character& c : record.characters) {
            RecognitionTotal& total = totals[c.character];
            total.character = c.character;
            // Counts of hostile files may be large: the sums stop at the largest int.
            total.answers = static_cast<int>(std::min<long long>(
                kMaxCount * 100LL, static_cast<long long>(total.answers) + c.answers));
            total.errors = static_cast<int>(std::min<long long>(
                kMaxCount * 100LL, static_cast<long long>(total.errors) + c.errors));
            total.early = static_cast<int>(std::min<long long>(
                kMaxCount * 100LL, static_cast<long long>(total.early) + c.early));
        }
    }
    for (const auto& [character, median] : ReactionMedians(records)) {
        totals[character].medianMilliseconds = median;
    }
    std::vector<RecognitionTotal> result;
    for (const auto& [character, total] : totals) {
        result.push_back(total);
    }
    std::stable_sort(result.begin(), result.end(), [](const auto& a, const auto& b) {
        if (a.medianMilliseconds.has_value() != b.medianMilliseconds.has_value()) {
            return a.medianMilliseconds.has_value();
        }
        if (a.medianMilliseconds != b.medianMilliseconds) {
            return a.medianMilliseconds > b.medianMilliseconds;
        }
        return a.errors > b.errors;
    });
    return result;
}

CRecognitionFile::CRecognitionFile(std::string filePath) : path(std::move(filePath)) {}

std::vector<RecognitionRecord> CRecognitionFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CRecognitionFile::Append(const RecognitionRecord& record) const {
    return AppendLines(path, Format(record));
}

std::string CRecognitionFile::Format(const RecognitionRecord& r) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", r.year, r.month, r.day,
                  r.hour, r.minute, r.second);
    std::string line = date;
    for (const auto& [set, name] : kSetNames) {
        if (set == r.set) {
            line += " sada=";
            line += name;
        }
    }
    if (r.set == RecognitionSet::Lesson) {
        line += " lekce=" + std::to_string(r.lesson);
    }
    line += " znacka=" + std::to_string(r.signSpeed) + " text=" + std::to_string(r.textSpeed) +
            " limit=" + std::to_string(r.limitMilliseconds) + " " + std::string(kCharactersMark);
    for (const RecognitionRecord::Character& c : r.characters) {
        line += ' ';
        line += c.character;
        line += '=' + std::to_string(c.answers) + '/' + std::to_string(c.errors) + '/' +
                (c.medianMilliseconds ? std::to_string(*c.medianMilliseconds) : "-");
        if (c.early > 0) {
            line += '/' + std::to_string(c.early);
        }
    }
    return line + "\n";
}

std::optional<RecognitionRecord> CRecognitionFile::ParseLine(std::string_view line) {
    if (line.size() > kMaxLineBytes) {
        return std::nullopt;
    }
    const auto tokens = SpaceTokens(line);
    if (!tokens || tokens->size() < 3) {
        return std::nullopt;
    }
    RecognitionRecord record;
    if (!ParseDate((*tokens)[0], (*tokens)[1], record)) {
        return std::nullopt;
    }
    bool setSeen = false;
    std::size_t k = 2;
    for (; k < tokens->size() && (*tokens)[k] != kCharactersMark; ++k) {
        const std::string_view token = (*tokens)[k];
        struct Known {
            std::string_view key;
            int* field;
            int low;
            int high;
        };
        const Known known[] = {{"lekce", &record.lesson, 0, 1000},
                               {"znacka", &record.signSpeed, 1, kMaxSpeed},
                               {"text", &record.textSpeed, 1, kMaxSpeed},
                               {"limit", &record.limitMilliseconds, 1, kMaxReaction}};
        bool matched = false;
        for (const Known& field : known) {
            if (const auto value = Value(token, field.key)) {
                const auto number = WholeNumber(*value, field.low, field.high);
                if (!number) {
                    return std::nullopt;
                }
                *field.field = *number;
                matched = true;
            }
        }
        if (const auto value = Value(token, "sada")) {
            const auto named = std::find_if(kSetNames.begin(), kSetNames.end(),
                                            [&](const auto& set) { return set.second == *value; });
            if (named == kSetNames.end()) {
                return std::nullopt;
            }
            record.set = named->first;
            setSeen = true;
            matched = true;
        }
        // A field this reader does not know is skipped; it must still look like one.
        if (!matched && token.find('=') == std::string_view::npos) {
            return std::nullopt;
        }
    }
    if (!setSeen || k == tokens->size()) {
        return std::nullopt;
    }
    for (++k; k < tokens->size(); ++k) {
        const auto character = ParseCharacter((*tokens)[k]);
        if (!character ||
            std::any_of(record.characters.begin(), record.characters.end(),
                        [&](const auto& c) { return c.character == character->character; })) {
            return std::nullopt;
        }
        record.characters.push_back(*character);
    }
    if (record.set != RecognitionSet::Lesson) {
        record.lesson = 0;
    }
    return record;
}

std::vector<RecognitionRecord> CRecognitionFile::Parse(std::string_view bytes) {
    std::vector<RecognitionRecord> records;
    ForEachLine(bytes, [&records](std::string_view line) {
        if (auto record = ParseLine(line)) {
            records.push_back(std::move(*record));
        }
    });
    return records;
}
