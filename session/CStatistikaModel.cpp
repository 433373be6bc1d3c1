#include "session/CStatistikaModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "session/CRozpoznaniModel.h"
#include "session/CVolaciZnakyModel.h"
#include "training/CCallsignRun.h"

namespace {

// "YYYY-MM-DD HH:MM" of a record's local time.
template <typename Record>
std::string Date(const Record& record) {
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
                                   std::vector<CallsignRunRecord> callsignRuns,
                                   const std::vector<SendingRecord>& sendingSessions) {
    const auto shownSessions =
        static_cast<std::ptrdiff_t>(std::min(sendingSessions.size(), kShownRuns));
    view.sendingSessions.assign(sendingSessions.end() - shownSessions, sendingSessions.end());
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

namespace {

// Characters, not bytes, of a UTF-8 text.
std::size_t Length(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

// Breaks a heading into lines of whole words, each at most kHeadingLine characters long where
// its words allow.
std::string Heading(const std::string& caption) {
    std::string wrapped;
    std::size_t lineLength = 0;
    std::size_t start = 0;
    while (start < caption.size()) {
        const std::size_t end = std::min(caption.find(' ', start), caption.size());
        const std::string word = caption.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (lineLength == 0) {
            lineLength = Length(word);
        } else if (lineLength + 1 + Length(word) <= CStatistikaModel::kHeadingLine) {
            wrapped += ' ';
            lineLength += 1 + Length(word);
        } else {
            wrapped += '\n';
            lineLength = Length(word);
        }
        wrapped += word;
    }
    return wrapped;
}

std::string Character(char byte) {
    return Utf8FromCp1250(std::string_view(&byte, 1));
}

std::string MillisecondsOrDash(const std::optional<int>& milliseconds) {
    return milliseconds ? std::to_string(*milliseconds) : "–";
}

}  // namespace

CaptionList CStatistikaModel::CzechCaptions() {
    return {"Statistika",
            "Zatím není uložena žádná kontrola opisu. Po vysílání zvolte Výcvik → Kontrola opisu.",
            "Úspěšnost kontrol",
            "správně opsáno (%)",
            "kontrola",
            "Chybovost znaků (nejhorší první)",
            "chybně nebo vynecháno (%)",
            "Záměny v posledních kontrolách:",
            "odesláno %1, opsáno %2: %3×",
            "žádné",
            "&Zavřít",
            "Datum",
            "Druh textu",
            "Lekce",
            "Rychlost značky (znaků za minutu)",
            "Rychlost textu (znaků za minutu)",
            "Poměr tečka : čárka",
            "Odeslané znaky",
            "Chyby celkem",
            "Skóre",
            "Správně",
            "Chybně",
            "Vynecháno",
            "Navíc",
            "Úspěšnost podle odstupu signálu od šumu:",
            "Odstup od šumu (dB)",
            "Kontroly",
            "bez šumu",
            "Kontroly opisu"};
}

void CStatistikaModel::SetLanguage(CaptionList languageCaptions,
                                   std::vector<std::string> languageKindNames,
                                   std::string languageDecimalSign) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
    kindNames = std::move(languageKindNames);
    decimalSign = std::move(languageDecimalSign);
}

std::string CStatistikaModel::Percent(double value) const {
    return DecimalText(value, 1, decimalSign) + " %";
}

CStatistikaModel::TextTable CStatistikaModel::HistoryTable() const {
    TextTable table;
    for (const Caption column : {kColumnDate, kColumnKind, kColumnLesson, kColumnSign, kColumnText,
                                 kColumnRatio, kColumnSent, kColumnRight, kColumnWrong,
                                 kColumnMissed, kColumnExtra, kColumnErrors, kColumnScore}) {
        table.headers.push_back(Heading(captions[column]));
    }
    for (const Row& r : view.rows) {
        const auto kind = static_cast<std::size_t>(r.kind);
        table.cells.push_back(
            {r.date,
             r.kind >= 0 && kind < kindNames.size() ? kindNames[kind] : std::to_string(r.kind),
             r.lesson ? std::to_string(*r.lesson) : "–", std::to_string(r.signSpeed),
             std::to_string(r.textSpeed), "1 : " + DecimalText(r.ratio, 1, decimalSign),
             std::to_string(r.sent), std::to_string(r.right), std::to_string(r.wrong),
             std::to_string(r.missed), std::to_string(r.extra), std::to_string(r.errors),
             Percent(r.score)});
    }
    return table;
}

CStatistikaModel::TextTable CStatistikaModel::SnrTable() const {
    TextTable table{
        {captions[kSnrColumn], captions[kSnrChecks], captions[kColumnSent], captions[kColumnScore]},
        {}};
    for (const CHistoryStatistics::SnrScore& score : view.snr) {
        table.cells.push_back({score.snrDb ? std::to_string(*score.snrDb) : captions[kWithoutNoise],
                               std::to_string(score.checks), std::to_string(score.sent),
                               Percent(score.score)});
    }
    return table;
}

CStatistikaModel::TextTable CStatistikaModel::ReactionTable(
    const CaptionList& recognitionCaptions) const {
    using R = CRozpoznaniModel;
    TextTable table;
    for (const int column : {R::kColumnCharacter, R::kColumnReaction, R::kColumnRecognitionErrors,
                             R::kColumnCopyErrors, R::kColumnEarly}) {
        table.headers.push_back(recognitionCaptions.at(static_cast<std::size_t>(column)));
    }
    for (const Reaction& total : view.reactions) {
        table.cells.push_back({Character(total.character),
                               MillisecondsOrDash(total.medianMilliseconds),
                               Percent(total.errorPercent),
                               total.copyErrorPercent ? Percent(*total.copyErrorPercent) : "–",
                               std::to_string(total.early)});
    }
    return table;
}

CStatistikaModel::TextTable CStatistikaModel::CallsignRunTable(
    const CaptionList& callsignCaptions) const {
    using V = CVolaciZnakyModel;
    const auto caption = [&callsignCaptions](int k) {
        return callsignCaptions.at(static_cast<std::size_t>(k));
    };
    TextTable table{{caption(V::kRunsColumnDate), caption(V::kRunsColumnStart),
                     caption(V::kRunsColumnScore), caption(V::kRunsColumnHighest),
                     caption(V::kRunsColumnRight), caption(V::kRunsColumnState)},
                    {}};
    const auto padded = [](int value, std::size_t width) {
        std::string digits = std::to_string(value);
        return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
    };
    const auto two = [&padded](int value) { return padded(value, 2); };
    const std::size_t shownRuns = std::min(view.callsignRuns.size(), kShownRuns);
    for (std::size_t k = 0; k < shownRuns; ++k) {
        const View::CallsignRun& shown = view.callsignRuns[k];
        const CallsignRunRecord& run = shown.run;
        const std::string when = padded(run.year, 4) + '-' + two(run.month) + '-' + two(run.day) +
                                 ' ' + two(run.hour) + ':' + two(run.minute);
        table.cells.push_back(
            {when, std::to_string(run.startSpeed), std::to_string(run.score),
             std::to_string(run.highestSpeed),
             DecimalText(100.0 * run.RightShare(), 0, decimalSign) + " %",
             shown.finished
                 ? caption(V::kRunFinished)
                 : FillCaption(caption(V::kRunLeft), {std::to_string(run.answers.size()),
                                                      std::to_string(CCallsignRun::kCallsigns)})});
    }
    return table;
}

namespace {

// The mean of `value` over the sessions of `sessions` that have one.
template <typename Value>
std::optional<double> MeanOf(const std::vector<SendingRecord>& sessions, Value value) {
    double sum = 0.0;
    int count = 0;
    for (const SendingRecord& session : sessions) {
        if (const std::optional<double> one = value(session)) {
            sum += *one;
            ++count;
        }
    }
    return count ? std::optional(sum / count) : std::nullopt;
}

}  // namespace

CaptionList CStatistikaModel::SendingCzechCaptions() {
    return {"Vysílání klíčem",
            "Datum",
            "Cvičení",
            "Rychlost",
            "Čárka : tečka",
            "Rozptyl tečky",
            "Rozptyl čárky",
            "Mezera ve znaku",
            "Mezera mezi znaky",
            "Mezera mezi slovy",
            "Správně",
            "volné",
            "ozvěna",
            "opis",
            "Rychlost %1 zn/min; rozptyl: tečka %2, čárka %3, mezera ve znaku %4, mezi znaky %5, "
            "mezi slovy %6",
            "Ozvěna nejvýš",
            "Reakce"};
}

CStatistikaModel::TextTable CStatistikaModel::SendingTable(
    const CaptionList& sendingCaptions) const {
    TextTable table;
    for (const SendingCaption column :
         {kSendingColumnDate, kSendingColumnPractice, kSendingColumnSpeed, kSendingColumnRatio,
          kSendingColumnDot, kSendingColumnDash, kSendingColumnElementGap,
          kSendingColumnCharacterGap, kSendingColumnWordGap, kSendingColumnRight,
          kSendingColumnHighest, kSendingColumnReaction}) {
        table.headers.push_back(Heading(sendingCaptions.at(column)));
    }
    for (const SendingRecord& session : view.sendingSessions) {
        const auto practice = static_cast<std::size_t>(kSendingFree) +
                              std::min<std::size_t>(static_cast<std::size_t>(session.practice), 2);
        std::vector<std::string> cells = {Date(session), sendingCaptions.at(practice),
                                          std::to_string(session.signSpeed),
                                          DecimalText(session.dashRatio, 2, decimalSign) + " : 1"};
        for (const SendingRecord::Kind& kind : session.kinds) {
            cells.push_back(kind.count ? DecimalText(kind.spread, 2, decimalSign) : "–");
        }
        cells.push_back(session.practice == SendingPractice::kFree || session.judged == 0
                            ? "–"
                            : DecimalText(100.0 * session.right / session.judged, 0, decimalSign) +
                                  " %");
        // Echo's highest speed and the typical reaction to its items.
        cells.push_back(session.practice == SendingPractice::kEcho
                            ? std::to_string(session.highestSpeed)
                            : "–");
        cells.push_back(session.reactionMilliseconds > 0
                            ? std::to_string(session.reactionMilliseconds) + " ms"
                            : "–");
        table.cells.push_back(std::move(cells));
    }
    return table;
}

std::string CStatistikaModel::SendingProgress(const CaptionList& sendingCaptions) const {
    // Only the sessions keyed as the last one was: a paddle's dots are the keyer's, and would
    // show a straight key's spreads as progress.
    std::vector<SendingRecord> sessions;
    for (const SendingRecord& session : view.sendingSessions) {
        if (session.keyer == view.sendingSessions.back().keyer) {
            sessions.push_back(session);
        }
    }
    if (sessions.size() < 2) {
        return {};
    }
    // As many first as last sessions, none of them both.
    const auto count =
        static_cast<std::ptrdiff_t>(std::min(kProgressSessions, sessions.size() / 2));
    const std::vector<SendingRecord> first(sessions.begin(), sessions.begin() + count);
    const std::vector<SendingRecord> last(sessions.end() - count, sessions.end());
    const auto change = [this, &first, &last](const auto& value, int decimals) {
        const auto text = [&](const std::vector<SendingRecord>& group) {
            const std::optional<double> mean = MeanOf(group, value);
            return mean ? DecimalText(*mean, decimals, decimalSign) : std::string("–");
        };
        return text(first) + " → " + text(last);
    };
    const auto spread = [&change](std::size_t kind) {
        return change(
            [kind](const SendingRecord& session) {
                const SendingRecord::Kind& figures = session.kinds[kind];
                return figures.count ? std::optional(figures.spread) : std::nullopt;
            },
            2);
    };
    const std::string speed = change(
        [](const SendingRecord& session) {
            return std::optional(static_cast<double>(session.signSpeed));
        },
        0);
    return FillCaption(sendingCaptions.at(kSendingProgress),
                       {speed, spread(0), spread(1), spread(2), spread(3), spread(4)});
}

std::string CStatistikaModel::ScoresSaid() const {
    std::string said;
    const std::size_t count = std::min(view.scores.size(), kScoresSaid);
    for (std::size_t k = view.scores.size() - count; k < view.scores.size(); ++k) {
        said += (said.empty() ? "" : ", ") + std::to_string(k + 1) + ": " + Percent(view.scores[k]);
    }
    return said;
}

std::string CStatistikaModel::RatesSaid() const {
    std::string said;
    for (const Bar& bar : view.bars) {
        said += (said.empty() ? "" : ", ") + Character(bar.character) + ' ' + Percent(bar.percent);
    }
    return said;
}

std::string CStatistikaModel::ConfusionsText() const {
    return ::ConfusionsText(view.confusions, kShownConfusions, captions[kConfusions],
                            captions[kConfusion], captions[kNoConfusions]);
}
