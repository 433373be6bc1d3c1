#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <map>
#include <thread>

#include "config/SettingsFile.h"
#include "core/OutputKind.h"
#include "engine/SoundFileFormats.h"
#include "session/ControlIds.h"
#include "tests/support/CRecordingMessageBoxes.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"
#include "tests/support/CVirtualTime.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/CMorseDlg.h"
#include "ui/CTextView.h"
#include "ui/CVystupDlg.h"
#include "ui/Messages.h"

namespace {

TEST_F(MainWindow, StartsWithTheDefaults) {
    EXPECT_EQ(List(ids::kTextKind)->currentText(), QStringLiteral("Písmenový text"));
    EXPECT_EQ(List(ids::kTextSpeed)->currentText(), QStringLiteral("100"));
    EXPECT_EQ(List(ids::kSignSpeed)->currentText(), QStringLiteral("100"));
    EXPECT_EQ(List(ids::kTone)->currentText(), QStringLiteral("450"));
    EXPECT_EQ(List(ids::kRatio)->currentText(), QStringLiteral("1 : 3,0"));
    EXPECT_EQ(List(ids::kTextKind)->count(), kLastTextKind + 1);
    EXPECT_EQ(List(ids::kSignSpeed)->count(), 15);
    EXPECT_EQ(List(ids::kTextSpeed)->count(), 19);
    EXPECT_EQ(List(ids::kTone)->count(), 13);
    EXPECT_EQ(List(ids::kRatio)->count(), 11);
    EXPECT_EQ(Get<QLineEdit>(ids::kLetters)->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(Get<QLineEdit>(ids::kDigits)->text(), QStringLiteral("1234567890"));
    EXPECT_EQ(Shown(ids::kResultText), QStringLiteral("100"));
    EXPECT_EQ(Shown(ids::kResultSign), QStringLiteral("100"));

    for (const int id : {ids::kStep, ids::kStop, ids::kPause, ids::kShortZeros}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Get<QCheckBox>(ids::kShortZeros)->isChecked());
    EXPECT_TRUE(Enabled(ids::kStart));
    EXPECT_TRUE(Enabled(ids::kVolume));
    EXPECT_EQ(engine->GetOutputKind(), kSoundCardOutput);
    EXPECT_TRUE(dialog->IsMenuItemChecked(ids::kMenuRemember));
    EXPECT_FALSE(dialog->IsMenuItemChecked(ids::kMenuStepping));
    EXPECT_FALSE(dialog->IsMenuItemChecked(ids::kMenuLanguage));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindow, EveryControlAndMenuCommandHasItsCaption) {
    const std::pair<int, const char*> captions[] = {
        {ids::kHideText, "Skrytí zobrazovaného textu"},
        {ids::kMorseTextFrame, "Morse text"},
        {ids::kLettersLabel, "Písmena a interpunkční znaky"},
        {ids::kDigitsLabel, "Číslice"},
        {ids::kTextKindLabel, "Druh textu"},
        {ids::kStart, "&Start"},
        {ids::kGeneratorFrame, "Nastavení generátoru"},
        {ids::kGenerate, "&Generuj text"},
        {ids::kStop, "S&top"},
        {ids::kPause, "P&auza"},
        {ids::kStep, "K&rokování"},
        {ids::kSendingFrame, "Vysílání"},
        {ids::kLoad, "&Načti"},
        {ids::kSave, "&Ulož"},
        {ids::kCustom, "&Vytvoř vlastní"},
        {ids::kTextFrame, "Práce s textem"},
        {ids::kToneLabel, "Tónová volba"},
        {ids::kTextSpeedLabel, "Rychlost textu"},
        {ids::kSignSpeedLabel, "Rychlost značky"},
        {ids::kParametersFrame, "Parametry vysílání"},
        {ids::kVolumeFrame, "Hlasitost"},
        {ids::kOutputFrame, "Nastavení výstupu"},
        {ids::kToPrint, "&Do tisku"},
        {ids::kRatioLabel, "Poměr tečka : čárka"},
        {ids::kShortZeros, "Zkrátit nuly"},
        {ids::kResultHeading, "rychlosti budou zhruba:"},
        {ids::kResultTextLabel, "Rychlost textu"},
        {ids::kResultSignLabel, "Rychlost značky"},
        {ids::kRatioFrame, "Prodloužení čárek"}};
    for (const auto& [id, caption] : captions) {
        QWidget* widget = dialog->Control(id);
        ASSERT_NE(widget, nullptr) << id;
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            text = frame->title();
        }
        EXPECT_EQ(text, QString::fromUtf8(caption)) << id;
    }
    for (const int id :
         {ids::kMorseText, ids::kLetters, ids::kDigits, ids::kTextKind, ids::kTone, ids::kTextSpeed,
          ids::kSignSpeed, ids::kVolume, ids::kRatio, ids::kResultText, ids::kResultSign}) {
        EXPECT_NE(dialog->Control(id), nullptr) << id;
    }
    const std::pair<int, const char*> menu[] = {{ids::kMenuLoadText, "&Načti text"},
                                                {ids::kMenuSaveText, "&Ulož text"},
                                                {ids::kMenuPrint, "&Tisk"},
                                                {ids::kMenuExit, "&Konec"},
                                                {ids::kMenuOutput, "&Výstupu"},
                                                {ids::kMenuStepping, "&Krokování"},
                                                {ids::kMenuLanguage, "&Změna jazyka"},
                                                {ids::kMenuRemember, "&Pamatovat"},
                                                {ids::kMenuHelpContents, "&Obsah"},
                                                {ids::kMenuAbout, "O &aplikaci"}};
    for (const auto& [id, caption] : menu) {
        ASSERT_NE(dialog->MenuCommand(id), nullptr) << id;
        EXPECT_EQ(dialog->MenuCommand(id)->text(), QString::fromUtf8(caption)) << id;
    }
    QStringList titles;
    for (QAction* action : dialog->MenuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("S&oubor"), QStringLiteral("Nastav&ení"),
                                   QStringLiteral("Ná&pověda"), QStringLiteral("Vý&cvik")}));
}

TEST_F(MainWindow, TypedLettersBecomeCapitals) {
    QLineEdit* letters = Get<QLineEdit>(ids::kLetters);
    letters->setFocus();
    letters->selectAll();
    QTest::keyClicks(letters, QStringLiteral("abc"));
    EXPECT_EQ(letters->text(), QStringLiteral("ABC"));
    EXPECT_EQ(letters->cursorPosition(), 3);
    Click(ids::kGenerate);
    EXPECT_EQ(dialog->CurrentText().GetText().find_first_not_of("ABC "), std::string::npos);
    dialog->close();
    EXPECT_NE(ReadWholeFile(folder.File("init")).find("\r\nABC\r\n"), std::string::npos);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainWindow, LettersEditRemovesWhatHasNoCode) {
    QLineEdit* letters = Get<QLineEdit>(ids::kLetters);
    letters->setFocus();
    letters->setCursorPosition(3);
    QTest::keyClicks(letters, QStringLiteral("5"));
    QTest::keyClicks(letters, QStringLiteral("."));
    EXPECT_EQ(letters->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(letters->cursorPosition(), 3);
    EXPECT_EQ(boxes.shown,
              (QStringList{QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Právě vložený znak \"5\" je "
                                          "NEPLATNÝ, proto bude odstraněn!"),
                           QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Právě vložený znak \".\" je "
                                          "NEPLATNÝ, proto bude odstraněn!")}));
    // A pasted text with two bad characters gives two warnings; a Czech letter is one of them.
    letters->setCursorPosition(0);
    letters->insert(QStringLiteral("Č?;"));
    emit letters->textEdited(letters->text());
    EXPECT_EQ(letters->text(), QStringLiteral("?ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(boxes.shown.size(), 4);
}

TEST_F(MainWindow, HideTextAndShowItAgain) {
    QCheckBox* hide = Get<QCheckBox>(ids::kHideText);
    hide->click();
    EXPECT_EQ(dialog->MorseView().TextColour(), QColor(255, 255, 255));
    hide->click();
    EXPECT_EQ(dialog->MorseView().TextColour(), QColor(127, 127, 127));
}

// What is heard is the level on the device the engine keys: the slider's level, loud at the top
// for the mouse, the keys and the wheel, and kept by every sound card opened later.
TEST_F(MainWindow, VolumeIsTheSlidersLevelOnEverySoundCard) {
    const auto heard = [this] {
        return dynamic_cast<CRecordingDevice&>(engine->Device()).Volume();
    };
    QSlider* volume = Get<QSlider>(ids::kVolume);
    EXPECT_EQ(heard(), 0xFFFFFFFFU);
    volume->setValue(volume->minimum());
    EXPECT_EQ(heard(), 0U);
    volume->setValue(volume->maximum());
    EXPECT_EQ(heard(), 0xFFFFFFFFU);
    // A click above the handle moves it up, and up is louder.
    volume->setValue(3 * 8191);
    QTest::mouseClick(volume, Qt::LeftButton, Qt::NoModifier, QPoint(volume->width() / 2, 2));
    EXPECT_TRUE(Eventually([&] { return heard() > 3U * 8191U * 0x10001U; }));

    volume->setValue(3 * 8191);
    const std::uint32_t middle = heard();
    QTest::keyClick(volume, Qt::Key_Up);
    EXPECT_GT(heard(), middle);
    QTest::keyClick(volume, Qt::Key_PageUp);
    EXPECT_EQ(heard() & 0xFFFFU, 5U * 8191U);
    QWheelEvent wheel(QPointF(5, 5), volume->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(volume, &wheel);
    EXPECT_GT(heard() & 0xFFFFU, 5U * 8191U);

    volume->setValue(2 * 8191);
    const std::uint32_t level = 2U * 8191U;
    answerDialog = [](QDialog& shown) {
        auto& output = dynamic_cast<CVystupDlg&>(shown);
        output.OnOk();
        return output.result();
    };
    dialog->MenuCommand(ids::kMenuOutput)->trigger();
    EXPECT_EQ(heard(), level | level << 16);
    ASSERT_TRUE(engine->SelectOutput(kSpeakerOutput));
    ASSERT_TRUE(engine->SelectOutput(kSoundCardOutput));
    EXPECT_EQ(heard(), level | level << 16);
}

TEST_F(MainWindow, ClosingWhileSendingStopsAndJoins) {
    Click(ids::kGenerate);
    time.SetHook([](std::size_t) { std::this_thread::sleep_for(std::chrono::microseconds(300)); });
    Click(ids::kStart);
    dialog->close();
    dialog.reset();
    // The end sign was keyed before the window went away.
    const auto events = time.Events();
    ASSERT_GE(events.size(), 10u);
    EXPECT_EQ(events[events.size() - 10], (CVirtualTime::Event{'K', 600000}));
    EXPECT_EQ(events[events.size() - 2], (CVirtualTime::Event{'K', 600000}));
}

TEST_F(MainWindow, EscapeRunsTheCloseSequence) {
    Choose(ids::kTone, 3);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    // Closing saved the settings, the tone among them.
    const std::string init = ReadWholeFile(folder.File("init"));
    ASSERT_FALSE(init.empty());
    EXPECT_EQ(SplitSettingsLines(init)[7], "3");
}

}  // namespace

namespace {

// Alt + a letter that a menu title and a button share acts on the button; the menus stay
// reachable with F10 and with the letters no button takes.
TEST_F(MainWindow, AltLettersReachTheButtonsAndTheMenus) {
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    Click(ids::kGenerate);
    desktop.answer = QString();
    QTest::keyClick(dialog.get(), Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(Eventually([&] { return desktop.requests.size() == 1; }));
    EXPECT_TRUE(desktop.requests.value(0).startsWith(QStringLiteral("open ")));

    QTest::keyClick(dialog.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(Eventually([&] { return !dialog->IsIdle(); }));
    Click(ids::kStop);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));

    QMenu* help = dialog->MenuBar()->actions()[2]->menu();
    QTest::keyClick(dialog.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(Eventually([&] { return help->isVisible(); }));
    help->close();
    QMenu* file = dialog->MenuBar()->actions()[0]->menu();
    QTest::keyClick(dialog.get(), Qt::Key_F10);
    EXPECT_TRUE(Eventually([&] { return file->isVisible(); }));
    file->close();
}

// Each menu title and button of the window has a letter of its own, in Czech and in the shipped
// English set: Alt and a letter opens what that letter is underlined in.
TEST_F(MainWindow, MnemonicLettersAreUniqueInBothLanguages) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    for (const char* language : {"Czech", "English"}) {
        if (std::string(language) == "English") {
            dialog->MenuCommand(ids::kMenuLanguage)->trigger();
        }
        QStringList captions;
        for (QAction* menu : dialog->MenuBar()->actions()) {
            captions << menu->text();
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            captions << button->text();
        }
        std::map<QKeySequence, QString> owners;
        for (const QString& caption : captions) {
            const QKeySequence key = QKeySequence::mnemonic(caption);
            if (key.isEmpty()) {
                continue;
            }
            const auto [where, inserted] = owners.emplace(key, caption);
            EXPECT_TRUE(inserted) << language << ": " << caption.toStdString() << " and "
                                  << where->second.toStdString();
        }
        EXPECT_GE(owners.size(), 12U) << language;
    }
}

}  // namespace

namespace {

// Counts the pixels of a region that are drawn in grey (the text) or red (the sent part), as
// opposed to the white background and its antialiased blends towards it.
struct Ink {
    int grey = 0;
    int red = 0;
};

Ink InkIn(const QImage& image, const QRect& region) {
    Ink ink;
    const QRect clipped = region.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() - c.green() > 100 && c.green() == c.blue()) {
                ++ink.red;
            } else if (c.red() == c.green() && c.green() == c.blue() && c.red() < 180) {
                ++ink.grey;
            }
        }
    }
    return ink;
}

// The Morse text as the maximised window draws it: five full lines of sixty characters in grey,
// the sent part in red, nothing when hidden, and the red part back when shown again.
TEST_F(MainWindow, TextViewDrawsTheTextAndTheSentPart) {
    CTextView& view = dialog->MorseView();
    QStringList lines;
    for (int line = 0; line < 5; ++line) {
        lines << QString(60, QLatin1Char('M'));
    }
    view.SetFullText(lines.join(QStringLiteral("\r\n")));
    const QFontMetrics metrics(view.TextFont());
    const int advance = metrics.horizontalAdvance(QLatin1Char('M'));
    const auto cell = [&](int line, int column) {
        return QRect(2 + column * advance, 1 + line * metrics.height(), advance, metrics.height());
    };
    // The last character of the last line lies wholly inside the view.
    ASSERT_LE(cell(4, 59).right(), view.width());
    ASSERT_LE(cell(4, 59).bottom(), view.height());

    const auto check = [&](int sentLines, bool shown) {
        const QImage image = view.grab().toImage();
        for (int line = 0; line < 5; ++line) {
            for (const int column : {0, 30, 59}) {
                const Ink ink = InkIn(image, cell(line, column));
                const bool sent = line < sentLines;
                EXPECT_EQ(ink.red > 0, shown && sent) << line << "," << column;
                EXPECT_EQ(ink.grey > 0, shown && !sent) << line << "," << column;
            }
        }
    };
    check(0, true);
    view.SetSentText(lines[0] + QStringLiteral("\r\n") + lines[1] + QStringLiteral("\r\n"));
    check(2, true);
    view.ShowText(false);
    check(2, false);
    view.ShowText(true);
    check(2, true);
}

// No output opens at start-up: the user is told, and the window closes.
TEST_F(MainWindow, NoOutputAtStartIsFatal) {
    failing = {"0",      "1",      "2:COM1", "2:COM2", "2:COM3",
               "2:COM4", "2:COM5", "2:COM6", "2:COM7", "2:COM8"};
    dialog.reset();
    dialog = MakeDialog(false);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0], QStringLiteral("E|Brumlo|") + messages::NoOutput());
    dialog->show();
    EXPECT_TRUE(Eventually([&] { return !dialog->isVisible(); }));
}

// The window is maximised or minimised, never in between: restoring it minimises it.
TEST_F(MainWindow, RestoringMinimises) {
    dialog->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(Eventually([&] { return dialog->isMinimized(); }));
}

}  // namespace

namespace {

// "Uložit zvuk": the text on display at the current speeds and tone as a WAV file that decodes to
// it with the signs; a file that cannot be written is reported as the text files' are.
TEST_F(MainWindow, SoundFileHoldsTheTextAtTheCurrentSettings) {
    desktop.answer = QString::fromStdString(folder.File("text.wav"));
    dialog->MenuCommand(ids::kMenuSaveSound)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);  // nothing on display yet
    EXPECT_TRUE(desktop.requests.isEmpty());
    boxes.shown.clear();

    Get<QLineEdit>(ids::kLetters)->setText(QStringLiteral("PARIS"));
    Click(ids::kGenerate);
    Choose(ids::kTone, 6);  // 700 Hz
    dialog->MenuCommand(ids::kMenuSaveSound)->trigger();
    EXPECT_TRUE(boxes.shown.isEmpty());
    const std::string wav = ReadWholeFile(folder.File("text.wav"));
    ASSERT_GT(wav.size(), 44U);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    std::vector<float> samples;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2) {
        const auto low = static_cast<unsigned char>(wav[at]);
        const auto high = static_cast<unsigned char>(wav[at + 1]);
        samples.push_back(static_cast<float>(static_cast<std::int16_t>(high << 8 | low)) /
                          32767.0F);
    }
    const std::string text = dialog->CurrentText().GetText();
    const std::string expected = "= " + text + "+";  // the text ends with a word gap
    EXPECT_EQ(CToneDecoder::Decode(CToneDecoder(700, 44100).FindElements(samples)), expected);

    // The name's extension chooses the format: FLAC keeps the WAV's samples, MP3 its Morse.
    desktop.answer = QString::fromStdString(folder.File("text.flac"));
    dialog->MenuCommand(ids::kMenuSaveSound)->trigger();
    const auto flac = soundfile::Decode(ReadWholeFile(folder.File("text.flac")));
    ASSERT_TRUE(flac);
    EXPECT_EQ(flac->samples, soundfile::SamplesOfWav(wav));
    desktop.answer = QString::fromStdString(folder.File("TEXT.MP3"));
    dialog->MenuCommand(ids::kMenuSaveSound)->trigger();
    EXPECT_TRUE(boxes.shown.isEmpty());
    const auto mp3 = soundfile::Decode(ReadWholeFile(folder.File("TEXT.MP3")));
    ASSERT_TRUE(mp3);
    std::vector<float> decoded;
    for (const std::int16_t s : mp3->samples) {
        decoded.push_back(static_cast<float>(s) / 32768.0F);
    }
    EXPECT_EQ(CToneDecoder::Decode(CToneDecoder(700, mp3->sampleRate).FindElements(decoded)),
              expected);

    desktop.answer = QString::fromStdString(folder.File("missing/folder/text.wav"));
    dialog->MenuCommand(ids::kMenuSaveSound)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("E|")));
    EXPECT_TRUE(boxes.shown[0].contains(QStringLiteral("missing/folder/text.wav")));
}

}  // namespace

namespace {

// Each field of the session's view reaches its widget: the session is driven directly, and the
// window renders what it shows.
TEST_F(MainWindow, EveryFieldOfTheViewReachesItsWidget) {
    CMorseSession& session = dialog->Session();
    session.TypeDigits("42");
    session.ChooseKind(kDigitText);
    session.ChooseTone(7);
    session.ChooseSignSpeed(10);
    session.ChooseTextSpeed(3);
    session.ChooseRatio(5);
    session.SetVolume(3 * 8191);
    session.SetShortZeros(false);
    session.SetHideText(true);
    session.SetStepping(true);
    session.SetRemember(false);
    session.SetWeakCharacters(true);
    session.TypeLetters("xyz", 0);
    session.Start();
    session.OnSentTextChanged(session.View().displayText.substr(0, 7), session.Transmission());
    dialog->UpdateData(false);

    const SessionView view = session.View();
    EXPECT_EQ(List(ids::kTextKind)->currentIndex(), view.kind);
    EXPECT_EQ(List(ids::kTone)->currentIndex(), view.toneIndex);
    EXPECT_EQ(List(ids::kSignSpeed)->currentIndex(), view.signSpeedIndex);
    EXPECT_EQ(List(ids::kTextSpeed)->currentIndex(), view.textSpeedIndex);
    EXPECT_EQ(List(ids::kRatio)->currentIndex(), view.ratioIndex);
    EXPECT_EQ(Get<QLineEdit>(ids::kLetters)->text(), QStringLiteral("XYZ"));
    EXPECT_EQ(Get<QLineEdit>(ids::kDigits)->text(), QStringLiteral("42"));
    EXPECT_EQ(Get<QSlider>(ids::kVolume)->value(), 3 * 8191);
    EXPECT_EQ(dialog->MorseView().GetFullText(), QString::fromLatin1(view.displayText.c_str()));
    EXPECT_EQ(dialog->MorseView().GetSentText(), QString::fromLatin1(view.sentText.c_str()));
    EXPECT_EQ(dialog->MorseView().TextColour(), QColor(255, 255, 255));
    EXPECT_EQ(Shown(ids::kResultText), QString::number(view.effectiveTextSpeed));
    EXPECT_EQ(Shown(ids::kResultSign), QString::number(view.effectiveSignSpeed));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Brumlo"));
    EXPECT_TRUE(Get<QCheckBox>(ids::kHideText)->isChecked());
    EXPECT_FALSE(Get<QCheckBox>(ids::kShortZeros)->isChecked());
    EXPECT_TRUE(dialog->IsMenuItemChecked(ids::kMenuStepping));
    EXPECT_FALSE(dialog->IsMenuItemChecked(ids::kMenuRemember));
    EXPECT_TRUE(dialog->IsMenuItemChecked(ids::kMenuWeakCharacters));
    EXPECT_FALSE(dialog->IsMenuItemChecked(ids::kMenuLanguage));
    const std::pair<int, bool> enabled[] = {
        {ids::kStart, view.startEnabled},           {ids::kStop, view.stopEnabled},
        {ids::kPause, view.pauseEnabled},           {ids::kStep, view.stepEnabled},
        {ids::kGenerate, view.generateEnabled},     {ids::kTextKind, view.kindEnabled},
        {ids::kShortZeros, view.shortZerosEnabled}, {ids::kLoad, view.textCommandsEnabled},
        {ids::kSave, view.textCommandsEnabled},     {ids::kCustom, view.textCommandsEnabled},
        {ids::kToPrint, view.textCommandsEnabled},  {ids::kVolume, view.volumeEnabled},
        {ids::kVolumeFrame, view.volumeEnabled},    {ids::kTone, view.toneEnabled}};
    for (const auto& [id, on] : enabled) {
        EXPECT_EQ(Enabled(id), on) << id;
    }
    // Sending with stepping on: Stop and Step only, no text command, no menu.
    EXPECT_FALSE(view.startEnabled || view.pauseEnabled || view.textCommandsEnabled);
    EXPECT_TRUE(view.stopEnabled && view.stepEnabled);
    for (QAction* menu : dialog->MenuBar()->actions()) {
        EXPECT_EQ(menu->isEnabled(), view.menusEnabled);
    }
    session.Stop();
    dialog->UpdateData(false);
    EXPECT_TRUE(Get<QPushButton>(ids::kStop)->isDown());
    // The language set's captions follow the view's language.
    session.SetLanguage(true);
    dialog->UpdateData(false);
    EXPECT_TRUE(dialog->IsMenuItemChecked(ids::kMenuLanguage));
}

}  // namespace
