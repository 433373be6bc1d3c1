#include "training/CCallsignRecordsFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include "core/AsciiText.h"
#include "core/KeyValueLines.h"
#include "text/TextFile.h"
#include "training/RecordLines.h"

namespace {

// A line longer than this is no line this program wrote.
constexpr std::size_t kMaxLineBytes = 4096;
constexpr int kMostPoints = 1000000;
constexpr int kMostRepeats = 1000;
constexpr std::string_view kAnswerMark = "+";

bool Kept(std::string_view text) {
    return text.size() <= CCallsignRecordsFile::kLongestText &&
           CCallsignRecordsFile::KeptText(text) == text;
}

// The head line of a run: the run without its answers, and how many answer lines follow.
std::optional<std::pair<CallsignRunRecord, int>> ParseHead(std::string_view line) {
    const auto tokens = SpaceTokens(line);
    if (!tokens || tokens->size() < 2) {
        return std::nullopt;
    }
    CallsignRunRecord run;
    if (!ParseDate((*tokens)[0], (*tokens)[1], run)) {
        return std::nullopt;
    }
    std::string_view start, step, score, highest, count;
    if (!Fields(*tokens, 2,
                {{"zacatek", &start},
                 {"krok", &step},
                 {"body", &score},
                 {"nejvyssi", &highest},
                 {"odpovedi", &count}})) {
        return std::nullopt;
    }
    const auto startSpeed = WholeNumber(start, 1, CCallsignRecordsFile::kHighestSpeed);
    const auto stepSpeed = WholeNumber(step, 0, CCallsignRecordsFile::kHighestSpeed);
    const auto points = WholeNumber(score, 0, kMostPoints);
    const auto highestSpeed = WholeNumber(highest, 1, CCallsignRecordsFile::kHighestSpeed);
    const auto answers = WholeNumber(count, 1, CCallsignRecordsFile::kMostAnswers);
    if (!startSpeed || !stepSpeed || !points || !highestSpeed || !answers) {
        return std::nullopt;
    }
    run.startSpeed = *startSpeed;
    run.step = *stepSpeed;
    run.score = *points;
    run.highestSpeed = *highestSpeed;
    return std::make_pair(std::move(run), *answers);
}

std::optional<CallsignRunRecord::Answer> ParseAnswer(std::string_view line) {
    const auto tokens = SpaceTokens(line);
    if (!tokens || tokens->empty() || (*tokens)[0] != kAnswerMark) {
        return std::nullopt;
    }
    std::string_view callsign, typed, speed, repeats, right, points;
    if (!Fields(*tokens, 1,
                {{"znacka", &callsign},
                 {"prijato", &typed},
                 {"rychlost", &speed},
                 {"opakovani", &repeats},
                 {"spravne", &right},
                 {"body", &points}})) {
        return std::nullopt;
    }
    const auto speedValue = WholeNumber(speed, 1, CCallsignRecordsFile::kHighestSpeed);
    const auto repeatsValue = WholeNumber(repeats, 0, kMostRepeats);
    const auto rightValue = WholeNumber(right, 0, 1);
    const auto pointsValue = WholeNumber(points, 0, kMostPoints);
    if (callsign.empty() || !Kept(callsign) || !Kept(typed) || !speedValue || !repeatsValue ||
        !rightValue || !pointsValue) {
        return std::nullopt;
    }
    CallsignRunRecord::Answer answer;
    answer.callsign = std::string(callsign);
    answer.typed = std::string(typed);
    answer.speed = *speedValue;
    answer.repeats = *repeatsValue;
    answer.right = *rightValue == 1;
    answer.points = *pointsValue;
    // A verdict that disagrees with the copy, or points for a wrong answer, is no answer this
    // program judged.
    if (answer.right != (answer.typed == answer.callsign) || (!answer.right && answer.points)) {
        return std::nullopt;
    }
    return answer;
}

// Whether the run's totals are those of its answers and every value can be kept.
bool Consistent(const CallsignRunRecord& run) {
    if (run.answers.empty() || run.answers.size() > CCallsignRecordsFile::kMostAnswers ||
        run.startSpeed < 1 || run.startSpeed > CCallsignRecordsFile::kHighestSpeed ||
        run.step < 0 || run.step > CCallsignRecordsFile::kHighestSpeed) {
        return false;
    }
    long long points = 0;
    int highest = 0;
    for (const CallsignRunRecord::Answer& answer : run.answers) {
        if (answer.callsign.empty() || !Kept(answer.callsign) || !Kept(answer.typed) ||
            answer.speed < 1 || answer.speed > CCallsignRecordsFile::kHighestSpeed ||
            answer.repeats < 0 || answer.repeats > kMostRepeats || answer.points < 0 ||
            answer.points > kMostPoints || answer.right != (answer.typed == answer.callsign) ||
            (!answer.right && answer.points)) {
            return false;
        }
        points += answer.points;
        highest = std::max(highest, answer.speed);
    }
    return points == run.score && highest == run.highestSpeed;
}

}  // namespace

CCallsignRecordsFile::CCallsignRecordsFile(std::string filePath) : path(std::move(filePath)) {}

std::vector<CallsignRunRecord> CCallsignRecordsFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CCallsignRecordsFile::Append(const CallsignRunRecord& run) const {
    const std::string lines = Format(run);
    return !lines.empty() && AppendLines(path, lines);
}

std::string CCallsignRecordsFile::KeptText(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || kept.size() == kLongestText) {
            continue;
        }
        // A character beyond ASCII stays a character, one that no callsign has, so that it never
        // vanishes from a copy and turns it into a right one.
        kept.push_back(byte < 0x7f ? AsciiUpper(c) : '?');
    }
    return kept;
}

std::string CCallsignRecordsFile::Format(const CallsignRunRecord& run) {
    if (!Consistent(run) || run.year < 1970 || run.year > 9999 || run.month < 1 || run.month > 12 ||
        run.day < 1 || run.day > 31 || run.hour < 0 || run.hour > 23 || run.minute < 0 ||
        run.minute > 59 || run.second < 0 || run.second > 60) {
        return {};
    }
    char head[160];
    std::snprintf(head, sizeof head,
                  "%04d-%02d-%02d %02d:%02d:%02d zacatek=%d krok=%d body=%d nejvyssi=%d "
                  "odpovedi=%zu\n",
                  run.year, run.month, run.day, run.hour, run.minute, run.second, run.startSpeed,
                  run.step, run.score, run.highestSpeed, run.answers.size());
    std::string lines = head;
    for (const CallsignRunRecord::Answer& answer : run.answers) {
        lines += std::string(kAnswerMark) + " znacka=" + answer.callsign +
                 " prijato=" + answer.typed + " rychlost=" + std::to_string(answer.speed) +
                 " opakovani=" + std::to_string(answer.repeats) +
                 " spravne=" + (answer.right ? "1" : "0") +
                 " body=" + std::to_string(answer.points) + "\n";
    }
    return lines;
}

std::vector<CallsignRunRecord> CCallsignRecordsFile::Parse(std::string_view bytes) {
    std::vector<std::string_view> lines;
    ForEachLine(bytes, [&lines](std::string_view line) {
        lines.push_back(line.size() > kMaxLineBytes ? std::string_view() : line);
    });

    std::vector<CallsignRunRecord> runs;
    std::size_t k = 0;
    while (k < lines.size()) {
        auto head = ParseHead(lines[k]);
        ++k;
        if (!head) {
            continue;
        }
        auto& [run, count] = *head;
        // The answer lines follow the head; the first line that is none ends the run there (and
        // is looked at again as a head).
        while (k < lines.size() && static_cast<int>(run.answers.size()) < count) {
            auto answer = ParseAnswer(lines[k]);
            if (!answer) {
                break;
            }
            run.answers.push_back(std::move(*answer));
            ++k;
        }
        if (static_cast<int>(run.answers.size()) == count && Consistent(run)) {
            runs.push_back(std::move(run));
        }
    }
    return runs;
}
