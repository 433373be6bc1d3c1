#include "session/CStatistikaModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "training/CCallsignRun.h"

namespace {

std::string Date(const CheckRecord& record) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", record.year, record.month,
                  record.day, record.hour, record.minute);
    return text;
}

CStatistikaModel::Row RowOf(const CheckRecord& record, int number) {
    CStatistikaModel::Row row;
    row.number = number;
    row.date = Date(record);
    row.kind = record.kind;
    if (record.lesson > 0) {
        row.lesson = record.lesson;
    }
    row.signSpeed = record.signSpeed;
    row.textSpeed = record.textSpeed;
    row.ratio = record.ratioTenths / 10.0;
    row.sent = record.sent;
    row.right = record.correct;
    row.wrong = record.wrong;
    row.missed = record.missed;
    row.extra = record.extra;
    row.errors = record.errors;
    row.score = record.Score();
    return row;
}

}  // namespace

CStatistikaModel::CStatistikaModel(const std::vector<CheckRecord>& history,
                                   const std::vector<RecognitionRecord>& recognition,
                                   std::vector<CallsignRunRecord> callsignRuns) {
    const CHistoryStatistics statistics(history);
    const std::vector<CHistoryStatistics::CharacterRate> rates = statistics.CharacterRates();
    view.empty = history.empty();
    // A run is finished when every callsign of it was answered.
    for (const bool finished : {true, false}) {
        for (auto run = callsignRuns.rbegin(); run != callsignRuns.rend(); ++run) {
            if ((run->answers.size() >= CCallsignRun::kCallsigns) == finished) {
                view.callsignRuns.push_back({*run, finished});
            }
        }
    }

    std::map<char, double> copyErrorRates;
    for (const CHistoryStatistics::CharacterRate& rate : rates) {
        copyErrorRates[rate.character] = 100.0 * rate.Rate();
    }
    for (const RecognitionTotal& total : RecognitionTotals(recognition)) {
        const auto copy = copyErrorRates.find(total.character);
        view.reactions.push_back(
            {total.character, total.medianMilliseconds,
             total.answers == 0 ? 0.0 : 100.0 * total.errors / total.answers,
             copy == copyErrorRates.end() ? std::nullopt : std::optional(copy->second),
             total.early});
    }
    if (view.empty) {
        return;
    }

    for (const CheckRecord& record : history) {
        view.scores.push_back(record.Score());
    }
    // Whole check numbers, at most about ten labels, half a check of room at either end.
    const double last = static_cast<double>(history.size());
    view.checkAxis = {0.5, last + 0.5, std::max(1.0, std::ceil((last - 1) / 10))};

    double highest = 0;
    for (const CHistoryStatistics::CharacterRate& rate : rates) {
        if (view.bars.size() == static_cast<std::size_t>(kMaxBars)) {
            break;
        }
        view.bars.push_back({rate.character, 100.0 * rate.Rate()});
        highest = std::max(highest, 100.0 * rate.Rate());
    }
    // Round figures on the axis: steps of ten, or of twenty above half.
    const double wanted = std::clamp(highest * 1.1, 10.0, 100.0);
    const double step = wanted > 50 ? 20 : 10;
    view.rateAxis = {0, std::min(100.0, std::ceil(wanted / step) * step), step};
    view.confusions = statistics.RecentConfusions(kRecentChecks);

    for (std::size_t k = history.size(); k > 0; --k) {
        view.rows.push_back(RowOf(history[k - 1], static_cast<int>(k)));
    }
    view.snr = statistics.ScoreBySnr();
    view.anyNoise = std::any_of(view.snr.begin(), view.snr.end(),
                                [](const auto& score) { return score.snrDb.has_value(); });
}
