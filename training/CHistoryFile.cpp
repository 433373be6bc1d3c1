#include "training/CHistoryFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"
#include "training/RecordLines.h"

namespace {

// A line longer than this is no line this program wrote.
constexpr std::size_t kMaxLineBytes = 64 * 1024;
constexpr int kMaxCount = 10000000;

// "key=value" with this key and a number in range.
std::optional<int> Field(std::string_view token, std::string_view key, int low, int high) {
    if (token.size() <= key.size() + 1 || token.substr(0, key.size()) != key ||
        token[key.size()] != '=') {
        return std::nullopt;
    }
    return WholeNumber(token.substr(key.size() + 1), low, high);
}

bool IsCharacter(char c) {
    return c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '\0';
}

// The breakdown of the errors of a record line without its further fields: the wrong copies are
// the confusions; the rest of the sent characters not copied right were missed; errors beyond
// those were extra characters. Exact for the records this program wrote before it kept the
// breakdown, and within range for any other.
void DeriveBreakdown(CheckRecord& record) {
    long long confused = 0;
    for (const CCopyCheck::Confusion& confusion : record.confusions) {
        confused += confusion.count;
    }
    const int notRight = record.sent - record.correct;
    record.wrong = static_cast<int>(std::min<long long>(confused, notRight));
    record.missed = notRight - record.wrong;
    record.extra = std::max(0, record.errors - notRight);
    record.transpositions = 0;
}

// The reception conditions of a further line's tokens (from the second on): all off when it has
// none, nothing when one of them is damaged, repeated or out of range, there is no seed, or
// nothing of what was read changes what was heard (a seed and a filter alone, beside a key this
// reader does not know): a record keeps no part of its conditions that it does not write back.
std::optional<ReceptionSettings> ParseConditions(const std::vector<std::string_view>& tokens) {
    using Limits = ReceptionSettings;
    ReceptionSettings read;
    std::optional<int> pathDelay;
    std::optional<int> agc;
    bool seeded = false;
    bool spreadRead = false;
    std::set<std::string_view> seen;
    for (std::size_t k = 1; k < tokens.size(); ++k) {
        const std::string_view token = tokens[k];
        const std::size_t equals = token.find('=');
        const std::string_view key = token.substr(0, equals);
        const std::string_view value = token.substr(equals + 1);
        std::optional<int> number;
        if (key == "semeno") {
            std::uint64_t seed = 0;
            const char* end = value.data() + value.size();
            const auto [stop, error] = std::from_chars(value.data(), end, seed);
            if (value.empty() || error != std::errc() || stop != end) {
                return std::nullopt;
            }
            read.seed = seed;
            seeded = true;
        } else if (key == "sum") {
            number = WholeNumber(value, Limits::kLowestSnrDb, Limits::kHighestSnrDb);
            read.noise = true;
            read.snrDb = number.value_or(0);
        } else if (key == "filtr") {
            number = WholeNumber(value, Limits::kNarrowestFilterHz, Limits::kWidestFilterHz);
            read.filterHz = number.value_or(0);
        } else if (key == "unik") {
            const std::size_t slash = value.find('/');
            const auto depth = WholeNumber(value.substr(0, slash), 0, 100);
            const auto period =
                slash == std::string_view::npos
                    ? std::nullopt
                    : WholeNumber(value.substr(slash + 1), Limits::kShortestFadingSeconds,
                                  Limits::kLongestFadingSeconds);
            if (!depth || !period) {
                return std::nullopt;
            }
            number = *depth;
            read.fading = true;
            read.fadingDepthPercent = *depth;
            read.fadingSeconds = *period;
        } else if (key == "rozptyl") {
            number =
                WholeNumber(value, Limits::kLeastSpreadCentihertz, Limits::kMostSpreadCentihertz);
            read.fadingSpreadCentihertz = number.value_or(1);
            spreadRead = true;
        } else if (key == "cesta") {
            number = WholeNumber(value, 1, Limits::kLongestPathDelayMicroseconds);
            pathDelay = number;
        } else if (key == "agc") {
            number = WholeNumber(value, 1, static_cast<int>(ReceptionSettings::Agc::kSlow));
            agc = number;
        } else if (key == "zazneje") {
            number = WholeNumber(value, 1, 1);
            read.zeroBeat = true;
        } else if (key == "pileup") {
            number = WholeNumber(value, 1, 1);
            read.pileUp = true;
        } else if (key == "praskani") {
            number = WholeNumber(value, Limits::kLowestStaticRate, Limits::kHighestStaticRate);
            read.staticCrashes = true;
            read.staticPerMinute = number.value_or(0);
        } else if (key == "ruseni") {
            number = WholeNumber(value, 1, Limits::kMostStations);
            read.interference = true;
            read.stations = number.value_or(0);
        } else if (key == "chirp") {
            number = WholeNumber(value, 0, Limits::kHighestChirpHz);
            read.chirp = true;
            read.chirpHz = number.value_or(0);
        } else if (key == "kliksy") {
            number = WholeNumber(value, 1, 1);
            read.keyClicks = true;
        } else if (key == "rukopis") {
            number = WholeNumber(value, 1, static_cast<int>(FistKind::kBug));
            read.fist = static_cast<FistKind>(number.value_or(0));
        } else {
            // The breakdown's fields, and later ones.
            continue;
        }
        if ((key != "semeno" && !number) || !seen.insert(key).second) {
            return std::nullopt;
        }
    }
    // Without these fields a record was heard on one path, and without AGC (as were all records
    // of the versions before them).
    if (read.fading) {
        read.pathDelayMicroseconds = pathDelay.value_or(0);
        if (!spreadRead) {
            read.fadingSpreadCentihertz =
                ReceptionSettings::SpreadCentihertzFor(read.fadingSeconds);
        }
    }
    if (read.ChangesSound()) {
        read.agc = static_cast<ReceptionSettings::Agc>(agc.value_or(0));
    }
    // The parts of a condition that is off are not written back: they are not kept.
    if (!read.fading) {
        read.fadingSpreadCentihertz = ReceptionSettings().fadingSpreadCentihertz;
    }
    if (!read.interference || read.stations <= 0) {
        read.zeroBeat = false;
        read.pileUp = false;
    }
    if (!seeded || !read.AnyOn() ||
        (read.filterHz != ReceptionSettings().filterHz && !read.ChangesSound())) {
        return std::nullopt;
    }
    return read;
}

std::string FormatConditions(const ReceptionSettings& c) {
    if (!c.AnyOn()) {
        return {};
    }
    std::string fields = " semeno=" + std::to_string(c.seed);
    if (c.noise) {
        fields += " sum=" + std::to_string(c.snrDb);
    }
    if (c.ChangesSound()) {
        fields += " filtr=" + std::to_string(c.filterHz);
    }
    if (c.fading) {
        fields +=
            " unik=" + std::to_string(c.fadingDepthPercent) + "/" + std::to_string(c.fadingSeconds);
        fields += " rozptyl=" + std::to_string(c.fadingSpreadCentihertz);
        if (c.pathDelayMicroseconds > 0) {
            fields += " cesta=" + std::to_string(c.pathDelayMicroseconds);
        }
    }
    if (c.ChangesSound() && c.agc != ReceptionSettings::Agc::kOff) {
        fields += " agc=" + std::to_string(static_cast<int>(c.agc));
    }
    if (c.staticCrashes) {
        fields += " praskani=" + std::to_string(c.staticPerMinute);
    }
    if (c.interference && c.stations > 0) {
        fields += " ruseni=" + std::to_string(c.stations);
        if (c.zeroBeat) {
            fields += " zazneje=1";
        }
        if (c.pileUp) {
            fields += " pileup=1";
        }
    }
    if (c.chirp) {
        fields += " chirp=" + std::to_string(c.chirpHz);
    }
    if (c.keyClicks) {
        fields += " kliksy=1";
    }
    if (c.fist != FistKind::kNone) {
        fields += " rukopis=" + std::to_string(static_cast<int>(c.fist));
    }
    return fields;
}

// Whether a breakdown adds up to the record's counts.
bool Consistent(const CheckRecord& r) {
    const long long sent =
        static_cast<long long>(r.correct) + r.wrong + r.missed + 2LL * r.transpositions;
    const long long errors =
        static_cast<long long>(r.wrong) + r.missed + r.extra + r.transpositions;
    return sent == r.sent && errors == r.errors;
}

}  // namespace

CHistoryFile::CHistoryFile(std::string filePath) : path(std::move(filePath)) {}

std::vector<CheckRecord> CHistoryFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CHistoryFile::Append(const CheckRecord& record) const {
    return AppendLines(path, Format(record));
}

std::string CHistoryFile::Format(const CheckRecord& r) {
    return FormatRecordLine(r) + FormatFurtherLine(r);
}

std::string CHistoryFile::FormatFurtherLine(const CheckRecord& r) {
    return std::string(kFurtherMark) + " spatne=" + std::to_string(r.wrong) +
           " vynechano=" + std::to_string(r.missed) + " navic=" + std::to_string(r.extra) +
           " prehozeno=" + std::to_string(r.transpositions) + FormatConditions(r.conditions) + "\n";
}

bool CHistoryFile::ParseFurtherLine(std::string_view line, CheckRecord& record) {
    if (line.size() > kMaxLineBytes) {
        return false;
    }
    const auto tokens = SpaceTokens(line);
    if (!tokens || tokens->empty() || (*tokens)[0] != kFurtherMark) {
        return false;
    }
    CheckRecord read = record;
    struct Known {
        std::string_view key;
        int* field;
        bool seen;
    };
    Known known[] = {{"spatne", &read.wrong, false},
                     {"vynechano", &read.missed, false},
                     {"navic", &read.extra, false},
                     {"prehozeno", &read.transpositions, false}};
    for (std::size_t k = 1; k < tokens->size(); ++k) {
        const std::string_view token = (*tokens)[k];
        const std::size_t equals = token.find('=');
        if (equals == 0 || equals == std::string_view::npos) {
            return false;
        }
        for (Known& field : known) {
            if (token.substr(0, equals) != field.key) {
                continue;
            }
            const auto value = WholeNumber(token.substr(equals + 1), 0, kMaxCount);
            if (!value || field.seen) {
                return false;
            }
            *field.field = *value;
            field.seen = true;
        }
        // Fields this program does not know are later ones: skipped.
    }
    for (const Known& field : known) {
        if (!field.seen) {
            return false;
        }
    }
    if (!Consistent(read)) {
        return false;
    }
    read.conditions = ParseConditions(*tokens).value_or(ReceptionSettings());
    record = read;
    return true;
}

std::string CHistoryFile::FormatRecordLine(const CheckRecord& r) {
    char head[256];
    std::snprintf(head, sizeof head,
                  "%04d-%02d-%02d %02d:%02d:%02d druh=%d lekce=%d znacka=%d text=%d pomer=%d.%d "
                  "odeslano=%d spravne=%d chyby=%d znaky",
                  r.year, r.month, r.day, r.hour, r.minute, r.second, r.kind, r.lesson, r.signSpeed,
                  r.textSpeed, r.ratioTenths / 10, r.ratioTenths % 10, r.sent, r.correct, r.errors);
    std::string line = head;
    for (const auto& [character, count] : r.characters) {
        line += ' ';
        line += character;
        line += '=' + std::to_string(count.sent) + '/' + std::to_string(count.wrong);
    }
    line += " zameny";
    for (const CCopyCheck::Confusion& confusion : r.confusions) {
        line += ' ';
        line += confusion.sent;
        line += confusion.copied;
        line += '=' + std::to_string(confusion.count);
    }
    line += '\n';
    return line;
}

std::optional<CheckRecord> CHistoryFile::ParseLine(std::string_view line) {
    if (line.size() > kMaxLineBytes) {
        return std::nullopt;
    }
    const auto tokens = SpaceTokens(line);
    if (!tokens || tokens->size() < 12) {
        return std::nullopt;
    }
    const std::vector<std::string_view>& t = *tokens;
    CheckRecord record;
    if (!ParseDate(t[0], t[1], record)) {
        return std::nullopt;
    }
    const auto kind = Field(t[2], "druh", 0, 99);
    const auto lesson = Field(t[3], "lekce", 0, 999);
    const auto sign = Field(t[4], "znacka", 1, 9999);
    const auto text = Field(t[5], "text", 1, 9999);
    const std::string_view ratio = t[6];
    const auto sent = Field(t[7], "odeslano", 0, kMaxCount);
    const auto correct = Field(t[8], "spravne", 0, kMaxCount);
    const auto errors = Field(t[9], "chyby", 0, kMaxCount);
    if (!kind || !lesson || !sign || !text || !sent || !correct || !errors || *correct > *sent ||
        t[10] != "znaky" || ratio.size() != 9 || ratio.substr(0, 6) != "pomer=" ||
        ratio[7] != '.') {
        return std::nullopt;
    }
    const auto units = WholeNumber(ratio.substr(6, 1), 1, 9);
    const auto tenths = WholeNumber(ratio.substr(8, 1), 0, 9);
    if (!units || !tenths) {
        return std::nullopt;
    }
    record.kind = *kind;
    record.lesson = *lesson;
    record.signSpeed = *sign;
    record.textSpeed = *text;
    record.ratioTenths = *units * 10 + *tenths;
    record.sent = *sent;
    record.correct = *correct;
    record.errors = *errors;

    std::size_t k = 11;
    for (; k < t.size() && t[k] != "zameny"; ++k) {
        // "A=10/1": the character, the times sent and the times wrong.
        const std::string_view token = t[k];
        const std::size_t slash = token.find('/', 2);
        if (token.size() < 5 || !IsCharacter(token[0]) || token[1] != '=' ||
            slash == std::string_view::npos || record.characters.count(token[0]) != 0) {
            return std::nullopt;
        }
        const auto times = WholeNumber(token.substr(2, slash - 2), 1, kMaxCount);
        const auto wrong = WholeNumber(token.substr(slash + 1), 0, kMaxCount);
        if (!times || !wrong || *wrong > *times) {
            return std::nullopt;
        }
        record.characters[token[0]] = {*times, *wrong};
    }
    if (k == t.size()) {
        return std::nullopt;
    }
    std::set<std::pair<char, char>> seen;
    for (++k; k < t.size(); ++k) {
        // "HS=3": sent H, copied S, three times.
        const std::string_view token = t[k];
        if (token.size() < 4 || !IsCharacter(token[0]) || !IsCharacter(token[1]) ||
            token[2] != '=' || !seen.insert({token[0], token[1]}).second) {
            return std::nullopt;
        }
        const auto count = WholeNumber(token.substr(3), 1, kMaxCount);
        if (!count) {
            return std::nullopt;
        }
        record.confusions.push_back({token[0], token[1], *count});
    }
    DeriveBreakdown(record);
    return record;
}

std::vector<CheckRecord> CHistoryFile::Parse(std::string_view bytes) {
    std::vector<CheckRecord> records;
    bool previousWasRecord = false;
    ForEachLine(bytes, [&](std::string_view line) {
        // A line of further fields belongs to the record line just before it.
        const bool follows = previousWasRecord;
        previousWasRecord = false;
        if (auto record = ParseLine(line)) {
            records.push_back(std::move(*record));
            previousWasRecord = true;
        } else if (follows) {
            ParseFurtherLine(line, records.back());
        }
    });
    return records;
}
