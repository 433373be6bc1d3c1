#pragma once

#include "core/ReceptionSettings.h"

// Reception conditions with every effect on at its most demanding: the lowest signal-to-noise
// ratio, the narrowest filter, full fast fading, the most static and stations, the widest chirp,
// key clicks and a straight key's fist.
ReceptionSettings EverythingAtItsHighest();
