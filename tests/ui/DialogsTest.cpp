#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstring>

#include <filesystem>

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>

#include "core/OutputKind.h"
#include "session/ControlIds.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/CDesktop.h"
#include "ui/CInfoDlg.h"
#include "ui/CVlastniTextDlg.h"
#include "ui/CVystupDlg.h"
#include "ui/WindowFit.h"

namespace {

const QString kInvalid = QStringLiteral(
    "W|Brumlo|UPOZORNĚNÍ: Právě vložený znak \"%1\" je "
    "NEPLATNÝ, proto bude odstraněn!");

class Dialogs : public MainWindow {
protected:
    QString WriteFile(const std::string& name, const std::string& bytes) {
        WriteWholeFile(folder.File(name), bytes);
        return QString::fromStdString(folder.File(name));
    }
    // Types `typed` (ASCII) into the custom text dialog, then pastes `pasted`, and confirms.
    void TypeCustomText(const QString& typed, const QString& pasted = QString()) {
        answerDialog = [typed, pasted](QDialog& shown) {
            auto& custom = dynamic_cast<CVlastniTextDlg&>(shown);
            custom.Edit()->selectAll();
            QTest::keyClicks(custom.Edit(), typed);
            custom.Edit()->insertPlainText(pasted);
            return static_cast<int>(QDialog::Accepted);
        };
        Click(ids::kCustom);
    }
};

TEST_F(Dialogs, LoadedFileBecomesTheCustomTextAndNamesTheWindow) {
    desktop.answer = WriteFile("a.txt", "ab\r\ncd");
    Click(ids::kLoad);
    EXPECT_EQ(dialog->CustomText().GetText(), "abcd");
    EXPECT_EQ(dialog->CurrentText().GetText(), "abcd");
    EXPECT_EQ(List(ids::kTextKind)->currentText(), QStringLiteral("Vlastní text"));
    EXPECT_FALSE(Enabled(ids::kGenerate));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Brumlo - ") + desktop.answer);
    EXPECT_EQ(dialog->LastFolder(), QString::fromStdString(folder.Path()));
    EXPECT_EQ(desktop.requests,
              QStringList{QStringLiteral("open ") + QString::fromStdString(folder.Path())});
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(Dialogs, LoadingCleansTheFileWithItsWarnings) {
    std::string contents =
        "A\tB\xE8"
        "C";
    contents += std::string(350, 'E');
    desktop.answer = WriteFile("b.txt", contents);
    Click(ids::kLoad);
    // Cut to 300 first, then cleaned: 298 characters are left.
    EXPECT_EQ(dialog->CustomText().GetText(), "ABC" + std::string(295, 'E'));
    EXPECT_EQ(boxes.shown,
              (QStringList{QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Maximální délka textu je "
                                          "300 znaků, proto byl původní text zkrácen! "),
                           QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Text obsahoval nepodporované "
                                          "znaky, \nkteré jsou nyní odstraněny!")}));

    desktop.answer = WriteFile("z.txt", std::string("AB\0CD", 5));
    Click(ids::kLoad);
    EXPECT_EQ(dialog->CustomText().GetText(), "AB");
    // A missing or empty file changes nothing.
    desktop.answer = WriteFile("empty.txt", "");
    Click(ids::kLoad);
    desktop.answer = QString::fromStdString(folder.File("missing.txt"));
    Click(ids::kLoad);
    EXPECT_EQ(dialog->CustomText().GetText(), "AB");
}

TEST_F(Dialogs, SavingWritesLinesOfSixty) {
    Click(ids::kGenerate);
    desktop.answer = QString::fromStdString(folder.File("300.txt"));
    Click(ids::kSave);
    const std::string saved = ReadWholeFile(folder.File("300.txt"));
    EXPECT_EQ(saved.size(), 310u);
    EXPECT_EQ(saved.substr(60, 2), "\r\n");

    TypeCustomText(QString(61, QLatin1Char('E')));
    desktop.answer = QString::fromStdString(folder.File("61.txt"));
    Click(ids::kSave);
    EXPECT_EQ(ReadWholeFile(folder.File("61.txt")), std::string(60, 'E') + "\r\nE");
}

TEST_F(Dialogs, SavingNothingWarnsWithoutADialog) {
    Click(ids::kSave);
    EXPECT_TRUE(desktop.requests.isEmpty());
    EXPECT_EQ(boxes.shown, QStringList{QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Není generován, ani "
                                                      "vytvořen vlastní text!\nProto není možné "
                                                      "text uložit.")});
}

// The message names the file and the system's reason.
TEST_F(Dialogs, SavingOntoAReadOnlyFileReportsThePath) {
    Click(ids::kGenerate);
    desktop.answer = WriteFile("ro.txt", "keep");
    ASSERT_EQ(chmod(folder.File("ro.txt").c_str(), 0444), 0);
    Click(ids::kSave);
    EXPECT_EQ(boxes.shown,
              QStringList{QStringLiteral("E|Brumlo|CHYBA: Neúspěšný zápis do souboru ") +
                          desktop.answer + QStringLiteral(" (") +
                          QString::fromLocal8Bit(std::strerror(EACCES)) + QLatin1Char(')')});
    EXPECT_EQ(ReadWholeFile(folder.File("ro.txt")), "keep");
}

TEST_F(Dialogs, CustomTextValidatesAndSelectsTheKind) {
    TypeCustomText(QStringLiteral("cq.de "), QStringLiteral("Č1"));
    EXPECT_EQ(dialog->CustomText().GetText(), "CQDE 1");
    EXPECT_EQ(boxes.shown,
              (QStringList{kInvalid.arg(QStringLiteral(".")), kInvalid.arg(QStringLiteral("Č"))}));
    EXPECT_EQ(List(ids::kTextKind)->currentText(), QStringLiteral("Vlastní text"));
    EXPECT_EQ(dialog->MorseView().GetFullText(), QStringLiteral("CQDE 1"));
}

TEST_F(Dialogs, CustomTextDialogLimitLineBreakAndEscape) {
    CRecordingNotifier notifier;
    CVlastniTextDlg custom(QString(), notifier);
    custom.SetText(std::string(299, 'E'));
    custom.Edit()->moveCursor(QTextCursor::End);
    QTest::keyClicks(custom.Edit(), QStringLiteral("TT"));
    EXPECT_EQ(custom.GetText(), std::string(299, 'E') + "T");
    EXPECT_EQ(custom.Edit()->toPlainText().size(), 300);

    custom.SetText("AB");
    QTextCursor cursor = custom.Edit()->textCursor();
    cursor.setPosition(1);
    custom.Edit()->setTextCursor(cursor);
    QTest::keyClick(custom.Edit(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(custom.GetText(), "AB");
    EXPECT_EQ(custom.Edit()->textCursor().position(), 1);
    EXPECT_EQ(notifier.Events(),
              (std::vector<std::string>{"InvalidCharacter:\r", "InvalidCharacter:\n"}));

    custom.show();
    QTest::keyClick(custom.Edit(), Qt::Key_Escape);
    EXPECT_EQ(custom.result(), QDialog::Rejected);
}

TEST_F(Dialogs, OutputChoiceThatFailsRestoresThePrevious) {
    failing = {"2:COM3"};
    engine->SetPortName("COM2");
    ASSERT_TRUE(engine->SelectOutput(kSerialPortOutput));
    answerDialog = [](QDialog& shown) {
        auto& output = dynamic_cast<CVystupDlg&>(shown);
        EXPECT_TRUE(output.KindButton(kSerialPortOutput)->isChecked());
        EXPECT_EQ(output.PortList()->currentText(), QStringLiteral("COM2"));
        EXPECT_EQ(output.PortList()->count(), 9);
        output.PortList()->setCurrentIndex(2);
        emit output.PortList()->activated(2);
        output.OnOk();
        return static_cast<int>(QDialog::Rejected);
    };
    dialog->MenuCommand(ids::kMenuOutput)->trigger();
    EXPECT_EQ(boxes.shown, QStringList{QStringLiteral("E|Chyba výstupu|Vybraný výstup není možné "
                                                      "použít!\nZvolte prosím jiný.")});
    EXPECT_EQ(engine->GetPortName(), "COM2");
    EXPECT_EQ(engine->GetOutputKind(), kSerialPortOutput);
    EXPECT_TRUE(engine->Device().IsOpen());
    // A serial line has no tone and no volume.
    EXPECT_FALSE(Enabled(ids::kTone));
    EXPECT_FALSE(Enabled(ids::kVolume));
}

// Each output's caption is shown whole inside its frame and the window, in both languages.
TEST_F(Dialogs, OutputCaptionsFitTheirPlace) {
    for (const QString& file :
         {QString(), QStringLiteral(BRUMLO_SOURCE_DIR "/res/jazyk/localSO")}) {
        CVystupDlg output(dialog->Session(), file, QStringList{QStringLiteral("COM1")});
        for (int kind = 0; kind < 3; ++kind) {
            const QRadioButton* button = output.KindButton(kind);
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
            EXPECT_TRUE(output.rect().contains(button->geometry()));
        }
    }
}

TEST_F(Dialogs, OutputDialogWithAnUnknownPortShowsTheFirst) {
    engine->SetPortName("/dev/ttyS9");
    engine->SelectOutput(kSerialPortOutput);
    answerDialog = [](QDialog& shown) {
        auto& output = dynamic_cast<CVystupDlg&>(shown);
        EXPECT_EQ(output.PortList()->currentText(), QStringLiteral("COM1"));
        output.KindButton(kSoundCardOutput)->click();
        EXPECT_FALSE(output.PortList()->isEnabled());
        output.OnOk();
        return output.result();
    };
    dialog->MenuCommand(ids::kMenuOutput)->trigger();
    EXPECT_EQ(engine->GetOutputKind(), kSoundCardOutput);
    // Choosing another radio leaves the port name alone.
    EXPECT_EQ(engine->GetPortName(), "/dev/ttyS9");
    EXPECT_TRUE(Enabled(ids::kVolume));
    EXPECT_TRUE(Enabled(ids::kTone));
}

TEST_F(Dialogs, DialogCaptionsFromShortLanguageFiles) {
    const QString two = WriteFile("localUT", "Own text\r\nText\r\n");
    CRecordingNotifier notifier;
    CVlastniTextDlg custom(two, notifier);
    EXPECT_EQ(custom.windowTitle(), QStringLiteral("Own text"));
    EXPECT_EQ(custom.Group()->title(), QStringLiteral("Text"));
    EXPECT_EQ(custom.OkButton()->text(), QString());
    EXPECT_EQ(custom.CancelButton()->text(), QString());

    const QString one = WriteFile("localAbout", "About");
    CInfoDlg about(one);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.ThanksHeading()->text(), QString());
    CInfoDlg builtIn(QString::fromStdString(folder.File("none")));
    EXPECT_EQ(builtIn.windowTitle(), QStringLiteral("O aplikaci Brumlo"));

    const QString old = WriteFile("localSO", "V\xFDstup\r\nA\r\nB\r\nC\r\nD\r\nE\r\nF\r\n");
    CVystupDlg output(dialog->Session(), old, {QStringLiteral("COM1")});
    EXPECT_EQ(output.windowTitle(), QStringLiteral("Výstup"));  // Windows-1250 file
    EXPECT_EQ(output.CancelButton()->text(), QStringLiteral("F"));
}

TEST_F(Dialogs, HelpOpensThePageOrSaysItFailed) {
    dialog->MenuCommand(ids::kMenuHelpContents)->trigger();
    ASSERT_EQ(desktop.requests.size(), 1);
    EXPECT_TRUE(desktop.requests[0].endsWith(QStringLiteral("/brumlo.html")));
    EXPECT_TRUE(boxes.shown.isEmpty());
    desktop.helpWorks = false;
    dialog->MenuCommand(ids::kMenuHelpContents)->trigger();
    EXPECT_EQ(boxes.shown, QStringList{QStringLiteral("E|Brumlo|Failed to launch help.")});
}

// The file list as the user sees it under each filter: ".txt" files, or every file, also names
// without a dot.
TEST_F(Dialogs, AllFilesFilterListsEveryFile) {
    const std::string files = folder.File("files");
    std::filesystem::create_directory(files);
    for (const char* name : {"initt", "text", "a.txt", "b.TXT.bak"}) {
        WriteWholeFile(files + "/" + name, "E");
    }
    for (const bool open : {true, false}) {
        QFileDialog chooser(nullptr, QString(), QString::fromStdString(files));
        SetUpTextFileDialog(chooser, open);
        EXPECT_EQ(chooser.defaultSuffix(), QStringLiteral("txt"));
        chooser.show();
        auto* list = chooser.findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(list, nullptr);
        const auto shown = [list] {
            QStringList names;
            const QModelIndex root = list->rootIndex();
            for (int row = 0; row < list->model()->rowCount(root); ++row) {
                names << list->model()->index(row, 0, root).data().toString();
            }
            names.sort();
            return names;
        };
        EXPECT_TRUE(Eventually([&] { return shown() == QStringList{QStringLiteral("a.txt")}; }))
            << shown().join(QLatin1Char(' ')).toStdString();
        auto* filters = chooser.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(filters, nullptr);
        ASSERT_EQ(filters->itemText(1), QStringLiteral("Všechny soubory (*.*)"));
        filters->setCurrentIndex(1);
        emit filters->activated(1);
        emit filters->textActivated(filters->itemText(1));
        const QStringList all{QStringLiteral("a.txt"), QStringLiteral("b.TXT.bak"),
                              QStringLiteral("initt"), QStringLiteral("text")};
        EXPECT_TRUE(Eventually([&] { return shown() == all; }))
            << shown().join(QLatin1Char(' ')).toStdString();
        chooser.close();
    }
}

}  // namespace

namespace {

// A window grown near the bottom of the screen moves up so that all of it stays on the screen.
TEST(WindowFit, GrownWindowStaysOnTheScreen) {
    QDialog window;
    window.show();
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.left(), screen.bottom() - 100);
    ResizeWithinScreen(window, QSize(200, screen.height() / 2));
    EXPECT_LE(window.frameGeometry().bottom(), screen.bottom());
    EXPECT_GE(window.frameGeometry().top(), screen.top());
    EXPECT_EQ(window.height(), screen.height() / 2);
}

}  // namespace
