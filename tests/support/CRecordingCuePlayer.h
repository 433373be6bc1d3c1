#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/CCuePlayer.h"

// A cue player that opens (or not, as told) and keeps every sound it is given, in order, with
// the number of silences asked for. It holds at most `capacity` samples not yet played; Drain
// plays them. Nothing is heard. One thread.
class CRecordingCuePlayer : public CCuePlayer {
public:
    bool Open() override {
        opened = opens;
        return opens;
    }
    bool Play(const std::vector<float>& samples) override {
        if (!opened || samples.size() > capacity - queued) {
            return false;
        }
        queued += samples.size();
        sounds.push_back(samples);
        return true;
    }
    void Silence() override {
        ++silences;
        queued = 0;
    }
    // Plays `count` of the samples queued.
    void Drain(std::size_t count) { queued -= std::min(count, queued); }
    std::int64_t HeardEndNanoseconds() const override { return 0; }

    bool opens = true;
    bool opened = false;
    std::vector<std::vector<float>> sounds;
    int silences = 0;
    std::size_t capacity = std::numeric_limits<std::size_t>::max();
    std::size_t queued = 0;
};
