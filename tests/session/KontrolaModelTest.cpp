#include <gtest/gtest.h>

#include "session/CKontrolaModel.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CHistoryFile.h"

namespace {

class KontrolaModel : public testing::Test {
protected:
    CKontrolaModel Make(const std::string& sent) {
        return CKontrolaModel(sent, CheckRecord{}, history, notifier);
    }
    CTemporaryFolder folder;
    const CHistoryFile history{folder.File("historie")};
    CRecordingNotifier notifier;
};

// What the edit shows after each change: capitals, characters without a code refused and said
// in the status line until the copy is clean again, the groups' line breaks kept, a copy over
// the limit refused whole; the caret stays after what the user typed.
TEST_F(KontrolaModel, TypedCopy) {
    const std::string overLimit(CKontrolaModel::kLimit + 1, 'E');
    const struct {
        const char* before;  // what the edit held
        std::string shown;   // what the user changed it to
        int caret;
        std::string text;
        int caretAfter;
        std::optional<char> refused;
    } cases[] = {
        {"", "abc", 3, "ABC", 3, std::nullopt},
        {"", "ab%c\nde", 3, "ABC\nDE", 2, '%'},
        {"AB", "AB&", 3, "AB", 2, '&'},
        {"AB", overLimit, 2001, "AB", 2, std::nullopt},
        {"", "a\n\nb", 4, "A\n\nB", 4, std::nullopt},
    };
    for (const auto& c : cases) {
        CKontrolaModel model = Make("ABC");
        model.Type(c.before, 0);
        const CKontrolaModel::Typed typed = model.Type(c.shown, c.caret);
        EXPECT_EQ(typed.text, c.text) << c.shown;
        EXPECT_EQ(typed.caret, c.caretAfter) << c.shown;
        EXPECT_EQ(model.GetView().refused, c.refused) << c.shown;
    }
    // The status line is cleared by the next clean keystroke, and no message box was asked for.
    CKontrolaModel model = Make("ABC");
    model.Type("A%", 2);
    model.Type("AB", 2);
    EXPECT_FALSE(model.GetView().refused);
    EXPECT_TRUE(notifier.Events().empty());
}

// The check is made once, on the copy as it was last typed, and adds one record to the history;
// each difference names its template and its five values.
TEST_F(KontrolaModel, CheckOnceWithItsDifferences) {
    CKontrolaModel model = Make("ABCDE FGHIJ");
    model.Type("xabde fgsij", 11);
    model.Check();
    model.Check();
    ASSERT_TRUE(model.Result());
    EXPECT_EQ(model.Result()->SentCount(), 10);
    EXPECT_EQ(CHistoryFile(folder.File("historie")).Read().size(), 1U);
    EXPECT_EQ(model.Record().sent, 10);
    using Line = CKontrolaModel::Line;
    const CKontrolaModel::View view = model.GetView();
    EXPECT_TRUE(view.checked);
    ASSERT_EQ(view.differences.size(), 3U);
    EXPECT_EQ(view.differences[0].line, Line::kExtraAtStart);
    EXPECT_EQ(view.differences[0].values[3], "X");
    EXPECT_EQ(view.differences[1].line, Line::kMissedAt);
    EXPECT_EQ(view.differences[1].values[0], "1");
    EXPECT_EQ(view.differences[1].values[1], "3");
    EXPECT_EQ(view.differences[1].values[2], "C");
    EXPECT_EQ(view.differences[2].line, Line::kWrongAt);
    EXPECT_EQ(view.differences[2].values[3], "S");
    EXPECT_EQ(view.differences[2].values[4], "4");
    // In words, to be read in order: the score, the counts, each difference, the confusions.
    const std::string lines[] = {
        "Skóre: 72,7 % (správně 8 z 10 odeslaných a 1 navíc opsaných znaků)",
        "Správně: 8, chybně: 1, vynecháno: 1, navíc: 1, přehozené dvojice: 0",
        "Rozdíly:",
        "před první skupinou: navíc opsáno X",
        "skupina 1, znak 3: vysláno C, vynecháno",
        "skupina 2, znak 3: vysláno H, opsáno S",
        "Nejčastější záměny: odesláno H, opsáno S: 1×"};
    std::string expected;
    for (const std::string& line : lines) {
        expected += (expected.empty() ? "" : "\n") + line;
    }
    EXPECT_EQ(view.resultText, expected);
    EXPECT_EQ(view.score, lines[0]);
    EXPECT_EQ(view.confusions, lines[6]);
}

}  // namespace
