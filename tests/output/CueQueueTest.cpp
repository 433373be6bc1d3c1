#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "output/CCueQueue.h"
#include "tests/support/CaseName.h"

namespace {

constexpr double kRate = 44100;

// A sound device as PortAudio describes one: the sample at index n is heard at
// heardOrigin + n / rate, and the callback that renders a buffer comes at most `latency` before
// its first sample is heard. Each wake-up refills the device to its depth: a burst of buffers at
// once, the last of them exactly `latency` ahead, the earlier ones later than they could have been.
// Everything the callbacks render is kept, so that a test finds where a sound was really played.
class SimulatedDevice {
public:
    SimulatedDevice(CCueQueue& cueQueue, std::int64_t latencyNanoseconds, std::size_t bufferFrames,
                    int buffersPerWakeup)
        : queue(cueQueue),
          latency(latencyNanoseconds),
          frames(bufferFrames),
          burst(buffersPerWakeup) {}

    std::int64_t HeardAt(std::int64_t sample) const {
        return heardOrigin + std::llround(static_cast<double>(sample) * 1e9 / kRate);
    }
    // The time of the next wake-up.
    std::int64_t NextWakeup() const {
        const auto deepest = static_cast<std::int64_t>(played.size() + frames * (burst - 1));
        return HeardAt(deepest) - latency;
    }
    void Wakeup() {
        const std::int64_t now = NextWakeup();
        for (int k = 0; k < burst; ++k) {
            const std::size_t first = played.size();
            played.resize(first + frames);
            queue.Render(played.data() + first, frames, now, false);
        }
    }
    // Runs wake-ups until the clock reaches `time`.
    void RunUntil(std::int64_t time) {
        while (NextWakeup() <= time) {
            Wakeup();
        }
    }
    const std::vector<float>& Played() const { return played; }
    // The last sample that is not silent, or -1.
    std::int64_t LastSounding() const {
        for (auto n = static_cast<std::int64_t>(played.size()) - 1; n >= 0; --n) {
            if (played[static_cast<std::size_t>(n)] != 0.0F) {
                return n;
            }
        }
        return -1;
    }

private:
    CCueQueue& queue;
    std::int64_t heardOrigin = 7'000'000'000;
    std::int64_t latency;
    std::size_t frames;
    int burst;
    std::vector<float> played;
};

std::vector<float> Sound(std::size_t length, float level) {
    return std::vector<float>(length, level);
}

struct DeviceCase {
    const char* name;
    std::int64_t latencyNanoseconds;
    std::size_t bufferFrames;
    int buffersPerWakeup;
    std::size_t soundSamples;
};

class CueQueueOnDevices : public testing::TestWithParam<DeviceCase> {};

// Sounds queued on an idle stream, one after another with pauses, and one queued while another
// still plays: each time the end is known once its last sample has gone to the device, and then
// it is the moment the device plays that sample, found in what the device was given.
TEST_P(CueQueueOnDevices, HeardEndIsWhenTheDevicePlaysTheLastSample) {
    const DeviceCase& c = GetParam();
    CCueQueue queue(kRate);
    SimulatedDevice device(queue, c.latencyNanoseconds, c.bufferFrames, c.buffersPerWakeup);
    // The stream runs a while before the first sound, as the player keeps it running.
    device.RunUntil(device.HeardAt(44100));
    for (int round = 0; round < 4; ++round) {
        // The last round queues a second sound while the first still plays, where the first is
        // longer than one wake-up takes.
        const bool overlapping = round == 3 && c.soundSamples > c.bufferFrames * c.buffersPerWakeup;
        const std::vector<float> first = Sound(c.soundSamples, 0.25F);
        const auto start = static_cast<std::int64_t>(device.Played().size());
        ASSERT_TRUE(queue.Push(first.data(), first.size()));
        std::vector<float> second;
        if (overlapping) {
            // Queued after the first wake-up has taken part of the first: it follows without a gap.
            device.RunUntil(device.NextWakeup() + 1);
            second = Sound(c.soundSamples / 2, 0.5F);
            ASSERT_TRUE(queue.Push(second.data(), second.size()));
        }
        EXPECT_EQ(queue.HeardEndNanoseconds(c.latencyNanoseconds), 0)
            << "nothing of the last sound has been taken yet";
        const std::size_t total = first.size() + second.size();
        // Until the last sample has been taken the end is not known; afterwards it stays put.
        while (static_cast<std::int64_t>(device.Played().size()) <
               start + static_cast<std::int64_t>(total)) {
            EXPECT_EQ(queue.HeardEndNanoseconds(c.latencyNanoseconds), 0);
            device.Wakeup();
        }
        device.RunUntil(device.NextWakeup() + 300'000'000);
        const std::int64_t last = device.LastSounding();
        ASSERT_GE(last, 0);
        if (overlapping) {
            EXPECT_EQ(device.Played()[static_cast<std::size_t>(last)], 0.5F);
            const std::size_t firstSample = static_cast<std::size_t>(last) + 1 - total;
            for (std::size_t n = 0; n < total; ++n) {
                ASSERT_EQ(device.Played()[firstSample + n], n < first.size() ? 0.25F : 0.5F)
                    << "the sounds are played in order, whole and without a gap";
            }
        }
        const std::int64_t heardEnd = queue.HeardEndNanoseconds(c.latencyNanoseconds);
        EXPECT_NEAR(static_cast<double>(heardEnd), static_cast<double>(device.HeardAt(last)), 1e6)
            << "round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, CueQueueOnDevices,
    testing::Values(DeviceCase{"ShortBufferOneCharacter", 20'000'000, 441, 2, 8000},
                    DeviceCase{"DeepServerBufferCallsign", 120'000'000, 1024, 6, 60000},
                    DeviceCase{"OneBufferPerWakeupTinySound", 10'000'000, 256, 1, 30},
                    DeviceCase{"SoundLongerThanTheDevice", 40'000'000, 512, 3, 100000}),
    CaseName());

// A sound cut while it plays fades out within a few milliseconds; nothing of the rest is played,
// and its end is the moment it stopped. A sound cut before it began is not heard at all.
TEST(CueQueue, SilenceCutsTheSoundWithAShortFade) {
    CCueQueue queue(kRate);
    const std::int64_t latency = 30'000'000;
    SimulatedDevice device(queue, latency, 441, 3);
    device.RunUntil(device.HeardAt(44100));
    const std::vector<float> sound = Sound(44100, 0.5F);
    ASSERT_TRUE(queue.Push(sound.data(), sound.size()));
    const auto start = static_cast<std::int64_t>(device.Played().size());
    device.Wakeup();
    queue.Drop();
    device.RunUntil(device.NextWakeup() + 500'000'000);
    const std::int64_t last = device.LastSounding();
    const std::int64_t cut = start + 3 * 441;
    EXPECT_GT(last, cut);
    EXPECT_LE(last, cut + static_cast<std::int64_t>(CCueQueue::kFadeSamples));
    for (std::int64_t n = cut; n <= last; ++n) {
        EXPECT_LT(device.Played()[static_cast<std::size_t>(n)], 0.5F) << "fading at " << n;
    }
    EXPECT_NEAR(static_cast<double>(queue.HeardEndNanoseconds(latency)),
                static_cast<double>(device.HeardAt(last)), 1e6);

    // Queued and cut between two wake-ups: silence.
    const std::size_t before = device.Played().size();
    ASSERT_TRUE(queue.Push(sound.data(), sound.size()));
    queue.Drop();
    device.RunUntil(device.NextWakeup() + 100'000'000);
    for (std::size_t n = before; n < device.Played().size(); ++n) {
        ASSERT_EQ(device.Played()[n], 0.0F);
    }
    // A sound queued after a cut plays whole.
    ASSERT_TRUE(queue.Push(sound.data(), 1000));
    device.RunUntil(device.NextWakeup() + 100'000'000);
    const std::int64_t end = device.LastSounding();
    EXPECT_EQ(device.Played()[static_cast<std::size_t>(end - 999)], 0.5F);
    EXPECT_EQ(device.Played()[static_cast<std::size_t>(end - 1000)], 0.0F);
    EXPECT_NEAR(static_cast<double>(queue.HeardEndNanoseconds(latency)),
                static_cast<double>(device.HeardAt(end)), 1e6);
}

// The ring is reused round and round: many sounds of odd lengths come out in order, each sample
// as it went in, across every wrap; a sound larger than the room left is refused whole.
TEST(CueQueue, SoundsSurviveTheRingWrappingAndExcessIsRefused) {
    CCueQueue queue(kRate);
    SimulatedDevice device(queue, 20'000'000, 441, 2);
    std::vector<float> expected;
    std::size_t firstPlayed = 0;
    float value = 1.0F;
    for (int k = 0; k < 40; ++k) {
        std::vector<float> sound(37'123 + static_cast<std::size_t>(k) * 101);
        for (float& s : sound) {
            s = value;
            value = value >= 1000.0F ? 1.0F : value + 1.0F;
        }
        if (k == 0) {
            firstPlayed = device.Played().size();
        }
        ASSERT_TRUE(queue.Push(sound.data(), sound.size()));
        expected.insert(expected.end(), sound.begin(), sound.end());
        // Keep the queue partly full, so that the device takes each sound right behind the last.
        device.RunUntil(device.NextWakeup() + 800'000'000);
    }
    device.RunUntil(device.NextWakeup() + 5'000'000'000);
    ASSERT_GT(expected.size(), 2 * CCueQueue::kCapacity);
    const std::vector<float>& played = device.Played();
    ASSERT_GE(played.size(), firstPlayed + expected.size());
    std::size_t mismatches = 0;
    for (std::size_t n = 0; n < expected.size(); ++n) {
        mismatches += played[firstPlayed + n] != expected[n] ? 1 : 0;
    }
    EXPECT_EQ(mismatches, 0U);

    const std::vector<float> tooLong(CCueQueue::kCapacity + 1, 0.5F);
    EXPECT_FALSE(queue.Push(tooLong.data(), tooLong.size()));
    const std::vector<float> half(CCueQueue::kCapacity / 2 + 10, 0.5F);
    EXPECT_TRUE(queue.Push(half.data(), half.size()));
    EXPECT_FALSE(queue.Push(half.data(), half.size())) << "the first half is still queued";
    const std::size_t before = device.Played().size();
    device.RunUntil(device.NextWakeup() + 7'000'000'000);
    std::size_t sounding = 0;
    for (std::size_t n = before; n < device.Played().size(); ++n) {
        sounding += device.Played()[n] != 0.0F ? 1 : 0;
    }
    EXPECT_EQ(sounding, half.size()) << "a refused sound leaves the queue as it was";
}

}  // namespace
