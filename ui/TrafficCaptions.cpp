#include "ui/TrafficCaptions.h"

#include "text/CMorseText.h"

const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets = {{
    {CaptionTarget::Kind::TextKind, kWordText, "Slova"},
    {CaptionTarget::Kind::TextKind, kCallsignText, "Volací znaky"},
    {CaptionTarget::Kind::TextKind, kAbbreviationText, "Zkratky a Q-kódy"},
    {CaptionTarget::Kind::TextKind, kContactText, "Spojení"},
}};
