#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "config/CProgramFiles.h"
#include "print/CCopyCheckPainter.h"
#include "print/Cp1250.h"
#include "session/ControlIds.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/ui/MainWindowFixture.h"
#include "training/CCourseFile.h"
#include "training/CCourseOrders.h"
#include "training/CHistoryFile.h"
#include "training/CKochCourse.h"
#include "ui/CCopyResultView.h"
#include "ui/CKochDlg.h"
#include "ui/CKontrolaDlg.h"
#include "ui/CMessageBoxes.h"
#include "ui/CStatistikaDlg.h"
#include "ui/CVlastniTextDlg.h"
#include "ui/Messages.h"

namespace {

// How much of a region is drawn in a colour near `ink`, and how much in any colour at all.
int PixelsNear(const QImage& image, const QRect& region, const QColor& ink) {
    int count = 0;
    const QRect clipped = region.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - ink.red()) < 40 && std::abs(c.green() - ink.green()) < 40 &&
                std::abs(c.blue() - ink.blue()) < 40) {
                ++count;
            }
        }
    }
    return count;
}

class Training : public MainWindow {
protected:
    std::string HistoryPath() { return CProgramFiles(folder.Path()).History(); }
    std::unique_ptr<CKontrolaDlg> MakeCheck(const QString& sent) {
        CheckRecord how;
        how.kind = 3;
        how.signSpeed = 120;
        how.textSpeed = 60;
        auto check = std::make_unique<CKontrolaDlg>(
            CKontrolaModel(ToCp1250(sent), how, recordFiles->history, notifier), QString(),
            desktop);
        check->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(check.get()));
        return check;
    }
    CRecordingNotifier notifier;
};

// The user types the copy as written down; the check marks it, scores it and keeps a record.
TEST_F(Training, CopyCheckWindowScoresTheTypedCopy) {
    const QString sent = QStringLiteral("ABCDE FGHIJ HEHE");
    const auto check = MakeCheck(sent);
    // Nothing of the sent text shows before the check.
    EXPECT_FALSE(check->ResultView()->isVisible());
    for (QLabel* label : check->findChildren<QLabel*>()) {
        EXPECT_FALSE(label->isVisible() && label->text().contains(QStringLiteral("ABC")));
    }
    check->Edit()->setFocus();
    QTest::keyClicks(check->Edit(), QStringLiteral("abde fgx%hij"));
    QTest::keyClick(check->Edit(), Qt::Key_Return);
    QTest::keyClicks(check->Edit(), QStringLiteral("sehe"));
    EXPECT_EQ(check->Edit()->toPlainText(), QStringLiteral("ABDE FGXHIJ\nSEHE"));
    // The refused % was said in the status line until the next keystroke, with no box that
    // would have taken the "h" after it.
    EXPECT_TRUE(notifier.Events().empty());
    EXPECT_TRUE(check->StatusLabel()->text().isEmpty());
    QTest::keyClick(check->Edit(), Qt::Key_Percent);
    EXPECT_TRUE(check->StatusLabel()->text().contains(QStringLiteral("\"%\"")));
    EXPECT_EQ(check->Edit()->toPlainText(), QStringLiteral("ABDE FGXHIJ\nSEHE"));

    QTest::mouseClick(check->CheckButton(), Qt::LeftButton);
    ASSERT_TRUE(check->Model().Result().has_value());
    // 14 sent: C missed, X extra, H copied as S; 12 right of 14 sent and 1 extra.
    EXPECT_EQ(check->Model().Result()->SentCount(), 14);
    EXPECT_EQ(check->Model().Result()->CorrectCount(), 12);
    EXPECT_EQ(check->Model().Result()->ErrorCount(), 3);
    EXPECT_TRUE(check->ScoreLabel()->text().contains(QStringLiteral("80,0 %")))
        << check->ScoreLabel()->text().toStdString();
    EXPECT_EQ(
        check->CountsLabel()->text(),
        QStringLiteral("Správně: 12, chybně: 1, vynecháno: 1, navíc: 1, přehozené dvojice: 0"));
    EXPECT_TRUE(
        check->ConfusionLabel()->text().contains(QStringLiteral("odesláno H, opsáno S: 1×")));
    EXPECT_TRUE(check->Edit()->isReadOnly());
    EXPECT_FALSE(check->CheckButton()->isEnabled());

    const std::vector<CheckRecord> history = CHistoryFile(HistoryPath()).Read();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(history[0].kind, 3);
    EXPECT_EQ(history[0].signSpeed, 120);
    EXPECT_EQ(history[0].sent, 14);
    EXPECT_EQ(history[0].correct, 12);
    EXPECT_EQ(history[0].characters.at('H').wrong, 1);

    // The result as drawn: the missed C framed in blue, the wrong H red and underlined with the
    // S below it, the extra X's wedge before the H of the second group.
    QApplication::processEvents();
    CCopyResultView* view = check->ResultView();
    ASSERT_TRUE(view->isVisible());
    const QImage image = view->grab().toImage();
    const CCopyCheckPainter& picture = *view->Result();
    const QColor blue = CCopyCheckPainter::ColourOf(CCopyCheck::Mark::Missed);
    const QColor red = CCopyCheckPainter::ColourOf(CCopyCheck::Mark::Wrong);
    const QColor green = CCopyCheckPainter::ColourOf(CCopyCheck::Mark::Correct);
    const QColor purple = CCopyCheckPainter::ColourOf(CCopyCheck::Mark::Extra);
    const QRect missed = picture.CellRect(0, 2);
    EXPECT_GT(PixelsNear(image, missed, blue), 0);
    EXPECT_GT(PixelsNear(image, QRect(missed.x(), missed.y(), missed.width(), 1), blue),
              missed.width() / 2);  // the frame's top edge
    const QRect wrong = picture.CellRect(0, 12);
    EXPECT_GT(PixelsNear(image, wrong, red), 0);
    EXPECT_GT(PixelsNear(image, QRect(wrong.x(), wrong.bottom() + 1, wrong.width(), 2), red),
              wrong.width() / 2);                                   // the underline
    EXPECT_GT(PixelsNear(image, picture.CopyRect(0, 12), red), 0);  // the S copied
    EXPECT_GT(PixelsNear(image, picture.CellRect(0, 0), green), 0);
    EXPECT_EQ(PixelsNear(image, picture.CellRect(0, 0), red), 0);
    const QRect wedge(picture.CellRect(0, 8).x() - 3, picture.CellRect(0, 8).bottom() + 1, 6, 6);
    EXPECT_GT(PixelsNear(image, wedge, purple), 0);

    // In black and white every mark is still there, and nothing is coloured.
    QImage print(view->size(), QImage::Format_RGB32);
    print.fill(Qt::white);
    {
        QPainter painter(&print);
        picture.Paint(painter, print.rect(), true);
    }
    int coloured = 0;
    for (int y = 0; y < print.height(); ++y) {
        for (int x = 0; x < print.width(); ++x) {
            const QColor c = print.pixelColor(x, y);
            coloured += c.red() != c.green() || c.green() != c.blue() ? 1 : 0;
        }
    }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(PixelsNear(print, QRect(missed.x(), missed.y(), missed.width(), 1), Qt::black),
              missed.width() / 2);
    EXPECT_GT(PixelsNear(print, QRect(wrong.x(), wrong.bottom() + 1, wrong.width(), 2), Qt::black),
              wrong.width() / 2);
    EXPECT_GT(PixelsNear(print, wedge, Qt::black), 0);
    EXPECT_EQ(PixelsNear(print,
                         QRect(picture.CellRect(0, 0).x(), picture.CellRect(0, 0).bottom() + 1,
                               picture.CellRect(0, 0).width(), 2),
                         Qt::black),
              0);  // a right character has no underline
}

TEST_F(Training, CheckedCopyPrintsToPdf) {
    const auto check = MakeCheck(QStringLiteral("PARIS PARIS"));
    QTest::keyClicks(check->Edit(), QStringLiteral("PARIS PAKIS"));
    EXPECT_FALSE(check->PrintButton()->isEnabled());
    QTest::mouseClick(check->CheckButton(), Qt::LeftButton);
    desktop.pdf = QString::fromStdString(folder.File("check.pdf"));
    QTest::mouseClick(check->PrintButton(), Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(desktop.pdf));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {desktop.pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Kontrola opisu")));
    EXPECT_TRUE(printed.contains(QStringLiteral("90,0 %"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("odesláno R, opsáno K: 1×")));
}

TEST_F(Training, StatisticsWithoutHistorySaySo) {
    CStatistikaDlg statistics(CStatistikaModel({}), {}, QString());
    statistics.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&statistics));
    EXPECT_TRUE(statistics.EmptyLabel()->isVisible());
    EXPECT_FALSE(statistics.ScoreView()->isVisible());
    EXPECT_FALSE(statistics.Table()->isVisible());
}

// The charts of three checks: the score of each as a point of the line, the characters' error
// rates as bars worst first, the speeds and lessons in the table, the recent confusions.
TEST_F(Training, StatisticsDrawTheHistory) {
    std::vector<CheckRecord> records(3);
    const char* copies[] = {"SEHE TTTT", "HEHE TTTT", "SEHE TTMT"};
    for (int k = 0; k < 3; ++k) {
        records[k].day = 10 + k;
        records[k].signSpeed = 100 + 20 * k;
        records[k].textSpeed = 60;
        records[k].lesson = k == 2 ? 4 : 0;
        records[k].TakeResults(CCopyCheck("HEHE TTTT", copies[k]));
    }
    CStatistikaDlg statistics(CStatistikaModel(records), {QStringLiteral("Písmenový text")},
                              QString());
    statistics.resize(1100, 720);
    statistics.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&statistics));
    QApplication::processEvents();

    const QList<QPointF> points = statistics.ScoreSeries()->points();
    ASSERT_EQ(points.size(), 3);
    EXPECT_EQ(points[0], QPointF(1, 87.5));
    EXPECT_EQ(points[1], QPointF(2, 100));
    EXPECT_EQ(points[2], QPointF(3, 75));
    // H: 1 wrong of 6; T: 1 of 12; E: none of 6.
    EXPECT_EQ(statistics.ErrorCategories(), (QStringList{"H", "T", "E"}));
    ASSERT_EQ(statistics.ErrorBars()->count(), 3);
    EXPECT_NEAR(statistics.ErrorBars()->at(0), 100.0 * 2 / 6, 1e-9);
    EXPECT_NEAR(statistics.ErrorBars()->at(1), 100.0 / 12, 1e-9);
    EXPECT_EQ(statistics.ErrorBars()->at(2), 0.0);

    QTableWidget* table = statistics.Table();
    ASSERT_EQ(table->rowCount(), 3);
    // The newest first, with its speeds and lesson.
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("2000-01-12 00:00"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("140"));
    EXPECT_EQ(table->item(0, 4)->text(), QStringLiteral("60"));
    EXPECT_EQ(table->item(0, 12)->text(), QStringLiteral("75,0 %"));
    // Right, wrong, missed and extra each in a column of its own: SEHE TTMT has S for H, M for T.
    EXPECT_EQ(table->item(0, 7)->text(), QStringLiteral("6"));
    EXPECT_EQ(table->item(0, 8)->text(), QStringLiteral("2"));
    EXPECT_EQ(table->item(0, 9)->text(), QStringLiteral("0"));
    EXPECT_EQ(table->item(0, 10)->text(), QStringLiteral("0"));
    EXPECT_TRUE(
        statistics.ConfusionLabel()->text().contains(QStringLiteral("odesláno H, opsáno S: 2×")));

    // The drawn chart has a point where the data says: the last check's marker lies at the
    // position of (3, 75) and is drawn in the series' colour.
    QChart* chart = statistics.ScoreView()->chart();
    const QPointF scene = chart->mapToPosition(points[2], statistics.ScoreSeries());
    const QPoint at = statistics.ScoreView()->mapFromScene(scene);
    const QImage image = statistics.ScoreView()->grab().toImage();
    EXPECT_GT(
        PixelsNear(image, QRect(at.x() - 2, at.y() - 2, 5, 5), statistics.ScoreSeries()->color()),
        0);
    EXPECT_EQ(
        PixelsNear(image, QRect(at.x() - 2, at.y() - 40, 5, 5), statistics.ScoreSeries()->color()),
        0);
}

// From the main window: a transmission, then the copy check of what it sent, then the statistics
// of that check.
TEST_F(Training, MainWindowChecksTheLastTransmission) {
    Click(ids::kGenerate);
    const QString shown = dialog->MorseView().GetFullText();
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    QString checkedText;
    answerDialog = [&](QDialog& opened) {
        auto& check = dynamic_cast<CKontrolaDlg&>(opened);
        checkedText = FromCp1250(check.Model().SentText());
        check.Edit()->setPlainText(FromCp1250(check.Model().SentText()));
        check.OnCheck();
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(dialog.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(checkedText, shown);
    const std::vector<CheckRecord> history = CHistoryFile(HistoryPath()).Read();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_EQ(history[0].Score(), 100.0);
    EXPECT_EQ(history[0].signSpeed, 100);
    EXPECT_GT(history[0].sent, 200);

    QList<QPointF> points;
    answerDialog = [&](QDialog& opened) {
        points = dynamic_cast<CStatistikaDlg&>(opened).ScoreSeries()->points();
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_EQ(points, (QList<QPointF>{QPointF(1, 100)}));
}

// The course dialog: the order edited like the letters set, the lesson's characters shown; its
// choice is remembered in a file of its own and makes the next texts lesson texts.
TEST_F(Training, CourseDialogChoosesTheLesson) {
    answerDialog = [](QDialog& opened) {
        auto& course = dynamic_cast<CKochDlg&>(opened);
        QLineEdit* order = course.OrderEdit();
        order->setFocus();
        order->selectAll();
        QTest::keyClicks(order, QStringLiteral("kmrs%u"));
        EXPECT_EQ(order->text(), QStringLiteral("KMRSU"));
        EXPECT_EQ(course.LessonSpin()->maximum(), 4);
        course.LessonSpin()->setValue(3);
        EXPECT_TRUE(course.LessonLabel()->text().endsWith(QStringLiteral("(nový: S)")));
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCourse)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);  // the % refused
    EXPECT_EQ(List(ids::kTextKind)->currentIndex(), kLessonText);
    const std::string text = dialog->CurrentText().GetText();
    EXPECT_EQ(text.substr(0, 12), "S S S S S S ");
    EXPECT_EQ(text.find_first_not_of("KMRS "), std::string::npos);
    EXPECT_EQ(ReadWholeFile(folder.File("kurz")), "lekce=3\nporadi=KMRSU\nslabe=0\n");

    // Both survive a restart, and "init" stays fourteen lines.
    Reopen();
    EXPECT_EQ(List(ids::kTextKind)->currentIndex(), kLessonText);
    EXPECT_EQ(dialog->CurrentText().GetText(), text);
    const std::string init = ReadWholeFile(folder.File("init"));
    EXPECT_EQ(std::count(init.begin(), init.end(), '\n'), 14);
    Click(ids::kGenerate);
    EXPECT_EQ(dialog->CurrentText().GetText().substr(0, 12), "S S S S S S ");
}

// The course order chosen from the shipped ones or read from a user's file: the list follows the
// edit, a file without an order says so and changes nothing, and the choice is kept in "kurz".
TEST_F(Training, CourseOrderFromTheListOrAFile) {
    WriteWholeFile(folder.File("bad.txt"), "nazev=nothing\n%%%\n");
    WriteWholeFile(folder.File("mine.txt"), "nazev=Moje\r\n# the hard ones\r\nqzxj\r\n");
    const auto& shipped = CCourseOrders::Shipped();
    ASSERT_GE(shipped.size(), 3U);
    answerDialog = [&](QDialog& opened) {
        auto& course = dynamic_cast<CKochDlg&>(opened);
        QComboBox* list = course.OrderList();
        EXPECT_EQ(list->count(), static_cast<int>(shipped.size()) + 1);
        EXPECT_EQ(list->currentIndex(), 0);
        EXPECT_EQ(list->itemText(1), QStringLiteral("LCWO"));
        list->setCurrentIndex(1);
        emit list->activated(1);
        EXPECT_EQ(course.OrderEdit()->text(), QString::fromStdString(shipped[1].order));
        EXPECT_EQ(course.LessonSpin()->maximum(), static_cast<int>(shipped[1].order.size()) - 1);
        // A chosen order is shown from its first characters, the ones the lessons begin with.
        EXPECT_EQ(course.OrderEdit()->cursorPosition(), 0);

        desktop.answer = QString::fromStdString(folder.File("bad.txt"));
        course.FileButton()->click();
        EXPECT_TRUE(course.FileLabel()->text().contains(QStringLiteral("bad.txt")));
        EXPECT_EQ(course.OrderEdit()->text(), QString::fromStdString(shipped[1].order));

        desktop.answer = QString::fromStdString(folder.File("mine.txt"));
        course.FileButton()->click();
        EXPECT_EQ(course.FileLabel()->text(), QStringLiteral("Moje"));
        EXPECT_EQ(course.OrderEdit()->text(), QStringLiteral("QZXJ"));
        EXPECT_EQ(list->currentIndex(), list->count() - 1);
        EXPECT_EQ(list->currentText(), QStringLiteral("Vlastní pořadí"));
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCourse)->trigger();
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().order, "QZXJ");

    // The shipped order typed by hand is named in the list again.
    answerDialog = [&](QDialog& opened) {
        auto& course = dynamic_cast<CKochDlg&>(opened);
        course.OrderEdit()->setText(QString::fromStdString(shipped[2].order));
        emit course.OrderEdit()->textEdited(course.OrderEdit()->text());
        EXPECT_EQ(course.OrderList()->currentIndex(), 2);
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCourse)->trigger();
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().order, shipped[2].order);
}

// A text of real traffic is a text like any other: generated afresh, sent and checked, its kind
// recorded with the check.
TEST_F(Training, TrafficTextsAreSentAndChecked) {
    Choose(ids::kTextKind, kContactText);
    const std::string contact = dialog->CurrentText().GetText();
    EXPECT_EQ(contact.substr(0, 3), "CQ ");
    Click(ids::kGenerate);
    EXPECT_NE(dialog->CurrentText().GetText(), contact);
    Choose(ids::kTextKind, kCallsignText);
    EXPECT_EQ(List(ids::kTextKind)->currentText(), QStringLiteral("Volací znaky"));
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    int recordedKind = -1;
    answerDialog = [&](QDialog& opened) {
        auto& check = dynamic_cast<CKontrolaDlg&>(opened);
        check.Edit()->setPlainText(FromCp1250(check.Model().SentText()));
        check.OnCheck();
        recordedKind = check.Model().Record().kind;
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    EXPECT_EQ(recordedKind, kCallsignText);
}

// A check of a lesson text offers the next lesson from 90 % on; the user decides.
TEST_F(Training, WellCopiedLessonOffersTheNext) {
    WriteWholeFile(folder.File("kurz"), "lekce=3\nporadi=KMRSU\n");
    Restart();
    Choose(ids::kTextKind, kLessonText);
    const auto sendAndCopy = [&](bool wellCopied) {
        Click(ids::kStart);
        ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
        answerDialog = [wellCopied](QDialog& opened) {
            auto& check = dynamic_cast<CKontrolaDlg&>(opened);
            QString copy = FromCp1250(check.Model().SentText());
            if (!wellCopied) {
                // Every fourth group copied as Es: far below 90 %.
                for (qsizetype i = 0; i < copy.size(); i += 24) {
                    copy.replace(i, 5, QStringLiteral("EEEEE"));
                }
            }
            check.Edit()->setPlainText(copy);
            check.OnCheck();
            EXPECT_EQ(check.Model().Record().lesson, 3);
            return static_cast<int>(QDialog::Accepted);
        };
        dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    };
    sendAndCopy(false);
    EXPECT_TRUE(boxes.shown.isEmpty());
    boxes.answer = false;
    sendAndCopy(true);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("Q|Brumlo|")));
    EXPECT_TRUE(boxes.shown[0].contains(QStringLiteral("lekci 4")));
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().lesson, 3);
    boxes.answer = true;
    sendAndCopy(true);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().lesson, 4);
    EXPECT_EQ(dialog->CurrentText().GetText().substr(0, 12), "U U U U U U ");
    // The statistics show the lesson of each check.
    QStringList lessons;
    answerDialog = [&](QDialog& opened) {
        QTableWidget* table = dynamic_cast<CStatistikaDlg&>(opened).Table();
        for (int row = 0; row < table->rowCount(); ++row) {
            lessons << table->item(row, 2)->text();
        }
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_EQ(lessons,
              (QStringList{QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("3")}));
}

// With weak characters practised, a letter that was always copied wrong turns up far more
// often than its fair share of one in 26.
TEST_F(Training, WeakCharactersAreDrawnMoreOften) {
    CheckRecord record;
    for (char c = 'A'; c <= 'Z'; ++c) {
        record.characters[c] = {100, c == 'Q' ? 100 : 0};
    }
    ASSERT_TRUE(CHistoryFile(HistoryPath()).Append(record));
    dialog->MenuCommand(ids::kMenuWeakCharacters)->trigger();
    EXPECT_TRUE(CCourseFile(folder.File("kurz")).Read().weakCharacters);
    int qs = 0;
    int letters = 0;
    for (int text = 0; text < 5; ++text) {
        Click(ids::kGenerate);
        for (const char c : dialog->CurrentText().GetText()) {
            qs += c == 'Q' ? 1 : 0;
            letters += c != ' ' ? 1 : 0;
        }
    }
    // About 10 % against 3.8 % of an even draw: many standard deviations apart.
    EXPECT_GT(qs, letters * 65 / 1000) << qs << " of " << letters;
    dialog->MenuCommand(ids::kMenuWeakCharacters)->trigger();
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().weakCharacters, false);
}

}  // namespace

namespace {

// Upper-casing is ASCII only in every edit that upper-cases: a typed sharp s stays one character
// (and, having no code, is refused with its warning) instead of becoming "SS"; an e acute is not
// turned into another letter.
TEST_F(Training, EveryEditUpperCasesAsciiOnly) {
    const QString typed = QStringLiteral("a\u00DFb\u00E9");
    const QString warned = QStringLiteral(
        "W|Brumlo|UPOZORNĚNÍ: Právě vložený znak \"%1\" je "
        "NEPLATNÝ, proto bude odstraněn!");
    const QStringList warnings{warned.arg(QStringLiteral("\u00DF")),
                               warned.arg(QStringLiteral("\u00E9"))};

    QLineEdit* letters = Get<QLineEdit>(ids::kLetters);
    letters->selectAll();
    letters->insert(typed);
    EXPECT_EQ(letters->text(), QStringLiteral("AB"));

    const auto check = MakeCheck(QStringLiteral("AB"));
    check->Edit()->setPlainText(typed);
    EXPECT_EQ(check->Edit()->toPlainText(), QStringLiteral("AB"));

    CVlastniTextDlg custom(QString(), notifier);
    custom.Edit()->setPlainText(typed);
    EXPECT_EQ(custom.Edit()->toPlainText(), QStringLiteral("AB"));

    CKochDlg course("KM", 1, 100, QString(), notifier);
    course.OrderEdit()->setText(typed);
    emit course.OrderEdit()->textEdited(course.OrderEdit()->text());
    EXPECT_EQ(course.OrderEdit()->text(), QStringLiteral("AB"));

    EXPECT_EQ(boxes.shown.mid(0, 2), warnings);
    // The copy says its refusals in its status line; the other edits warn.
    EXPECT_TRUE(check->StatusLabel()->text().contains(QStringLiteral("é")));
    const std::vector<std::string> twice{"InvalidCharacter:\xDF", "InvalidCharacter:\xE9"};
    std::vector<std::string> expected;
    for (int k = 0; k < 2; ++k) {
        expected.insert(expected.end(), twice.begin(), twice.end());
    }
    EXPECT_EQ(notifier.Events(), expected);
}

// A copy of a text that has changed since it was sent is checked against that text only when the
// user says so; a text sent since is checked at once.
TEST_F(Training, ChangedTextIsCheckedOnlyWhenAsked) {
    Click(ids::kGenerate);
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    Click(ids::kGenerate);
    const QString shown = dialog->MorseView().GetFullText();
    QString checked;
    answerDialog = [&](QDialog& opened) {
        checked = FromCp1250(dynamic_cast<CKontrolaDlg&>(opened).Model().SentText());
        return static_cast<int>(QDialog::Rejected);
    };
    struct Case {
        bool answer;
        QString checked;
    };
    const Case cases[] = {{false, QString()}, {true, shown}};
    for (const Case& c : cases) {
        boxes.shown.clear();
        boxes.answer = c.answer;
        checked.clear();
        dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("Q|Brumlo|")));
        EXPECT_TRUE(boxes.shown[0].contains(QStringLiteral("změnil")));
        EXPECT_EQ(checked, c.checked);
    }
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    boxes.shown.clear();
    dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(checked, shown);
}

// A question's default is No: Enter never takes the learner on by itself.
TEST_F(Training, QuestionsDefaultToNo) {
    const auto box =
        CQtMessageBoxes::Question(QStringLiteral("Brumlo"), QStringLiteral("?"), nullptr);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("&Ano"));
}

// The error-rate chart of the whole Koch order in a window as large as a maximised one at
// 1024 x 768: every bar
// carries its character, whole, the worst first.
TEST_F(Training, EveryBarIsLabelledAt1024By768) {
    std::vector<CheckRecord> records(1);
    const std::string order = CKochCourse::DefaultOrder();
    std::string copy = order;
    // The first characters copied wrong, more of them the further they come.
    for (std::size_t k = 0; k < 10; ++k) {
        copy[k] = copy[k] == 'E' ? 'T' : 'E';
    }
    records[0].TakeResults(CCopyCheck(order, copy));
    CStatistikaDlg statistics(CStatistikaModel(records), {}, QString());
    // The size of a maximised window on a 1024 x 768 desktop, less its frame and a panel.
    statistics.resize(1016, 700);
    statistics.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&statistics));
    QApplication::processEvents();
    const QStringList categories = statistics.ErrorCategories();
    ASSERT_EQ(categories.size(), CStatistikaModel::kMaxBars);
    for (std::size_t k = 0; k < 10; ++k) {
        EXPECT_TRUE(categories.mid(0, 10).contains(QString(QLatin1Char(order[k]))));
    }
    for (const QString& category : categories) {
        EXPECT_EQ(category.size(), 1);
    }
    const auto axes = statistics.ErrorView()->chart()->axes(Qt::Horizontal);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_FALSE(axes[0]->labelsTruncated());
    EXPECT_FALSE(axes[0]->truncateLabels());
    // The bars' labels have room: at least a character's width per bar.
    const QRectF plot = statistics.ErrorView()->chart()->plotArea();
    EXPECT_GT(plot.width() / categories.size(),
              QFontMetrics(axes[0]->labelsFont()).horizontalAdvance(QLatin1Char('W')));
    // The rates' axis runs to a round figure in round steps.
    const auto rates = statistics.ErrorView()->chart()->axes(Qt::Vertical);
    ASSERT_EQ(rates.size(), 1);
    const auto* rateAxis = dynamic_cast<QValueAxis*>(rates[0]);
    ASSERT_NE(rateAxis, nullptr);
    EXPECT_EQ(std::fmod(rateAxis->max(), rateAxis->tickInterval()), 0.0);
    EXPECT_EQ(std::fmod(rateAxis->tickInterval(), 10.0), 0.0);
    // The table's columns, headings in full words, fit without scrolling sideways.
    const QTableWidget* table = statistics.Table();
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());
}

// No Czech text left in the English set.
bool LooksCzech(const QString& text) {
    static const QString diacritics = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    for (const QChar c : text) {
        if (diacritics.contains(c)) {
            return true;
        }
    }
    static const QRegularExpression words(
        QStringLiteral("\\b(ano|ne|znak\\w*|lekc\\w*|opis\\w*|chyb\\w*|druh\\w*|kontrol\\w*|"
                       "rychlost\\w*|zavrit|storno|vyhodnotit|soubory|navic|spravne|zadne|"
                       "poradi|vychozi|tisk|statistika|uspesnost|procvicovat)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return words.match(text).hasMatch();
}

QStringList TextsOf(QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (QLabel* label : window.findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    for (QTableWidget* table : window.findChildren<QTableWidget*>()) {
        for (int c = 0; c < table->columnCount(); ++c) {
            texts << table->horizontalHeaderItem(c)->text();
            for (int r = 0; r < table->rowCount(); ++r) {
                texts << table->item(r, c)->text();
            }
        }
    }
    for (QChartView* view : window.findChildren<QChartView*>()) {
        texts << view->chart()->title();
        for (QAbstractAxis* axis : view->chart()->axes()) {
            texts << axis->titleText();
        }
    }
    return texts;
}

// With the shipped English set, every window and message of the training features speaks
// English, numbers with a decimal point.
TEST_F(Training, EnglishSetLeavesNoCzech) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    QStringList texts;
    const auto collect = [&](const QString& where, const QStringList& found) {
        for (const QString& text : found) {
            EXPECT_FALSE(LooksCzech(text)) << where.toStdString() << ": " << text.toStdString();
        }
        texts << found;
    };
    for (QAction* menu : dialog->MenuBar()->actions()) {
        collect(QStringLiteral("menu"), {menu->text()});
        for (QAction* item : menu->menu()->actions()) {
            collect(QStringLiteral("menu"), {item->text()});
        }
    }
    for (int k = 0; k < List(ids::kTextKind)->count(); ++k) {
        collect(QStringLiteral("kinds"), {List(ids::kTextKind)->itemText(k)});
    }
    EXPECT_EQ(List(ids::kRatio)->itemText(0), QStringLiteral("1 : 3.0"));

    // The course: a lesson of two characters, and its minimum of sent characters.
    answerDialog = [&](QDialog& opened) {
        auto& course = dynamic_cast<CKochDlg&>(opened);
        course.OrderEdit()->setText(QStringLiteral("KMRSU"));
        emit course.OrderEdit()->textEdited(course.OrderEdit()->text());
        course.LessonSpin()->setValue(1);
        course.MinimumSpin()->setValue(120);
        collect(QStringLiteral("course"), TextsOf(opened));
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCourse)->trigger();
    EXPECT_EQ(CCourseFile(folder.File("kurz")).Read().minimumSent, 120);
    dialog->MenuCommand(ids::kMenuWeakCharacters)->trigger();

    // The copy check of the lesson sent, with a refused character on the way, and the question
    // of the next lesson.
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    answerDialog = [&](QDialog& opened) {
        auto& check = dynamic_cast<CKontrolaDlg&>(opened);
        collect(QStringLiteral("copy check"), TextsOf(opened));
        check.Edit()->setPlainText(QStringLiteral("%"));
        EXPECT_FALSE(check.StatusLabel()->text().isEmpty());
        collect(QStringLiteral("copy check"), {check.StatusLabel()->text()});
        check.Edit()->setPlainText(FromCp1250(check.Model().SentText()) + QStringLiteral(" M"));
        check.OnCheck();
        collect(QStringLiteral("copy check"), TextsOf(opened));
        collect(QStringLiteral("copy check"), check.ResultView()->Result()->Legend());
        EXPECT_TRUE(
            check.ScoreLabel()->text().contains(QRegularExpression(QStringLiteral("9\\d\\.\\d %"))))
            << check.ScoreLabel()->text().toStdString();
        return static_cast<int>(QDialog::Accepted);
    };
    boxes.answer = false;
    dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].startsWith(QStringLiteral("Q|")));
    collect(QStringLiteral("next lesson"), {boxes.shown[0]});

    // A changed text, not sent since.
    Click(ids::kGenerate);
    dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    ASSERT_EQ(boxes.shown.size(), 2);
    collect(QStringLiteral("changed text"), {boxes.shown[1]});

    // The statistics of that check.
    answerDialog = [&](QDialog& opened) {
        collect(QStringLiteral("statistics"), TextsOf(opened));
        for (const QString& category : dynamic_cast<CStatistikaDlg&>(opened).ErrorCategories()) {
            collect(QStringLiteral("statistics"), {category});
        }
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_TRUE(texts.filter(QStringLiteral("Koch lesson")).size() > 0);

    // Every message, the questions' buttons and the file filters.
    collect(QStringLiteral("messages"), messages::Texts());
    const auto question = CQtMessageBoxes::Question(QStringLiteral("Brumlo"), QString(), nullptr);
    collect(QStringLiteral("question"), TextsOf(*question));
    EXPECT_EQ(messages::Number(84.56, 1), QStringLiteral("84.6"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(messages::Number(84.56, 1), QStringLiteral("84,6"));
    EXPECT_EQ(List(ids::kRatio)->itemText(10), QStringLiteral("1 : 4,0"));
}

}  // namespace
