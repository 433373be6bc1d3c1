#include "tests/support/CFakeCuePlayer.h"

#include <algorithm>
#include <cmath>

namespace {

std::int64_t SamplesToNanoseconds(std::size_t samples) {
    return std::llround(static_cast<double>(samples) * 1e9 / CCuePlayer::kSampleRate);
}

}  // namespace

CFakeCuePlayer::CFakeCuePlayer(std::int64_t leadNanoseconds, std::int64_t latencyNanoseconds,
                               std::int64_t mappingErrorNanoseconds)
    : lead(leadNanoseconds), latency(latencyNanoseconds), mappingError(mappingErrorNanoseconds) {}

bool CFakeCuePlayer::Play(const std::vector<float>& samples) {
    if (!opens || samples.empty()) {
        return false;
    }
    // The stream is due `lead` ahead of now; what is still queued plays first.
    std::int64_t start = now + lead;
    if (!sounds.empty()) {
        start = std::max(start, sounds.back().heardEndNanoseconds - latency);
    }
    const std::int64_t lastDue = start + SamplesToNanoseconds(samples.size() - 1);
    sounds.push_back({samples, start, lastDue + latency});
    return true;
}

void CFakeCuePlayer::Silence() {
    ++silenced;
    if (!sounds.empty() && sounds.back().heardEndNanoseconds - latency > now + lead) {
        // The stream has taken samples up to `lead` ahead: the sound ends there.
        sounds.back().heardEndNanoseconds =
            std::max(sounds.back().startNanoseconds, now + lead) + latency;
        sounds.back().cut = true;
    }
}

std::int64_t CFakeCuePlayer::HeardEndNanoseconds() const {
    if (sounds.empty()) {
        return 0;
    }
    const std::int64_t lastDue = sounds.back().heardEndNanoseconds - latency;
    // The stream takes the last sample `lead` before it is due.
    if (now < lastDue - lead) {
        return 0;
    }
    return sounds.back().heardEndNanoseconds + mappingError;
}

std::int64_t CFakeCuePlayer::TrueHeardEnd() const {
    return sounds.empty() ? 0 : sounds.back().heardEndNanoseconds;
}
