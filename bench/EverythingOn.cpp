#include "bench/EverythingOn.h"

#include "core/CFist.h"

ReceptionSettings EverythingAtItsHighest() {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = ReceptionSettings::kLowestSnrDb;
    settings.filterHz = 250;
    settings.fading = true;
    settings.fadingDepthPercent = 100;
    settings.fadingSeconds = ReceptionSettings::kShortestFadingSeconds;
    settings.staticCrashes = true;
    settings.staticPerMinute = ReceptionSettings::kHighestStaticRate;
    settings.interference = true;
    settings.stations = ReceptionSettings::kMostStations;
    settings.chirp = true;
    settings.chirpHz = ReceptionSettings::kHighestChirpHz;
    settings.keyClicks = true;
    settings.fist = FistKind::kStraightKey;
    return settings;
}
