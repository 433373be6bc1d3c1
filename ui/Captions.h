#pragma once

#include <QString>
#include <QStringList>
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
// reception conditions), which
// later versions of the language file "local" have on the lines after the 47; a file without
// them keeps these built-in texts.
inline constexpr int kTrainingCaptions = 8;
extern const std::array<CaptionTarget, kTrainingCaptions> kTrainingCaptionTargets;

// The built-in Czech texts of `targets`, in their order.
template <std::size_t N>
QStringList BuiltInCaptions(const std::array<CaptionTarget, N>& targets) {
    QStringList texts;
    for (const CaptionTarget& target : targets) {
        texts << QString::fromUtf8(target.czech);
    }
    return texts;
}
