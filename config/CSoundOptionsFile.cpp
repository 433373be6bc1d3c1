#include "config/CSoundOptionsFile.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"

namespace {

// Longer lines are no line this program wrote.
constexpr std::size_t kMaxLineBytes = 200;

// A rung is kept to three decimals, so that it reads back as it was written.
double Rounded(double rung) {
    return std::round(rung * 1000.0) / 1000.0;
}

}  // namespace

CSoundOptionsFile::CSoundOptionsFile(std::string filePath) : path(std::move(filePath)) {}

SoundOptions CSoundOptionsFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CSoundOptionsFile::Write(const SoundOptions& options) const {
    return WriteFileBytes(path, Format(options), false);
}

SoundOptions CSoundOptionsFile::Parse(std::string_view bytes) {
    SoundOptions options;
    ForEachLine(bytes, [&options](std::string_view line) {
        const auto keyAndValue = KeyAndValue(line, kMaxLineBytes);
        if (!keyAndValue) {
            return;
        }
        const auto [key, value] = *keyAndValue;
        if (key == "odpovedi") {
            ReadFlag(value, options.speak);
        } else if (key == "zive") {
            ReadFlag(value, options.speakLive);
        } else if (key == "pred") {
            ReadNumber(value, 0, SoundOptions::kLongestPauseTenths, options.pauseBeforeTenths);
        } else if (key == "po") {
            ReadNumber(value, 0, SoundOptions::kLongestPauseTenths, options.pauseAfterTenths);
        } else if (key == "zebricek") {
            int ladder = 0;
            if (ReadNumber(value, 0, 2, ladder)) {
                options.ladder = static_cast<SoundOptions::Ladder>(ladder);
            }
        } else if (key == "stupne") {
            if (auto rungs = ParseRungs(value)) {
                options.rungs = std::move(*rungs);
            }
        } else if (key == "krok") {
            ReadNumber(value, 1, SoundOptions::kHighestStepCpm, options.stepCpm);
        } else if (key == "minut") {
            ReadNumber(value, 1, SoundOptions::kLongestStepMinutes, options.stepMinutes);
        }
    });
    return options;
}

std::string CSoundOptionsFile::Format(const SoundOptions& options) {
    return "odpovedi=" + std::string(options.speak ? "1" : "0") +
           "\nzive=" + std::string(options.speakLive ? "1" : "0") +
           "\npred=" + std::to_string(options.pauseBeforeTenths) +
           "\npo=" + std::to_string(options.pauseAfterTenths) +
           "\nzebricek=" + std::to_string(static_cast<int>(options.ladder)) +
           "\nstupne=" + FormatRungs(options.rungs) + "\nkrok=" + std::to_string(options.stepCpm) +
           "\nminut=" + std::to_string(options.stepMinutes) + "\n";
}

std::optional<std::vector<double>> CSoundOptionsFile::ParseRungs(std::string_view text) {
    std::vector<double> rungs;
    std::size_t at = 0;
    while (at < text.size()) {
        // Numbers are parted by spaces and semicolons, and by commas unless the comma is the
        // decimal sign: "1,5" is one and a half, "1,1.5" and "1, 2" are two rungs.
        while (at < text.size() && (text[at] == ' ' || text[at] == ';')) {
            ++at;
        }
        if (at == text.size()) {
            break;
        }
        std::size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != ';') {
            ++end;
        }
        std::string word(text.substr(at, end - at));
        at = end;
        // Within one word, a comma followed by a digit and no point elsewhere is a decimal sign.
        std::vector<std::string> numbers;
        if (word.find('.') == std::string::npos && word.find(',') == word.rfind(',')) {
            if (!word.empty() && word.back() == ',') {
                word.pop_back();
            }
            for (char& c : word) {
                c = c == ',' ? '.' : c;
            }
            numbers.push_back(word);
        } else {
            std::size_t from = 0;
            for (std::size_t comma = word.find(','); from <= word.size();
                 comma = word.find(',', from)) {
                if (comma == std::string::npos) {
                    comma = word.size();
                }
                if (comma > from) {
                    numbers.push_back(word.substr(from, comma - from));
                }
                from = comma + 1;
            }
        }
        for (const std::string& number : numbers) {
            double rung = 0;
            const auto [stop, error] =
                std::from_chars(number.data(), number.data() + number.size(), rung);
            if (number.empty() || error != std::errc() || stop != number.data() + number.size() ||
                !(rung >= SoundOptions::kSlowestRung && rung <= SoundOptions::kFastestRung) ||
                static_cast<int>(rungs.size()) == SoundOptions::kMostRungs) {
                return std::nullopt;
            }
            rungs.push_back(Rounded(rung));
        }
    }
    if (rungs.size() < 2) {
        return std::nullopt;
    }
    return rungs;
}

std::string CSoundOptionsFile::FormatRungs(const std::vector<double>& rungs, char decimalSign) {
    std::string text;
    for (const double rung : rungs) {
        char buffer[32];
        const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, Rounded(rung));
        std::string number(buffer, error == std::errc() ? end : buffer);
        for (char& c : number) {
            c = c == '.' ? decimalSign : c;
        }
        text += (text.empty() ? "" : decimalSign == ',' ? "; " : ", ") + number;
    }
    return text;
}
