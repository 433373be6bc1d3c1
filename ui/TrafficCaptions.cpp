#include "ui/TrafficCaptions.h"

#include "core/TextKind.h"
#include "session/ControlIds.h"

const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets = {{
    {CaptionTarget::Kind::TextKind, kWordText, "Slova"},
    {CaptionTarget::Kind::TextKind, kCallsignText, "Volací znaky"},
    {CaptionTarget::Kind::TextKind, kAbbreviationText, "Zkratky a Q-kódy"},
    {CaptionTarget::Kind::TextKind, kContactText, "Spojení"},
    {CaptionTarget::Kind::Command, ids::kMenuInstantRecognition, "Okamžité &rozpoznání…"},
    {CaptionTarget::Kind::Command, ids::kMenuCallsigns, "&Volací znaky…"},
    {CaptionTarget::Kind::Command, ids::kMenuSoundOptions, "Mo&žnosti zvuku…"},
}};
