#pragma once

#include <cstdint>
#include <vector>

#include "core/CCuePlayer.h"

// A cue player on virtual time, built like a sound card: a sound queued at `now` begins on the
// stream at once or right after the sound before it; the stream takes its samples `lead` before
// they are due and the listener hears each `latency` after it is due. The player knows a sound's
// end once the stream has taken its last sample, and reports it off the truth by a set mapping
// error, as a clock mapping is. Keeps every sound and the truth of when it ends.
class CFakeCuePlayer : public CCuePlayer {
public:
    struct Sound {
        std::vector<float> samples;
        std::int64_t startNanoseconds;     // when its first sample is due on the stream
        std::int64_t heardEndNanoseconds;  // when its last sample is truly heard
        bool cut = false;
    };

    CFakeCuePlayer(std::int64_t leadNanoseconds, std::int64_t latencyNanoseconds,
                   std::int64_t mappingErrorNanoseconds = 0);

    void SetNow(std::int64_t nanoseconds) { now = nanoseconds; }
    std::int64_t Now() const { return now; }
    void SetOpens(bool on) { opens = on; }
    void SetMappingError(std::int64_t nanoseconds) { mappingError = nanoseconds; }

    bool Open() override { return opens; }
    bool Play(const std::vector<float>& samples) override;
    void Silence() override;
    std::int64_t HeardEndNanoseconds() const override;

    const std::vector<Sound>& Sounds() const { return sounds; }
    // When the last sample of the last sound is truly heard; 0 before any.
    std::int64_t TrueHeardEnd() const;
    int Silenced() const { return silenced; }

private:
    std::int64_t lead;
    std::int64_t latency;
    std::int64_t mappingError;
    std::int64_t now = 0;
    bool opens = true;
    int silenced = 0;
    std::vector<Sound> sounds;
};
