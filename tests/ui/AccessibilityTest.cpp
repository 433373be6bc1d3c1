#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "print/CCopyCheckPainter.h"
#include "print/Contrast.h"
#include "session/ControlIds.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CaseName.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/Accessibility.h"
#include "ui/CInfoDlg.h"
#include "ui/CKochDlg.h"
#include "ui/CKontrolaDlg.h"
#include "ui/CRozpoznaniDlg.h"
#include "ui/CStatistikaDlg.h"
#include "ui/CTextView.h"
#include "ui/CVlastniTextDlg.h"
#include "ui/CVolaciZnakyDlg.h"
#include "ui/CVystupDlg.h"

namespace {

QAccessibleInterface* Interface(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QObject* object) {
    return Interface(object)->text(QAccessible::Name);
}

// What a reader hears as the control's value: its text, its number, or its chosen item.
QString ValueOf(QObject* object) {
    QAccessibleInterface* control = Interface(object);
    if (QAccessibleTextInterface* text = control->textInterface()) {
        return text->text(0, text->characterCount());
    }
    if (QAccessibleValueInterface* value = control->valueInterface()) {
        return value->currentValue().toString();
    }
    return control->role() == QAccessible::ComboBox ? control->text(QAccessible::Value) : QString();
}

// The controls of the main window a user works with or reads (not the frames and labels).
const int kControls[] = {ids::kMorseText,  ids::kHideText,   ids::kLetters,  ids::kDigits,
                         ids::kShortZeros, ids::kTextKind,   ids::kGenerate, ids::kLoad,
                         ids::kSave,       ids::kCustom,     ids::kToPrint,  ids::kTone,
                         ids::kTextSpeed,  ids::kSignSpeed,  ids::kRatio,    ids::kVolume,
                         ids::kResultText, ids::kResultSign, ids::kStart,    ids::kStop,
                         ids::kPause,      ids::kStep};

struct NamedBy {
    int control;
    const char* czech;
    const char* english;
    int label;  // the label linked to it, 0 for one named by its frame
};

const NamedBy kNamedBy[] = {
    {ids::kLetters, "Písmena a interpunkční znaky", "Letters and punctuation", ids::kLettersLabel},
    {ids::kDigits, "Číslice", "Digits", ids::kDigitsLabel},
    {ids::kTextKind, "Druh textu", "Text kind", ids::kTextKindLabel},
    {ids::kTone, "Tónová volba", "Tone", ids::kToneLabel},
    {ids::kTextSpeed, "Rychlost textu", "Text speed", ids::kTextSpeedLabel},
    {ids::kSignSpeed, "Rychlost značky", "Sign speed", ids::kSignSpeedLabel},
    {ids::kRatio, "Poměr tečka : čárka", "Dot : dash ratio", ids::kRatioLabel},
    {ids::kResultText, "Rychlost textu", "Text speed", ids::kResultTextLabel},
    {ids::kResultSign, "Rychlost značky", "Sign speed", ids::kResultSignLabel},
    {ids::kMorseText, "Morse text", "Morse text", 0},
    {ids::kVolume, "Hlasitost", "Volume", 0},
    {ids::kStart, "Start", "Start", 0},
    {ids::kGenerate, "Generuj text", "Generate text", 0},
};

// Each control says what it is, never only what it holds; the names follow the language.
TEST_F(MainWindow, EveryControlIsNamedByItsCaptionNotByItsValue) {
    std::filesystem::copy(std::string(BRUMLO_SOURCE_DIR) + "/res/jazyk", folder.File("jazyk"));
    for (const bool english : {false, true}) {
        if (english) {
            dialog->MenuCommand(ids::kMenuLanguage)->trigger();
        }
        for (const int id : kControls) {
            QWidget* control = dialog->Control(id);
            const QString name = Name(control);
            EXPECT_FALSE(name.trimmed().isEmpty()) << id;
            EXPECT_NE(name, ValueOf(control)) << id << " " << name.toStdString();
        }
        for (const NamedBy& named : kNamedBy) {
            QWidget* control = dialog->Control(named.control);
            EXPECT_EQ(Name(control), QString::fromUtf8(english ? named.english : named.czech))
                << named.control;
            if (named.label == 0) {
                continue;
            }
            // The label is the control's own: its mnemonic and a reader's relation lead to it.
            EXPECT_EQ(Get<QLabel>(named.label)->buddy(), control);
            const auto labels = Interface(control)->relations(QAccessible::Label);
            EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const auto& relation) {
                return relation.first->object() == dialog->Control(named.label);
            })) << named.control;
        }
    }
    // A list says its label and its chosen item: "Tone, 600".
    Choose(ids::kTone, 6);
    QAccessibleInterface* tone = Interface(List(ids::kTone));
    EXPECT_EQ(tone->role(), QAccessible::ComboBox);
    EXPECT_EQ(tone->text(QAccessible::Name), QStringLiteral("Tone"));
    EXPECT_EQ(tone->text(QAccessible::Value), List(ids::kTone)->currentText());
    ASSERT_EQ(tone->childCount(), 1);
    EXPECT_EQ(tone->child(0)->object(), static_cast<QObject*>(List(ids::kTone)->view()));
}

// The read-outs give the speeds they show as values, under their labels' names.
TEST_F(MainWindow, ReadOutsExposeTheirValues) {
    Choose(ids::kRatio, 10);
    const SessionView view = dialog->Session().View();
    for (const auto& [id, speed] : {std::pair{ids::kResultText, view.effectiveTextSpeed},
                                    std::pair{ids::kResultSign, view.effectiveSignSpeed}}) {
        QAccessibleInterface* readOut = Interface(dialog->Control(id));
        EXPECT_EQ(readOut->role(), QAccessible::StaticText);
        ASSERT_NE(readOut->valueInterface(), nullptr);
        EXPECT_EQ(readOut->valueInterface()->currentValue().toInt(), speed);
        EXPECT_EQ(ValueOf(dialog->Control(id)), QString::number(speed));
        EXPECT_EQ(readOut->text(QAccessible::Description),
                  QStringLiteral("rychlosti budou zhruba:"));
    }
    EXPECT_EQ(Interface(&dialog->MorseView())->valueInterface(), nullptr);
}

// The display reads as read-only text in its lines; the sent part is the caret and the selection,
// and while the text is hidden there is nothing to read.
TEST_F(MainWindow, DisplayReadsAsTextWithTheSentPartMarked) {
    CTextView& view = dialog->MorseView();
    QAccessibleInterface* display = Interface(&view);
    QAccessibleTextInterface* text = display->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(display->role(), QAccessible::EditableText);
    EXPECT_TRUE(display->state().readOnly);
    EXPECT_TRUE(display->state().focusable);

    view.SetFullText(QStringLiteral("ABCDE FGHIJ\r\nKLMNO"));
    EXPECT_EQ(text->text(0, -1), QStringLiteral("ABCDE FGHIJ\nKLMNO"));
    EXPECT_EQ(text->characterCount(), 17);
    EXPECT_EQ(text->cursorPosition(), 0);
    EXPECT_EQ(text->selectionCount(), 0);

    view.SetSentText(QStringLiteral("ABCDE FGHIJ\r\nK"));
    EXPECT_EQ(text->cursorPosition(), 13);
    ASSERT_EQ(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 13);
    text->attributes(3, &start, &end);
    EXPECT_EQ(end, 13);

    // Characters lie where they are drawn: the second line below the first, K under A.
    const QRect a = text->characterRect(0);
    const QRect b = text->characterRect(1);
    const QRect k = text->characterRect(12);
    EXPECT_EQ(a.left(), k.left());
    EXPECT_GT(k.top(), a.top());
    EXPECT_GT(b.left(), a.left());
    EXPECT_EQ(text->offsetAtPoint(b.center()), 1);
    EXPECT_EQ(text->offsetAtPoint(k.center()), 12);
    EXPECT_EQ(text->textAtOffset(2, QAccessible::LineBoundary, &start, &end),
              QStringLiteral("ABCDE FGHIJ\n"));

    // Hidden means hidden: no text and no caret while the sending goes on; shown again, the text
    // is back with the sent part where sending has got to.
    view.ShowText(false);
    view.SetSentText(QStringLiteral("ABCDE FGHIJ\r\nKL"));
    EXPECT_EQ(text->characterCount(), 0);
    EXPECT_EQ(text->text(0, -1), QString());
    EXPECT_EQ(text->cursorPosition(), 0);
    EXPECT_EQ(text->selectionCount(), 0);
    EXPECT_EQ(Name(&view), QStringLiteral("Morse text"));
    view.ShowText(true);
    EXPECT_EQ(text->characterCount(), 17);
    EXPECT_EQ(text->cursorPosition(), 14);
}

// The innermost frame that holds a widget.
QWidget* FrameOf(const CMorseDlg& window, QWidget* widget) {
    QWidget* best = nullptr;
    for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        if (frame->geometry().contains(widget->geometry().center()) &&
            (best == nullptr ||
             frame->width() * frame->height() < best->width() * best->height())) {
            best = frame;
        }
    }
    return best;
}

// The keyboard reaches every control, in the order the maximised window reads: frame by frame,
// never back to a frame it left, and within a frame from the top, a row from the left.
TEST_F(MainWindow, TabGoesThroughTheWindowAsItReads) {
    std::vector<QWidget*> reached;
    QWidget* start = dialog->Control(ids::kHideText);
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() &&
            widget->window() == dialog.get()) {
            reached.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != start && reached.size() < 100);

    for (const int id : kControls) {
        if (id == ids::kResultText || id == ids::kResultSign) {
            continue;  // labels: a reader reads them, the keyboard passes them
        }
        EXPECT_EQ(std::count(reached.begin(), reached.end(), dialog->Control(id)), 1) << id;
    }
    std::vector<QWidget*> framesLeft;
    for (std::size_t k = 1; k < reached.size(); ++k) {
        QWidget* before = reached[k - 1];
        QWidget* after = reached[k];
        QWidget* frame = FrameOf(*dialog, after);
        if (frame != FrameOf(*dialog, before)) {
            framesLeft.push_back(FrameOf(*dialog, before));
            EXPECT_EQ(std::count(framesLeft.begin(), framesLeft.end(), frame), 0)
                << "back to a frame at " << k;
            continue;
        }
        const QRect a = before->geometry();
        const QRect b = after->geometry();
        const bool sameRow = std::abs(a.center().y() - b.center().y()) < a.height() / 2;
        EXPECT_TRUE(sameRow ? b.left() > a.left() : b.top() > a.top())
            << "control " << k << " reads before the one it follows";
    }
}

struct PaletteCase {
    const char* name;
    QColor base;
    QColor text;
    QColor placeholder;  // invalid: the palette's own
};

void PrintTo(const PaletteCase& c, std::ostream* out) {
    *out << c.name;
}

const PaletteCase kPalettes[] = {
    {"Light", Qt::white, Qt::black, QColor()},
    {"WhiteOnBlack", Qt::black, Qt::white, QColor(0, 0, 0, 128)},
    {"YellowOnBlue", QColor(0, 0, 128), Qt::yellow, QColor(200, 200, 0)},
    {"BlackOnYellow", Qt::yellow, Qt::black, QColor(250, 240, 0)},
};

class DisplayPalette : public MainWindow, public testing::WithParamInterface<PaletteCase> {};

// In any palette the text and the sent part read against the background, and the sent part is
// underlined with a bar, so that it is told apart by more than its colour.
TEST_P(DisplayPalette, TextAndSentPartStayReadable) {
    const PaletteCase& c = GetParam();
    CTextView& view = dialog->MorseView();
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, c.base);
    palette.setColor(QPalette::Text, c.text);
    if (c.placeholder.isValid()) {
        palette.setColor(QPalette::PlaceholderText, c.placeholder);
    }
    view.setPalette(palette);
    view.SetFullText(QString(60, QLatin1Char('M')));
    view.SetSentText(QString(30, QLatin1Char('M')));
    EXPECT_EQ(view.BackgroundColour(), c.base);
    EXPECT_GE(ContrastRatio(view.TextColour(), c.base), kLargeTextContrast);
    EXPECT_GE(ContrastRatio(view.SentColour(), c.base), kLargeTextContrast);

    const QImage image = view.grab().toImage();
    const QFontMetrics metrics(view.TextFont());
    const int bar = 1 + metrics.ascent() + 2;
    const int sentX = 2 + metrics.horizontalAdvance(QString(10, QLatin1Char('M')));
    const int restX = 2 + metrics.horizontalAdvance(QString(45, QLatin1Char('M')));
    EXPECT_EQ(image.pixelColor(sentX, bar), view.SentColour());
    EXPECT_EQ(image.pixelColor(restX, bar), c.base);
    EXPECT_EQ(image.pixelColor(restX, 1 + 2 * metrics.height()), c.base);
}

INSTANTIATE_TEST_SUITE_P(Palettes, DisplayPalette, testing::ValuesIn(kPalettes), CaseName());

// The marks of a check keep their colours where they read on the paper, and take the ink where
// they would not.
TEST(CopyCheckColours, EveryMarkReadsOnLightAndDarkPaper) {
    const CCopyCheck check("ABCDE", "ABXE");
    CCopyCheckPainter painter("ABCDE", check);
    using Mark = CCopyCheck::Mark;
    for (const auto& [paper, ink] : {std::pair{QColor(Qt::white), QColor(Qt::black)},
                                     std::pair{QColor(Qt::black), QColor(Qt::white)}}) {
        painter.SetColours(paper, ink);
        for (const Mark mark :
             {Mark::Correct, Mark::Wrong, Mark::Missed, Mark::Extra, Mark::Transposed}) {
            EXPECT_GE(ContrastRatio(painter.MarkColour(mark), paper), kLargeTextContrast);
        }
    }
    painter.SetColours(Qt::white, Qt::black);
    EXPECT_EQ(painter.MarkColour(Mark::Wrong), CCopyCheckPainter::ColourOf(Mark::Wrong));
}

TEST(Contrast, RatiosOfKnownPairs) {
    struct Pair {
        QColor a;
        QColor b;
        double ratio;
    };
    for (const Pair& p : {Pair{Qt::black, Qt::white, 21.0}, Pair{Qt::white, Qt::black, 21.0},
                          Pair{Qt::white, Qt::white, 1.0}, Pair{QColor(255, 0, 0), Qt::white, 4.0},
                          Pair{QColor(127, 127, 127), Qt::white, 4.0}}) {
        EXPECT_NEAR(ContrastRatio(p.a, p.b), p.ratio, 0.02);
    }
    EXPECT_EQ(Composited(QColor(0, 0, 0, 128), Qt::white), QColor(127, 127, 127));
    EXPECT_EQ(ReadableInk(QColor(0, 0, 0, 128), Qt::white, Qt::black, 3.0), QColor(Qt::white));
}

// A scheme whose disabled text is the background's colour gets readable, dimmed text; one whose
// disabled text is readable keeps it.
TEST(Contrast, DisabledTextStaysReadable) {
    QPalette blank;
    blank.setColor(QPalette::Button, Qt::black);
    blank.setColor(QPalette::Active, QPalette::ButtonText, Qt::white);
    blank.setColor(QPalette::Disabled, QPalette::ButtonText, Qt::black);
    blank.setColor(QPalette::Window, Qt::white);
    blank.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
    blank.setColor(QPalette::Disabled, QPalette::WindowText, QColor(250, 250, 250));
    blank.setColor(QPalette::Base, Qt::white);
    blank.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    const QPalette mended = WithReadableDisabledText(blank);
    for (const auto& [text, background] : {std::pair{QPalette::ButtonText, QPalette::Button},
                                           std::pair{QPalette::WindowText, QPalette::Window}}) {
        const QColor back = mended.color(QPalette::Disabled, background);
        const double disabled = ContrastRatio(mended.color(QPalette::Disabled, text), back);
        EXPECT_GE(disabled, kDisabledTextContrast);
        EXPECT_LT(disabled, ContrastRatio(mended.color(QPalette::Active, text), back));
    }
    EXPECT_EQ(mended.color(QPalette::Disabled, QPalette::Text), QColor(120, 120, 120));
}

TEST(SpokenCaptions, MnemonicMarksAreNotSaid) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Start", "Start"}, {"S&top", "Stop"}, {"Tom && Jerry", "Tom & Jerry"}, {"A&", "A&"}};
    for (const auto& [caption, spoken] : cases) {
        EXPECT_EQ(SpokenCaption(QString::fromUtf8(caption)), QString::fromUtf8(spoken));
    }
}

// Every control of every dialog a user reaches with the keyboard says what it is, and each
// underlined letter of a dialog belongs to one label or button, in the built-in captions and in
// the shipped English set.
TEST_F(MainWindow, EveryDialogControlIsNamed) {
    CRecordingNotifier warnings;
    const auto jazyk = [](const char* file) {
        return QStringLiteral(BRUMLO_SOURCE_DIR "/res/jazyk/") + QString::fromLatin1(file);
    };
    CheckRecord record;
    record.sent = 10;
    record.correct = 9;
    record.wrong = 1;
    record.errors = 1;
    const std::vector<CheckRecord> records{record, record};
    for (const bool english : {false, true}) {
        const auto file = [&](const char* name) { return english ? jazyk(name) : QString(); };
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.push_back(std::make_unique<CVystupDlg>(dialog->Session(), file("localSO"),
                                                       QStringList{QStringLiteral("COM1")}));
        dialogs.push_back(std::make_unique<CVlastniTextDlg>(file("localUT"), warnings));
        dialogs.push_back(std::make_unique<CInfoDlg>(file("localAbout")));
        dialogs.push_back(std::make_unique<CKochDlg>("KMRSU", 2, 50, file("localKM"), warnings));
        dialogs.push_back(std::make_unique<CStatistikaDlg>(
            CStatistikaModel(records), QStringList{QStringLiteral("Písmenový text")},
            file("localST")));
        auto check = std::make_unique<CKontrolaDlg>(
            CKontrolaModel("KMRSU", record, recordFiles->history, warnings), file("localKO"),
            desktop);
        check->Edit()->setPlainText(QStringLiteral("KMRSA"));
        check->OnCheck();
        dialogs.push_back(std::move(check));
        // A run under way: the answer field and the repeat button can be reached too.
        auto callsigns = std::make_unique<CVolaciZnakyDlg>(CCallsignSession::Settings(), cues,
                                                           recordFiles->callsigns, boxes, warnings,
                                                           file("localVZ"));
        callsigns->OnStart();
        dialogs.push_back(std::move(callsigns));
        dialogs.push_back(std::make_unique<CRozpoznaniDlg>(
            cues, RecognitionSettings(), recordFiles->recognition, file("localRZ"), boxes,
            [this] { return cues.Now(); }));
        int named = 0;
        for (const auto& shown : dialogs) {
            shown->show();
            for (QWidget* control : shown->findChildren<QWidget*>()) {
                // The parts of a control (a spin box's field, a view's viewport) are its own.
                const auto* area = qobject_cast<QAbstractScrollArea*>(control->parentWidget());
                if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisible() ||
                    qobject_cast<QAbstractSpinBox*>(control->parentWidget()) != nullptr ||
                    (area != nullptr && area->viewport() == control)) {
                    continue;
                }
                const QString name = Name(control);
                EXPECT_FALSE(name.trimmed().isEmpty()) << shown->windowTitle().toStdString() << ": "
                                                       << control->metaObject()->className();
                EXPECT_NE(name, ValueOf(control)) << name.toStdString();
                ++named;
            }
            std::map<QKeySequence, QString> letters;
            for (QWidget* captioned : shown->findChildren<QWidget*>()) {
                const auto* label = qobject_cast<QLabel*>(captioned);
                const auto* button = qobject_cast<QAbstractButton*>(captioned);
                const QString caption = label != nullptr    ? label->text()
                                        : button != nullptr ? button->text()
                                                            : QString();
                const QKeySequence letter = QKeySequence::mnemonic(caption);
                if (letter.isEmpty() || !captioned->isVisible()) {
                    continue;
                }
                const auto [owner, own] = letters.emplace(letter, caption);
                EXPECT_TRUE(own) << shown->windowTitle().toStdString() << ": "
                                 << caption.toStdString() << " and " << owner->second.toStdString();
            }
            shown->hide();
        }
        EXPECT_GE(named, 20);
    }
}

class CopyCheckResult : public MainWindow {
protected:
    std::unique_ptr<CKontrolaDlg> Check(const QString& languageFile) {
        CheckRecord how;
        how.kind = 0;
        auto check = std::make_unique<CKontrolaDlg>(
            CKontrolaModel("KMRSU AUTSK MRSAU PTLOW", how, recordFiles->history, notifier),
            languageFile, desktop);
        check->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(check.get()));
        check->Edit()->setPlainText(QStringLiteral("KMRSU AUTK MXSAU PTLOW"));
        check->OnCheck();
        return check;
    }
    CRecordingNotifier notifier;
};

// The check writes its result for a reader in order: the score, the counts, each difference by
// group and character, then the confusions; the result takes the focus.
TEST_F(CopyCheckResult, ReadsInOrder) {
    struct Language {
        QString file;
        QStringList expected;
    };
    // The lines themselves are the model's; here they come from the shipped English file.
    const Language languages[] = {
        {QStringLiteral(BRUMLO_SOURCE_DIR "/res/jazyk/localKO"),
         {QStringLiteral("Differences:"), QStringLiteral("group 2, character 4: sent S, missed"),
          QStringLiteral("group 3, character 2: sent R, copied X"),
          QStringLiteral("Most frequent confusions: sent R, copied X: 1×")}}};
    for (const Language& language : languages) {
        const auto check = Check(language.file);
        QPlainTextEdit* result = check->ResultText();
        ASSERT_TRUE(result->isVisible());
        EXPECT_TRUE(result->isReadOnly());
        EXPECT_EQ(check->focusWidget(), result);
        EXPECT_FALSE(Name(result).isEmpty());
        const QStringList lines = result->toPlainText().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2 + language.expected.size());
        EXPECT_EQ(lines[0], check->ScoreLabel()->text());
        EXPECT_EQ(lines[1], check->CountsLabel()->text());
        EXPECT_EQ(lines.mid(2), language.expected);
    }
}

}  // namespace
