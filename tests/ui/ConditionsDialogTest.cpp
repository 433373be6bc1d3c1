#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <filesystem>

#include "config/CConditionsFile.h"
#include "config/CProgramFiles.h"
#include "print/Cp1250.h"
#include "session/ControlIds.h"
#include "tests/ui/MainWindowFixture.h"
#include "training/CHistoryFile.h"
#include "ui/CKontrolaDlg.h"
#include "ui/CPodminkyDlg.h"
#include "ui/CStatistikaDlg.h"

namespace {

class ConditionsDialog : public MainWindow {
protected:
    // Opens the dialog from the menu; `use` sees it while it is open and says how it ends.
    void Open(const std::function<int(CPodminkyDlg&)>& use) {
        bool opened = false;
        answerDialog = [&](QDialog& shown) {
            auto& conditions = dynamic_cast<CPodminkyDlg&>(shown);
            opened = true;
            shown.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&shown));
            return use(conditions);
        };
        dialog->MenuCommand(ids::kMenuReceptionConditions)->trigger();
        EXPECT_TRUE(opened);
        answerDialog = nullptr;
    }
    static int Ok(CPodminkyDlg& conditions) {
        QTest::mouseClick(conditions.OkButton(), Qt::LeftButton);
        return conditions.result();
    }
    std::string ConditionsPath() { return CProgramFiles(folder.Path()).Conditions(); }
};

// Every field is named by its label (linked to it) for a screen reader, and can be used while
// the condition it belongs to is on.
TEST_F(ConditionsDialog, FieldsAreLabelledAndFollowTheirSwitches) {
    Open([](CPodminkyDlg& conditions) {
        const QList<QLabel*> labels = conditions.findChildren<QLabel*>();
        const QList<QWidget*> fields = {
            conditions.SnrSpin(),          conditions.FilterSpin(),
            conditions.FadingDepthSpin(),  conditions.FadingPresetList(),
            conditions.FadingSpreadSpin(), conditions.PathDelaySpin(),
            conditions.StaticRateSpin(),   conditions.StationsSpin(),
            conditions.ChirpSpin(),        conditions.AgcList(),
            conditions.FistList(),         conditions.SeedEdit()};
        for (QWidget* field : fields) {
            const bool labelled = std::any_of(labels.begin(), labels.end(),
                                              [field](QLabel* l) { return l->buddy() == field; });
            EXPECT_TRUE(labelled) << field->accessibleName().toStdString();
            EXPECT_FALSE(field->accessibleName().isEmpty());
            EXPECT_FALSE(field->accessibleName().contains(QLatin1Char('&')));
        }
        // All off by default: only the fist and the seed can be used.
        for (int k = 0; k < CPodminkyModel::kConditionCount; ++k) {
            EXPECT_FALSE(conditions.Switch(static_cast<CPodminkyDlg::Condition>(k))->isChecked());
        }
        EXPECT_FALSE(conditions.SnrSpin()->isEnabled());
        EXPECT_FALSE(conditions.FilterSpin()->isEnabled());
        EXPECT_TRUE(conditions.FistList()->isEnabled());
        EXPECT_EQ(conditions.FistList()->count(), 4);

        QTest::mouseClick(conditions.Switch(CPodminkyModel::kFading), Qt::LeftButton);
        EXPECT_TRUE(conditions.FadingDepthSpin()->isEnabled());
        EXPECT_TRUE(conditions.FadingSpreadSpin()->isEnabled());
        EXPECT_TRUE(conditions.AgcList()->isEnabled());
        EXPECT_TRUE(conditions.FilterSpin()->isEnabled());
        EXPECT_FALSE(conditions.SnrSpin()->isEnabled());
        QTest::mouseClick(conditions.Switch(CPodminkyModel::kFading), Qt::LeftButton);
        EXPECT_FALSE(conditions.FadingDepthSpin()->isEnabled());
        EXPECT_FALSE(conditions.FilterSpin()->isEnabled());
        EXPECT_EQ(conditions.SnrSpin()->minimum(), -10);
        EXPECT_EQ(conditions.SnrSpin()->maximum(), 30);
        EXPECT_FALSE(conditions.AgcList()->isEnabled());
        // The spread in hertz, the delay in milliseconds, as the presets name them.
        EXPECT_DOUBLE_EQ(conditions.FadingSpreadSpin()->minimum(), 0.01);
        EXPECT_DOUBLE_EQ(conditions.FadingSpreadSpin()->maximum(), 20.0);
        conditions.FadingPresetList()->setCurrentIndex(0);
        EXPECT_DOUBLE_EQ(conditions.FadingSpreadSpin()->value(), 0.1);
        EXPECT_DOUBLE_EQ(conditions.PathDelaySpin()->value(), 0.5);
        EXPECT_EQ(conditions.StationsSpin()->maximum(), 5);
        return static_cast<int>(QDialog::Rejected);
    });
}

// What the user sets goes to the session and its file; the dialog shows it again, after a
// restart too, and Cancel changes nothing.
TEST_F(ConditionsDialog, RoundTripThroughTheSessionAndItsFile) {
    ReceptionSettings expected;
    Open([&](CPodminkyDlg& conditions) {
        EXPECT_EQ(conditions.SeedEdit()->text().toULongLong(), dialog->Session().Seed());
        QTest::mouseClick(conditions.Switch(CPodminkyModel::kNoise), Qt::LeftButton);
        conditions.SnrSpin()->setValue(-5);
        conditions.FilterSpin()->setValue(250);
        QTest::mouseClick(conditions.Switch(CPodminkyModel::kInterference), Qt::LeftButton);
        conditions.StationsSpin()->setValue(4);
        conditions.FistList()->setCurrentIndex(3);
        conditions.SeedEdit()->clear();
        QTest::keyClicks(conditions.SeedEdit(), QStringLiteral("42x42"));
        QTest::mouseClick(conditions.FixedSeedBox(), Qt::LeftButton);
        return Ok(conditions);
    });
    expected.noise = true;
    expected.snrDb = -5;
    expected.filterHz = 250;
    expected.interference = true;
    expected.stations = 4;
    expected.fist = FistKind::kBug;
    expected.seed = 4242;
    expected.fixedSeed = true;
    EXPECT_EQ(dialog->Session().Conditions(), expected);
    EXPECT_EQ(ReadWholeFile(ConditionsPath()), CConditionsFile::Format(expected));

    const auto shows = [&](CPodminkyDlg& conditions) {
        EXPECT_TRUE(conditions.Switch(CPodminkyModel::kNoise)->isChecked());
        EXPECT_TRUE(conditions.SnrSpin()->isEnabled());
        EXPECT_EQ(conditions.SnrSpin()->value(), -5);
        EXPECT_EQ(conditions.FilterSpin()->value(), 250);
        EXPECT_EQ(conditions.StationsSpin()->value(), 4);
        EXPECT_EQ(conditions.FistList()->currentIndex(), 3);
        EXPECT_EQ(conditions.SeedEdit()->text(), QStringLiteral("4242"));
        EXPECT_TRUE(conditions.FixedSeedBox()->isChecked());
        EXPECT_FALSE(conditions.Switch(CPodminkyModel::kFading)->isChecked());
    };
    Open([&](CPodminkyDlg& conditions) {
        shows(conditions);
        QTest::mouseClick(conditions.Switch(CPodminkyModel::kNoise), Qt::LeftButton);
        conditions.reject();
        return conditions.result();
    });
    EXPECT_EQ(dialog->Session().Conditions(), expected);
    Reopen();
    Open([&](CPodminkyDlg& conditions) {
        shows(conditions);
        return static_cast<int>(QDialog::Rejected);
    });
    // Back to the defaults: everything off, the seed kept.
    Open([&](CPodminkyDlg& conditions) {
        QTest::mouseClick(conditions.DefaultsButton(), Qt::LeftButton);
        return Ok(conditions);
    });
    ReceptionSettings defaults;
    defaults.seed = 4242;
    defaults.fixedSeed = true;
    EXPECT_EQ(dialog->Session().Conditions(), defaults);
}

// A transmission under the conditions, its copy check, and the statistics' score against the SNR.
TEST_F(ConditionsDialog, CheckRecordsTheConditionsAndTheStatisticsShowTheSnr) {
    Open([](CPodminkyDlg& conditions) {
        QTest::mouseClick(conditions.Switch(CPodminkyModel::kNoise), Qt::LeftButton);
        conditions.SnrSpin()->setValue(6);
        conditions.SeedEdit()->setText(QStringLiteral("77"));
        QTest::mouseClick(conditions.FixedSeedBox(), Qt::LeftButton);
        return Ok(conditions);
    });
    Click(ids::kGenerate);
    Click(ids::kStart);
    ASSERT_TRUE(Eventually([&] { return dialog->IsIdle(); }));
    answerDialog = [](QDialog& opened) {
        auto& check = dynamic_cast<CKontrolaDlg&>(opened);
        check.Edit()->setPlainText(FromCp1250(check.Model().SentText()));
        check.OnCheck();
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuCopyCheck)->trigger();
    const std::vector<CheckRecord> history =
        CHistoryFile(CProgramFiles(folder.Path()).History()).Read();
    ASSERT_EQ(history.size(), 1U);
    EXPECT_TRUE(history[0].conditions.noise);
    EXPECT_EQ(history[0].conditions.snrDb, 6);
    EXPECT_EQ(history[0].conditions.seed, 77U);

    QStringList row;
    bool visible = false;
    answerDialog = [&](QDialog& opened) {
        auto& statistics = dynamic_cast<CStatistikaDlg&>(opened);
        opened.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&opened));
        visible = statistics.SnrTable()->isVisible();
        for (int c = 0; c < statistics.SnrTable()->columnCount(); ++c) {
            row << statistics.SnrTable()->item(0, c)->text();
        }
        return static_cast<int>(QDialog::Accepted);
    };
    dialog->MenuCommand(ids::kMenuStatistics)->trigger();
    EXPECT_TRUE(visible);
    ASSERT_EQ(row.size(), 4);
    EXPECT_EQ(row[0], QStringLiteral("6"));
    EXPECT_EQ(row[1], QStringLiteral("1"));
    EXPECT_EQ(row[3], QStringLiteral("100,0 %"));
}

// With the shipped English set the menu command and every text of the dialog are English; a
// language file without the dialog's lines keeps the built-in captions.
TEST_F(ConditionsDialog, EnglishSetAndMissingLines) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuReceptionConditions)->text(),
              QStringLiteral("&Reception conditions…"));
    const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    const auto looksCzech = [&](const QString& text) {
        return std::any_of(text.begin(), text.end(), [&](QChar c) { return czech.contains(c); });
    };
    Open([&](CPodminkyDlg& conditions) {
        QStringList texts{conditions.windowTitle()};
        for (QLabel* label : conditions.findChildren<QLabel*>()) {
            texts << label->text();
        }
        for (QAbstractButton* button : conditions.findChildren<QAbstractButton*>()) {
            texts << button->text();
        }
        for (QWidget* widget : conditions.findChildren<QWidget*>()) {
            texts << widget->accessibleName();
        }
        for (int k = 0; k < conditions.FistList()->count(); ++k) {
            texts << conditions.FistList()->itemText(k);
        }
        for (const QString& text : texts) {
            EXPECT_FALSE(looksCzech(text)) << text.toStdString();
        }
        EXPECT_EQ(conditions.windowTitle(), QStringLiteral("Reception conditions"));
        return static_cast<int>(QDialog::Rejected);
    });

    // A set of an earlier version: the dialog's file is missing, the main file lacks the line.
    std::filesystem::remove(folder.File("jazyk/localPP"));
    std::string local = ReadWholeFile(folder.File("jazyk/local"));
    local.erase(local.rfind("&Reception"));
    WriteWholeFile(folder.File("jazyk/local"), local);
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    dialog->MenuCommand(ids::kMenuLanguage)->trigger();
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuReceptionConditions)->text(),
              QStringLiteral("&Podmínky příjmu…"));
    EXPECT_EQ(dialog->MenuCommand(ids::kMenuStatistics)->text(), QStringLiteral("&Statistics…"));
    Open([](CPodminkyDlg& conditions) {
        EXPECT_EQ(conditions.windowTitle(), QStringLiteral("Podmínky příjmu"));
        return static_cast<int>(QDialog::Rejected);
    });
}

}  // namespace
