#pragma once

#include <QDialog>
#include <QFrame>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/CCuePlayer.h"
#include "core/CKeyLineSource.h"
#include "core/CSidetone.h"
#include "session/CVysilaniModel.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The area the learner keys in: it takes the keyboard's focus and the mouse buttons, and hands on
// each press and release (auto-repeat dropped) with the moment the event arrived.
class CKeyingArea : public QFrame {
    Q_OBJECT

public:
    using Clock = std::function<std::int64_t()>;
    CKeyingArea(Clock clock, QWidget* parent);
    void SetKeyed(bool down);

signals:
    void Key(int keysym, bool down, qint64 at);
    void Button(bool left, bool down, qint64 at);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Clock clock;
};

// Each kind of interval's lengths as a row of bars, a quarter of a dot each, with a line where the
// model's length lies.
class CFistHistograms : public QWidget {
    Q_OBJECT

public:
    explicit CFistHistograms(QWidget* parent);
    void SetHistograms(std::vector<CVysilaniModel::Histogram> shown);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<CVysilaniModel::Histogram> histograms;
};

// "Vysílání klíčem": the learner keys in the keying area with the key or paddle of the keying
// settings (keyboard, mouse or serial lines), hears the sidetone, and sees what was read and the
// measure of the fist. The rules are the model's: each input is handed to it with its moment, a
// timer lets time pass for it, and the dialog renders its view. User-interface thread only; the
// serial lines' edges are posted to it.
class CVysilaniDlg : public QDialog {
    Q_OBJECT

public:
    struct Parts {
        std::function<std::int64_t()> clock;
        std::unique_ptr<CSidetone> sidetone;    // null: none
        std::unique_ptr<CKeyLineSource> lines;  // null: none
        std::unique_ptr<CCuePlayer> player;     // null: none
        // Keeps a session's record; asks for a file and writes the learner's sending as sound.
        std::function<void(const SendingRecord&)> keepRecord;
        std::function<void(const std::string& wav)> saveSound;
    };
    CVysilaniDlg(const KeyingSettings& keying, SendingStart start, Parts parts,
                 const QString& languageFile, QWidget* parent = nullptr);
    ~CVysilaniDlg() override;

    CKeyingArea* Area() const { return area; }
    QPlainTextEdit* ReadText() const { return readText; }
    QLabel* Figures() const { return figures; }
    QComboBox* PracticeList() const { return practiceList; }
    QComboBox* ItemList() const { return itemList; }
    QPushButton* StartButton() const { return startButton; }
    QPushButton* JudgeButton() const { return judgeButton; }
    QLabel* Task() const { return task; }
    QLabel* Verdict() const { return verdict; }
    // The serial lines could not be read, or the sound card gives no sidetone.
    bool LinesOpen() const { return linesOpen; }
    bool SidetoneOpen() const { return sidetoneOpen; }

    static QStringList CzechCaptions();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Pass();
    void Render();
    void Keyed(int keysym, bool down, qint64 at);
    // The session so far goes to the records.
    void KeepRecord();

    Parts parts;
    CVysilaniModel model;
    QStringList captions;
    CKeyingArea* area = nullptr;
    QLabel* areaText = nullptr;
    QPlainTextEdit* readText = nullptr;
    QLabel* figures = nullptr;
    CFistHistograms* histograms = nullptr;
    QComboBox* practiceList = nullptr;
    QComboBox* itemList = nullptr;
    QLabel* itemLabel = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* judgeButton = nullptr;
    QLabel* task = nullptr;
    QLabel* verdict = nullptr;
    QPushButton* playButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* clearButton = nullptr;
    QPushButton* closeButton = nullptr;
    QTimer* timer = nullptr;
    bool linesOpen = false;
    bool sidetoneOpen = false;
};
