#include "text/CMorseText.h"

#include <algorithm>
#include <vector>

#include "core/CNotifier.h"
#include "text/CRandomSource.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The positions that a 15-bit draw can reach.
std::string_view DrawablePart(const std::string& set) {
    return std::string_view(set).substr(0, static_cast<std::size_t>(CRandomSource::kMax) + 1);
}

// Draws a position of `set` by rejection: values at or beyond the set's length are thrown away,
// never folded in with a remainder, so every position is equally likely. The caller guarantees
// that the set is not empty and, without `allowSpace`, holds a character other than a space.
char DrawChar(std::string_view set, bool allowSpace, CRandomSource& random) {
    const int n = static_cast<int>(set.size());
    for (;;) {
        const int position = random.NextBelow(n);
        const char c = set[static_cast<std::size_t>(position)];
        if (allowSpace || c != ' ') {
            return c;
        }
    }
}

// True when a rule could never finish its draw: the set is empty or, for rules A and C, which
// must draw a character other than a space, holds nothing but spaces.
bool NothingToDraw(std::string_view set, int kind) {
    if (set.empty()) {
        return true;
    }
    return kind != kDigitText && set.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

CMorseText::~CMorseText() = default;

CMorseText CMorseText::LoadFromFileContents(std::string_view bytes, int kind, CNotifier& notifier) {
    CMorseText result;
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        bytes = bytes.substr(0, zero);
    }
    std::string loaded;
    loaded.reserve(std::min<std::size_t>(bytes.size(), 4096));
    for (const char c : bytes) {
        if (c != '\r' && c != '\n') {
            loaded.push_back(c);
        }
    }
    if (loaded.size() > static_cast<std::size_t>(kMaxTextLength)) {
        notifier.TextTooLong(kMaxTextLength);
        loaded.resize(kMaxTextLength);
    }
    result.kind = kind;
    result.text = std::move(loaded);
    result.RemoveUnsupported(notifier);
    return result;
}

void CMorseText::SetText(const std::string& newText) {
    text = newText;
    word.clear();
    cursor = 0;
}

int CMorseText::WordCount() const {
    if (text.empty()) {
        return 1;
    }
    int count = 0;
    bool inSpaces = false;
    for (const char c : text) {
        if (c == ' ' && !inSpaces) {
            ++count;
        }
        inSpaces = c == ' ';
    }
    if (text.back() != ' ') {
        ++count;
    }
    return count;
}

std::string CMorseText::NextWord() {
    word.clear();
    while (cursor < text.size() && text[cursor] != ' ') {
        word.push_back(text[cursor]);
        ++cursor;
    }
    return word;
}

std::string CMorseText::ToElements() {
    const int words = WordCount();
    cursor = 0;
    const bool shortForm = kind == kDigitText && shortZeros != 0;
    std::string result;
    for (int i = 0; i < words; ++i) {
        const std::string next = NextWord();
        for (std::size_t k = 0; k < next.size(); ++k) {
            if (const std::size_t close = ProsignClose(next, k); close != std::string::npos) {
                for (++k; k < close; ++k) {
                    result.append(table.CodeOf(next[k], shortForm));
                }
            } else {
                result.append(table.CodeOf(next[k], shortForm));
            }
            result.push_back('m');
        }
        while (cursor < text.size() && text[cursor] == ' ') {
            result.push_back(' ');
            ++cursor;
        }
    }
    return result;
}

std::size_t CMorseText::ProsignClose(std::string_view text, std::size_t open) {
    if (open >= text.size() || text[open] != '<') {
        return std::string_view::npos;
    }
    int coded = 0;
    for (std::size_t k = open + 1; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '>') {
            return coded >= 2 ? k : std::string_view::npos;
        }
        if (c == '\r' || c == '\n') {
            continue;
        }
        if (!CMorseTable::HasCode(c)) {
            return std::string_view::npos;
        }
        ++coded;
    }
    return std::string_view::npos;
}

std::string CMorseText::FormatLines() const {
    std::string result;
    result.reserve(text.size() + text.size() / kLineLength * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        result.push_back(text[i]);
        if ((i + 1) % kLineLength == 0) {
            result.append("\r\n");
        }
    }
    return result;
}

namespace {

// Where the display lines of `text` end when no word is split (see FormatDisplayLines): the
// index after each line but the last.
std::vector<std::size_t> WordLineEnds(std::string_view text) {
    constexpr std::size_t kLine = kLineLength;
    std::vector<std::size_t> ends;
    std::size_t start = 0;
    while (text.size() - start >= kLine) {
        // A full line where its 60 characters end with a space (or the text); else the line ends
        // after the last space that fits, so that no line begins with a space, or after 60
        // characters of one long word.
        std::size_t end = start + kLine;
        if (end < text.size() && text[end - 1] != ' ') {
            const std::size_t space = text.rfind(' ', end - 1);
            if (space != std::string_view::npos && space >= start) {
                end = space + 1;
            }
        }
        ends.push_back(end);
        start = end;
    }
    return ends;
}

constexpr std::size_t kMostLines = kMaxTextLength / kLineLength;

}  // namespace

bool CMorseText::FitsDisplayWithWholeWords(std::string_view text) {
    const std::vector<std::size_t> ends = WordLineEnds(text);
    // The text after the last line end is a line of its own unless it is empty.
    const bool restIsALine = ends.empty() || ends.back() != text.size();
    return ends.size() + (restIsALine ? 1 : 0) <= kMostLines;
}

std::string CMorseText::FormatDisplayLines() const {
    if (!FitsDisplayWithWholeWords(text)) {
        return FormatLines();
    }
    std::string result;
    std::size_t start = 0;
    for (const std::size_t end : WordLineEnds(text)) {
        result.append(text, start, end - start).append("\r\n");
        start = end;
    }
    result.append(text, start, std::string::npos);
    return result;
}

std::string CMorseText::FormatPadded() const {
    CMorseText padded(*this);
    if (padded.text.size() < static_cast<std::size_t>(kMaxTextLength)) {
        padded.text.resize(kMaxTextLength, ' ');
    }
    return padded.FormatLines();
}

void CMorseText::RemoveUnsupported(CNotifier& notifier) {
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        // A prosign keeps its brackets.
        if (const std::size_t close = ProsignClose(text, k); close != std::string::npos) {
            kept.append(text, k, close + 1 - k);
            k = close;
        } else if (text[k] == ' ' || table.HasCode(text[k])) {
            kept.push_back(text[k]);
        }
    }
    if (kept.size() != text.size()) {
        text = std::move(kept);
        notifier.UnsupportedCharactersRemoved();
    }
}

std::string CMorseText::Generate(const std::string& set, int generatedKind) const {
    return Generate(set, generatedKind, CRandomSource::TickSeed());
}

std::string CMorseText::Generate(const std::string& set, int generatedKind, std::uint32_t seed) {
    const std::string_view drawable = DrawablePart(set);
    if (generatedKind < kLetterText || generatedKind > kCipherText ||
        NothingToDraw(drawable, generatedKind)) {
        return {};
    }
    CRandomSource random(seed);
    const bool allZeros = drawable.find_first_not_of('0') == std::string_view::npos;
    const bool hasSpace = set.find(' ') != std::string::npos;
    const int count = hasSpace ? kMaxTextLength : 250;
    bool prevNotSpace = false;
    bool firstDigit = true;
    bool groupStart = true;
    bool digitGroup = false;

    std::string result;
    result.reserve(kMaxTextLength);
    for (int i = 1; i <= count; ++i) {
        if (generatedKind == kLetterText || generatedKind == kCipherText) {
            // Rule A: free, never two spaces in a row and never a leading space.
            const char c = DrawChar(drawable, prevNotSpace, random);
            prevNotSpace = c != ' ';
            result.push_back(c);
        } else if (generatedKind == kDigitText) {
            // Rule B: free, but the very first character is not a zero.
            char c = DrawChar(drawable, true, random);
            if (firstDigit && !allZeros) {
                firstDigit = false;
                while (c == '0') {
                    c = DrawChar(drawable, true, random);
                }
            }
            result.push_back(c);
        } else {
            // Rule C: the first character of a group decides whether it is all digits or none.
            char c = DrawChar(drawable, prevNotSpace, random);
            if (groupStart) {
                digitGroup = IsDigit(c);
                groupStart = false;
            }
            if (c == ' ') {
                prevNotSpace = false;
                groupStart = true;
                result.push_back(c);
            } else {
                while (IsDigit(c) != digitGroup) {
                    c = DrawChar(drawable, false, random);
                }
                prevNotSpace = true;
                result.push_back(c);
            }
        }
        if (i % 5 == 0 && !hasSpace) {
            result.push_back(' ');
            groupStart = true;
        }
    }
    return result;
}
