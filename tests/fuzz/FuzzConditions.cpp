// The reception conditions reader on any bytes: whatever it reads lies within the settings'
// ranges, and writes back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/CConditionsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using Limits = ReceptionSettings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ReceptionSettings settings = CConditionsFile::Parse(bytes);
    const bool inRange =
        settings.snrDb >= Limits::kLowestSnrDb && settings.snrDb <= Limits::kHighestSnrDb &&
        settings.filterHz >= Limits::kNarrowestFilterHz &&
        settings.filterHz <= Limits::kWidestFilterHz && settings.fadingDepthPercent >= 0 &&
        settings.fadingDepthPercent <= 100 &&
        settings.fadingSeconds >= Limits::kShortestFadingSeconds &&
        settings.fadingSeconds <= Limits::kLongestFadingSeconds &&
        settings.fadingSeconds == Limits::FadingSecondsFor(settings.fadingSpreadCentihertz) &&
        settings.fadingSpreadCentihertz >= Limits::kLeastSpreadCentihertz &&
        settings.fadingSpreadCentihertz <= Limits::kMostSpreadCentihertz &&
        settings.pathDelayMicroseconds >= 0 &&
        settings.pathDelayMicroseconds <= Limits::kLongestPathDelayMicroseconds &&
        static_cast<int>(settings.agc) >= 0 &&
        static_cast<int>(settings.agc) <= static_cast<int>(Limits::Agc::kSlow) &&
        settings.staticPerMinute >= Limits::kLowestStaticRate &&
        settings.staticPerMinute <= Limits::kHighestStaticRate && settings.stations >= 0 &&
        settings.stations <= Limits::kMostStations && settings.chirpHz >= 0 &&
        settings.chirpHz <= Limits::kHighestChirpHz &&
        static_cast<int>(settings.fist) >= static_cast<int>(FistKind::kNone) &&
        static_cast<int>(settings.fist) <= static_cast<int>(FistKind::kBug);
    if (!inRange || !(CConditionsFile::Parse(CConditionsFile::Format(settings)) == settings)) {
        std::abort();
    }
    return 0;
}
