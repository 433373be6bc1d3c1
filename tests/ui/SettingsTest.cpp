#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <filesystem>

#include "config/SettingsFile.h"
#include "core/OutputKind.h"
#include "session/ControlIds.h"
#include "tests/ui/MainWindowFixture.h"

namespace {

class SettingsFile : public MainWindow {
protected:
    void WriteInit(const std::string& bytes) { WriteWholeFile(folder.File("init"), bytes); }
    bool Checked(int command) { return dialog->IsMenuItemChecked(command); }
    QStringList AllCaptions() {
        QStringList captions;
        // The three menus of the original file; the training menu has captions of its own.
        for (QAction* menu : dialog->MenuBar()->actions().mid(0, 3)) {
            captions << menu->text();
            for (QAction* command : menu->menu()->actions()) {
                // Saving the sound, its options and the punctuation table are captions added
                // since.
                if (!command->isSeparator() &&
                    command != dialog->MenuCommand(ids::kMenuSaveSound) &&
                    command != dialog->MenuCommand(ids::kMenuSoundOptions) &&
                    command != dialog->MenuCommand(ids::kMenuPunctuation)) {
                    captions << command->text();
                }
            }
        }
        for (int id = ids::kMorseText; id <= ids::kRatioFrame; ++id) {
            QWidget* widget = dialog->Control(id);
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                captions << button->text();
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                captions << label->text();
            } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
                captions << frame->title();
            }
        }
        // The five kinds of the original file; the lesson kind is a training caption.
        for (int entry = 0; entry < 5; ++entry) {
            captions << List(ids::kTextKind)->itemText(entry);
        }
        return captions;
    }
};

TEST_F(SettingsFile, ClosingWritesTheFourteenLines) {
    dialog->close();
    EXPECT_EQ(ReadWholeFile(folder.File("init")),
              "1\r\nCOM1\r\n1\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n1234567890\r\n1\r\n0\r\n1\r\n8\r\n4"
              "\r\n0\r\n0\r\n0\r\n0\r\n");
    // Remember is on: the text is kept too (empty here, as nothing was generated).
    EXPECT_TRUE(std::filesystem::exists(folder.File("initt")));
}

// The window is shown maximised, so its layout runs again after the settings were read; the
// stored choice to send zeros in full must survive that and the next close.
TEST_F(SettingsFile, ZerosInFullStayChosenThroughTheLayoutAndTheClose) {
    WriteInit("1\r\nCOM1\r\n1\r\nABC\r\n0123\r\n0\r\n1\r\n1\r\n8\r\n4\r\n0\r\n0\r\n0\r\n0\r\n");
    WriteWholeFile(folder.File("initt"), "00000");
    Restart();
    ASSERT_TRUE(dialog->isMaximized());
    EXPECT_FALSE(Get<QCheckBox>(ids::kShortZeros)->isChecked());
    EXPECT_EQ(dialog->CurrentText().GetShortZeros(), 0);
    CMorseText sent = dialog->CurrentText();
    EXPECT_EQ(sent.ToElements().substr(0, 6), "-----m");
    dialog->close();
    const std::string init = ReadWholeFile(folder.File("init"));
    EXPECT_EQ(SplitSettingsLines(init)[5], "0") << init;
}

TEST_F(SettingsFile, LanguageRoundTripRestoresEveryCaption) {
    const QStringList czech = AllCaptions();
    std::filesystem::create_directory(folder.File("jazyk"));
    std::string english;
    for (int line = 1; line <= 47; ++line) {
        english += "Line " + std::to_string(line) + "\r\n";
    }
    WriteWholeFile(folder.File("jazyk/local"), english);
    dialog->MenuCommand(ids::kMenuStepping)->trigger();
    Choose(ids::kTextKind, kMixedText);
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_TRUE(dialog->IsLanguageActive());
    EXPECT_EQ(dialog->MenuBar()->actions()[0]->text(), QStringLiteral("Line 1"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuAbout)->text(), QStringLiteral("Line 13"));
    EXPECT_EQ(Get<QGroupBox>(ids::kVolumeFrame)->title(), QStringLiteral("Line 47"));
    EXPECT_EQ(List(ids::kTextKind)->currentText(), QStringLiteral("Line 24"));
    // Every caption took its line: the three menus with their ten commands, the controls and the
    // five kinds.
    QStringList lines;
    for (int line = 1; line <= 47; ++line) {
        lines << QStringLiteral("Line %1").arg(line);
    }
    QStringList shown = AllCaptions();
    EXPECT_EQ(shown.size(), 47);
    shown.sort();
    lines.sort();
    EXPECT_EQ(shown, lines);
    // A file without the training menu's lines leaves it its built-in captions.
    EXPECT_EQ(dialog->MenuBar()->actions()[3]->text(), QStringLiteral("Vý&cvik"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuCopyCheck)->text(), QStringLiteral("&Kontrola opisu…"));
    EXPECT_TRUE(Checked(ids::kMenuStepping));
    EXPECT_TRUE(Checked(ids::kMenuLanguage));
    EXPECT_TRUE(Checked(ids::kMenuRemember));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(AllCaptions(), czech);
    EXPECT_TRUE(Checked(ids::kMenuStepping));
    EXPECT_FALSE(Checked(ids::kMenuLanguage));
    EXPECT_EQ(List(ids::kTextKind)->currentIndex(), kMixedText);
}

TEST_F(SettingsFile, EmptyOrMissingLanguageFile) {
    const QStringList czech = AllCaptions();
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_TRUE(Checked(ids::kMenuLanguage));
    EXPECT_EQ(AllCaptions(), czech);
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();

    std::filesystem::create_directory(folder.File("jazyk"));
    WriteWholeFile(folder.File("jazyk/local"), "");
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    for (const QString& caption : AllCaptions()) {
        EXPECT_TRUE(caption.isEmpty());
    }
    EXPECT_EQ(List(ids::kTextKind)->count(), kLastTextKind + 1);
    EXPECT_EQ(List(ids::kTextKind)->itemText(kLessonText), QStringLiteral("Kochova lekce"));
    EXPECT_EQ(List(ids::kTextKind)->itemText(kCallsignText), QStringLiteral("Volací znaky"));
    EXPECT_EQ(List(ids::kTextKind)->currentIndex(), kLetterText);
}

TEST_F(SettingsFile, ShippedEnglishSetIsComplete) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    const QStringList czech = AllCaptions();
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    const QStringList english = AllCaptions();
    ASSERT_EQ(english.size(), 47);
    for (qsizetype k = 0; k < english.size(); ++k) {
        EXPECT_FALSE(english[k].isEmpty()) << k;
        // Only the words that read the same in both languages stay.
        if (english[k] == czech[k]) {
            EXPECT_TRUE(english[k] == QStringLiteral("Morse text") ||
                        english[k] == QStringLiteral("&Start"))
                << english[k].toStdString();
        }
    }
    EXPECT_EQ(Get<QPushButton>(ids::kStart)->text(), QStringLiteral("&Start"));
    EXPECT_EQ(List(ids::kTextKind)->itemText(3), QStringLiteral("Cipher text"));
    EXPECT_EQ(dialog->MenuBar()->actions()[3]->text(), QStringLiteral("T&raining"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuCopyCheck)->text(), QStringLiteral("&Copy check…"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuStatistics)->text(), QStringLiteral("&Statistics…"));
    EXPECT_EQ(List(ids::kTextKind)->itemText(kLessonText), QStringLiteral("Koch lesson"));
    EXPECT_EQ(List(ids::kTextKind)->itemText(kWordText), QStringLiteral("Words"));
    EXPECT_EQ(List(ids::kTextKind)->itemText(kContactText), QStringLiteral("Contacts"));
    EXPECT_EQ(List(ids::kTextKind)->count(), kLastTextKind + 1);
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuSaveSound)->text(), QStringLiteral("Save so&und…"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuPunctuation)->text(),
              QStringLiteral("&International punctuation (ITU)"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuKeying)->text(), QStringLiteral("&Keying…"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuSendingPractice)->text(),
              QStringLiteral("Sendin&g practice…"));

    // The three dialogs take their own files.
    QStringList titles;
    answerDialog = [&titles](QDialog& shown) {
        titles << shown.windowTitle();
        for (QAbstractButton* button : shown.findChildren<QAbstractButton*>()) {
            EXPECT_FALSE(button->text().isEmpty()) << shown.windowTitle().toStdString();
        }
        return static_cast<int>(QDialog::Rejected);
    };
    dialog->MenuCommand(ids::kMenuOutput)->trigger();
    dialog->MenuCommand(ids::kMenuAbout)->trigger();
    Click(ids::kCustom);
    dialog->MenuCommand(ids::kMenuKeying)->trigger();
    dialog->MenuCommand(ids::kMenuSendingPractice)->trigger();
    EXPECT_EQ(titles,
              (QStringList{QStringLiteral("Output settings"), QStringLiteral("About Brumlo"),
                           QStringLiteral("Create custom text"), QStringLiteral("Keying"),
                           QStringLiteral("Sending practice")}));
}

}  // namespace
