#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>

#include "config/CProgramFiles.h"
#include "config/CSoundOptionsFile.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/CZvukDlg.h"
#include "session/ControlIds.h"

namespace {

class SoundOptionsDialog : public MainWindow {
protected:
    // Opens the dialog from the menu; `use` sees it while it is open and says how it ends.
    void Open(const std::function<int(CZvukDlg&)>& use) {
        bool opened = false;
        answerDialog = [&](QDialog& shown) {
            auto& options = dynamic_cast<CZvukDlg&>(shown);
            opened = true;
            shown.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&shown));
            return use(options);
        };
        dialog->MenuCommand(ids::kMenuSoundOptions)->trigger();
        EXPECT_TRUE(opened);
        answerDialog = nullptr;
    }
    static void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    SoundOptions Stored() {
        return CSoundOptionsFile(CProgramFiles(folder.Path()).SoundOptions()).Read();
    }
};

// Every field is named by its label for a screen reader and can be used while its choice is on;
// rungs that cannot be read keep the dialog open with a word beside them, and what OK takes is
// stored in its own file, read again by the next window.
TEST_F(SoundOptionsDialog, FieldsFollowTheirChoicesAndOkStoresThem) {
    Open([this](CZvukDlg& options) {
        const QList<QLabel*> labels = options.findChildren<QLabel*>();
        for (QWidget* field : {static_cast<QWidget*>(options.PauseBeforeSpin()),
                               static_cast<QWidget*>(options.PauseAfterSpin()),
                               static_cast<QWidget*>(options.StepSpin()),
                               static_cast<QWidget*>(options.MinutesSpin())}) {
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                                    [field](QLabel* l) { return l->buddy() == field; }));
        }
        // What takes the focus says what it is (a spin box's own edit is the spin box).
        for (QWidget* widget : options.findChildren<QWidget*>()) {
            const auto* button = qobject_cast<QAbstractButton*>(widget);
            if (widget->focusPolicy() != Qt::NoFocus &&
                !qobject_cast<QAbstractSpinBox*>(widget->parentWidget())) {
                EXPECT_FALSE(widget->accessibleName().isEmpty() &&
                             (button == nullptr || button->text().isEmpty()))
                    << widget->metaObject()->className();
            }
        }
        // Off by default; the rungs shown with the captions' decimal sign.
        EXPECT_FALSE(options.SpeakBox()->isChecked());
        EXPECT_FALSE(options.PauseBeforeSpin()->isEnabled());
        EXPECT_FALSE(options.LiveBox()->isEnabled());
        EXPECT_TRUE(options.LadderChoice(SoundOptions::Ladder::kNone)->isChecked());
        EXPECT_FALSE(options.RungsEdit()->isEnabled());
        EXPECT_FALSE(options.StepSpin()->isEnabled());
        EXPECT_EQ(options.RungsEdit()->text(), QStringLiteral("1; 1,175; 1,35; 1,5"));

        QTest::mouseClick(options.SpeakBox(), Qt::LeftButton);
        EXPECT_TRUE(options.PauseAfterSpin()->isEnabled());
        QTest::mouseClick(options.LiveBox(), Qt::LeftButton);
        options.PauseAfterSpin()->setValue(2.5);
        QTest::mouseClick(options.LadderChoice(SoundOptions::Ladder::kRungs), Qt::LeftButton);
        EXPECT_TRUE(options.RungsEdit()->isEnabled());
        EXPECT_FALSE(options.MinutesSpin()->isEnabled());
        Type(options.RungsEdit(), QStringLiteral("1; 9"));
        QTest::mouseClick(options.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(options.isVisible());
        EXPECT_FALSE(options.RungsProblem()->text().isEmpty());
        EXPECT_EQ(Stored(), SoundOptions{});

        Type(options.RungsEdit(), QStringLiteral("1 1,25 1,5"));
        QTest::mouseClick(options.OkButton(), Qt::LeftButton);
        return options.result();
    });
    SoundOptions expected;
    expected.speak = true;
    expected.speakLive = true;
    expected.pauseAfterTenths = 25;
    expected.ladder = SoundOptions::Ladder::kRungs;
    expected.rungs = {1, 1.25, 1.5};
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(dialog->Session().SoundFileOptions(), expected);

    // Cancel leaves them as they were.
    Open([](CZvukDlg& options) {
        EXPECT_TRUE(options.SpeakBox()->isChecked());
        QTest::mouseClick(options.SpeakBox(), Qt::LeftButton);
        return static_cast<int>(QDialog::Rejected);
    });
    EXPECT_EQ(dialog->Session().SoundFileOptions(), expected);
}

// With the shipped English set the command and the dialog are English and the rungs take the
// point; a set without the dialog's file keeps the built-in captions.
TEST_F(SoundOptionsDialog, EnglishSetAndMissingFile) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuSoundOptions)->text(),
              QStringLiteral("Soun&d options…"));
    const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    Open([&](CZvukDlg& options) {
        QStringList texts{options.windowTitle()};
        for (QLabel* label : options.findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (QAbstractButton* button : options.findChildren<QAbstractButton*>()) {
            texts << button->text();
        }
        for (const QString& text : texts) {
            EXPECT_FALSE(std::any_of(text.begin(), text.end(), [&](QChar c) {
                return czech.contains(c);
            })) << text.toStdString();
        }
        EXPECT_EQ(options.RungsEdit()->text(), QStringLiteral("1, 1.175, 1.35, 1.5"));
        return static_cast<int>(QDialog::Rejected);
    });

    std::filesystem::remove(folder.File("jazyk/localZV"));
    Open([](CZvukDlg& options) {
        EXPECT_EQ(options.windowTitle(), QStringLiteral("Mluvené odpovědi a rychlostní žebříček"));
        return static_cast<int>(QDialog::Rejected);
    });
}

}  // namespace
