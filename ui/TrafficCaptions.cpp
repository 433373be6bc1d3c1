#include "ui/TrafficCaptions.h"

#include "text/CMorseText.h"
#include "ui/ControlIds.h"

const std::array<CaptionTarget, kTrafficCaptions> kTrafficCaptionTargets = {{
    {CaptionTarget::Kind::TextKind, kWordText, "Slova"},
    {CaptionTarget::Kind::TextKind, kCallsignText, "Volací znaky"},
    {CaptionTarget::Kind::TextKind, kAbbreviationText, "Zkratky a Q-kódy"},
    {CaptionTarget::Kind::TextKind, kContactText, "Spojení"},
}};

const CaptionTarget kCallsignCaptionTarget = {CaptionTarget::Kind::Command, ids::kMenuCallsigns,
                                              "&Volací znaky…"};
