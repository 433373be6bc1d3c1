#pragma once

#include <array>

// The 47 captions of the main window that a language file replaces, in the file's order, with
// the built-in Czech text of each. Constant data; any thread.
struct CaptionTarget {
    enum class Kind { Menu, Command, Control, TextKind };
    Kind kind;
    int id;  // menu position, command id, control id or text-kind index
    const char* czech;
};

inline constexpr int kMainCaptions = 47;
extern const std::array<CaptionTarget, kMainCaptions> kCaptionTargets;

// The captions added since the 47 (the training menu, the lesson kind, saving the sound, the
// reception conditions), which later versions of the language file "local" have on the lines
// after the 47; a file without them keeps these built-in texts.
inline constexpr int kTrainingCaptions = 8;
extern const std::array<CaptionTarget, kTrainingCaptions> kTrainingCaptionTargets;

// The captions added after the training ones: the names of the text kinds of real traffic and
// the later commands (the last the choice of the international punctuation), which the language
// file "local" has on the lines after the training captions; a file without them keeps these
// built-in texts. Constant data; any thread.
inline constexpr int kTrafficCaptions = 10;
extern const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets;
