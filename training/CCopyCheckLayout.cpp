#include "training/CCopyCheckLayout.h"

#include <algorithm>
#include <set>

namespace {

using Mark = CCopyCheck::Mark;

// Heights and offsets in cells, from the top of a text line.
constexpr double kRulerBand = 2.0;
constexpr double kSentRow = 1.6;      // a missed character's frame fills it
constexpr double kGlyphInset = 0.15;  // a glyph's box leaves this much of its cell on each side
constexpr double kGlyphWidth = 1.0 - 2 * kGlyphInset;
constexpr double kUnderlineTop = kSentRow;
constexpr double kUnderlineHeight = 0.25;
constexpr double kCopyTop = 1.9;
constexpr double kCopyHeight = 1.1;
constexpr double kCopyBottom = kCopyTop + kCopyHeight;
constexpr double kExtraTop = kCopyBottom + 0.1;
constexpr double kExtraRow = 1.2;  // an extra character's glyph is kCopyHeight of it
constexpr double kLineGap = 0.5;
constexpr double kCaretWidth = 0.3;
// The extra characters' rows reach this close to the page's edges; blocks keep this apart.
constexpr double kEdge = 0.2;
constexpr double kBlockGap = 0.3;
constexpr double kLegendRow = 2.3;

double ColumnX(int column) {
    return CCopyCheckLayout::kSideCells + column;
}

// A run of extra characters standing at one place.
struct ExtraBlock {
    int column;  // the boundary before this column
    std::string characters;
    bool wholeGroup;
};

// Where the characters of the extra blocks of one line go: the row and the left edge of each
// character's slot, the blocks in order.
struct ExtraSlot {
    int row;
    double x;
};

std::vector<std::vector<ExtraSlot>> PackExtras(const std::vector<ExtraBlock>& blocks, int& rows) {
    const double left = kEdge;
    const double right = CCopyCheckLayout::kPageWidth - kEdge;
    std::vector<std::vector<ExtraSlot>> placed;
    int row = 0;
    double cursor = left;  // where the next block may begin on `row`
    bool rowUsed = false;
    for (const ExtraBlock& block : blocks) {
        const double count = static_cast<double>(block.characters.size());
        const double wanted = ColumnX(block.column) - count / 2;
        double x = std::max(wanted, rowUsed ? cursor + kBlockGap : left);
        if (x + count > right && rowUsed) {
            // On a row of its own it sits nearer its caret, or at least whole.
            ++row;
            x = std::max(left, std::min(wanted, right - count));
        }
        x = std::max(left, std::min(x, right - std::min(count, right - left)));
        std::vector<ExtraSlot> slots;
        for (std::size_t k = 0; k < block.characters.size(); ++k) {
            if (x + 1.0 > right + 1e-9) {
                ++row;
                x = left;
            }
            slots.push_back({row, x});
            x += 1.0;
        }
        cursor = x;
        rowUsed = true;
        placed.push_back(std::move(slots));
    }
    rows = blocks.empty() ? 0 : row + 1;
    return placed;
}

}  // namespace

bool CCopyCheckLayout::Box::Intersects(const Box& other) const {
    // Boxes computed to touch may overlap by a rounding error of the arithmetic.
    constexpr double kSlack = 1e-9;
    return x < other.Right() - kSlack && other.x < Right() - kSlack &&
           y < other.Bottom() - kSlack && other.y < Bottom() - kSlack;
}

bool CCopyCheckLayout::Box::Contains(const Box& other) const {
    constexpr double kSlack = 1e-9;
    return other.x >= x - kSlack && other.y >= y - kSlack && other.Right() <= Right() + kSlack &&
           other.Bottom() <= Bottom() + kSlack;
}

void CCopyCheckLayout::Add(Kind kind, Mark mark, Box box, std::string text, std::vector<Box> glyphs,
                           bool wholeGroup) {
    items.push_back({kind, mark, box, std::move(text), std::move(glyphs), wholeGroup, -1});
}

CCopyCheckLayout::CCopyCheckLayout(std::string_view sentText, const CCopyCheck& check,
                                   const std::vector<double>& legendWidths) {
    // The cells of the sent text: lines end at a line break, or after sixty columns.
    int line = 0;
    int column = 0;
    for (const char c : sentText) {
        if (c == '\r' || c == '\n') {
            cells.emplace_back(-1, -1);
            if (c == '\n' && column > 0) {
                ++line;
                column = 0;
            }
            continue;
        }
        if (column == kColumns) {
            ++line;
            column = 0;
        }
        cells.emplace_back(line, column);
        ++column;
    }
    const int lineCount = std::max(1, line + (column > 0 ? 1 : 0));

    // The extra characters of each line, in blocks by the place they stand at.
    const std::vector<CCopyCheck::Entry>& entries = check.Entries();
    std::vector<std::vector<ExtraBlock>> extras(static_cast<std::size_t>(lineCount));
    std::vector<std::vector<std::size_t>> blockOf(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const CCopyCheck::Entry& entry = entries[k];
        if (entry.mark != Mark::Extra) {
            continue;
        }
        const auto [l, c] = BoundaryOf(entry.position);
        auto& blocks = extras[static_cast<std::size_t>(l)];
        const bool joins = k > 0 && entries[k - 1].mark == Mark::Extra &&
                           entries[k - 1].position == entry.position &&
                           entries[k - 1].wholeGroup == entry.wholeGroup && !blocks.empty();
        if (!joins) {
            blocks.push_back({c, {}, entry.wholeGroup});
        }
        blocks.back().characters.push_back(entry.copied);
    }
    std::vector<std::vector<std::vector<ExtraSlot>>> slots;
    std::vector<int> extraRows;
    for (const auto& blocks : extras) {
        int rows = 0;
        slots.push_back(PackExtras(blocks, rows));
        extraRows.push_back(rows);
    }

    // The lines' tops.
    double y = kRulerBand + 0.2;
    for (int l = 0; l < lineCount; ++l) {
        lineTops.push_back(y);
        const int rows = extraRows[static_cast<std::size_t>(l)];
        y += (rows > 0 ? kExtraTop + rows * kExtraRow : kCopyBottom) + kLineGap;
    }
    const double textBottom = y - kLineGap;

    Add(Kind::Ruler, Mark::Correct, {kSideCells - 0.2, 0.1, kColumns + 0.4, kRulerBand - 0.2});
    Add(Kind::Ruler, Mark::Correct,
        {kSideCells - 0.2, textBottom + 0.3, kColumns + 0.4, kRulerBand - 0.2});
    for (int l = 0; l < lineCount; ++l) {
        const double top = lineTops[static_cast<std::size_t>(l)];
        const std::string number = std::to_string(l);
        Add(Kind::LineNumber, Mark::Correct, {kSideCells - 3.6, top + 0.1, 3.0, 1.4}, number);
        Add(Kind::LineNumber, Mark::Correct, {kSideCells + kColumns + 0.6, top + 0.1, 3.0, 1.4},
            number);
    }

    const auto glyphIn = [&](int l, int c) {
        return Box{ColumnX(c) + kGlyphInset, lineTops[static_cast<std::size_t>(l)] + 0.1,
                   kGlyphWidth, kSentRow - 0.2};
    };
    const auto copyGlyph = [&](int l, int c) {
        return Box{ColumnX(c) + kGlyphInset, lineTops[static_cast<std::size_t>(l)] + kCopyTop,
                   kGlyphWidth, kCopyHeight};
    };
    std::set<std::pair<int, int>> carets;
    std::vector<std::size_t> nextBlock(static_cast<std::size_t>(lineCount), 0);
    for (std::size_t k = 0; k < entries.size();) {
        const CCopyCheck::Entry& entry = entries[k];
        if (entry.mark == Mark::Extra) {
            const auto [l, c] = BoundaryOf(entry.position);
            const auto ul = static_cast<std::size_t>(l);
            const double top = lineTops[ul];
            if (carets.insert({l, c}).second) {
                Add(Kind::ExtraCaret, Mark::Extra,
                    {ColumnX(c) - kCaretWidth / 2, top + kUnderlineTop, kCaretWidth,
                     kCopyBottom - kUnderlineTop});
            }
            // The block's characters, one item for each row it takes.
            const std::size_t b = nextBlock[ul]++;
            const ExtraBlock& block = extras[ul][b];
            const std::vector<ExtraSlot>& placed = slots[ul][b];
            std::size_t first = 0;
            while (first < placed.size()) {
                std::size_t last = first;
                while (last + 1 < placed.size() && placed[last + 1].row == placed[first].row) {
                    ++last;
                }
                const double rowTop = top + kExtraTop + placed[first].row * kExtraRow;
                std::vector<Box> glyphs;
                for (std::size_t s = first; s <= last; ++s) {
                    // A frame around a group added whole keeps clear of its glyphs.
                    glyphs.push_back(
                        {placed[s].x + kGlyphInset, rowTop + 0.1, kGlyphWidth, kCopyHeight - 0.2});
                }
                const double x0 = placed[first].x + 0.05;
                const double x1 = placed[last].x + 0.95;
                Add(Kind::Extra, Mark::Extra, {x0, rowTop, x1 - x0, kCopyHeight},
                    block.characters.substr(first, last - first + 1), std::move(glyphs),
                    block.wholeGroup);
                first = last + 1;
            }
            k += block.characters.size();
            continue;
        }
        const auto [l, c] = CellOf(entry.position);
        if (l < 0) {
            ++k;
            continue;
        }
        const double top = lineTops[static_cast<std::size_t>(l)];
        if (entry.mark == Mark::Missed) {
            // A run of missed characters in neighbouring columns of one line, no extra between.
            std::size_t end = k + 1;
            int lastColumn = c;
            while (end < entries.size() && entries[end].mark == Mark::Missed) {
                const auto [nl, nc] = CellOf(entries[end].position);
                if (nl != l || nc != lastColumn + 1) {
                    break;
                }
                lastColumn = nc;
                ++end;
            }
            std::string text;
            std::vector<Box> glyphs;
            bool whole = true;
            for (std::size_t s = k; s < end; ++s) {
                text.push_back(entries[s].sent);
                glyphs.push_back(glyphIn(l, c + static_cast<int>(s - k)));
                whole = whole && entries[s].wholeGroup;
            }
            const double x0 = ColumnX(c) + 0.05;
            const double x1 = ColumnX(lastColumn) + 0.95;
            Add(Kind::MissedFrame, Mark::Missed, {x0, top, x1 - x0, kSentRow}, text,
                std::move(glyphs), whole);
            Add(Kind::MissedDash, Mark::Missed,
                {ColumnX(c) + kGlyphInset, top + kCopyTop + 0.4,
                 ColumnX(lastColumn) + 1 - kGlyphInset - (ColumnX(c) + kGlyphInset), 0.3});
            k = end;
            continue;
        }
        Add(Kind::Character, entry.mark, glyphIn(l, c), std::string(1, entry.sent),
            {glyphIn(l, c)});
        if (entry.mark == Mark::Wrong) {
            Add(Kind::Underline, Mark::Wrong,
                {ColumnX(c) + kGlyphInset, top + kUnderlineTop, kGlyphWidth, kUnderlineHeight});
            Add(Kind::Copied, Mark::Wrong, copyGlyph(l, c), std::string(1, entry.copied),
                {copyGlyph(l, c)});
        } else if (entry.mark == Mark::Transposed && k + 1 < entries.size() &&
                   entries[k + 1].mark == Mark::Transposed) {
            const auto [l2, c2] = CellOf(entries[k + 1].position);
            if (l2 == l && c2 == c + 1) {
                Add(Kind::Character, Mark::Transposed, glyphIn(l, c2),
                    std::string(1, entries[k + 1].sent), {glyphIn(l, c2)});
                Add(Kind::SwapTie, Mark::Transposed,
                    {ColumnX(c) + kGlyphInset, top + kUnderlineTop, 2 - 2 * kGlyphInset,
                     kUnderlineHeight});
                const Box both{ColumnX(c) + kGlyphInset, top + kCopyTop, 2 - 2 * kGlyphInset,
                               kCopyHeight};
                Add(Kind::Copied, Mark::Transposed, both,
                    std::string{entry.copied, entries[k + 1].copied},
                    {copyGlyph(l, c), copyGlyph(l, c2)});
                k += 2;
                continue;
            }
        }
        ++k;
    }

    // The legend below the lower ruler, on as many rows as its texts need.
    double legendTop = textBottom + 0.3 + kRulerBand;
    double x = kSideCells;
    const Mark samples[kLegendEntries] = {Mark::Correct, Mark::Wrong, Mark::Missed, Mark::Extra,
                                          Mark::Transposed};
    const double right = kPageWidth - kEdge;
    for (int k = 0; k < kLegendEntries; ++k) {
        const double wanted = k < static_cast<int>(legendWidths.size())
                                  ? std::max(0.0, legendWidths[static_cast<std::size_t>(k)])
                                  : 0.0;
        // A sample two cells wide (two cells for the swapped pair), then its text.
        const double sampleWidth = samples[k] == Mark::Transposed ? 2.0 : 1.0;
        if (x > kSideCells && x + sampleWidth + 0.5 + wanted > right) {
            legendTop += kLegendRow;
            x = kEdge;
        }
        const double width = std::min(wanted, right - (x + sampleWidth + 0.5));
        Add(Kind::LegendSample, samples[k], {x, legendTop, sampleWidth, kUnderlineTop + 0.35});
        if (width <= 0) {
            x += sampleWidth + 1.5;
            continue;
        }
        items.push_back({Kind::LegendText,
                         Mark::Correct,
                         {x + sampleWidth + 0.5, legendTop + 0.3, width, 1.2},
                         {},
                         {},
                         false,
                         k});
        x += sampleWidth + 0.5 + width + 1.5;
    }
    height = legendTop + kLegendRow;
}

CCopyCheckLayout::Box CCopyCheckLayout::CellBox(int line, int column) const {
    const double top = lineTops[static_cast<std::size_t>(std::clamp(line, 0, LineCount() - 1))];
    return {ColumnX(column), top, 1.0, kSentRow};
}

CCopyCheckLayout::Box CCopyCheckLayout::CopyBox(int line, int column) const {
    const double top = lineTops[static_cast<std::size_t>(std::clamp(line, 0, LineCount() - 1))];
    return {ColumnX(column), top + kCopyTop, 1.0, kCopyHeight};
}

std::pair<int, int> CCopyCheckLayout::CellOf(std::size_t position) const {
    if (position < cells.size()) {
        return cells[position];
    }
    return {-1, -1};
}

std::pair<int, int> CCopyCheckLayout::BoundaryOf(std::size_t position) const {
    if (position < cells.size() && cells[position].first >= 0) {
        return cells[position];
    }
    // A line break or the end: after the last character before it.
    for (std::size_t i = std::min(position, cells.size()); i-- > 0;) {
        if (cells[i].first >= 0) {
            return {cells[i].first, cells[i].second + 1};
        }
    }
    return {0, 0};
}
