#include "ui/RecognitionCaptions.h"

#include "ui/ControlIds.h"

const CaptionTarget kRecognitionCaptionTarget = {
    CaptionTarget::Kind::Command, ids::kMenuInstantRecognition, "Okamžité &rozpoznání…"};
