#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CMorseTable.h"
#include "session/CVysilaniModel.h"
#include "tests/support/CFakeCuePlayer.h"

namespace {

constexpr int kSpeed = 100;  // a dot of 60 ms
constexpr std::int64_t kDot = 60000000;

SendingStart Start() {
    SendingStart start;
    start.signSpeed = kSpeed;
    return start;
}

// Keys `text` with a straight key (the left Ctrl) at the model's timing: presses and releases at
// their moments, each element and gap exact.
std::int64_t KeyText(CVysilaniModel& model, const std::string& text, std::int64_t at) {
    for (const char c : text) {
        if (c == ' ') {
            at += 4 * kDot;  // with the character gap before it, seven dots
            continue;
        }
        for (const char element : CMorseTable::CodeOf(c, false)) {
            model.KeyPressed(KeyingSettings::kLeftControl, at);
            at += (element == '.' ? 1 : 3) * kDot;
            model.KeyReleased(KeyingSettings::kLeftControl, at);
            at += kDot;
        }
        at += 2 * kDot;
    }
    return at;
}

// What the learner keys with the straight key is read, ends with the silence after it, and is
// measured once there is enough of it; the keyed edges go to the sidetone in order, and a word is
// announced once.
TEST(VysilaniModel, StraightKeyIsReadMeasuredAndAnnounced) {
    CVysilaniModel model(KeyingSettings{}, Start(), ",");
    EXPECT_EQ(model.GetView().read, CVysilaniModel::CzechCaptions()[CVysilaniModel::kNothingRead]);
    const std::int64_t end = KeyText(model, "PARIS MORSE", 1000000000);
    model.Tick(end + 20 * kDot);
    const CVysilaniModel::View view = model.GetView();
    EXPECT_EQ(view.read, "PARIS MORSE ");
    ASSERT_FALSE(view.figures.empty());
    // Keyed exactly: no place is off the model.
    EXPECT_EQ(view.figures.back().find("Nejvíc"), std::string::npos) << view.figures.back();
    EXPECT_NE(view.figures[0].find("tečka: 1,00 teček (rozptyl 0,00)"), std::string::npos)
        << view.figures[0];
    const std::vector<KeyEdge> edges = model.TakeKeyedEdges();
    ASSERT_FALSE(edges.empty());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(edges[i].down, i % 2 == 0);
    }
    EXPECT_TRUE(model.TakeKeyedEdges().empty());
    EXPECT_EQ(view.announcement, "MORSE");
    model.Announced();
    EXPECT_TRUE(model.GetView().announcement.empty());
    model.Clear();
    EXPECT_EQ(model.GetView().read, CVysilaniModel::CzechCaptions()[CVysilaniModel::kNothingRead]);

    // A's dash a dot too long, again and again: the place furthest off, named.
    std::int64_t at = 0;
    for (int repeat = 0; repeat < 6; ++repeat) {
        for (const int dots : {1, 4}) {
            model.KeyPressed(KeyingSettings::kLeftControl, at);
            at += dots * kDot;
            model.KeyReleased(KeyingSettings::kLeftControl, at);
            at += kDot;
        }
        at += 6 * kDot;
    }
    model.Tick(at + 20 * kDot);
    ASSERT_FALSE(model.GetView().figures.empty());
    EXPECT_NE(model.GetView().figures.back().find("Nejvíc se liší: A: 2. čárka, o 1,"),
              std::string::npos)
        << model.GetView().figures.back();
}

// Only the input chosen keys: the mouse does nothing while the keyboard is the key, and other
// keys do nothing; a paddle's levers are the keys chosen for them, and the keyer keys a squeeze.
TEST(VysilaniModel, OnlyTheChosenInputKeys) {
    CVysilaniModel keyboard(KeyingSettings{}, Start(), ",");
    keyboard.ButtonPressed(true, 0);
    keyboard.KeyPressed('a', 0);
    keyboard.LeverEdge(Paddle::kDot, true, 0);
    keyboard.Tick(kDot);
    EXPECT_TRUE(keyboard.TakeKeyedEdges().empty());

    KeyingSettings paddle;
    paddle.mode = KeyerMode::kIambicB;
    CVysilaniModel iambic(paddle, Start(), ",");
    iambic.KeyPressed(paddle.dashKey, 0);
    iambic.KeyPressed(paddle.dotKey, kDot / 2);
    iambic.KeyReleased(paddle.dashKey, kDot);
    iambic.KeyReleased(paddle.dotKey, kDot);
    iambic.Tick(30 * kDot);
    // The dash, and in mode B the dot squeezed during it: N.
    EXPECT_EQ(iambic.GetView().read, "N ");

    KeyingSettings mouse;
    mouse.input = KeyInput::kMouse;
    CVysilaniModel buttons(mouse, Start(), ",");
    buttons.ButtonPressed(true, 0);
    buttons.ButtonReleased(true, 3 * kDot);
    buttons.ButtonPressed(false, 4 * kDot);  // the right button is no straight key
    buttons.Tick(30 * kDot);
    EXPECT_EQ(buttons.GetView().read, "T ");
}

// Echo practice: the group is keyed through the player; sent back right after the sound, the next
// comes a step faster, with the reaction timed from the sound's end; sent wrong, the same group
// comes again a step slower. The session's record counts both.
TEST(VysilaniModel, EchoJudgesWhatIsSentBack) {
    CFakeCuePlayer player(0, 0);
    SendingStart start = Start();
    start.echoCharacters = "K";
    CVysilaniModel model(KeyingSettings{}, start, ",", &player);
    model.ChoosePractice(SendingPractice::kEcho);
    model.ChooseItem(EchoItem::kGroup);
    ASSERT_TRUE(model.StartEcho(0));
    const std::int64_t heard = player.TrueHeardEnd();
    player.SetNow(heard);
    std::int64_t at = KeyText(model, "KKKKK", heard + 300000000);
    model.Tick(at + 20 * kDot);
    EXPECT_EQ(model.GetView().verdict, "Správně: KKKKK. Další rychleji, 105 znaků za minutu.");
    at += 20 * kDot + CVysilaniModel::kVerdictNanoseconds;
    player.SetNow(at);
    model.Tick(at);
    ASSERT_EQ(player.Sounds().size(), 2U);
    player.SetNow(player.TrueHeardEnd());
    at = KeyText(model, "KKKKR", player.TrueHeardEnd() + 500000000);
    model.Tick(at + 20 * kDot);
    EXPECT_EQ(model.GetView().verdict,
              "Chyba: vysláno KKKKK, přečteno KKKKR. Znovu pomaleji, 100 znaků za minutu.");

    const std::optional<SendingRecord> record = model.Finish({});
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->practice, SendingPractice::kEcho);
    EXPECT_EQ(record->characters, 10);
    EXPECT_EQ(record->right, 1);
    EXPECT_EQ(record->judged, 2);
    EXPECT_EQ(record->highestSpeed, 105);
    EXPECT_EQ(record->signSpeed, kSpeed);
    // The median of 300 and 500 ms: the later one.
    EXPECT_EQ(record->reactionMilliseconds, 500);
    EXPECT_FALSE(model.Finish({}).has_value());
}

// Copy sending is judged against the main window's text by the copy check, as far as the learner
// has come, the characters sent wrong named; the sending heard back
// is handed to the player a piece at a time, the next before the last runs out.
TEST(VysilaniModel, CopySendingIsJudgedAndHeardBack) {
    CFakeCuePlayer player(0, 0);
    SendingStart start = Start();
    start.copyText = "PARIS MORSE";
    CVysilaniModel model(KeyingSettings{}, start, ",", &player);
    model.ChoosePractice(SendingPractice::kCopy);
    std::int64_t at = KeyText(model, "PARIS", 0);
    model.Tick(at + 20 * kDot);
    model.JudgeCopy();
    // Judged as far as it was sent.
    EXPECT_EQ(model.GetView().verdict,
              "Správně 5 z 5 znaků (100 %), chyb 0. Posouzeno prvních 5 z 10 znaků textu.");
    at = KeyText(model, "MIRSE", at + 20 * kDot);
    model.Tick(at + 20 * kDot);
    model.JudgeCopy();
    EXPECT_EQ(model.GetView().verdict,
              "Správně 9 z 10 znaků (90 %), chyb 1. Chybně (vysláno/přečteno): O/I.");

    player.SetNow(at);
    ASSERT_TRUE(model.PlayOwn(at));
    ASSERT_EQ(player.Sounds().size(), 1U);
    EXPECT_EQ(player.Sounds()[0].samples.size(), CVysilaniModel::kPlaySamples);
    player.SetNow(player.TrueHeardEnd() - CVysilaniModel::kPlayAheadNanoseconds / 2);
    model.Tick(player.Now());
    EXPECT_EQ(player.Sounds().size(), 2U);

    const std::optional<SendingRecord> record = model.Finish({});
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->practice, SendingPractice::kCopy);
    EXPECT_EQ(record->right, 9);
    EXPECT_EQ(record->judged, 10);
}

}  // namespace
