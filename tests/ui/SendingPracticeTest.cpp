#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <vector>

#include "core/CKeyLineSource.h"
#include "core/CMorseTable.h"
#include "core/CSidetone.h"
#include "ui/CVysilaniDlg.h"

namespace {

constexpr std::int64_t kDot = 60000000;  // 100 characters a minute

class CRecordingSidetone : public CSidetone {
public:
    explicit CRecordingSidetone(std::vector<bool>& record) : keyed(record) {}
    bool Open(int, float) override { return true; }
    void Key(bool down, std::int64_t) override { keyed.push_back(down); }

private:
    std::vector<bool>& keyed;
};

// The keying area takes the left Ctrl's presses and releases as the X server names the key, at
// the moments the clock gives when they arrive; auto-repeated presses are dropped. The window
// shows what was read and the fist's figures, and the sidetone hears every edge.
TEST(SendingPractice, KeysFromTheKeyboardAreReadAndHeard) {
    std::int64_t now = 1000000000;
    std::vector<bool> keyed;
    CVysilaniDlg::Parts parts;
    parts.clock = [&now] { return now; };
    parts.sidetone = std::make_unique<CRecordingSidetone>(keyed);
    CVysilaniDlg dialog(KeyingSettings{}, SendingStart{}, std::move(parts), QString());
    dialog.show();
    const auto key = [&](QEvent::Type type, bool repeat = false) {
        QKeyEvent event(type, Qt::Key_Control, Qt::NoModifier, 37, KeyingSettings::kLeftControl, 0,
                        QString(), repeat);
        QApplication::sendEvent(dialog.Area(), &event);
    };
    for (const char c : std::string("PARIS")) {
        for (const char element : CMorseTable::CodeOf(c, false)) {
            key(QEvent::KeyPress);
            key(QEvent::KeyPress, true);
            now += (element == '.' ? 1 : 3) * kDot;
            key(QEvent::KeyRelease);
            now += kDot;
        }
        now += 2 * kDot;
    }
    now += 60 * kDot;
    QTest::qWait(120);
    EXPECT_EQ(dialog.ReadText()->toPlainText(), QStringLiteral("PARIS "));
    EXPECT_FALSE(dialog.Figures()->text().isEmpty());
    EXPECT_EQ(keyed.size(), 2U * 14U);
    EXPECT_TRUE(dialog.SidetoneOpen());
}

}  // namespace
