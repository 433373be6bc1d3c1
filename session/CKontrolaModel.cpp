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

CKontrolaModel::CKontrolaModel(std::string sent, CheckRecord sending, std::string history,
                               CNotifier& warnings, Clock now)
    : sentText(std::move(sent)),
      record(std::move(sending)),
      historyPath(std::move(history)),
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
    record = RecordCopyCheck(record, *result, clock(), historyPath, notifier);
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
    return view;
}
