#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/CaptionText.h"
#include "session/TypedText.h"
#include "training/CCopyCheck.h"
#include "training/CHistoryFile.h"
#include "training/CheckRecord.h"

class CNotifier;

// The copy check's rules: the copy as the user types it (letters as capitals, characters without
// a code refused, the line breaks of the groups kept, at most kLimit characters), the check made
// once, its record added to the history, and the differences as lines to read. Texts are
// Windows-1250 bytes, lines parted by "\n" in the copy. One operation per user action; the window
// renders View().
class CKontrolaModel {
public:
    // The copy may be this long; more is refused like a character without a code.
    static constexpr int kLimit = static_cast<int>(CCopyCheck::kMaxCharacters);
    // How many confusions the result lists.
    static constexpr int kShownConfusions = 5;

    // The captions of the language file "localKO", in its order.
    enum Caption {
        kTitle,
        kPrompt,
        kCheck,
        kPrint,
        kClose,
        kScore,
        kConfusions,
        kConfusion,
        kNoConfusions,
        kLegendRight,
        kLegendWrong,
        kLegendMissed,
        kLegendExtra,
        kLegendSwapped,
        kCounts,
        kResultName,
        kDifferences,
        kNoDifferences,
        kWrongAt,
        kMissedAt,
        kMissedGroup,
        kSwappedAt,
        kExtraAfter,
        kExtraAtStart,
        kStatusName,
        kCaptionCount
    };
    static CaptionList CzechCaptions();

    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // What the copy edit shows after a keystroke, and where its caret stands.
    using Typed = TypedText;

    // A line of the differences: the template, and the five values every template may take:
    // the group, the character within it, what was sent, what was copied, the next character.
    enum class Line { kWrongAt, kMissedAt, kMissedGroup, kSwappedAt, kExtraAfter, kExtraAtStart };
    struct DifferenceLine {
        Line line;
        std::array<std::string, 5> values;
    };

    struct View {
        bool checked = false;
        // The character last refused, for the status line; none when the line is clear.
        std::optional<char> refused;
        // The check, once made, and its differences in the order of the sent text.
        const CCopyCheck* result = nullptr;
        std::vector<DifferenceLine> differences;
        // The check in words, once made: the score, the counts, the confusions, and the whole
        // result to read line by line (those three with every difference between them).
        std::string score;
        std::string counts;
        std::string confusions;
        std::string resultText;
    };

    // `sentText`: what was sent, as displayed (lines ending in CR LF); `record`: how it was sent;
    // `history`: the history file, whose write failures `notifier` says; both outlive the model.
    CKontrolaModel(std::string sentText, CheckRecord record, const CHistoryFile& history,
                   CNotifier& notifier, Clock clock = &std::chrono::system_clock::now);

    // The captions of the window's language, in the order of Caption, and its decimal sign.
    void SetCaptions(CaptionList languageCaptions, std::string languageDecimalSign);

    // The edit's text after the user changed it to `shown` with the caret at `caret`.
    Typed Type(const std::string& shown, int caret);
    // "Vyhodnotit": checks the copy against the sent text and adds the record to the history,
    // once; nothing after the first.
    void Check();

    const std::string& SentText() const { return sentText; }
    const std::optional<CCopyCheck>& Result() const { return result; }
    // How the text was sent, with the check's results once it is made.
    const CheckRecord& Record() const { return record; }
    View GetView() const;

private:
    std::string sentText;
    CheckRecord record;
    const CHistoryFile* history;
    CNotifier& notifier;
    Clock clock;
    std::string copy;
    std::optional<char> refused;
    std::optional<CCopyCheck> result;
    std::vector<DifferenceLine> differences;
    CaptionList captions = CzechCaptions();
    std::string decimalSign = ",";
};
