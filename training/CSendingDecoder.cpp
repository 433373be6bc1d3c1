#include "training/CSendingDecoder.h"

#include <algorithm>
#include <cmath>

#include "core/CMorseTable.h"

namespace {

// The marks are sorted into dots and dashes afresh from the last kMarkWindow of them, so that a
// change of speed is followed within a few characters and one misread mark cannot pull the
// estimate away. Dashes are at least kLeastDashPerDot dots long.
constexpr double kLeastDashPerDot = 1.5;
// A mark longer than this many dashes, or a space longer than this many word gaps, is read but
// kept out of the lengths learnt from (a key held down, a pause); until the windows are full the
// bound is kFirstLongest, so that a learner far slower than the speed set, or a slow text speed's
// long gaps, are followed from the start.
constexpr double kLongestMarkPerDash = 3.0;
constexpr double kLongestSpacePerWordGap = 2.5;
constexpr double kFirstLongest = 10.0;
// The spaces are sorted afresh into element, character and word gaps from the last
// kSpaceWindow of them (k-means on a logarithmic scale, from where the groups stood), so that the
// learner's own spacing is learnt without a misread space pulling a group away. Each group's
// spread counts between these (a machine's exact gaps still leave room; a wandering hand does not
// pull a boundary over), and the boundary between two groups lies as many spreads from either.
constexpr double kLeastSpread = 0.1;
constexpr double kMostSpread = 0.25;
constexpr int kSpaceIterations = 4;
// Neighbouring groups never come closer than these factors, and stay within these many of the
// learner's dots (a hand's element gap is a half to one and a half dots, its character gap two to
// four, its word gap four and more; a slower text speed only lengthens the last two).
constexpr double kLeastCharacterPerElementGap = 1.6;
constexpr double kLeastWordPerCharacterGap = 1.3;
constexpr double kLeastElementGapDots = 0.3;
constexpr double kMostElementGapDots = 1.5;
constexpr double kLeastCharacterGapDots = 1.8;
constexpr double kLeastWordGapDots = 3.5;
// A heavy hand shortens the gap after a long mark and lets it wander: the gaps within its
// characters reach past one dot where its character gaps close in to two, so the boundary between
// them never comes under this many dots. A character run together with the next is mostly a code
// the table does not know, and is mended; one split in two reads as two known characters.
constexpr double kLeastCharacterBoundaryDots = 1.3;
// A code the table does not know is mended only where an element came within this distance of its
// boundary, on a logarithmic scale.
constexpr double kMostDoubt = 0.4;

char CharacterOf(const std::string& code) {
    for (int c = 1; c < 256; ++c) {
        const char character = static_cast<char>(c);
        if (CMorseTable::HasCode(character) && CMorseTable::CodeOf(character, false) == code) {
            return character;
        }
    }
    return '*';
}

double Average(const double* from, const double* to) {
    double sum = 0.0;
    for (const double* x = from; x != to; ++x) {
        sum += *x;
    }
    return sum / static_cast<double>(to - from);
}

}  // namespace

CSendingDecoder::CSendingDecoder(std::int64_t dotNanoseconds, double dashRatio) {
    dot = static_cast<double>(dotNanoseconds);
    dash = dot * dashRatio;
    // The model's gaps to start from: a word's seven dots stand well apart from a character's
    // three, whatever the learner's first spaces are.
    const double dots[] = {1.0, 3.0, 7.0};
    for (std::size_t k = 0; k < spaceMean.size(); ++k) {
        spaceMean[k] = std::log(dots[k] * dot);
        spaceSpread[k] = kMostSpread;
    }
}

double CSendingDecoder::MeanNanoseconds(Kind kind) const {
    switch (kind) {
        case kDot:
            return dot;
        case kDash:
            return dash;
        default:
            return std::exp(spaceMean[kind - kElementGap]);
    }
}

void CSendingDecoder::FitMarks() {
    const std::size_t count = std::min(markCount, kMarkWindow);
    std::array<double, kMarkWindow> sorted{};
    std::copy_n(recentMarks.begin(), count, sorted.begin());
    std::sort(sorted.begin(), sorted.begin() + static_cast<long>(count));
    // The split into two groups, at least kLeastDashPerDot apart, with the least spread on a
    // logarithmic scale.
    double best = -1.0;
    std::size_t split = 0;
    for (std::size_t k = 1; k < count; ++k) {
        const double low = Average(sorted.data(), sorted.data() + k);
        const double high = Average(sorted.data() + k, sorted.data() + count);
        if (high < kLeastDashPerDot * low) {
            continue;
        }
        double squares = 0.0;
        for (std::size_t i = 0; i < count; ++i) {
            const double d = std::log(sorted[i] / (i < k ? low : high));
            squares += d * d;
        }
        if (best < 0.0 || squares < best) {
            best = squares;
            split = k;
        }
    }
    if (split > 0) {
        dot = Average(sorted.data(), sorted.data() + split);
        dash = Average(sorted.data() + split, sorted.data() + count);
        return;
    }
    // All alike (a run of one kind): they move the kind they are nearer, the other keeps its ratio.
    const double all = Average(sorted.data(), sorted.data() + count);
    const double ratio = dash / dot;
    if (std::fabs(std::log(all / dot)) < std::fabs(std::log(all / dash))) {
        dot = all;
        dash = all * ratio;
    } else {
        dash = all;
        dot = all / ratio;
    }
}

double CSendingDecoder::SpaceBoundary(Kind lower, Kind upper) const {
    const std::size_t a = lower - kElementGap;
    const std::size_t b = upper - kElementGap;
    const double below = std::clamp(spaceSpread[a], kLeastSpread, kMostSpread);
    const double above = std::clamp(spaceSpread[b], kLeastSpread, kMostSpread);
    const double boundary =
        std::exp((spaceMean[a] * above + spaceMean[b] * below) / (below + above));
    return lower == kElementGap ? std::max(boundary, kLeastCharacterBoundaryDots * dot) : boundary;
}

void CSendingDecoder::KeepInPlace() {
    // Measured against the dot of the marks, which a window without a group's spaces (a run of
    // long words, the first characters) cannot move: a group finds none of the others' spaces.
    const double logDot = std::log(dot);
    spaceMean[0] = std::clamp(spaceMean[0], logDot + std::log(kLeastElementGapDots),
                              logDot + std::log(kMostElementGapDots));
    spaceMean[1] = std::max({spaceMean[1], spaceMean[0] + std::log(kLeastCharacterPerElementGap),
                             logDot + std::log(kLeastCharacterGapDots)});
    spaceMean[2] = std::max({spaceMean[2], spaceMean[1] + std::log(kLeastWordPerCharacterGap),
                             logDot + std::log(kLeastWordGapDots)});
}

void CSendingDecoder::FitSpaces() {
    const std::size_t count = std::min(spaceCount, kSpaceWindow);
    std::array<int, kSpaceWindow> group{};
    for (int iteration = 0; iteration < kSpaceIterations; ++iteration) {
        const double firstBoundary = std::log(SpaceBoundary(kElementGap, kCharacterGap));
        const double secondBoundary = std::log(SpaceBoundary(kCharacterGap, kWordGap));
        std::array<double, 3> sum{};
        std::array<int, 3> members{};
        for (std::size_t i = 0; i < count; ++i) {
            const double x = recentSpaces[i];
            group[i] = x < firstBoundary ? 0 : x < secondBoundary ? 1 : 2;
            sum[static_cast<std::size_t>(group[i])] += x;
            ++members[static_cast<std::size_t>(group[i])];
        }
        std::array<double, 3> squares{};
        for (std::size_t k = 0; k < 3; ++k) {
            if (members[k] > 0) {
                spaceMean[k] = sum[k] / members[k];
            }
        }
        // A group that found nothing while the one above it holds two kinds of space (the long
        // character gaps of a slow text speed beside its word gaps): it starts again from the
        // shortest of them.
        for (std::size_t k = 0; k + 1 < 3; ++k) {
            if (members[k] != 0 || members[k + 1] < 3) {
                continue;
            }
            double shortest = 1e300;
            double longest = -1e300;
            for (std::size_t i = 0; i < count; ++i) {
                if (static_cast<std::size_t>(group[i]) == k + 1) {
                    shortest = std::min(shortest, recentSpaces[i]);
                    longest = std::max(longest, recentSpaces[i]);
                }
            }
            if (longest - shortest > std::log(kLeastCharacterPerElementGap)) {
                spaceMean[k] = shortest;
                spaceMean[k + 1] = longest;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(group[i]);
            squares[k] += (recentSpaces[i] - spaceMean[k]) * (recentSpaces[i] - spaceMean[k]);
        }
        for (std::size_t k = 0; k < 3; ++k) {
            if (members[k] > 1) {
                spaceSpread[k] = std::sqrt(squares[k] / members[k]);
            }
        }
        KeepInPlace();
    }
}

void CSendingDecoder::Add(const KeyEdge& edge) {
    if (edge.down == down) {
        return;
    }
    if (started) {
        const std::int64_t length = edge.at - lastEdge;
        if (down) {
            Mark(length);
        } else {
            Space(length);
        }
    }
    started = true;
    down = edge.down;
    lastEdge = edge.at;
}

void CSendingDecoder::Mark(std::int64_t nanoseconds) {
    const auto length = static_cast<double>(nanoseconds);
    // Nearer the dot's mean or the dash's on a logarithmic scale.
    const Kind kind = length * length < dot * dash ? kDot : kDash;
    // A key held far longer than a dash (the learner resting on it) is read, not learnt from.
    if (length < (markCount < kMarkWindow ? kFirstLongest : kLongestMarkPerDash) * dash) {
        recentMarks[markCount++ % kMarkWindow] = length;
        const double dotBefore = dot;
        FitMarks();
        // The spaces follow the learner's tempo at once; their own groups refine them.
        const double tempo = std::log(dot / dotBefore);
        for (double& mean : spaceMean) {
            mean += tempo;
        }
    }
    if (wordEnded) {
        wordText = text.size();
        wordCharacter = characters.size();
        wordInterval = intervals.size();
    }
    if (code.empty()) {
        codeStart = intervals.size();
        markDoubts.clear();
        gapDoubts.clear();
    }
    markDoubts.push_back(std::fabs(std::log(length * length / (dot * dash))) / 2.0);
    intervals.push_back({kind, nanoseconds, characters.size(), static_cast<int>(code.size())});
    code += kind == kDot ? '.' : '-';
    wordEnded = false;
}

void CSendingDecoder::Space(std::int64_t nanoseconds) {
    const auto length = static_cast<double>(nanoseconds);
    Kind kind = kWordGap;
    const double boundary = SpaceBoundary(kElementGap, kCharacterGap);
    if (length < boundary) {
        kind = kElementGap;
        gapDoubts.push_back(std::fabs(std::log(length / boundary)));
    } else if (length < SpaceBoundary(kCharacterGap, kWordGap)) {
        kind = kCharacterGap;
    }
    if (length < (spaceCount < kSpaceWindow ? kFirstLongest : kLongestSpacePerWordGap) *
                     std::exp(spaceMean[2])) {
        recentSpaces[spaceCount++ % kSpaceWindow] = std::log(std::max(length, 1.0));
        FitSpaces();
    }
    if (kind == kElementGap) {
        intervals.push_back(
            {kind, nanoseconds, characters.size(), static_cast<int>(code.size()) - 1});
        return;
    }
    // The gap belongs to the last character read, whether the silence had already ended it or the
    // code was mended into two.
    EndCharacter();
    if (kind == kWordGap && !wordEnded) {
        EndWord();
    }
    intervals.push_back({kind, nanoseconds, characters.size() - 1, -1});
}

void CSendingDecoder::EndWord() {
    // The word's marks and spaces read again with the lengths learnt by now; kept where it reads
    // no more unknown codes than before (a mended code reads as read before).
    std::string reread;
    std::vector<Interval> redone;
    std::string elements;
    const auto endCharacter = [&] {
        if (!elements.empty()) {
            reread += CharacterOf(elements);
            elements.clear();
        }
    };
    const double boundary = SpaceBoundary(kElementGap, kCharacterGap);
    for (std::size_t i = wordInterval; i < intervals.size(); ++i) {
        const auto length = static_cast<double>(intervals[i].nanoseconds);
        const std::size_t character = wordCharacter + reread.size();
        if (intervals[i].kind == kDot || intervals[i].kind == kDash) {
            const Kind kind = length * length < dot * dash ? kDot : kDash;
            redone.push_back(
                {kind, intervals[i].nanoseconds, character, static_cast<int>(elements.size())});
            elements += kind == kDot ? '.' : '-';
        } else if (length < boundary && !elements.empty()) {
            redone.push_back({kElementGap, intervals[i].nanoseconds, character,
                              static_cast<int>(elements.size()) - 1});
        } else {
            endCharacter();
            redone.push_back({kCharacterGap, intervals[i].nanoseconds, character, -1});
        }
    }
    endCharacter();
    const std::string before = characters.substr(wordCharacter);
    if (reread != before && std::count(reread.begin(), reread.end(), '*') <=
                                std::count(before.begin(), before.end(), '*')) {
        text.resize(wordText);
        text += reread;
        characters.resize(wordCharacter);
        characters += reread;
        intervals.resize(wordInterval);
        intervals.insert(intervals.end(), redone.begin(), redone.end());
    }
    text += ' ';
    wordEnded = true;
}

void CSendingDecoder::EndCharacter() {
    if (code.empty()) {
        return;
    }
    const std::size_t split = CharacterOf(code) == '*' ? Mend() : code.size();
    AddCharacter(code.substr(0, split));
    if (split < code.size()) {
        AddCharacter(code.substr(split));
    }
    code.clear();
}

void CSendingDecoder::AddCharacter(const std::string& elements) {
    const char character = CharacterOf(elements);
    text += character;
    characters += character;
}

std::size_t CSendingDecoder::Mend() {
    // A code the table does not know is most likely one element misread: the mark or the gap
    // within the character nearest its boundary whose other reading gives a code (or two) that
    // the table knows, if it came near enough.
    double least = kMostDoubt;
    std::size_t flip = code.size();
    std::size_t split = code.size();
    for (std::size_t i = 0; i < code.size(); ++i) {
        std::string other = code;
        other[i] = other[i] == '.' ? '-' : '.';
        if (markDoubts[i] < least && CharacterOf(other) != '*') {
            least = markDoubts[i];
            flip = i;
        }
    }
    for (std::size_t j = 1; j < code.size(); ++j) {
        if (gapDoubts[j - 1] < least && CharacterOf(code.substr(0, j)) != '*' &&
            CharacterOf(code.substr(j)) != '*') {
            least = gapDoubts[j - 1];
            split = j;
            flip = code.size();
        }
    }
    if (flip < code.size()) {
        code[flip] = code[flip] == '.' ? '-' : '.';
        intervals[codeStart + 2 * flip].kind = code[flip] == '.' ? kDot : kDash;
        return code.size();
    }
    if (split < code.size()) {
        Interval& gap = intervals[codeStart + 2 * split - 1];
        gap.kind = kCharacterGap;
        gap.element = -1;
        for (std::size_t i = codeStart + 2 * split; i < intervals.size(); ++i) {
            ++intervals[i].character;
            intervals[i].element -= static_cast<int>(split);
        }
    }
    return split;
}

void CSendingDecoder::Idle(std::int64_t now) {
    if (!started || down) {
        return;
    }
    const auto silence = static_cast<double>(now - lastEdge);
    if (silence >= SpaceBoundary(kElementGap, kCharacterGap)) {
        EndCharacter();
    }
    if (silence >= SpaceBoundary(kCharacterGap, kWordGap) && !wordEnded) {
        EndWord();
    }
}
