#pragma once

#include <array>

#include "ui/Captions.h"

// The captions added after the training ones: the names of the text kinds of real traffic and
// the later commands, which the language file "local" has on the lines after the training
// captions; a file without them keeps these built-in texts. Constant data; any thread.
inline constexpr int kTrafficCaptions = 7;
extern const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets;
