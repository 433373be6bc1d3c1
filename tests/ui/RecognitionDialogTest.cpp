#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "config/CProgramFiles.h"
#include "core/Timing.h"
#include "tests/support/CToneDecoder.h"
#include "tests/ui/MainWindowFixture.h"
#include "training/CRecognitionFile.h"
#include "ui/CRozpoznaniDlg.h"
#include "ui/CStatistikaDlg.h"
#include "session/ControlIds.h"

namespace {

constexpr std::int64_t kMillisecond = 1'000'000;

class RecognitionDialog : public MainWindow {
protected:
    // Opens the dialog from the training menu of the maximised window; `use` sees it while it is
    // open and closes it.
    void Open(const std::function<void(CRozpoznaniDlg&)>& use) {
        bool opened = false;
        answerDialog = [&](QDialog& shown) {
            auto& recognition = dynamic_cast<CRozpoznaniDlg&>(shown);
            opened = true;
            shown.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&shown));
            // The pause before each next character passes at once.
            recognition.NextTimer()->setInterval(0);
            use(recognition);
            return shown.result();
        };
        dialog->MenuCommand(ids::kMenuInstantRecognition)->trigger();
        EXPECT_TRUE(opened);
        answerDialog = nullptr;
    }
    // The character the last sound keys, by ear as it were.
    std::string LastKeyed() {
        const CFakeCuePlayer::Sound& sound = cues.Sounds().back();
        std::vector<float> heard(2000, 0.0F);
        heard.insert(heard.end(), sound.samples.begin(), sound.samples.end());
        heard.resize(heard.size() + 2000, 0.0F);
        // The window's tone and speeds by default: 450 Hz, 100 characters a minute; with the dot's
        // length known, a character of dashes alone is not taken for one of dots.
        const double dot = ComputeTiming(100, 100, 3.0).dotSeconds * 44100;
        return CToneDecoder::Decode(CToneDecoder(450, 44100).FindElements(heard), dot);
    }
    // Types `key` a delay after the last sound is heard, as the learner hears it.
    void Answer(CRozpoznaniDlg& recognition, char key, std::int64_t delayMilliseconds) {
        cues.SetNow(cues.TrueHeardEnd() + delayMilliseconds * kMillisecond);
        QTest::keyClick(&recognition, key);
    }
    static QString Said(QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }
};

// A run through the window: the set is chosen, Start plays a character, a key typed in the dialog
// answers it and the verdict is written (and read by a screen reader) with the reaction measured
// from the sound; a wrong answer is heard as the low tone; closing stores the run, and the
// statistics show each character's reaction.
TEST_F(RecognitionDialog, TypedAnswersAreJudgedFromTheSoundAndTheRunIsStored) {
    ASSERT_TRUE(dialog->isMaximized());
    cues.SetNow(10'000 * kMillisecond);
    std::map<char, int> answered;
    Open([&](CRozpoznaniDlg& recognition) {
        // Each choice is named by its label for a reader.
        for (QWidget* field :
             std::initializer_list<QWidget*>{recognition.SetList(), recognition.LimitSpin()}) {
            const QList<QLabel*> labels = recognition.findChildren<QLabel*>();
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                    [field](QLabel* l) { return l->buddy() == field; }));
            EXPECT_FALSE(field->accessibleName().isEmpty());
        }
        EXPECT_EQ(recognition.LimitSpin()->value(), 1000);
        EXPECT_TRUE(recognition.WrongToneBox()->isChecked());
        recognition.SetList()->setCurrentIndex(static_cast<int>(RecognitionSet::Digits));
        QTest::mouseClick(recognition.StartButton(), Qt::LeftButton);
        ASSERT_EQ(cues.Sounds().size(), 1U);
        EXPECT_FALSE(recognition.SetList()->isEnabled()) << "the set holds for the run";

        // Right, 420 ms after the end was heard.
        std::string keyed = LastKeyed();
        ASSERT_EQ(keyed.size(), 1U);
        ASSERT_TRUE(keyed[0] >= '0' && keyed[0] <= '9') << keyed;
        Answer(recognition, keyed[0], 420);
        EXPECT_EQ(recognition.VerdictLabel()->text(),
                  QStringLiteral("Správně: %1, 420 ms").arg(QLatin1Char(keyed[0])));
        EXPECT_EQ(Said(recognition.VerdictLabel()), recognition.VerdictLabel()->text());
        ++answered[keyed[0]];

        // The next character comes after the pause; a wrong key is heard as the low tone.
        QApplication::processEvents();
        ASSERT_EQ(cues.Sounds().size(), 2U);
        keyed = LastKeyed();
        ASSERT_EQ(keyed.size(), 1U);
        const char wrong = keyed[0] == '7' ? '8' : '7';
        Answer(recognition, wrong, 300);
        EXPECT_EQ(recognition.VerdictLabel()->text(),
                  QStringLiteral("Špatně: zazněl znak %1, napsáno %2")
                      .arg(QString(QLatin1Char(keyed[0])), QString(QLatin1Char(wrong))));
        ASSERT_EQ(cues.Sounds().size(), 3U);
        EXPECT_EQ(CToneDecoder(220, 44100).FindElements(cues.Sounds().back().samples).size(), 1U);
        ++answered[keyed[0]];

        // Slow: beyond the limit.
        QApplication::processEvents();
        ASSERT_EQ(cues.Sounds().size(), 4U);
        keyed = LastKeyed();
        Answer(recognition, keyed[0], 1500);
        EXPECT_EQ(recognition.VerdictLabel()->text(),
                  QStringLiteral("Pomalu: %1, 1500 ms").arg(QLatin1Char(keyed[0])));
        ++answered[keyed[0]];
        QApplication::processEvents();
        QTest::mouseClick(recognition.CloseButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(boxes.shown.isEmpty()) << boxes.shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(cues.Silenced() > 0, true) << "closing stops what still sounds";

    const auto records = CRecognitionFile(CProgramFiles(folder.Path()).Recognition()).Read();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0].set, RecognitionSet::Digits);
    EXPECT_EQ(records[0].limitMilliseconds, 1000);
    int answers = 0;
    for (const auto& character : records[0].characters) {
        EXPECT_EQ(character.answers, answered[character.character]);
        answers += character.answers;
    }
    EXPECT_EQ(answers, 3);

    // The statistics list the timed characters with their median reaction.
    bool shown = false;
    answerDialog = [&](QDialog& opened) {
        QTableWidget* table = dynamic_cast<CStatistikaDlg&>(opened).ReactionTable();
        shown = table != nullptr;
        if (table == nullptr) {
            return 0;
        }
        EXPECT_FALSE(table->accessibleName().isEmpty());
        EXPECT_EQ(table->rowCount(), static_cast<int>(records[0].characters.size()));
        for (int row = 0; row < table->rowCount(); ++row) {
            const char c = table->item(row, 0)->text().toLatin1().at(0);
            const auto found =
                std::find_if(records[0].characters.begin(), records[0].characters.end(),
                             [c](const auto& k) { return k.character == c; });
            if (found == records[0].characters.end()) {
                ADD_FAILURE() << "a character never answered: " << c;
                continue;
            }
            EXPECT_EQ(table->item(row, 1)->text(), found->medianMilliseconds
                                                       ? QString::number(*found->medianMilliseconds)
                                                       : QStringLiteral("–"));
        }
        return 0;
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_TRUE(shown);
}

// A sound card that cannot be opened is said once, in words, and nothing plays; nothing is
// stored either.
TEST_F(RecognitionDialog, SoundCardThatCannotOpenIsSaidOnce) {
    cues.SetOpens(false);
    Open([&](CRozpoznaniDlg& recognition) {
        QTest::mouseClick(recognition.StartButton(), Qt::LeftButton);
        QTest::keyClick(&recognition, 'E');
        EXPECT_TRUE(recognition.VerdictLabel()->text().isEmpty());
        EXPECT_TRUE(recognition.SetList()->isEnabled());
        recognition.reject();
    });
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("E|Brumlo|Zvukovou kartu nelze otevřít")));
    EXPECT_TRUE(cues.Sounds().empty());
    EXPECT_FALSE(std::filesystem::exists(CProgramFiles(folder.Path()).Recognition()));
}

// With the language set on, the menu command and the dialog take the English captions of the
// shipped language files.
TEST_F(RecognitionDialog, EnglishCaptionsFromTheShippedFiles) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuInstantRecognition)->text(),
              QStringLiteral("Okamžité &rozpoznání…"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuInstantRecognition)->text(),
              QStringLiteral("&Instant recognition…"));
    Open([](CRozpoznaniDlg& recognition) {
        const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
        QStringList texts{recognition.windowTitle(), recognition.SpeedLabel()->text()};
        for (QLabel* label : recognition.findChildren<QLabel*>()) {
            texts << label->text() << label->accessibleDescription();
        }
        for (QAbstractButton* button : recognition.findChildren<QAbstractButton*>()) {
            texts << button->text() << button->accessibleName();
        }
        for (int k = 0; k < recognition.SetList()->count(); ++k) {
            texts << recognition.SetList()->itemText(k);
        }
        for (const QString& text : texts) {
            EXPECT_FALSE(std::any_of(text.begin(), text.end(), [&](QChar c) {
                return czech.contains(c);
            })) << text.toStdString();
        }
        EXPECT_EQ(recognition.windowTitle(), QStringLiteral("Instant recognition"));
        EXPECT_EQ(recognition.SetList()->itemText(1), QStringLiteral("letters"));
        EXPECT_EQ(recognition.SetList()->accessibleName(), QStringLiteral("Characters"));
        recognition.reject();
    });
}

}  // namespace
