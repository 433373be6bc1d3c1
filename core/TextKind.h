#pragma once

// The kinds of training text; the value is the index in the text-kind list.
enum TextKind : int {
    kLetterText = 0,
    kDigitText = 1,
    kMixedText = 2,
    kCipherText = 3,
    kCustomText = 4,
    // A lesson of the Koch course, drawn by the training layer.
    kLessonText = 5,
    // Texts of real traffic, drawn by CTrafficText. The settings file keeps the letter kind in
    // their place, within the five kinds that every reader of that file knows.
    kWordText = 6,
    kCallsignText = 7,
    kAbbreviationText = 8,
    kContactText = 9,
    kLastTextKind = kContactText,
};
