#pragma once

#include <ostream>

// The copy checks the alignment is judged by, and the layout of their marks.
struct AlignmentCase {
    const char* name;
    const char* sent;
    const char* copied;
    const char* marks;
    int sentCount;
    int correct;
    int wrong;
    int missed;
    int extra;
    int transpositions;
};

inline void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.name;
}

inline const AlignmentCase kAlignmentCases[] = {
    AlignmentCase{"AllRight", "ABCDE FGHIJ", "ABCDE FGHIJ", "cccccccccc", 10, 10, 0, 0, 0, 0},
    // A slip costs only itself: one missed and one extra, the rest right.
    AlignmentCase{"MissedAndExtra", "ABCDE FGHIJ", "ABDE FGXHIJ", "ccmccccxccc", 10, 9, 0, 1, 1, 0},
    AlignmentCase{"EmptyCopy", "ABC DE", "", "MMMMM", 5, 0, 0, 5, 0, 0},
    AlignmentCase{"EmptyText", "", "ABC", "XXX", 0, 0, 0, 0, 3, 0},
    AlignmentCase{"BothEmpty", "", "  ", "", 0, 0, 0, 0, 0, 0},
    AlignmentCase{"AllWrong", "AAAAA", "BBBBB", "wwwww", 5, 0, 5, 0, 0, 0},
    AlignmentCase{"WrongGroupIsWrongNotMissedAndAdded", "ABCDE FGHIJ", "ABCDE QWERT", "cccccwwwww",
                  10, 5, 5, 0, 0, 0},
    AlignmentCase{"MissedAtTheStart", "KMRSU", "MRSU", "mcccc", 5, 4, 0, 1, 0, 0},
    AlignmentCase{"ExtraAtTheEnd", "KMRSU", "KMRSUA", "cccccx", 5, 5, 0, 0, 1, 0},
    // A swap of neighbours is one transposition, not two confusions.
    AlignmentCase{"Transposed", "KMRSU", "KRMSU", "cttcc", 5, 3, 0, 0, 0, 1},
    AlignmentCase{"TwoSwapsInAGroup", "ABCD", "BADC", "tttt", 4, 0, 0, 0, 0, 2},
    AlignmentCase{"SwapAndMissed", "PARIS 73 TEST", "PARIS 37 TST", "cccccttcmcc", 11, 8, 0, 1, 0,
                  1},
    AlignmentCase{"SwapAfterALikeLetter", "AAB", "ABA", "ctt", 3, 1, 0, 0, 0, 1},
    // Neighbours swapped across a gap are no transposition: one character is taken as moved
    // (written early, missed in its place), not as two confusions.
    AlignmentCase{"SwapAcrossAGapIsNoSwap", "AB CD", "AC BD", "cxcmc", 4, 3, 0, 1, 1, 0},
    // A group missed whole is marked whole, wherever it stands.
    AlignmentCase{"GroupMissedInTheMiddle", "KUUSM KSMMU UMKUU", "KUUSM UMKUU", "cccccMMMMMccccc",
                  15, 10, 0, 5, 0, 0},
    AlignmentCase{"GroupMissedAtTheStart", "KUUSM KSMMU UMKUU", "KSMMU UMKUU", "MMMMMcccccccccc",
                  15, 10, 0, 5, 0, 0},
    AlignmentCase{"GroupMissedAtTheEnd", "KUUSM KSMMU UMKUU", "KUUSM KSMMU", "ccccccccccMMMMM", 15,
                  10, 0, 5, 0, 0},
    // A group missed whole is not spread over its neighbour as wrong characters, even where
    // that neighbour came with characters of its own added and an extra group follows.
    AlignmentCase{"GroupMissedBeforeOneWithExtras", "KUUSM KSMMU UMKUU", "KUUSM UMKUUQQ E",
                  "cccccMMMMMcccccxxX", 15, 10, 0, 5, 3, 0},
    // Any one of three like groups may be the missed one, but it is missed whole.
    AlignmentCase{"RepeatedGroupMissedWhole", "ABCDE ABCDE ABCDE", "ABCDE ABCDE", "MMMMMcccccccccc",
                  15, 10, 0, 5, 0, 0},
    AlignmentCase{"GroupMissedAndAnotherSlip", "ABCDE FGHIJ KLMNO", "ABCE KLMNO", "cccmcMMMMMccccc",
                  15, 9, 0, 6, 0, 0},
    AlignmentCase{"GroupAdded", "ABCDE FGHIJ", "ABCDE XYZQW FGHIJ", "cccccXXXXXccccc", 10, 10, 0, 0,
                  5, 0},
    AlignmentCase{"GroupAddedAtTheEnd", "ABCDE", "ABCDE KM", "cccccXX", 5, 5, 0, 0, 2, 0},
    // Where the spaces stand does not count: groups run together or split are right.
    AlignmentCase{"TwoGroupsRunTogether", "ABCDE FGHIJ KLMNO", "ABCDEFGHIJ KLMNO",
                  "ccccccccccccccc", 15, 15, 0, 0, 0, 0},
    AlignmentCase{"GroupSplitInTwo", "ABCDE FGHIJ", "AB CDE FGHIJ", "cccccccccc", 10, 10, 0, 0, 0,
                  0},
    AlignmentCase{"RunTogetherWithASlip", "ABCDE FGHIJ", "ABCDEGHIJ", "cccccmcccc", 10, 9, 0, 1, 0,
                  0},
    AlignmentCase{"SpacingIgnored", "AB CD\r\nEF", "ABC DEF", "cccccc", 6, 6, 0, 0, 0, 0},
    AlignmentCase{"CaseIgnored", "PARIS", "paris", "ccccc", 5, 5, 0, 0, 0, 0},
    AlignmentCase{"AlphabetForFiveLetters", "KMRSU", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                  "xxxxxxxxxxcxcxxxxccxcxxxxx", 5, 5, 0, 0, 21, 0},
};
