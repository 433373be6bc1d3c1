#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "output/CClipMixer.h"
#include "output/CReceptionConditions.h"
#include "output/CStreamRenderer.h"
#include "output/CToneRenderer.h"
#include "tests/support/CaseName.h"

namespace {

constexpr int kTone = 600;

// A few tones of a transmission, from `offset` on, within 60000 samples.
std::vector<ToneEvent> Tones(std::int64_t offset) {
    std::vector<ToneEvent> tones;
    for (int i = 0; i < 10; ++i) {
        tones.push_back({offset + 3000 + i * 5200, 1800 + (i % 3) * 2900, kTone});
    }
    return tones;
}

ReceptionSettings Everything(bool keyedAnew = true) {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = 0;
    settings.filterHz = 500;
    settings.fading = true;
    settings.fadingSeconds = 1;
    settings.staticCrashes = true;
    settings.staticPerMinute = 300;
    settings.interference = true;
    settings.stations = 3;
    settings.chirp = keyedAnew;
    settings.keyClicks = keyedAnew;
    return settings;
}

// Renders `frames` samples from `first` in blocks whose sizes the generator draws (up to `most`),
// as an audio callback is called.
template <typename Renderer>
std::vector<float> InBlocks(Renderer& renderer, std::int64_t first, std::size_t frames,
                            std::size_t most, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<float> out(frames);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t count = std::min<std::size_t>(1 + random() % most, frames - done);
        renderer.Render(out.data() + done, count, first + static_cast<std::int64_t>(done));
        done += count;
    }
    return out;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

struct BlockCase {
    std::string name;
    std::size_t most;  // the largest block
    float gain;
    bool keyedAnew;  // chirp and clicks key the tone anew; otherwise the renderer's sine is heard
};

class StreamBlocks : public testing::TestWithParam<BlockCase> {};

// Without conditions the stream is the tone renderer's to the bit, in buffers of any size.
TEST_P(StreamBlocks, WithoutConditionsTheToneRendererToTheBit) {
    const BlockCase& c = GetParam();
    CToneRenderer tones;
    CStreamRenderer stream;
    tones.SetGain(c.gain);
    stream.SetGain(c.gain);
    for (const ToneEvent& tone : Tones(0)) {
        tones.Push(tone);
        stream.Push(tone);
    }
    const std::vector<float> expected = InBlocks(tones, 0, 70000, c.most, 5);
    EXPECT_TRUE(SameBits(InBlocks(stream, 0, 70000, c.most, 5), expected));
}

// Under conditions the samples depend on the origin and the seed alone: blocks of any size, and
// a stream that has run for any time before, give the same samples from the origin on.
TEST_P(StreamBlocks, UnderConditionsTheSameFromTheOriginWhereverItLies) {
    const BlockCase& c = GetParam();
    const ReceptionSettings settings = Everything(c.keyedAnew);
    const auto render = [&](std::int64_t origin, std::size_t most, unsigned blocks,
                            std::uint64_t seed) {
        CStreamRenderer stream;
        stream.SetGain(c.gain);
        // Whatever played before: a tone, so that the sine is somewhere in its turn.
        stream.Push({100, 2000, 450});
        std::vector<float> before(static_cast<std::size_t>(origin));
        stream.Render(before.data(), before.size(), 0);
        stream.BeginConditions(
            std::make_unique<CReceptionConditions>(settings, seed, kTone, c.gain), origin);
        for (const ToneEvent& tone : Tones(origin)) {
            stream.Push(tone);
        }
        stream.EndConditions(origin + 66000);
        return InBlocks(stream, origin, 70000, most, blocks);
    };
    const std::vector<float> reference = render(5000, 4096, 1, 77);
    EXPECT_TRUE(SameBits(render(5000, c.most, 9, 77), reference));
    EXPECT_TRUE(SameBits(render(123457, c.most, 3, 77), reference));
    EXPECT_FALSE(SameBits(render(5000, c.most, 9, 78), reference));
    // The conditions fade in from silence and out to it an edge after the end.
    EXPECT_EQ(reference[0], 0.0F);
    const std::size_t silent = 66000 + CStreamRenderer::kFadeSamples;
    for (std::size_t n = silent; n < reference.size(); ++n) {
        ASSERT_EQ(reference[n], 0.0F) << n;
    }
    double heard = 0.0;
    for (std::size_t n = 0; n < 66000; ++n) {
        heard += std::fabs(reference[n]);
    }
    EXPECT_GT(heard / 66000, 0.01);
}

// Spoken answers are mixed in at their samples, at the stream's gain, over the tones, in buffers
// of any size; two clips back to back, and one that overlaps another, are both heard whole.
TEST_P(StreamBlocks, ClipsAreMixedAtTheirSamples) {
    const BlockCase& c = GetParam();
    CToneRenderer tones;
    CStreamRenderer stream;
    tones.SetGain(c.gain);
    stream.SetGain(c.gain);
    for (const ToneEvent& tone : Tones(0)) {
        tones.Push(tone);
        stream.Push(tone);
    }
    std::vector<float> expected = InBlocks(tones, 0, 70000, c.most, 5);
    // The last clip goes on past the samples rendered.
    expected.resize(70500);
    const struct {
        std::int64_t start;
        std::size_t length;
    } clips[] = {{10001, 5000}, {15001, 3000}, {16000, 9000}, {69990, 500}};
    for (const auto& clip : clips) {
        std::vector<float> samples(clip.length);
        for (std::size_t k = 0; k < clip.length; ++k) {
            samples[k] = std::sin(0.01F * static_cast<float>(k + clip.start));
            expected[static_cast<std::size_t>(clip.start) + k] += c.gain * samples[k];
        }
        ASSERT_TRUE(stream.PushClip(clip.start, std::move(samples)));
    }
    expected.resize(70000);
    EXPECT_TRUE(SameBits(InBlocks(stream, 0, 70000, c.most, 5), expected));
}

INSTANTIATE_TEST_SUITE_P(Buffers, StreamBlocks,
                         testing::Values(BlockCase{"Tiny", 7, 1.0F, false},
                                         BlockCase{"Callback", 1024, 0.6F, false},
                                         BlockCase{"KeyedAnew", 700, 0.8F, true},
                                         BlockCase{"Large", 9000, 0.25F, false}),
                         CaseName());

// Conditions that arrive after their origin has been played begin at once and are counted;
// before them the stream is as it was.
TEST(StreamRenderer, LateConditionsBeginWhereTheStreamIs) {
    CStreamRenderer stream;
    std::vector<float> out(2000);
    stream.Render(out.data(), out.size(), 0);
    stream.BeginConditions(std::make_unique<CReceptionConditions>(Everything(), 1, kTone), 500);
    stream.Render(out.data(), out.size(), 2000);
    EXPECT_EQ(stream.LateConditions(), 1U);
    EXPECT_EQ(out[0], 0.0F);
    double heard = 0.0;
    for (const float sample : out) {
        heard += std::fabs(sample);
    }
    EXPECT_GT(heard, 0.0);
}

// One transmission's conditions after another while the stream plays on another thread, as the
// send thread hands them to the audio callback: nothing the callback may still use is freed (the
// address sanitizer watches), and every handover is heard.
TEST(StreamRenderer, HandoversWhileTheStreamPlays) {
    CStreamRenderer stream;
    std::atomic<bool> done{false};
    std::atomic<std::int64_t> position{0};
    std::thread callback([&] {
        std::vector<float> out(256);
        while (!done.load()) {
            const std::int64_t first = position.load();
            stream.Render(out.data(), out.size(), first);
            position.store(first + static_cast<std::int64_t>(out.size()));
        }
    });
    ReceptionSettings settings;
    settings.noise = true;
    for (std::uint64_t transmission = 0; transmission < 200; ++transmission) {
        const std::int64_t origin = position.load() + 64;
        stream.BeginConditions(
            std::make_unique<CReceptionConditions>(settings, transmission, kTone), origin);
        stream.Push({origin + 100, 300, kTone});
        stream.EndConditions(origin + 700);
        EXPECT_EQ(stream.ConditionsSilentFrom(), origin + 700 + CStreamRenderer::kFadeSamples);
    }
    done.store(true);
    callback.join();
}

}  // namespace

namespace {

// The mixer holds a few clips at a time and frees each only once it has been mixed to its end.
TEST(ClipMixer, HoldsAFewClipsAndFreesThemOnceHeard) {
    CClipMixer mixer;
    EXPECT_FALSE(mixer.Push(0, {}));
    int pushed = 0;
    while (mixer.Push(1000 * pushed, std::vector<float>(500, 1.0F))) {
        ++pushed;
    }
    EXPECT_GE(pushed, 8);
    EXPECT_EQ(mixer.LastEnd(), 1000 * (pushed - 1) + 500);
    std::vector<float> out(1000 * pushed, 0.0F);
    // Half of the first clip mixed: nothing can be freed yet.
    mixer.Mix(out.data(), 250, 0, 1.0F);
    EXPECT_FALSE(mixer.Push(1000 * pushed, std::vector<float>(10, 1.0F)));
    mixer.Mix(out.data() + 250, out.size() - 250, 250, 1.0F);
    EXPECT_TRUE(mixer.Push(1000 * pushed, std::vector<float>(10, 1.0F)));
    for (int k = 0; k < pushed; ++k) {
        EXPECT_EQ(out[static_cast<std::size_t>(1000 * k + 499)], 1.0F);
        EXPECT_EQ(out[static_cast<std::size_t>(1000 * k + 500)], 0.0F);
    }
}

}  // namespace
