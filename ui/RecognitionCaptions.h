#pragma once

#include "ui/Captions.h"
#include "ui/TrafficCaptions.h"

// The training menu's command for instant recognition, which the language file "local" has on
// the line after the names of the kinds of real traffic; a file without it keeps the built-in
// text. Constant data; any thread.
inline constexpr int kRecognitionCaptionLine = kMainCaptions + kTrainingCaptions + kTrafficCaptions;
extern const CaptionTarget kRecognitionCaptionTarget;
