// The sound options reader on any bytes: whatever it reads lies within the options' ranges, and
// writes back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/CSoundOptionsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SoundOptions options = CSoundOptionsFile::Parse(bytes);
    bool inRange = options.pauseBeforeTenths >= 0 &&
                   options.pauseBeforeTenths <= SoundOptions::kLongestPauseTenths &&
                   options.pauseAfterTenths >= 0 &&
                   options.pauseAfterTenths <= SoundOptions::kLongestPauseTenths &&
                   static_cast<int>(options.ladder) >= 0 && static_cast<int>(options.ladder) <= 2 &&
                   options.rungs.size() >= 2 &&
                   options.rungs.size() <= static_cast<std::size_t>(SoundOptions::kMostRungs) &&
                   options.stepCpm >= 1 && options.stepCpm <= SoundOptions::kHighestStepCpm &&
                   options.stepMinutes >= 1 &&
                   options.stepMinutes <= SoundOptions::kLongestStepMinutes;
    for (const double rung : options.rungs) {
        inRange =
            inRange && rung >= SoundOptions::kSlowestRung && rung <= SoundOptions::kFastestRung;
    }
    if (!inRange || !(CSoundOptionsFile::Parse(CSoundOptionsFile::Format(options)) == options)) {
        std::abort();
    }
    return 0;
}
