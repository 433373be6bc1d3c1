#include <gtest/gtest.h>

#include "session/CRozpoznaniModel.h"
#include "session/CStatistikaModel.h"
#include "session/CVolaciZnakyModel.h"
#include "training/CCallsignRun.h"

namespace {

std::vector<CheckRecord> Checks(int count, const char* sent, const char* copied) {
    std::vector<CheckRecord> records(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        records[static_cast<std::size_t>(k)].day = 1 + k;
        records[static_cast<std::size_t>(k)].TakeResults(CCopyCheck(sent, copied));
    }
    return records;
}

// The axes: whole check numbers with about ten labels and half a check of room at either end;
// error rates up to a round figure above the worst, in steps of ten, or twenty above half.
TEST(StatistikaModel, Axes) {
    using Axis = CStatistikaModel::Axis;
    const struct {
        int checks;
        const char* copied;  // of "EEEEEEEEEE"
        Axis checkAxis;
        Axis rateAxis;
    } cases[] = {
        {1, "EEEEEEEEEE", {0.5, 1.5, 1}, {0, 10, 10}},
        {12, "EEEEEEEEET", {0.5, 12.5, 2}, {0, 20, 10}},
        {3, "EEEEETTTTT", {0.5, 3.5, 1}, {0, 60, 20}},
        {2, "TTTTTTTTTT", {0.5, 2.5, 1}, {0, 100, 20}},
    };
    for (const auto& c : cases) {
        const CStatistikaModel::View view =
            CStatistikaModel(Checks(c.checks, "EEEEEEEEEE", c.copied)).GetView();
        EXPECT_EQ(view.checkAxis, c.checkAxis) << c.checks << " " << c.copied;
        EXPECT_EQ(view.rateAxis, c.rateAxis) << c.checks << " " << c.copied;
    }
}

// The table lists the newest check first, numbered from the oldest, its date written out; the
// bars stop at kMaxBars characters.
TEST(StatistikaModel, RowsAndBars) {
    std::vector<CheckRecord> records = Checks(2, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", "");
    records[1].year = 2026;
    records[1].month = 12;
    records[1].hour = 7;
    records[1].minute = 5;
    records[1].lesson = 3;
    const CStatistikaModel::View view = CStatistikaModel(records).GetView();
    ASSERT_EQ(view.rows.size(), 2U);
    EXPECT_EQ(view.rows[0].number, 2);
    EXPECT_EQ(view.rows[0].date, "2026-12-02 07:05");
    EXPECT_EQ(view.rows[0].lesson, 3);
    EXPECT_EQ(view.rows[1].date, "2000-01-01 00:00");
    EXPECT_FALSE(view.rows[1].lesson);
    EXPECT_EQ(view.bars.size(), static_cast<std::size_t>(CStatistikaModel::kMaxBars));
    EXPECT_FALSE(view.anyNoise);
}

// A recognised character's reaction stands beside its error rate in the copy checks, which is
// none for a character never sent there; reactions show without any check.
TEST(StatistikaModel, ReactionsBesideTheCopyErrors) {
    RecognitionRecord run;
    run.characters = {{'E', 4, 1, 300}, {'Q', 2, 0, 900}};
    const CStatistikaModel::View view =
        CStatistikaModel(Checks(1, "EEEE", "EETE"), {run}).GetView();
    ASSERT_EQ(view.reactions.size(), 2U);
    EXPECT_EQ(view.reactions[0].character, 'Q');
    EXPECT_FALSE(view.reactions[0].copyErrorPercent);
    EXPECT_EQ(view.reactions[1].errorPercent, 25.0);
    EXPECT_EQ(view.reactions[1].copyErrorPercent, 25.0);
    EXPECT_EQ(CStatistikaModel({}, {run}).GetView().reactions.size(), 2U);
    EXPECT_TRUE(CStatistikaModel({}, {run}).GetView().empty);
}

}  // namespace

namespace {

// Finished callsign runs come first and runs left before their end after them, each group the
// newest first.
TEST(StatistikaModel, FinishedCallsignRunsBeforeThoseLeft) {
    const auto run = [](int day, std::size_t answers) {
        CallsignRunRecord record;
        record.day = day;
        record.answers.resize(answers);
        return record;
    };
    const CStatistikaModel model({}, {},
                                 {run(1, CCallsignRun::kCallsigns), run(2, 22), run(3, 0),
                                  run(4, CCallsignRun::kCallsigns)});
    std::vector<std::pair<int, bool>> order;
    for (const auto& shown : model.GetView().callsignRuns) {
        order.emplace_back(shown.run.day, shown.finished);
    }
    EXPECT_EQ(order,
              (std::vector<std::pair<int, bool>>{{4, true}, {1, true}, {3, false}, {2, false}}));
}

// The tables in the language's words: headings wrapped by characters, not bytes; a text kind
// the language does not name by its number; a lesson or a copy error that is none as a dash; the
// language's decimal sign; a run left early says how far it got.
TEST(StatistikaModel, TablesInTheLanguagesWords) {
    std::vector<CheckRecord> records = Checks(2, "EEEE", "EETE");
    records[1].lesson = 3;
    records[1].kind = 1;
    RecognitionRecord recognition;
    recognition.characters = {{'Q', 2, 0, 900}};
    CallsignRunRecord left;
    left.day = 3;
    left.answers.resize(22);
    CStatistikaModel model(records, {recognition}, {left});
    CaptionList captions = CStatistikaModel::CzechCaptions();
    captions[CStatistikaModel::kColumnDate] = "Čáry šňůr";
    model.SetLanguage(captions, {"Písmenový text"}, ".");

    const CStatistikaModel::TextTable history = model.HistoryTable();
    EXPECT_EQ(history.headers[0], "Čáry šňůr");
    EXPECT_EQ(history.headers[3], "Rychlost\nznačky\n(znaků za\nminutu)");
    ASSERT_EQ(history.cells.size(), 2U);
    const std::vector<std::string> newest = {"2000-01-02 00:00",
                                             "1",
                                             "3",
                                             "100",
                                             "100",
                                             "1 : 3.0",
                                             "4",
                                             "3",
                                             "1",
                                             "0",
                                             "0",
                                             "1",
                                             "75.0 %"};
    EXPECT_EQ(history.cells[0], newest);
    EXPECT_EQ(history.cells[1][1], "Písmenový text");
    EXPECT_EQ(history.cells[1][2], "–");
    EXPECT_EQ(model.ReactionTable(CRozpoznaniModel::CzechCaptions()).cells[0],
              (std::vector<std::string>{"Q", "900", "0.0 %", "–", "0"}));
    EXPECT_EQ(model.CallsignRunTable(CVolaciZnakyModel::CzechCaptions()).cells[0][5],
              "nedokončen, 22 z 50 odpovědí");
    EXPECT_EQ(model.ScoresSaid(), "1: 75.0 %, 2: 75.0 %");
    EXPECT_EQ(model.RatesSaid(), "E 25.0 %");
}

}  // namespace

namespace {

SendingRecord Session(int day, SendingPractice practice, int speed, double dotSpread, int right,
                      int judged, int wordGaps = 4) {
    SendingRecord session;
    session.day = day;
    session.practice = practice;
    session.signSpeed = speed;
    session.dashRatio = 3.0;
    session.right = right;
    session.judged = judged;
    session.kinds.fill({10, 1.0, 0.2});
    session.kinds[0].spread = dotSpread;
    session.kinds[4] = {wordGaps, wordGaps ? 7.0 : 0.0, wordGaps ? 1.5 : 0.0};
    return session;
}

// The last kShownRuns sessions, the oldest first, in the language's words: a kind never sent and
// the share of free keying as dashes. The progress sets the first sessions against as many last
// ones, none of them counted twice, a kind never sent left out of its mean.
TEST(StatistikaModel, SendingSessionsAndTheirProgress) {
    using M = CStatistikaModel;
    const SendingPractice free = SendingPractice::kFree, echo = SendingPractice::kEcho;
    SendingRecord paddle = Session(2, echo, 200, 0.0, 1, 1);
    paddle.keyer = KeyerMode::kIambicB;
    const struct {
        std::vector<SendingRecord> sessions;
        std::string progress;
    } cases[] = {
        {{Session(1, free, 60, 0.25, 0, 0)}, ""},
        {{Session(1, echo, 60, 0.3, 3, 4), Session(2, free, 85, 0.1, 0, 0, 0)},
         "Rychlost 60 → 85 zn/min; rozptyl: tečka 0.30 → 0.10, čárka 0.20 → 0.20, mezera ve "
         "znaku 0.20 → 0.20, mezi znaky 0.20 → 0.20, mezi slovy 1.50 → –"},
        {{Session(1, echo, 60, 0.3, 1, 1), Session(2, echo, 70, 0.3, 1, 1),
          Session(3, echo, 90, 0.6, 1, 1), Session(4, echo, 100, 0.1, 1, 1, 0),
          Session(5, echo, 110, 0.2, 1, 1)},
         "Rychlost 65 → 105 zn/min; rozptyl: tečka 0.30 → 0.15, čárka 0.20 → 0.20, mezera ve "
         "znaku 0.20 → 0.20, mezi znaky 0.20 → 0.20, mezi slovy 1.50 → 1.50"},
        // A paddle's session between two of the straight key's is no progress of the hand.
        {{Session(1, echo, 60, 0.3, 1, 1), paddle, Session(3, echo, 90, 0.1, 1, 1)},
         "Rychlost 60 → 90 zn/min; rozptyl: tečka 0.30 → 0.10, čárka 0.20 → 0.20, mezera ve "
         "znaku 0.20 → 0.20, mezi znaky 0.20 → 0.20, mezi slovy 1.50 → 1.50"},
    };
    for (const auto& c : cases) {
        CStatistikaModel model({}, {}, {}, c.sessions);
        model.SetLanguage(M::CzechCaptions(), {}, ".");
        EXPECT_EQ(model.SendingProgress(M::SendingCzechCaptions()), c.progress);
    }
    std::vector<SendingRecord> many(M::kShownRuns + 2, Session(9, echo, 50, 0.4, 1, 1));
    many[2] = Session(9, free, 50, 0.4, 0, 0);
    many.back() = Session(28, SendingPractice::kCopy, 90, 0.1, 17, 20, 0);
    const M::TextTable shown =
        CStatistikaModel({}, {}, {}, many).SendingTable(M::SendingCzechCaptions());
    ASSERT_EQ(shown.cells.size(), M::kShownRuns);
    EXPECT_EQ(shown.cells[0],
              (std::vector<std::string>{"2000-01-09 00:00", "volné", "50", "3,00 : 1", "0,40",
                                        "0,20", "0,20", "0,20", "1,50", "–", "–", "–"}));
    EXPECT_EQ(shown.cells.back(),
              (std::vector<std::string>{"2000-01-28 00:00", "opis", "90", "3,00 : 1", "0,10",
                                        "0,20", "0,20", "0,20", "–", "85 %", "–", "–"}));
    // Echo's highest speed and reaction.
    many.back().practice = SendingPractice::kEcho;
    many.back().highestSpeed = 120;
    many.back().reactionMilliseconds = 640;
    const std::vector<std::string> echoRow =
        CStatistikaModel({}, {}, {}, many).SendingTable(M::SendingCzechCaptions()).cells.back();
    EXPECT_EQ(std::vector<std::string>(echoRow.end() - 2, echoRow.end()),
              (std::vector<std::string>{"120", "640 ms"}));
}

}  // namespace
