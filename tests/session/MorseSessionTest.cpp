#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/CProgramFiles.h"
#include "core/OutputKind.h"
#include "engine/CKeyingEngine.h"
#include "session/CMorseSession.h"
#include "session/CTiskModel.h"
#include "session/CVystupModel.h"
#include "session/SessionSettings.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CVirtualTime.h"
#include "tests/support/CaseName.h"
#include "text/WordLists.h"
#include "training/CCourseFile.h"
#include "training/CKochCourse.h"

namespace {

using Events = std::vector<std::string>;

// Every output kind opens as a recording device in virtual time, except those named in `failing`
// ("0", "1", "2:COM3").
class CSessionOutputs : public COutputFactory {
public:
    CSessionOutputs(CVirtualTime& sharedTime, const std::set<std::string>& failingOutputs)
        : time(sharedTime), failing(failingOutputs) {}
    std::unique_ptr<COutputDevice> Create(int kind, const std::string& port) override {
        if (kind < 0 || kind > 2) {
            return nullptr;
        }
        const std::string name = std::to_string(kind) + (kind == 2 ? ":" + port : "");
        if (failing.count(name) != 0) {
            return std::make_unique<COutputDevice>();
        }
        return std::make_unique<CRecordingDevice>(time);
    }

private:
    CVirtualTime& time;
    const std::set<std::string>& failing;
};

// A session on a real engine in virtual time whose reports nobody hears: the tests deliver the
// reports themselves, as the window posts them.
class MorseSession : public testing::Test {
protected:
    MorseSession() { Open(); }

    // A fresh start on this folder, as the next run of the program.
    void Open() {
        session.reset();
        engine.reset();
        engine = std::make_unique<CKeyingEngine>(&finished, std::make_unique<CFakeTimeSource>(time),
                                                 std::make_unique<CNoPriorityChange>(),
                                                 std::make_unique<CSessionOutputs>(time, failing));
        session = std::make_unique<CMorseSession>(*engine, notifier, CProgramFiles(folder.Path()),
                                                  records);
        usable = session->StartUp();
    }
    void WriteInit(const std::string& bytes) { WriteWholeFile(folder.File("init"), bytes); }
    SessionView View() const { return session->View(); }
    std::string Text() const { return session->CurrentText().GetText(); }
    void End() { session->OnTransmissionEnded(session->Transmission()); }
    // The end report once the engine has really finished, so that the next Start finds it idle.
    void EndAfterEngine() {
        ASSERT_TRUE(finished.WaitFor(++transmissions));
        End();
    }

    CTemporaryFolder folder;
    const RecordFiles records{CProgramFiles(folder.Path())};
    CVirtualTime time;
    std::set<std::string> failing;
    CRecordingNotifier notifier;
    CFinishListener finished;
    int transmissions = 0;
    std::unique_ptr<CKeyingEngine> engine;
    std::unique_ptr<CMorseSession> session;
    bool usable = false;
};

TEST_F(MorseSession, StartsWithTheDefaults) {
    EXPECT_TRUE(usable);
    const SessionView view = View();
    EXPECT_EQ(view.kind, kLetterText);
    EXPECT_EQ(view.toneIndex, 1);
    EXPECT_EQ(view.textSpeedIndex, 8);
    EXPECT_EQ(view.signSpeedIndex, 4);
    EXPECT_EQ(view.ratioIndex, 0);
    EXPECT_EQ(view.letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(view.digits, "1234567890");
    EXPECT_EQ(view.effectiveTextSpeed, 100);
    EXPECT_EQ(view.volume, CMorseSession::kVolumeMaximum);
    EXPECT_TRUE(view.shortZeros);
    EXPECT_TRUE(view.remember);
    EXPECT_TRUE(view.volumeEnabled);
    EXPECT_EQ(view.title, "Brumlo");
    EXPECT_EQ(engine->GetToneFrequency(), 450);
    EXPECT_TRUE(notifier.Events().empty());
}

// Where the sending state machine is driven to, and what the window may then offer.
enum class State { Idle, Sending, Paused, Stopping, Ended };

struct SendingCase {
    const char* name;
    State state;
    bool stepping;
    // start stop pause step generate kind text-commands menus, as 0 and 1.
    const char* enabled;
    bool idle;
    bool paused;
    bool stopDown;
};

class SendingStates : public MorseSession, public testing::WithParamInterface<SendingCase> {};

TEST_P(SendingStates, EnableTheControlsAndMenus) {
    const SendingCase& c = GetParam();
    session->Generate();
    session->SetStepping(c.stepping);
    if (c.state != State::Idle) {
        session->Start();
    }
    if (c.state == State::Paused) {
        session->Pause();
    }
    if (c.state == State::Stopping) {
        session->Stop();
    }
    if (c.state == State::Ended) {
        End();
    }
    const SessionView v = View();
    std::string enabled;
    for (const bool flag :
         {v.startEnabled, v.stopEnabled, v.pauseEnabled, v.stepEnabled, v.generateEnabled,
          v.kindEnabled, v.textCommandsEnabled, v.menusEnabled}) {
        enabled += flag ? '1' : '0';
    }
    EXPECT_EQ(enabled, c.enabled);
    EXPECT_EQ(v.idle, c.idle);
    EXPECT_EQ(v.paused, c.paused);
    EXPECT_EQ(v.stopDown, c.stopDown);
    // The tone, speeds and ratio stay usable while sending; so does the volume.
    EXPECT_TRUE(v.toneEnabled);
    EXPECT_TRUE(v.volumeEnabled);
    // Stop, when the end comes, leaves the display without its marking.
    End();
    EXPECT_TRUE(View().idle);
    EXPECT_TRUE(View().sentText.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SendingStates,
    testing::Values(
        SendingCase{"Idle", State::Idle, false, "10001111", true, false, false},
        SendingCase{"Sending", State::Sending, false, "01100000", false, false, false},
        SendingCase{"Paused", State::Paused, false, "01100000", false, true, false},
        SendingCase{"Stopping", State::Stopping, false, "01100000", false, false, true},
        SendingCase{"Ended", State::Ended, false, "10001111", true, false, false},
        SendingCase{"IdleStepping", State::Idle, true, "10011111", true, false, false},
        SendingCase{"SendingStepping", State::Sending, true, "01010000", false, false, false},
        // Stepping has no pause: the press is ignored.
        SendingCase{"PausedStepping", State::Paused, true, "01010000", false, false, false},
        SendingCase{"StoppingStepping", State::Stopping, true, "01010000", false, false, true},
        SendingCase{"EndedStepping", State::Ended, true, "10011111", true, false, false}),
    CaseName());

TEST_F(MorseSession, ReportsOfAnOlderTransmissionAreIgnored) {
    session->Generate();
    session->Start();
    const int first = session->Transmission();
    EndAfterEngine();
    session->Start();
    ASSERT_EQ(session->Transmission(), first + 1);
    // The first transmission's late reports change nothing.
    session->OnSentTextChanged("ABC", first);
    session->OnTransmissionEnded(first);
    EXPECT_FALSE(View().idle);
    EXPECT_EQ(View().sentText, "");
    session->OnSentTextChanged(Text().substr(0, 3), first + 1);
    EXPECT_EQ(View().sentText, Text().substr(0, 3));
    // After the end, a report of the ended transmission is late too.
    End();
    session->OnSentTextChanged(Text().substr(0, 5), first + 1);
    EXPECT_EQ(View().sentText, "");
}

TEST_F(MorseSession, CopyCheckTakesWhatWasSent) {
    // Nothing generated, nothing sent: nothing to check.
    EXPECT_FALSE(session->OpenCopyCheck().has_value());
    EXPECT_EQ(notifier.Events(), Events{"NothingToCheck"});
    session->Generate();
    // Before any transmission, the text on display.
    ASSERT_TRUE(session->OpenCopyCheck().has_value());
    EXPECT_EQ(session->OpenCopyCheck()->sentText, View().displayText);

    session->ChooseRatio(10);
    session->Start();
    session->ChooseRatio(0);
    // Not while sending.
    EXPECT_FALSE(session->OpenCopyCheck().has_value());
    session->OnSentTextChanged(View().displayText.substr(0, 12), session->Transmission());
    session->Stop();
    EndAfterEngine();
    const auto stopped = session->OpenCopyCheck();
    ASSERT_TRUE(stopped.has_value());
    EXPECT_EQ(stopped->sentText, View().displayText.substr(0, 12));
    // How it was sent, not how it would be sent now.
    EXPECT_EQ(stopped->record.ratioTenths, 40);

    session->Start();
    EndAfterEngine();
    EXPECT_EQ(session->OpenCopyCheck()->sentText, View().displayText);
    EXPECT_EQ(session->OpenCopyCheck()->record.ratioTenths, 30);
}

// After a letter text has been sent whole, what the user does next decides what a copy is checked
// against: still the sent text, or the text shown now (after a question), under its own kind.
struct ChangedTextCase {
    const char* name;
    std::function<void(CMorseSession&, const std::string& folder)> after;
    bool unsent;  // the text shown has not been sent since it changed
    int kind;     // the kind the check is recorded under
    int lesson;
    bool sendAgain = false;  // the text shown is then sent whole
};

class ChangedText : public MorseSession, public testing::WithParamInterface<ChangedTextCase> {};

TEST_P(ChangedText, CheckTheTextTheLearnerHad) {
    const ChangedTextCase& c = GetParam();
    session->Generate();
    const std::string sent = View().displayText;
    session->Start();
    EndAfterEngine();
    c.after(*session, folder.Path());
    if (c.sendAgain) {
        session->Start();
        EndAfterEngine();
    }
    const std::optional<CMorseSession::CopyCheck> check = session->OpenCopyCheck();
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->unsent, c.unsent);
    // Either way the text shown now, never the one sent before it changed.
    EXPECT_EQ(check->sentText, View().displayText);
    EXPECT_EQ(check->sentText == sent, !c.unsent && !c.sendAgain);
    EXPECT_EQ(check->record.kind, c.kind);
    EXPECT_EQ(check->record.lesson, c.lesson);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChangedText,
    testing::Values(
        ChangedTextCase{"NothingChanged", [](CMorseSession&, const std::string&) {}, false,
                        kLetterText, 0},
        ChangedTextCase{"SpeedAndRatioChanged",
                        [](CMorseSession& s, const std::string&) {
                            s.ChooseRatio(5);
                            s.ChooseTextSpeed(2);
                            s.SetHideText(true);
                        },
                        false, kLetterText, 0},
        ChangedTextCase{"Generated", [](CMorseSession& s, const std::string&) { s.Generate(); },
                        true, kLetterText, 0},
        ChangedTextCase{"OtherKind",
                        [](CMorseSession& s, const std::string&) { s.ChooseKind(kDigitText); },
                        true, kDigitText, 0},
        ChangedTextCase{
            "CustomTextMade",
            [](CMorseSession& s, const std::string&) { s.AcceptCustomText("CQ DE OK"); }, true,
            kCustomText, 0},
        ChangedTextCase{"FileLoaded",
                        [](CMorseSession& s, const std::string& folder) {
                            WriteWholeFile(folder + "loaded.txt", "VVV DE OK1\r\n");
                            s.LoadTextFile(folder + "loaded.txt");
                        },
                        true, kCustomText, 0},
        ChangedTextCase{"LessonChosen",
                        [](CMorseSession& s, const std::string&) {
                            s.ChooseLesson(CKochCourse::DefaultOrder(), 3);
                        },
                        true, kLessonText, 3},
        ChangedTextCase{"ChangedAndSentAgain",
                        [](CMorseSession& s, const std::string&) {
                            s.ChooseLesson(CKochCourse::DefaultOrder(), 4);
                        },
                        false, kLessonText, 4, true},
        ChangedTextCase{"ToAnotherKindAndBack",
                        [](CMorseSession& s, const std::string&) {
                            s.AcceptCustomText("CQ");
                            s.ChooseKind(kLetterText);
                        },
                        true, kLetterText, 0}),
    CaseName());

// The text kind and the character sets: a text of the set's characters, or a warning and the
// text there was.
struct KindCase {
    const char* name;
    int kind;
    const char* letters;
    const char* digits;
    const char* allowed;  // null: nothing to draw
};

class KindsAndSets : public MorseSession, public testing::WithParamInterface<KindCase> {};

TEST_P(KindsAndSets, GenerateATextOrSayWhyNot) {
    const KindCase& c = GetParam();
    session->Generate();
    const std::string before = Text();
    session->TypeLetters(c.letters, 0);
    session->TypeDigits(c.digits);
    session->ChooseKind(c.kind);
    if (c.allowed == nullptr) {
        EXPECT_EQ(notifier.Events(), Events{"NothingToGenerate"});
        EXPECT_EQ(Text(), before);
        return;
    }
    EXPECT_TRUE(notifier.Events().empty());
    EXPECT_EQ(Text().size(), 300U);
    EXPECT_EQ(Text().find_first_not_of(std::string(c.allowed) + " "), std::string::npos) << Text();
    EXPECT_EQ(session->CurrentText().GetKind(), c.kind);
    EXPECT_EQ(View().shortZerosEnabled, c.kind == kDigitText);
}

INSTANTIATE_TEST_SUITE_P(Table, KindsAndSets,
                         testing::Values(KindCase{"Letters", kLetterText, "AB", "", "AB"},
                                         KindCase{"LettersOfSpaces", kLetterText, "   ", "12",
                                                  nullptr},
                                         KindCase{"Digits", kDigitText, "", "70", "70"},
                                         KindCase{"NoDigits", kDigitText, "ABC", "", nullptr},
                                         KindCase{"Mixed", kMixedText, "E", "5", "E5"},
                                         KindCase{"MixedOfNothing", kMixedText, "", "", nullptr},
                                         KindCase{"Cipher", kCipherText, "T", "0", "T0"},
                                         KindCase{"Lesson", kLessonText, "", "", "KM"}),
                         CaseName());

TEST_F(MorseSession, CustomKindShowsTheCustomTextAndItsFile) {
    WriteWholeFile(folder.File("text.txt"), "CQ CQ\r\n");
    session->LoadTextFile(folder.File("text.txt"));
    EXPECT_EQ(View().kind, kCustomText);
    EXPECT_EQ(View().title, "Brumlo - " + folder.File("text.txt"));
    EXPECT_FALSE(View().generateEnabled);
    EXPECT_EQ(session->LastFolder(), folder.Path());
    session->ChooseKind(kLetterText);
    EXPECT_EQ(View().title, "Brumlo");
    session->ChooseKind(kCustomText);
    EXPECT_EQ(View().displayText, "CQ CQ");
    EXPECT_EQ(View().title, "Brumlo - " + folder.File("text.txt"));
    // The same text accepted again still is the file; another is not.
    session->AcceptCustomText("CQ CQ");
    EXPECT_TRUE(session->IsFileTitleShown());
    session->AcceptCustomText("CQ DE");
    EXPECT_EQ(View().title, "Brumlo");
}

// Typed letters: ASCII capitals, one character stays one character, and what has no code goes
// with a warning each; the caret stays or moves to the last removal.
TEST_F(MorseSession, TypedLettersAreCleaned) {
    struct Case {
        const char* typed;
        int caret;
        const char* text;
        int expectedCaret;
        Events warnings;
    };
    const Case cases[] = {
        {"abc", 3, "ABC", 3, {}},
        {"AB5C", 3, "ABC", 2, {"InvalidCharacter:5"}},
        // A sharp s (Windows-1250 0xDF) is one character without a code, not "SS".
        {"A\xDF", 2, "A", 1, {"InvalidCharacter:\xDF"}},
        // Accented letters keep their form, and have no code.
        {"\xE9\xE1x", 3, "X", 0, {"InvalidCharacter:\xE9", "InvalidCharacter:\xE1"}},
        {"a b", 3, "A B", 3, {}},
    };
    for (const Case& c : cases) {
        CRecordingNotifier heard;
        CMorseSession typing(*engine, heard, CProgramFiles(folder.Path()), records);
        const CMorseSession::Typed typed = typing.TypeLetters(c.typed, c.caret);
        EXPECT_EQ(typed.text, c.text) << c.typed;
        EXPECT_EQ(typed.caret, c.expectedCaret) << c.typed;
        EXPECT_EQ(heard.Events(), c.warnings) << c.typed;
        EXPECT_EQ(typing.View().letters, c.text);
    }
    EXPECT_EQ(session->TypeDigits("1a2\xB2"
                                  "3"),
              "123");
}

TEST_F(MorseSession, SpeedsStayCoupledAndTheReadOutsFollowTheRatio) {
    session->ChooseSignSpeed(0);  // 60
    EXPECT_EQ(View().textSpeedIndex, 4);
    session->ChooseTextSpeed(18);  // 200
    EXPECT_EQ(View().signSpeedIndex, 14);
    EXPECT_EQ(View().effectiveSignSpeed, 200);
    session->ChooseTextSpeed(2);  // 40: the sign speed stays
    EXPECT_EQ(View().signSpeedIndex, 14);
    EXPECT_EQ(View().effectiveTextSpeed, 40);
    session->ChooseRatio(10);
    EXPECT_EQ(View().effectiveSignSpeed, 185);
    EXPECT_EQ(View().effectiveTextSpeed, 37);
    EXPECT_EQ(engine->GetSignSpeed(), 200);
    // A choice outside a list changes nothing.
    session->ChooseTone(13);
    session->ChooseRatio(-1);
    EXPECT_EQ(View().toneIndex, 1);
    EXPECT_EQ(View().ratioIndex, 10);
}

// A lesson check offers the next lesson only for a lesson text, at 90 % or more over at least the
// course's minimum of sent characters (100), and not after the last lesson.
TEST_F(MorseSession, NextLessonOffer) {
    struct Case {
        double score;
        int sent;
        int kind;
        int lesson;
        std::optional<int> offered;
    };
    const int last = CKochCourse(CKochCourse::DefaultOrder(), 1).LessonCount();
    const Case cases[] = {
        {90.0, 100, kLessonText, 1, 2},
        {89.9, 300, kLessonText, 1, std::nullopt},
        {100.0, 99, kLessonText, 1, std::nullopt},
        {100.0, 4, kLessonText, 1, std::nullopt},
        {100.0, 300, kLetterText, 1, std::nullopt},
        {100.0, 300, kCustomText, 3, std::nullopt},
        {95.0, 120, kLessonText, 7, 8},
        {100.0, 300, kLessonText, last, std::nullopt},
    };
    for (const Case& c : cases) {
        CheckRecord record;
        record.kind = c.kind;
        record.lesson = c.lesson;
        record.sent = c.sent;
        EXPECT_EQ(session->TakeCheckResult(record, c.score), c.offered)
            << c.score << " " << c.kind << " " << c.lesson;
    }
    session->ChooseLesson(CKochCourse::DefaultOrder(), 1);
    session->AcceptNextLesson(2);
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().lesson, 2);
    EXPECT_EQ(Text().find_first_not_of("KMR "), std::string::npos);
}

TEST_F(MorseSession, FailedOutputChoiceGoesBack) {
    failing = {"2:COM3"};
    session->SetPortName("COM2");
    ASSERT_TRUE(session->ChooseOutput(kSerialPortOutput, "COM2"));
    EXPECT_FALSE(View().toneEnabled);
    EXPECT_FALSE(View().volumeEnabled);
    EXPECT_FALSE(session->ChooseOutput(kSerialPortOutput, "COM3"));
    EXPECT_EQ(notifier.Events(), Events{"OutputUnusable"});
    EXPECT_EQ(engine->GetPortName(), "COM2");
    EXPECT_EQ(engine->GetOutputKind(), kSerialPortOutput);
    EXPECT_TRUE(engine->Device().IsOpen());
    ASSERT_TRUE(session->ChooseOutput(kSoundCardOutput, "COM5"));
    EXPECT_EQ(engine->GetPortName(), "COM2");
    EXPECT_TRUE(View().volumeEnabled);
}

// The output window starts from the output in use and its port (by its last place in the list,
// the first when the machine lacks it); the port list is used only with the serial port.
TEST_F(MorseSession, OutputWindowStartsFromTheOutputInUse) {
    const std::vector<std::string> ports{"COM1", "COM2", "COM2", "COM3"};
    session->SetPortName("COM2");
    ASSERT_TRUE(session->ChooseOutput(kSerialPortOutput, "COM2"));
    CVystupModel model(*session, ports);
    EXPECT_EQ(model.GetView().kind, kSerialPortOutput);
    EXPECT_EQ(model.GetView().portIndex, 2);
    EXPECT_TRUE(model.GetView().portEnabled);
    model.ChoosePort(3);
    model.ChooseKind(kSoundCardOutput);
    EXPECT_FALSE(model.GetView().portEnabled);
    model.ChooseKind(kSerialPortOutput);
    ASSERT_TRUE(model.Accept());
    EXPECT_EQ(engine->GetPortName(), "COM3");

    session->SetPortName("/dev/ttyS9");
    ASSERT_TRUE(session->ChooseOutput(kSerialPortOutput, "/dev/ttyS9"));
    EXPECT_EQ(CVystupModel(*session, ports).GetView().portIndex, 0);
    ASSERT_TRUE(session->ChooseOutput(kSoundCardOutput, ""));
    EXPECT_FALSE(CVystupModel(*session, ports).GetView().portEnabled);
}

// "init" as a user or an older program may have left it: what comes back.
struct InitCase {
    const char* name;
    const char* bytes;
    int kind;
    int tone;
    int textSpeed;
    int signSpeed;
    int ratio;
    const char* letters;
    const char* digits;
    bool remember;
    bool stepping;
    bool hide;
    Events warnings;
};

class HostileInit : public MorseSession, public testing::WithParamInterface<InitCase> {};

TEST_P(HostileInit, RestoresWhatItCan) {
    const InitCase& c = GetParam();
    WriteInit(c.bytes);
    Open();
    const SessionView v = View();
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.toneIndex, c.tone);
    EXPECT_EQ(v.textSpeedIndex, c.textSpeed);
    EXPECT_EQ(v.signSpeedIndex, c.signSpeed);
    EXPECT_EQ(v.ratioIndex, c.ratio);
    EXPECT_EQ(v.letters, c.letters);
    EXPECT_EQ(v.digits, c.digits);
    EXPECT_EQ(v.remember, c.remember);
    EXPECT_EQ(v.stepping, c.stepping);
    EXPECT_EQ(v.hideText, c.hide);
    EXPECT_EQ(notifier.Events(), c.warnings);
    EXPECT_TRUE(usable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileInit,
    testing::Values(
        InitCase{"Fourteen",
                 "1\r\nCOM1\r\n1\r\nAB\r\n12\r\n0\r\n1\r\n5\r\n4\r\n9\r\n7\r\n1\r\n0\r\n1\r\n",
                 kDigitText,
                 5,
                 4,
                 9,
                 7,
                 "AB",
                 "12",
                 true,
                 true,
                 true,
                 {}},
        InitCase{"RememberOff",
                 "0\r\nCOM2\r\n2\r\nAB\r\n12\r\n0\r\n1\r\n5\r\n1\r\n1\r\n1\r\n1\r\n",
                 kLetterText,
                 1,
                 8,
                 4,
                 0,
                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                 "1234567890",
                 false,
                 false,
                 false,
                 {}},
        // Line 7 holds one of the five kinds of the list; the lesson kind (5) is none of them.
        InitCase{"LessonKindInLineSeven",
                 "1\r\nCOM1\r\n1\r\nAB\r\n12\r\n1\r\n5\r\n",
                 kLetterText,
                 0,
                 0,
                 0,
                 0,
                 "AB",
                 "12",
                 true,
                 false,
                 false,
                 {}},
        InitCase{"IndexesOutsideTheLists",
                 "1\r\nCOM1\r\n7\r\nE\r\n\r\n1\r\n-1\r\n13\r\n19\r\n15\r\n11\r\n0\r\n0\r\n0\r\n",
                 kLetterText,
                 1,
                 8,
                 4,
                 0,
                 "E",
                 "",
                 true,
                 false,
                 false,
                 {}},
        // Sign speed 60 below text speed 200: the text speed is lowered to fit.
        InitCase{"BrokenPairShortTail",
                 "1\r\nCOM3\r\n1\r\nEISH\r\n\r\n1\r\n0\r\n12\r\n18\r\n0\r\n10\r\n0\r\n0\r\n",
                 kLetterText,
                 12,
                 4,
                 0,
                 10,
                 "EISH",
                 "",
                 true,
                 false,
                 false,
                 {}},
        // Hand-edited sets are cleaned as typing is, letters as ASCII capitals only.
        InitCase{"HandEditedSets",
                 "1\r\nCOM1\r\n1\r\nab7\xDF\xE9z\r\n1x2\r\n1\r\n0\r\n1\r\n8\r\n4\r\n0\r\n",
                 kLetterText, 1, 8, 4, 0, "ABZ", "12", true, false, false,
                 (Events{"InvalidCharacter:7", "InvalidCharacter:\xDF", "InvalidCharacter:\xE9"})},
        InitCase{"EmptyFile",
                 "",
                 kLetterText,
                 1,
                 8,
                 4,
                 0,
                 "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                 "1234567890",
                 false,
                 false,
                 false,
                 {}},
        // Line feeds alone, as an editor saves the file: read line by line; the lines it lacks
        // read as 0.
        InitCase{"LineFeedsAlone",
                 "1\nCOM1\n1\nAB\n12\n1\n1\n5\n",
                 kDigitText,
                 5,
                 0,
                 0,
                 0,
                 "AB",
                 "12",
                 true,
                 false,
                 false,
                 {}},
        InitCase{"Binary",
                 "1\r\n\x01\x02\r\n\xFF\r\n\r\n\r\n\r\n4\r\n",
                 kCustomText,
                 0,
                 0,
                 0,
                 0,
                 "",
                 "",
                 true,
                 false,
                 false,
                 {}}),
    CaseName());

// Line `number` (from 1) of the settings file.
std::string InitLine(const CTemporaryFolder& folder, std::size_t number) {
    std::istringstream lines(ReadWholeFile(folder.File("init")));
    std::string line;
    for (std::size_t i = 0; i < number && std::getline(lines, line); ++i) {
    }
    return line.substr(0, line.find('\r'));
}

TEST_F(MorseSession, UnusableStoredOutputFallsBackOrEnds) {
    WriteInit("1\r\nCOM4\r\n0\r\nAB\r\n");
    failing = {"0"};
    Open();
    EXPECT_TRUE(usable);
    EXPECT_EQ(engine->GetOutputKind(), kSoundCardOutput);
    // The stand-in is said, and the stored choice is what the next start tries again.
    EXPECT_EQ(notifier.Events(), Events{"OutputFallback:0:COM4:1"});
    session->Close();
    EXPECT_EQ(InitLine(folder, 3), "0");
    // Once the user chooses an output, that one is stored.
    Open();
    ASSERT_TRUE(session->ChooseOutput(kSoundCardOutput, "COM4"));
    session->Close();
    EXPECT_EQ(InitLine(folder, 3), "1");
    failing = {"0",      "1",      "2:COM1", "2:COM2", "2:COM3",
               "2:COM4", "2:COM5", "2:COM6", "2:COM7", "2:COM8"};
    Open();
    EXPECT_FALSE(usable);
    EXPECT_EQ(notifier.Events(), (Events{"OutputFallback:0:COM4:1", "OutputFallback:0:COM4:1",
                                         "NoOutputAvailable", "NoOutputAvailable"}));
}

// An output that stops keying ends the transmission with a message; the marking keeps what was
// sent, and the copy check is against that.
TEST_F(MorseSession, OutputFailureSaysSoAndKeepsWhatWasSent) {
    session->SetPortName("COM2");
    ASSERT_TRUE(
        engine->ReplaceDevice(std::make_unique<CFailingDevice>(time, 6), kSerialPortOutput));
    session->Generate();
    const std::string shown = View().displayText;
    session->Start();
    session->OnSentTextChanged(shown.substr(0, 1), session->Transmission());
    EndAfterEngine();
    EXPECT_EQ(notifier.Events(), Events{"OutputFailed:3:" + std::to_string(EIO) + ":2:COM2"});
    EXPECT_TRUE(View().idle);
    EXPECT_EQ(View().displayText, shown);
    EXPECT_EQ(View().sentText, shown.substr(0, 1));
    const auto check = session->OpenCopyCheck();
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->sentText, shown.substr(0, 1));
}

TEST_F(MorseSession, SettingsComeBackThroughTheCloseAndTheNextStart) {
    session->ChooseKind(kDigitText);
    session->ChooseTone(5);
    session->ChooseSignSpeed(9);
    session->ChooseTextSpeed(4);
    session->ChooseRatio(7);
    session->TypeDigits("120");
    session->SetShortZeros(false);
    session->Generate();
    const std::string text = Text();
    session->SetStepping(true);
    session->SetHideText(true);
    session->SetLanguage(true);
    session->Close();
    EXPECT_EQ(ReadWholeFile(folder.File("init")),
              "1\r\nCOM1\r\n1\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n120\r\n0\r\n1\r\n5\r\n4\r\n9\r\n7"
              "\r\n1\r\n1\r\n1\r\n");
    Open();
    const SessionView v = View();
    EXPECT_EQ(v.kind, kDigitText);
    EXPECT_EQ(Text(), text);  // from "initt", not a new text
    EXPECT_FALSE(v.shortZeros);
    EXPECT_TRUE(v.stepping && v.hideText && v.language);
    EXPECT_EQ(session->LanguageFile("localSO"), folder.File("jazyk/localSO"));
    EXPECT_EQ(engine->GetToneFrequency(), 650);
    // Remember off: nothing is restored and the text is dropped.
    session->SetRemember(false);
    session->Close();
    EXPECT_FALSE(std::filesystem::exists(folder.File("initt")));
    Open();
    EXPECT_FALSE(View().remember);
    EXPECT_EQ(View().toneIndex, 1);
}

// A settings file saved elsewhere with line feeds alone reads as the program's own; a damaged one
// (its first line no number) is not "remember off": the remembered text stays, and the damaged
// file is kept as "init.bak" when the settings are saved over it.
TEST_F(MorseSession, EditedAndDamagedSettingsKeepTheText) {
    WriteWholeFile(folder.File("initt"), "KMRSU AUTSK");
    const struct {
        const char* name;
        std::string init;
        const char* letters;
        bool kept;  // as "init.bak"
    } cases[] = {
        {"line feeds", "1\nCOM1\n1\nKMRS\n12\n1\n0\n1\n8\n4\n0\n0\n0\n0\n", "KMRS", false},
        {"garbage",
         std::string("\x7f"
                     "ELF\x02\x01\x01",
                     7) +
             std::string(4000, 'x'),
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ", true},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(folder.File("init.bak"));
        WriteInit(c.init);
        Open();
        EXPECT_EQ(Text(), "KMRSU AUTSK") << c.name;
        EXPECT_TRUE(View().remember) << c.name;
        EXPECT_EQ(View().letters, c.letters) << c.name;
        session->Close();
        EXPECT_TRUE(std::filesystem::exists(folder.File("initt"))) << c.name;
        EXPECT_EQ(std::filesystem::exists(folder.File("init.bak")), c.kept) << c.name;
        if (c.kept) {
            EXPECT_EQ(ReadWholeFile(folder.File("init.bak")), c.init) << c.name;
        }
    }
}

// At the close every file that cannot be written is said with its reason, not only the first;
// none of them is changed.
TEST_F(MorseSession, EveryFileThatCannotBeWrittenIsSaid) {
    session->SetRemember(true);
    const std::vector<std::string> names = {"init", "initt"};
    for (const std::string& name : names) {
        WriteWholeFile(folder.File(name), "kept");
        ASSERT_EQ(chmod(folder.File(name).c_str(), 0444), 0);
    }
    session->Close();
    std::vector<std::string> said;
    for (const std::string& event : notifier.Events()) {
        if (event.rfind("WriteFailed:", 0) == 0) {
            said.push_back(event);
        }
    }
    std::vector<std::string> expected;
    for (const std::string& name : names) {
        expected.push_back("WriteFailed:" + folder.File(name) + ":" + std::to_string(EACCES));
        EXPECT_EQ(ReadWholeFile(folder.File(name)), "kept") << name;
    }
    EXPECT_EQ(said, expected);
}

// A file that is there but cannot be read (here a folder in its place, which even root cannot
// read as a file) is said once at the start and left as it is; once the learner changes what it
// holds, the new file is written and the old one kept as "name.bak". Settings that could not be
// read leave the remembered text alone.
TEST_F(MorseSession, FilesThatCannotBeReadAreNeverOverwritten) {
    const struct {
        const char* name;
        std::function<void(CMorseSession&)> change;  // none: the learner changes nothing
    } cases[] = {
        {"init", nullptr},
        {"init", [](CMorseSession& s) { s.ChooseTone(3); }},
        {"podminky", nullptr},
        {"podminky",
         [](CMorseSession& s) {
             ReceptionSettings noisy;
             noisy.noise = true;
             s.SetConditions(noisy);
         }},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File(c.name);
        std::filesystem::remove_all(path + ".bak");
        std::filesystem::remove_all(path);
        std::filesystem::create_directory(path);
        WriteWholeFile(folder.File("initt"), "KMRSU AUTSK");
        const std::size_t before = notifier.Events().size();
        Open();
        const std::string said = "ReadFailed:" + path + ":" + std::to_string(EISDIR);
        const std::vector<std::string> events = notifier.Events();
        EXPECT_EQ(
            std::count(events.begin() + static_cast<std::ptrdiff_t>(before), events.end(), said), 1)
            << c.name;
        if (c.change) {
            c.change(*session);
        }
        session->Close();
        EXPECT_EQ(std::filesystem::is_directory(path), !c.change) << c.name;
        EXPECT_EQ(std::filesystem::is_directory(path + ".bak"), c.change != nullptr) << c.name;
        if (std::string(c.name) == "init") {
            EXPECT_EQ(ReadWholeFile(folder.File("initt")), "KMRSU AUTSK") << c.name;
        }
    }
}

// A records file that cannot be read is said at start; it is only ever added to, so it stays.
TEST_F(MorseSession, RecordFilesThatCannotBeReadAreSaid) {
    const CProgramFiles files(folder.Path());
    const std::string paths[] = {files.History(), files.Recognition(), files.CallsignRecords()};
    for (const std::string& path : paths) {
        std::filesystem::create_directory(path);
    }
    Open();
    Events said;
    for (const std::string& path : paths) {
        said.push_back("RecordsUnreadable:" + path + ":" + std::to_string(EISDIR));
    }
    EXPECT_EQ(notifier.Events(), said);
}

// The lesson kind is kept in "kurz"; "init" keeps the letter kind, so that an older reader of
// "init", and this program without "kurz", come back to a kind and text that belong together.
TEST_F(MorseSession, LessonKindIsRecordedInTheCourseFile) {
    session->ChooseLesson(CKochCourse::DefaultOrder(), 1);
    const std::string lesson = Text();
    session->Close();
    EXPECT_EQ(SplitSettingsLines(ReadWholeFile(folder.File("init")))[6], "0");
    EXPECT_TRUE(CCourseFile(folder.File("kurz")).Read().lessonKind);
    Open();
    EXPECT_EQ(View().kind, kLessonText);
    EXPECT_EQ(Text(), lesson);
    EXPECT_EQ(session->CurrentText().GetKind(), kLessonText);

    // Another kind chosen: the course file no longer names the lesson kind.
    session->ChooseKind(kMixedText);
    session->Close();
    EXPECT_FALSE(CCourseFile(folder.File("kurz")).Read().lessonKind);
    EXPECT_EQ(SplitSettingsLines(ReadWholeFile(folder.File("init")))[6], "2");

    session->ChooseLesson(CKochCourse::DefaultOrder(), 1);
    const std::string next = Text();
    session->Close();
    std::filesystem::remove(folder.File("kurz"));
    Open();
    EXPECT_EQ(View().kind, kLetterText);
    EXPECT_EQ(Text(), next);
    EXPECT_EQ(session->CurrentText().GetKind(), kLetterText);
}

// The kinds of real traffic are kept in "kurz" as the lesson kind is; "init" keeps the letter
// kind, which every reader of it knows, and without "kurz" the program comes back to letters.
class TrafficKinds : public MorseSession, public testing::WithParamInterface<int> {};

TEST_P(TrafficKinds, AreGeneratedAndRememberedBesideInit) {
    const int trafficKind = GetParam();
    session->ChooseKind(trafficKind);
    const std::string text = Text();
    ASSERT_FALSE(text.empty());
    EXPECT_LE(text.size(), 300U);
    EXPECT_TRUE(notifier.Events().empty());
    EXPECT_EQ(session->CurrentText().GetKind(), trafficKind);
    EXPECT_TRUE(View().generateEnabled);
    EXPECT_FALSE(View().shortZerosEnabled);
    session->Close();
    EXPECT_EQ(SplitSettingsLines(ReadWholeFile(folder.File("init")))[6], "0");
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().trafficKind, trafficKind);
    Open();
    EXPECT_EQ(View().kind, trafficKind);
    EXPECT_EQ(Text(), text);
    session->Generate();
    EXPECT_EQ(session->CurrentText().GetKind(), trafficKind);

    session->ChooseKind(kDigitText);
    session->Close();
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().trafficKind, 0);
    EXPECT_EQ(SplitSettingsLines(ReadWholeFile(folder.File("init")))[6], "1");

    session->ChooseKind(trafficKind);
    session->Close();
    std::filesystem::remove(folder.File("kurz"));
    Open();
    EXPECT_EQ(View().kind, kLetterText);
}

INSTANTIATE_TEST_SUITE_P(Table, TrafficKinds,
                         testing::Values(kWordText, kCallsignText, kAbbreviationText,
                                         kContactText));

// Words are drawn from the list of the captions' language: Czech, or English with the shipped
// language set active.
TEST_F(MorseSession, WordsFollowTheLanguageOfTheCaptions) {
    for (const bool english : {false, true}) {
        // The first text of a start with the language set on, without a remembered text, too.
        WriteInit("1\r\nCOM1\r\n1\r\nAB\r\n12\r\n1\r\n0\r\n1\r\n8\r\n4\r\n0\r\n0\r\n" +
                  std::string(english ? "1" : "0") + "\r\n0\r\n");
        WriteWholeFile(folder.File("kurz"), "druhtextu=" + std::to_string(kWordText) + "\n");
        std::filesystem::remove(folder.File("initt"));
        Open();
        ASSERT_EQ(View().kind, kWordText);
        const std::string list = "\n" + std::string(english ? EnglishWords() : CzechWords());
        const std::string text = Text();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            end = end == std::string::npos ? text.size() : end;
            EXPECT_NE(list.find("\n" + text.substr(start, end - start) + "\n"), std::string::npos)
                << english << " " << text;
            start = end + 1;
        }
    }
}

// A prosign is checked as the letters a learner copies.
TEST_F(MorseSession, ProsignsAreCheckedAsTheirLetters) {
    for (int kind = 0; View().displayText.find('<') == std::string::npos; ++kind) {
        ASSERT_LT(kind, 20) << "no prosign in twenty texts of abbreviations";
        session->ChooseKind(kind % 2 == 0 ? kAbbreviationText : kContactText);
    }
    const auto check = session->OpenCopyCheck();
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->sentText.find_first_of("<>"), std::string::npos) << check->sentText;
    const std::string shown = View().displayText;
    const auto prosigns = static_cast<std::size_t>(std::count(shown.begin(), shown.end(), '<'));
    EXPECT_EQ(check->sentText.size(), shown.size() - 2 * prosigns);
}

// The punctuation table is kept in a file of its own and comes back at the next start; marks
// the table in use has no code for leave the letters set.
TEST_F(MorseSession, PunctuationTableIsKeptInItsOwnFile) {
    session->SetInternationalPunctuation(true);
    session->TypeLetters("AB.:", 4);
    EXPECT_EQ(View().letters, "AB.:");
    session->Close();
    EXPECT_EQ(ReadWholeFile(folder.File("interpunkce")), "tabulka=mezinarodni\n");
    CMorseTable::SetPunctuation(Punctuation::kProgram);
    Open();
    EXPECT_TRUE(View().internationalPunctuation);
    EXPECT_EQ(View().letters, "AB.:");
    session->SetInternationalPunctuation(false);
    EXPECT_FALSE(View().internationalPunctuation);
    EXPECT_EQ(View().letters, "AB");
    EXPECT_EQ(ReadWholeFile(folder.File("interpunkce")), "tabulka=programova\n");
    EXPECT_EQ(notifier.Events(), Events{"UnsupportedRemoved"});
}

// The language set's own help page, where it has one, while the set is active.
TEST_F(MorseSession, HelpPageFollowsTheLanguageSet) {
    const std::string own = CProgramFiles(folder.Path()).Language("brumlo.html");
    const struct {
        bool active;
        bool setHasPage;
        std::string page;
    } cases[] = {
        {false, false, "built-in"},
        {false, true, "built-in"},
        {true, false, "built-in"},
        {true, true, own},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(own);
        if (c.setHasPage) {
            std::filesystem::create_directories(std::filesystem::path(own).parent_path());
            WriteWholeFile(own, "<html></html>");
        }
        session->SetLanguage(c.active);
        EXPECT_EQ(session->HelpPage("built-in"), c.page) << c.active << c.setHasPage;
    }
}

TEST_F(MorseSession, PrintCollectionAndSavedFiles) {
    session->AddToPrint();
    EXPECT_FALSE(session->CanSaveText());
    EXPECT_FALSE(session->CanSaveSound());
    EXPECT_FALSE(CTiskModel(*session).Begin().has_value());
    EXPECT_EQ(notifier.Events(), (Events{"NothingToPrint", "NothingToSave", "NothingToSaveAsSound",
                                         "NothingToPrint"}));
    session->AcceptCustomText("CQ");
    session->AddToPrint();
    session->AddToPrint();
    CTiskModel job(*session);
    ASSERT_EQ(job.Begin(), folder.File("tisk.tmp"));
    // Padded to a block of five lines each time.
    EXPECT_EQ(ReadWholeFile(folder.File("tisk.tmp")),
              session->CustomText().FormatPadded() + session->CustomText().FormatPadded());
    job.Finish();
    EXPECT_FALSE(std::filesystem::exists(folder.File("tisk.tmp")));
    // With nothing collected, the text shown is printed.
    ASSERT_EQ(job.Begin(), folder.File("tisk.tmp"));
    EXPECT_EQ(ReadWholeFile(folder.File("tisk.tmp")), session->CustomText().FormatPadded());
    std::filesystem::create_directory(folder.File("out"));
    session->SaveText(folder.File("out/saved.txt"));
    EXPECT_EQ(ReadWholeFile(folder.File("out/saved.txt")), "CQ");
    EXPECT_EQ(session->LastFolder(), folder.File("out/"));
    session.reset();
    EXPECT_FALSE(std::filesystem::exists(folder.File("tisk.tmp")));
}

TEST(TiskModel, CopyCheckHeadingLeavesAnEmptyLineAboveThePicture) {
    const CTiskModel::HeadingPlacement placement = CTiskModel::Heading(3, 8, 10);
    EXPECT_EQ(placement.baselines, (std::vector<int>{8, 18, 28}));
    EXPECT_EQ(placement.pictureTop, 48);
    EXPECT_TRUE(CTiskModel().GetView().landscape);
}

}  // namespace
