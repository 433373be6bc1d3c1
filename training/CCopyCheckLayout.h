#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "training/CCopyCheck.h"

// Where each mark of a checked copy goes on the page, in units of one character cell's width:
// the sent text in its lines of sixty columns between two rulers, the lines numbered on both
// sides, and below each sent character what was copied. Every mark has a box of its own, and no
// two boxes overlap:
//   - a right character is its glyph; a wrong one is its glyph, an underline below it and the
//     copied character in the row below;
//   - a run of missed characters of one line (a group missed whole, say) is one frame around
//     their glyphs with one dash in the row below; the frames keep clear of the neighbours;
//   - two swapped neighbours are their glyphs, one tie below both and the two copied characters
//     below that;
//   - extra characters: a caret between the two sent characters they came between, reaching
//     down through the copy row, and the characters themselves in rows of their own below the
//     line, each in its own place, as near below the caret as the ones before them allow, on as
//     many rows as they need;
//   - the rulers, the line numbers and the legend in bands of their own.
// The picture is drawn by the window and the print alike. Plain data; any thread.
class CCopyCheckLayout {
public:
    static constexpr int kColumns = 60;
    // Cells on either side of the text for the line numbers.
    static constexpr double kSideCells = 4.0;
    static constexpr double kPageWidth = kColumns + 2 * kSideCells;
    // The legend's entries, in this order: right, wrong, missed, extra, swapped.
    static constexpr int kLegendEntries = 5;

    struct Box {
        double x = 0;
        double y = 0;
        double width = 0;
        double height = 0;
        double Right() const { return x + width; }
        double Bottom() const { return y + height; }
        // Whether the two share any area (boxes that only touch do not).
        bool Intersects(const Box& other) const;
        bool Contains(const Box& other) const;
    };

    enum class Kind {
        Ruler,         // a ruler with its divisions and their numbers
        LineNumber,    // text: the line's number
        Character,     // a sent character that is not missed, in its mark's colour
        MissedFrame,   // a frame around missed characters (text, one glyph each)
        MissedDash,    // the dash below them
        Underline,     // below a wrong character
        Copied,        // what was copied for a wrong or a swapped character (one glyph each)
        SwapTie,       // below two swapped characters
        ExtraCaret,    // where extra characters came
        Extra,         // extra characters, one glyph each
        LegendSample,  // a sample of a mark: its `mark` says which
        LegendText,    // `legendIndex` says which text
    };

    struct Item {
        Kind kind;
        CCopyCheck::Mark mark;  // the colour it is drawn in
        Box box;
        std::string text;         // the characters shown, one per glyph box
        std::vector<Box> glyphs;  // where each of them is drawn, inside the box
        bool wholeGroup = false;  // missed or extra characters of a whole group
        int legendIndex = -1;
    };

    // `sentText`: the sent text as displayed (lines ending in CR LF); `check`: its comparison;
    // `legendWidths`: the width of each legend text in cells.
    CCopyCheckLayout(std::string_view sentText, const CCopyCheck& check,
                     const std::vector<double>& legendWidths);

    const std::vector<Item>& Items() const { return items; }
    double Width() const { return kPageWidth; }
    double Height() const { return height; }
    int LineCount() const { return static_cast<int>(lineTops.size()); }
    // The cell of the sent character at a column of a line (from the top of the frame a missed
    // character gets to the top of the underline band), and the row below it that holds what was
    // copied.
    Box CellBox(int line, int column) const;
    Box CopyBox(int line, int column) const;
    // The line and column of a position of the sent text; {-1, -1} for a line break.
    std::pair<int, int> CellOf(std::size_t position) const;

private:
    // The line and column boundary an extra character standing before `position` is shown at.
    std::pair<int, int> BoundaryOf(std::size_t position) const;
    void Add(Kind kind, CCopyCheck::Mark mark, Box box, std::string text = {},
             std::vector<Box> glyphs = {}, bool wholeGroup = false);

    std::vector<std::pair<int, int>> cells;  // for each position of the sent text
    std::vector<double> lineTops;
    std::vector<Item> items;
    double height = 0;
};
