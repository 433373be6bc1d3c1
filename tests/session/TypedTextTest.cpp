#include <gtest/gtest.h>

#include "session/CKochModel.h"
#include "session/CVlastniTextModel.h"
#include "session/TypedText.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CKochCourse.h"

namespace {

// Every edit of the program cleans what is typed one way: capitals, characters without a code
// removed and each one said, digits refused where asked, line breaks kept where asked; the caret
// goes to the last removal.
TEST(TypedText, OneCleaner) {
    const struct {
        const char* typed;
        int caret;
        bool rejectDigits;
        bool keepLines;
        const char* text;
        int caretAfter;
        std::size_t said;
    } cases[] = {
        {"abc", 3, false, false, "ABC", 3, 0},      {"a%b&c", 5, false, false, "ABC", 2, 2},
        {"a1b", 3, true, false, "AB", 1, 1},        {"a1b", 3, false, false, "A1B", 3, 0},
        {"ab\ncd", 5, false, true, "AB\nCD", 5, 0}, {"ab\nc%d", 6, false, true, "AB\nCD", 4, 1},
        {"ab\ncd", 5, false, false, "ABCD", 2, 1},
    };
    for (const auto& c : cases) {
        CRecordingNotifier notifier;
        const TypedText typed = CleanTyped(c.typed, c.caret, notifier, c.rejectDigits, c.keepLines);
        EXPECT_EQ(typed.text, c.text) << c.typed;
        EXPECT_EQ(typed.caret, c.caretAfter) << c.typed;
        EXPECT_EQ(notifier.Events().size(), c.said) << c.typed;
    }
}

// The custom text: beyond the limit the text goes back to what it was; a line break is refused
// as its two characters without a code.
TEST(TypedText, CustomText) {
    CRecordingNotifier notifier;
    CVlastniTextModel model("AB", notifier);
    const TypedText over = model.Type(std::string(CVlastniTextModel::kLimit + 1, 'E'), 301);
    EXPECT_EQ(over.text, "AB");
    EXPECT_EQ(model.Text(), "AB");
    const TypedText broken = model.BreakLine(1);
    EXPECT_EQ(broken.text, "AB");
    EXPECT_EQ(broken.caret, 1);
    EXPECT_EQ(notifier.Events().size(), 2U);
}

// The course: the lesson stays within the order's lessons as the order changes, the list names
// the shipped order the text is, a file that cannot be used is named and changes nothing.
TEST(TypedText, KochCourse) {
    CRecordingNotifier notifier;
    CKochModel model(CKochCourse::DefaultOrder(), 30, 0, notifier);
    EXPECT_EQ(model.GetView().listIndex, 0);
    EXPECT_EQ(model.MinimumSent(), CKochCourse::kLowestMinimumSent);
    model.TypeOrder("kmrs", 4);
    EXPECT_EQ(model.Order(), "KMRS");
    EXPECT_EQ(model.Lesson(), 3);
    EXPECT_EQ(model.GetView().characters, "KMRS");
    EXPECT_EQ(model.GetView().newest, 'S');
    EXPECT_EQ(model.GetView().lessonText, "Znaky lekce: K M R S (nový: S)");
    EXPECT_EQ(model.GetView().listIndex, static_cast<int>(CKochModel::ShippedNames().size()));
    model.ReadOrderFile("/nonexistent/order");
    EXPECT_EQ(model.GetView().unusableFile, "/nonexistent/order");
    EXPECT_EQ(model.GetView().fileText,
              "V souboru /nonexistent/order není pořadí aspoň dvou znaků.");
    EXPECT_EQ(model.Order(), "KMRS");
    model.DefaultOrder();
    EXPECT_EQ(model.GetView().listIndex, 0);
    EXPECT_EQ(model.Lesson(), 3);
    EXPECT_TRUE(notifier.Events().empty());
    // What of a file went unused is said: characters without a code, lines of no use.
    CTemporaryFolder folder;
    WriteWholeFile(folder.File("mine.txt"), "nazev=Moje\nporadi=KM#R\xC4\nbarva=modra\n");
    model.ReadOrderFile(folder.File("mine.txt"));
    EXPECT_EQ(model.Order(), "KMR");
    EXPECT_EQ(model.GetView().fileText,
              "Moje\nZe souboru nepoužito: znaky bez morseovky # Ä, řádků 1.");
}

}  // namespace
