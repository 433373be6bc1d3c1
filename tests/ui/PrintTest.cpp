#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "tests/ui/MainWindowFixture.h"
#include "session/ControlIds.h"

namespace {

class Printing : public MainWindow {
protected:
    // The text of the printed PDF, page by page in reading order, blank lines dropped.
    QStringList PrintedLines() {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {QStringLiteral("-layout"), desktop.pdf, QStringLiteral("-")});
        pdftotext.waitForFinished(30000);
        QStringList lines;
        for (const QString& line :
             QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty()) {
                lines << line.trimmed();
            }
        }
        return lines;
    }
    bool Collected() { return std::filesystem::exists(folder.File("tisk.tmp")); }
    void SetUp() override { desktop.pdf = QString::fromStdString(folder.File("sheet.pdf")); }
};

// One block as pdftotext lays it out: the column numbers, then five numbered lines.
QStringList Block(const std::string& text) {
    QStringList lines{QStringLiteral("1 2 3 4 5 6 7 8 9 10")};
    for (int line = 0; line < 5; ++line) {
        const QString content =
            QString::fromStdString(text.substr(static_cast<std::size_t>(line) * 60, 60)).trimmed();
        lines << (content.isEmpty() ? QString::number(line)
                                    : QString::number(line) + QLatin1Char(' ') + content);
    }
    return lines;
}

QStringList Simplified(QStringList lines) {
    for (QString& line : lines) {
        line = line.simplified();
    }
    return lines;
}

TEST_F(Printing, ThreeCollectedTextsPrintThreeIdenticalBlocks) {
    Click(ids::kGenerate);
    const std::string text = dialog->CurrentText().GetText();
    for (int i = 0; i < 3; ++i) {
        Click(ids::kToPrint);
    }
    EXPECT_EQ(ReadWholeFile(folder.File("tisk.tmp")).size(), 3u * 310u);
    dialog->MenuCommand(ids::kMenuPrint)->trigger();
    EXPECT_FALSE(Collected());
    EXPECT_EQ(Simplified(PrintedLines()), Block(text) + Block(text) + Block(text));

    // A second print with nothing collected prints the current text alone.
    std::filesystem::remove(folder.File("sheet.pdf"));
    dialog->MenuCommand(ids::kMenuPrint)->trigger();
    EXPECT_EQ(Simplified(PrintedLines()), Block(text));
    EXPECT_FALSE(Collected());
}

TEST_F(Printing, ShortCustomTextIsPaddedToABlock) {
    desktop.answer = QString::fromStdString(folder.File("c.txt"));
    WriteWholeFile(folder.File("c.txt"), "CQ CQ DE OK");
    Click(ids::kLoad);
    Click(ids::kToPrint);
    EXPECT_EQ(
        ReadWholeFile(folder.File("tisk.tmp")), "CQ CQ DE OK" + std::string(49, ' ') + "\r\n" + [] {
            std::string blank;
            for (int i = 0; i < 4; ++i) {
                blank += std::string(60, ' ') + "\r\n";
            }
            return blank;
        }());
    dialog->MenuCommand(ids::kMenuPrint)->trigger();
    EXPECT_EQ(Simplified(PrintedLines()), Block("CQ CQ DE OK" + std::string(289, ' ')));
}

TEST_F(Printing, NothingToPrintWarnsAndCancelEmptiesTheCollection) {
    dialog->MenuCommand(ids::kMenuPrint)->trigger();
    EXPECT_EQ(boxes.shown, QStringList{QStringLiteral("W|Brumlo|UPOZORNĚNÍ: Není generován, ani "
                                                      "vytvořen vlastní text!\nProto nelze vložit "
                                                      "text do tisku.")});
    EXPECT_FALSE(desktop.requests.contains(QStringLiteral("print")));

    Click(ids::kGenerate);
    Click(ids::kToPrint);
    desktop.pdf.clear();  // the user cancels the print dialog
    dialog->MenuCommand(ids::kMenuPrint)->trigger();
    EXPECT_FALSE(Collected());
}

TEST_F(Printing, TheCollectionEndsWithTheProgram) {
    Click(ids::kGenerate);
    Click(ids::kToPrint);
    EXPECT_TRUE(Collected());
    dialog.reset();
    EXPECT_FALSE(Collected());
}

}  // namespace
