#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <set>
#include <thread>

#include "engine/CKeyingEngine.h"
#include "tests/support/CFakeCuePlayer.h"
#include "tests/support/CRecordingMessageBoxes.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CVirtualTime.h"
#include "ui/CMorseDlg.h"
#include "ui/CTextView.h"

// Every output kind opens as a recording device in virtual time.
// Outputs named in `failing` ("0", "1", "2:COM3") do not open.
class CVirtualOutputs : public COutputFactory {
public:
    CVirtualOutputs(CVirtualTime& sharedTime, const std::set<std::string>& failingOutputs)
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

// Answers the file dialogs with prepared paths and records every request.
class CScriptedDesktop : public CDesktop {
public:
    QString OpenFileName(QWidget*, const QString& folder) override {
        requests << QStringLiteral("open ") + folder;
        return answer;
    }
    QString SaveFileName(QWidget*, const QString& folder) override {
        requests << QStringLiteral("save ") + folder;
        return answer;
    }
    QString SaveSoundFileName(QWidget*, const QString& folder) override {
        requests << QStringLiteral("sound ") + folder;
        return answer;
    }
    bool OpenHelp(const QString& path) override {
        requests << QStringLiteral("help ") + path;
        return helpWorks;
    }
    // Prints to `pdf` (a PDF file), or cancels when it is empty.
    bool ChoosePrinter(QPrinter& printer, QWidget*) override {
        requests << QStringLiteral("print");
        if (pdf.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    }
    QString answer;
    QString pdf;
    bool helpWorks = true;
    QStringList requests;
};

// A cue player that hands everything to a player the test keeps, so that what one opening of a
// dialog played can be looked at after it closed.
class CForwardingCuePlayer : public CCuePlayer {
public:
    explicit CForwardingCuePlayer(CCuePlayer& kept) : player(kept) {}
    bool Open() override { return player.Open(); }
    bool Play(const std::vector<float>& samples) override { return player.Play(samples); }
    void Silence() override { player.Silence(); }
    std::int64_t HeardEndNanoseconds() const override { return player.HeardEndNanoseconds(); }

private:
    CCuePlayer& player;
};

template <typename Condition>
bool Eventually(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 10000) {
            return false;
        }
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

class MainWindow : public testing::Test {
protected:
    MainWindow() { dialog = MakeDialog(); }

    // A main window on this test's program folder, outputs and virtual time, shown as the user
    // sees it unless `show` is false.
    std::unique_ptr<CMorseDlg> MakeDialog(bool show = true) {
        DialogEnvironment environment;
        environment.messageBoxes = &boxes;
        environment.desktop = &desktop;
        environment.runDialog = [this](QDialog& shown) {
            return answerDialog ? answerDialog(shown) : static_cast<int>(QDialog::Rejected);
        };
        environment.serialPorts = [] {
            return QStringList{
                QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                QStringLiteral("COM4"), QStringLiteral("COM5"), QStringLiteral("COM6"),
                QStringLiteral("COM7"), QStringLiteral("COM8"), QStringLiteral("/dev/ttyUSB0")};
        };
        environment.engines = [this](CEngineListener* listener, CNotifier&) {
            auto made =
                std::make_shared<CKeyingEngine>(listener, std::make_unique<CFakeTimeSource>(time),
                                                std::make_unique<CNoPriorityChange>(),
                                                std::make_unique<CVirtualOutputs>(time, failing));
            engine = made.get();
            return made;
        };
        environment.programFolder = QString::fromStdString(folder.Path());
        environment.records = recordFiles;
        environment.screen = LayoutInput{1366, 700, 10, 7};
        environment.cuePlayers = [this] { return std::make_unique<CForwardingCuePlayer>(cues); };
        environment.pressClock = [this] { return cues.Now(); };
        auto made = std::make_unique<CMorseDlg>(std::move(environment));
        if (show) {
            ShowAsUser(*made);
        }
        return made;
    }

    // Shows the window as the desktop does: it maximises itself and lays its controls out again,
    // and every pass the desktop would run has run before the test goes on.
    static void ShowAsUser(CMorseDlg& window) {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(Eventually([&] { return window.isMaximized(); }));
        QApplication::processEvents();
    }

    // Closes the window as the user would (which saves the settings) and starts a new one.
    void Reopen() {
        dialog->close();
        Restart();
    }
    // Starts a new window without saving anything, as after files were prepared by hand.
    void Restart() {
        dialog.reset();
        dialog = MakeDialog();
    }

    template <typename Widget>
    Widget* Get(int id) {
        return qobject_cast<Widget*>(dialog->Control(id));
    }
    QComboBox* List(int id) { return Get<QComboBox>(id); }
    void Choose(int id, int index) {
        List(id)->setCurrentIndex(index);
        emit List(id)->activated(index);
    }
    void Click(int id) { QTest::mouseClick(Get<QPushButton>(id), Qt::LeftButton); }
    bool Enabled(int id) { return dialog->Control(id)->isEnabled(); }
    QString Shown(int id) { return Get<CTextView>(id)->GetFullText(); }

    CTemporaryFolder folder;
    const std::shared_ptr<const RecordFiles> recordFiles =
        std::make_shared<const RecordFiles>(CProgramFiles(folder.Path()));
    CVirtualTime time;
    std::set<std::string> failing;
    CRecordingMessageBoxes boxes;
    CScriptedDesktop desktop;
    std::function<int(QDialog&)> answerDialog;
    // Short sounds on virtual time: 20 ms ahead of the sound, heard 50 ms after they are due.
    CFakeCuePlayer cues{20'000'000, 50'000'000};
    // The engine of the window open now; the test reaches the devices through it.
    CKeyingEngine* engine = nullptr;
    std::unique_ptr<CMorseDlg> dialog;
};
