#include "session/CKontrolaModel.h"

#include <algorithm>

#include "core/CNotifier.h"
#include "session/CheckHistory.h"
#include "training/CCopyCheckDifferences.h"

namespace {

// Keeps the characters a cleaning refused, for the status line, instead of a message box that
// would take the next keystroke.
class CRefusedCharacters : public CSilentNotifier {
public:
    void InvalidCharacterRemoved(char character) override { refused.push_back(character); }
    std::string refused;
};

CKontrolaModel::DifferenceLine LineOf(const CCopyCheckDifferences::Difference& difference) {
    using Kind = CCopyCheckDifferences::Kind;
    using Line = CKontrolaModel::Line;
    Line line = Line::kWrongAt;
    switch (difference.kind) {
        case Kind::Wrong:
            line = Line::kWrongAt;
            break;
        case Kind::Missed:
            line = Line::kMissedAt;
            break;
        case Kind::MissedGroup:
            line = Line::kMissedGroup;
            break;
        case Kind::Swapped:
            line = Line::kSwappedAt;
            break;
        case Kind::Extra:
            line = difference.group > 0 ? Line::kExtraAfter : Line::kExtraAtStart;
            break;
    }
    return {line,
            {std::to_string(difference.group), std::to_string(difference.character),
             difference.sent, difference.copied, std::to_string(difference.character + 1)}};
}

}  // namespace

CKontrolaModel::CKontrolaModel(std::string sent, CheckRecord sending,
                               const CHistoryFile& historyFile, CNotifier& warnings, Clock now)
    : sentText(std::move(sent)),
      record(std::move(sending)),
      history(&historyFile),
      notifier(warnings),
      clock(std::move(now)) {}

CKontrolaModel::Typed CKontrolaModel::Type(const std::string& shown, int caret) {
    CRefusedCharacters refusals;
    Typed typed;
    if (shown.size() <= static_cast<std::size_t>(kLimit)) {
        // Each line is checked as a custom text is; the line breaks stay, as groups were written
        // down in lines.
        typed = CleanTyped(shown, caret, refusals, false, true);
    } else {
        const int lost = static_cast<int>(shown.size()) - static_cast<int>(copy.size());
        typed = {copy, std::clamp(caret - lost, 0, static_cast<int>(copy.size()))};
    }
    // A refused character is said in the status line until the copy is typed clean again.
    if (!refusals.refused.empty()) {
        refused = refusals.refused.back();
    } else if (typed.text == shown) {
        refused.reset();
    }
    copy = typed.text;
    return typed;
}

void CKontrolaModel::Check() {
    if (result) {
        return;
    }
    result.emplace(sentText, copy);
    record = RecordCopyCheck(record, *result, clock(), *history, notifier);
    const CCopyCheckDifferences found(sentText, *result);
    for (const CCopyCheckDifferences::Difference& difference : found.List()) {
        differences.push_back(LineOf(difference));
    }
    refused.reset();
}

CKontrolaModel::View CKontrolaModel::GetView() const {
    View view;
    view.checked = result.has_value();
    view.refused = refused;
    view.result = result ? &*result : nullptr;
    view.differences = differences;
    if (!result) {
        return view;
    }
    view.score = FillCaption(captions[kScore], {DecimalText(result->ScorePercent(), 1, decimalSign),
                                                std::to_string(result->CorrectCount()),
                                                std::to_string(result->SentCount()),
                                                std::to_string(result->ExtraCount())});
    view.counts =
        FillCaption(captions[kCounts],
                    {std::to_string(result->CorrectCount()), std::to_string(result->WrongCount()),
                     std::to_string(result->MissedCount()), std::to_string(result->ExtraCount()),
                     std::to_string(result->TranspositionCount())});
    view.confusions = ConfusionsText(result->Confusions(), kShownConfusions, captions[kConfusions],
                                     captions[kConfusion], captions[kNoConfusions]);
    view.resultText = view.score + '\n' + view.counts + '\n' +
                      captions[differences.empty() ? kNoDifferences : kDifferences];
    static constexpr std::pair<Line, Caption> kTemplates[] = {
        {Line::kWrongAt, kWrongAt},         {Line::kMissedAt, kMissedAt},
        {Line::kMissedGroup, kMissedGroup}, {Line::kSwappedAt, kSwappedAt},
        {Line::kExtraAfter, kExtraAfter},   {Line::kExtraAtStart, kExtraAtStart}};
    for (const DifferenceLine& difference : differences) {
        std::string pattern;
        for (const auto& [kind, caption] : kTemplates) {
            if (kind == difference.line) {
                pattern = captions[caption];
            }
        }
        // Every template takes the same five values; a language file may leave some out.
        const auto& v = difference.values;
        view.resultText += '\n' + FillCaption(pattern, {Utf8FromCp1250(v[0]), Utf8FromCp1250(v[1]),
                                                        Utf8FromCp1250(v[2]), Utf8FromCp1250(v[3]),
                                                        Utf8FromCp1250(v[4])});
    }
    view.resultText += '\n' + view.confusions;
    return view;
}

void CKontrolaModel::SetCaptions(CaptionList languageCaptions, std::string languageDecimalSign) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
    decimalSign = std::move(languageDecimalSign);
}

CaptionList CKontrolaModel::CzechCaptions() {
    return {"Kontrola opisu",
            "Napište, co jste opsali, po skupinách, jak jste je zapsali:",
            "&Vyhodnotit",
            "&Tisk",
            "&Zavřít",
            "Skóre: %1 % (správně %2 z %3 odeslaných a %4 navíc opsaných znaků)",
            "Nejčastější záměny:",
            "odesláno %1, opsáno %2: %3×",
            "žádné",
            "správně",
            "chybně (pod znakem, co bylo opsáno)",
            "vynecháno",
            "navíc",
            "přehozeno (dva sousední znaky)",
            "Správně: %1, chybně: %2, vynecháno: %3, navíc: %4, přehozené dvojice: %5",
            "Výsledek kontroly",
            "Rozdíly:",
            "Rozdíly: žádné",
            "skupina %1, znak %2: vysláno %3, opsáno %4",
            "skupina %1, znak %2: vysláno %3, vynecháno",
            "skupina %1: vynechána celá, vysláno %3",
            "skupina %1, znaky %2 a %5: vysláno %3, opsáno %4",
            "skupina %1, za znakem %2: navíc opsáno %4",
            "před první skupinou: navíc opsáno %4",
            "Upozornění"};
}
