#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/SoundFile.h"
#include "engine/SoundFileFormats.h"
#include "tests/support/CToneDecoder.h"

namespace {

using soundfile::Format;

std::string ShortWav() {
    CMorseText text;
    text.SetText("CQ DE OK1");
    text.SetKind(kMixedText);
    return soundfile::RenderWav(CTransmissionTimeline(text, 100, 100, 3.0), 700, 1.0F);
}

std::vector<float> Floats(const std::vector<std::int16_t>& samples) {
    std::vector<float> result(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        result[i] = static_cast<float>(samples[i]) / 32768.0F;
    }
    return result;
}

// libsndfile's WAV is the program's own WAV, byte for byte, so that files saved before keep
// comparing equal; FLAC gives back every sample.
TEST(SoundFileFormats, LosslessFormatsKeepEverySample) {
    const std::string wav = ShortWav();
    const std::vector<std::int16_t> samples = soundfile::SamplesOfWav(wav);
    ASSERT_EQ(samples.size(), (wav.size() - 44) / 2);
    std::string error;
    const auto encoded = soundfile::Encode(samples, 44100, Format::Wav, &error);
    ASSERT_TRUE(encoded) << error;
    EXPECT_EQ(*encoded, wav);

    const auto flac = soundfile::Encode(samples, 44100, Format::Flac, &error);
    ASSERT_TRUE(flac) << error;
    EXPECT_LT(flac->size(), wav.size());
    const auto decoded = soundfile::Decode(*flac);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->sampleRate, 44100);
    EXPECT_EQ(decoded->samples, samples);
}

// The lossy formats decode back to the same Morse, at full scale as the window saves it: every
// element found again, at its length, whatever the encoder's delay in front of it.
TEST(SoundFileFormats, LossyFormatsDecodeToTheSameMorse) {
    const std::vector<std::int16_t> samples = soundfile::SamplesOfWav(ShortWav());
    const CToneDecoder reference(700, 44100);
    const auto expected = reference.FindElements(Floats(samples));
    ASSERT_EQ(CToneDecoder::Decode(expected), "= CQ DE OK1+");
    for (const Format format : {Format::Vorbis, Format::Opus, Format::Mp3}) {
        SCOPED_TRACE(static_cast<int>(format));
        std::string error;
        const auto encoded = soundfile::Encode(samples, 44100, format, &error);
        ASSERT_TRUE(encoded) << error;
        EXPECT_LT(encoded->size(), samples.size() * 2 / 4);
        // The same samples give the same bytes, run after run.
        EXPECT_EQ(soundfile::Encode(samples, 44100, format), encoded);
        const auto decoded = soundfile::Decode(*encoded);
        ASSERT_TRUE(decoded);
        const double rate = decoded->sampleRate;
        EXPECT_EQ(rate, format == Format::Opus ? 48000 : 44100);
        const auto elements = CToneDecoder(700, rate).FindElements(Floats(decoded->samples));
        EXPECT_EQ(CToneDecoder::Decode(elements), "= CQ DE OK1+");
        ASSERT_EQ(elements.size(), expected.size());
        // The encoder's delay is the same for every element: compare lengths and spacing.
        const double scale = rate / 44100.0;
        const double delay = elements[0].onset - expected[0].onset * scale;
        EXPECT_LT(std::abs(delay), 0.1 * rate);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            EXPECT_NEAR(elements[i].onset - delay, expected[i].onset * scale, 0.001 * rate) << i;
            EXPECT_NEAR(elements[i].end - delay, expected[i].end * scale, 0.001 * rate) << i;
        }
    }
}

TEST(SoundFileFormats, TheExtensionNamesTheFormat) {
    const struct {
        const char* path;
        std::optional<Format> format;
    } cases[] = {
        {"lekce.wav", Format::Wav},
        {"/home/a/KURZ.WAV", Format::Wav},
        {"a.flac", Format::Flac},
        {"a.ogg", Format::Vorbis},
        {"a.oga", Format::Vorbis},
        {"a.Opus", Format::Opus},
        {"a.mp3", Format::Mp3},
        {"lekce", std::nullopt},
        {"/tmp/x.mp3/lekce", std::nullopt},
        {"a.txt", std::nullopt},
        {"a.", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(soundfile::FormatOfPath(c.path), c.format) << c.path;
    }
}

TEST(SoundFileFormats, AnythingButTheProgramsWavHasNoSamples) {
    EXPECT_TRUE(soundfile::SamplesOfWav("").empty());
    EXPECT_TRUE(soundfile::SamplesOfWav(std::string(100, 'x')).empty());
    EXPECT_FALSE(soundfile::Decode(std::string(100, 'x')));
    EXPECT_FALSE(soundfile::Decode(""));
}

}  // namespace
