#include "bench/EverythingOn.h"

#include "core/CFist.h"

ReceptionSettings EverythingAtItsHighest() {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = ReceptionSettings::kLowestSnrDb;
    settings.filterHz = 250;
    settings.fading = true;
    settings.fadingDepthPercent = 100;
    settings.fadingSpreadCentihertz = 1000;
    settings.pathDelayMicroseconds = 2000;
    settings.agc = ReceptionSettings::Agc::kFast;
    settings.staticCrashes = true;
    settings.staticPerMinute = ReceptionSettings::kHighestStaticRate;
    settings.interference = true;
    settings.stations = ReceptionSettings::kMostStations;
    settings.pileUp = true;
    settings.chirp = true;
    settings.chirpHz = ReceptionSettings::kHighestChirpHz;
    settings.keyClicks = true;
    settings.fist = FistKind::kStraightKey;
    return settings;
}
