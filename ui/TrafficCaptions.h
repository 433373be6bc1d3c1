#pragma once

#include <array>

#include "ui/Captions.h"

// The names of the text kinds of real traffic, which the language file "local" has on the lines
// after the training captions; a file without them keeps these built-in texts. Constant data;
// any thread.
inline constexpr int kTrafficCaptions = 4;
extern const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets;

// The training menu's command for runs of callsigns, on the line of "local" after the command
// for instant recognition (which follows the names of the kinds of real traffic).
inline constexpr int kCallsignCaptionLine =
    kMainCaptions + kTrainingCaptions + kTrafficCaptions + 1;
extern const CaptionTarget kCallsignCaptionTarget;
