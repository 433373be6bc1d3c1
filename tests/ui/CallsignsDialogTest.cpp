#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <filesystem>

#include "config/CProgramFiles.h"
#include "core/Timing.h"
#include "session/ControlIds.h"
#include "tests/support/CToneDecoder.h"
#include "tests/ui/MainWindowFixture.h"
#include "training/CCallsignRecordsFile.h"
#include "ui/CCallsignRunsView.h"
#include "ui/CStatistikaDlg.h"
#include "ui/CVolaciZnakyDlg.h"

namespace {

class CallsignsWindow : public MainWindow {
protected:
    // Opens the dialog from the training menu, maximised as the desktop shows it with its layout
    // run; `use` drives it while it is open.
    void Open(const std::function<void(CVolaciZnakyDlg&)>& use) {
        bool opened = false;
        answerDialog = [&](QDialog& shown) {
            auto& callsigns = dynamic_cast<CVolaciZnakyDlg&>(shown);
            opened = true;
            shown.showMaximized();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&shown));
            EXPECT_TRUE(Eventually([&] { return shown.isMaximized(); }));
            QApplication::processEvents();
            use(callsigns);
            if (shown.isVisible()) {
                QTest::keyClick(&shown, Qt::Key_Escape);
            }
            return shown.result();
        };
        dialog->MenuCommand(ids::kMenuCallsigns)->trigger();
        EXPECT_TRUE(opened);
        answerDialog = nullptr;
    }

    // What the learner heard last: the text of the last sound at the window's tone.
    std::string Heard() {
        EXPECT_FALSE(cues.Sounds().empty());
        if (cues.Sounds().empty()) {
            return {};
        }
        const int tone =
            kToneFrequencies[static_cast<std::size_t>(dialog->Session().View().toneIndex)];
        const CToneDecoder decoder(tone, CCuePlayer::kSampleRate);
        return CToneDecoder::Decode(decoder.FindElements(cues.Sounds().back().samples));
    }

    static void Answer(CVolaciZnakyDlg& callsigns, const std::string& typed) {
        callsigns.AnswerEdit()->clear();
        QTest::keyClicks(callsigns.AnswerEdit(), QString::fromStdString(typed));
        QTest::keyClick(callsigns.AnswerEdit(), Qt::Key_Return);
    }

    std::string RecordsPath() { return CProgramFiles(folder.Path()).CallsignRecords(); }
};

// Every control of the maximised dialog lies inside it, and the controls the user works with
// do not cover one another.
void ExpectLaidOut(CVolaciZnakyDlg& callsigns) {
    const QList<QWidget*> controls = {callsigns.StartSpeedSpin(), callsigns.StepSpin(),
                                      callsigns.WrongToneBox(),   callsigns.StartButton(),
                                      callsigns.AnswerEdit(),     callsigns.RepeatButton(),
                                      callsigns.VerdictLabel(),   callsigns.ProgressLabel()};
    for (QWidget* control : controls) {
        const QRect where(control->mapTo(&callsigns, QPoint(0, 0)), control->size());
        EXPECT_TRUE(callsigns.rect().contains(where)) << control->metaObject()->className();
        EXPECT_GT(control->width(), 0);
        for (QWidget* other : controls) {
            if (other != control) {
                const QRect there(other->mapTo(&callsigns, QPoint(0, 0)), other->size());
                EXPECT_FALSE(where.intersects(there))
                    << control->metaObject()->className() << " and "
                    << other->metaObject()->className();
            }
        }
    }
}

TEST_F(CallsignsWindow, TypedAnswersMoveSpeedAndScoreAndTheRunIsStored) {
    Choose(ids::kSignSpeed, 2);
    Choose(ids::kTone, 6);
    const int startSpeed = kSignSpeeds[2];
    // Right and wrong answers in the order typed.
    const bool rightAnswers[] = {true, true, false, true};
    int scoreAtClose = 0;
    Open([&](CVolaciZnakyDlg& callsigns) {
        ExpectLaidOut(callsigns);
        // The run starts at the window's sign speed.
        EXPECT_EQ(callsigns.StartSpeedSpin()->value(), startSpeed);
        EXPECT_FALSE(callsigns.AnswerEdit()->isEnabled());
        callsigns.StepSpin()->setValue(10);
        QTest::mouseClick(callsigns.StartButton(), Qt::LeftButton);
        ASSERT_NE(callsigns.Model().Session(), nullptr);
        EXPECT_TRUE(callsigns.AnswerEdit()->isEnabled());
        EXPECT_TRUE(callsigns.AnswerEdit()->hasFocus());
        ASSERT_EQ(cues.Sounds().size(), 1U);

        int score = 0;
        for (const bool right : rightAnswers) {
            const int speed = callsigns.Model().Session()->Speed();
            const std::string heard = Heard();
            ASSERT_FALSE(heard.empty());
            const std::string typed = right ? heard : heard.substr(0, heard.size() - 1);
            const std::size_t soundsBefore = cues.Sounds().size();
            Answer(callsigns, typed);
            EXPECT_TRUE(callsigns.AnswerEdit()->text().isEmpty());
            EXPECT_EQ(callsigns.Model().Session()->Speed(), speed + (right ? 10 : -10));
            EXPECT_EQ(callsigns.Model().Session()->Score() > score, right);
            score = callsigns.Model().Session()->Score();
            // The verdict is text: right or wrong in words, the callsign, the copy, the speed.
            const QString verdict = callsigns.VerdictLabel()->text();
            const QStringList captions = CVolaciZnakyDlg::CzechCaptions();
            EXPECT_TRUE(
                verdict.startsWith(right ? QStringLiteral("Správně") : QStringLiteral("Chybně")))
                << verdict.toStdString();
            EXPECT_TRUE(verdict.contains(QString::fromStdString(heard)));
            EXPECT_TRUE(verdict.contains(QString::number(speed)));
            if (!right) {
                EXPECT_TRUE(verdict.contains(QString::fromStdString(typed)));
            }
            // The progress shows the new speed and score.
            EXPECT_TRUE(callsigns.ProgressLabel()->text().contains(
                QString::number(callsigns.Model().Session()->Speed())));
            EXPECT_TRUE(callsigns.ProgressLabel()->text().contains(QString::number(score)));
            // A wrong answer is heard too, before the next callsign.
            EXPECT_EQ(cues.Sounds().size() - soundsBefore, right ? 1U : 2U);
        }
        // A repeat plays the callsign again, without the pause before it.
        const std::vector<float> last = cues.Sounds().back().samples;
        QTest::mouseClick(callsigns.RepeatButton(), Qt::LeftButton);
        const std::vector<float>& again = cues.Sounds().back().samples;
        ASSERT_LE(again.size(), last.size());
        EXPECT_TRUE(std::equal(again.begin(), again.end(), last.end() - again.size()));
        EXPECT_TRUE(callsigns.AnswerEdit()->hasFocus());
        ExpectLaidOut(callsigns);
        scoreAtClose = callsigns.Model().Session()->Score();
    });

    // Closed mid-run without a question: what was answered is stored.
    EXPECT_TRUE(boxes.shown.isEmpty());
    const auto runs = CCallsignRecordsFile(RecordsPath()).Read();
    ASSERT_EQ(runs.size(), 1U);
    ASSERT_EQ(runs[0].answers.size(), std::size(rightAnswers));
    for (std::size_t k = 0; k < runs[0].answers.size(); ++k) {
        EXPECT_EQ(runs[0].answers[k].right, rightAnswers[k]);
    }
    EXPECT_EQ(runs[0].startSpeed, startSpeed);
    EXPECT_EQ(runs[0].step, 10);
    EXPECT_EQ(runs[0].score, scoreAtClose);
    EXPECT_EQ(runs[0].highestSpeed, startSpeed + 20);
    EXPECT_GE(cues.Silenced(), 1);

    // The statistics window lists the run.
    bool shown = false;
    const auto look = [&](CStatistikaDlg& statistics) {
        ASSERT_NE(statistics.CallsignRuns(), nullptr);
        QTableWidget* table = statistics.CallsignRuns()->Table();
        EXPECT_TRUE(table->isVisible());
        EXPECT_FALSE(table->accessibleName().isEmpty());
        ASSERT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->item(0, 2)->text(), QString::number(scoreAtClose));
        EXPECT_EQ(table->item(0, 3)->text(), QString::number(startSpeed + 20));
        EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("75 %"));
        // Closed mid-run: marked as left, with how far it got.
        EXPECT_EQ(table->item(0, 5)->text(), QStringLiteral("nedokončen, 4 z 50 odpovědí"));
    };
    answerDialog = [&](QDialog& opened) {
        shown = true;
        opened.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&opened));
        look(dynamic_cast<CStatistikaDlg&>(opened));
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(CallsignsWindow, WholeRunEndsWithItsSummaryStoredOnce) {
    Open([&](CVolaciZnakyDlg& callsigns) {
        callsigns.WrongToneBox()->setChecked(false);
        QTest::mouseClick(callsigns.StartButton(), Qt::LeftButton);
        ASSERT_NE(callsigns.Model().Session(), nullptr);
        for (int k = 0; k < callsigns.Model().Session()->Callsigns(); ++k) {
            // Every fifth one wrong; an empty Enter first, which is no answer.
            Answer(callsigns, std::string());
            Answer(callsigns, k % 5 == 4 ? std::string("Q") : Heard());
        }
        // The Enter of the last answer ends the run; it does not start another.
        EXPECT_TRUE(callsigns.Model().Session()->Finished());
        EXPECT_EQ(callsigns.Model().Session()->Answered(),
                  callsigns.Model().Session()->Callsigns());
        EXPECT_FALSE(callsigns.AnswerEdit()->isEnabled());
        EXPECT_FALSE(callsigns.RepeatButton()->isEnabled());
        ASSERT_TRUE(callsigns.SummaryText()->isVisible());
        EXPECT_TRUE(callsigns.SummaryText()->hasFocus());
        const QString summary = callsigns.SummaryText()->toPlainText();
        EXPECT_TRUE(summary.contains(QString::number(callsigns.Model().Session()->Score())));
        EXPECT_TRUE(summary.contains(QStringLiteral("40 z 50")));
        // The summary is said once, in its field, and lists the ten misses after it.
        EXPECT_TRUE(callsigns.ProgressLabel()->text().isEmpty());
        EXPECT_EQ(summary.count(QStringLiteral("zapsáno Q ")), 10);
        EXPECT_FALSE(callsigns.SummaryText()->accessibleName().isEmpty());
        ExpectLaidOut(callsigns);
    });
    const auto runs = CCallsignRecordsFile(RecordsPath()).Read();
    ASSERT_EQ(runs.size(), 1U);
    EXPECT_EQ(runs[0].answers.size(), static_cast<std::size_t>(CCallsignRun::kCallsigns));
    EXPECT_DOUBLE_EQ(runs[0].RightShare(), 0.8);
}

TEST_F(CallsignsWindow, SoundCardThatCannotOpenIsSaidOnce) {
    cues.SetOpens(false);
    Open([&](CVolaciZnakyDlg& callsigns) {
        QTest::mouseClick(callsigns.StartButton(), Qt::LeftButton);
        EXPECT_EQ(callsigns.Model().Session(), nullptr);
        EXPECT_FALSE(callsigns.AnswerEdit()->isEnabled());
        EXPECT_FALSE(callsigns.RepeatButton()->isEnabled());
    });
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0], QStringLiteral("E|Brumlo|") + CVolaciZnakyDlg::CzechCaptions()[15]);
    EXPECT_TRUE(cues.Sounds().empty());
    EXPECT_FALSE(std::filesystem::exists(RecordsPath()));
}

TEST_F(CallsignsWindow, EnglishSetNamesTheMenuAndTheDialog) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuCallsigns)->text(), QStringLiteral("&Volací znaky…"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuCallsigns)->text(), QStringLiteral("C&allsigns…"));
    Open([&](CVolaciZnakyDlg& callsigns) {
        EXPECT_EQ(callsigns.windowTitle(), QStringLiteral("Callsigns"));
        EXPECT_EQ(callsigns.RepeatButton()->text(), QStringLiteral("&Repeat"));
        EXPECT_EQ(callsigns.AnswerEdit()->accessibleName(),
                  QStringLiteral("What you heard (Enter submits)"));
        ExpectLaidOut(callsigns);
    });
    // A language file without the line keeps the built-in caption.
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    std::filesystem::remove(folder.File("jazyk/localVZ"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    Open([&](CVolaciZnakyDlg& callsigns) {
        EXPECT_EQ(callsigns.windowTitle(), QStringLiteral("Volací znaky"));
    });
}

}  // namespace
