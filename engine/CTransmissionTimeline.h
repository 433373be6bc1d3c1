#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/CFist.h"
#include "core/Timing.h"
#include "text/CMorseText.h"

// The timing model's timeline of a whole continuous transmission, as the keying engine keys it
// without a pause: the start sign and its gap, the text, the end sign. Every duration is the
// model's, truncated to whole 100-ns units exactly as the engine truncates it, so that a sound
// rendered from this timeline is the sound the sound card plays.
// Plain data; any thread.
class CTransmissionTimeline {
public:
    static constexpr char kStartSign = '=';
    static constexpr char kEndSign = '+';

    struct Tone {
        std::int64_t startUnits;
        std::int32_t lengthUnits;
        bool operator==(const Tone&) const = default;
    };

    // The tones of `text` (its kind decides whether every space is a gap of its own) at these
    // speeds and dot : dash ratio.
    CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed, double dashRatio);
    // The same keyed by `fist`: every interval is the fist's shape of the model's, asked for in
    // keying order, so that a fist of the same kind and seed keys the same lengths live.
    CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed, double dashRatio,
                          CFist fist);

    // Sign and text speed, characters per minute.
    struct Speeds {
        int sign;
        int text;
    };
    // The tones of `text` with the speeds changing from word to word, as a speed change during a
    // transmission takes effect: after a word's gap, from the next word on. Word k is keyed at
    // `wordSpeeds[k]` (the last entry for the words beyond), the start sign at the first.
    // Keyed by `keyingFist` where one is given.
    CTransmissionTimeline(CMorseText text, const std::vector<Speeds>& wordSpeeds, double dashRatio,
                          std::optional<CFist> keyingFist = std::nullopt);

    // The tones of `text` alone, without the start and end signs: a character or a callsign
    // played on its own. It ends after the last character's gap. Keyed by `keyingFist` where one
    // is given.
    static CTransmissionTimeline WithoutSigns(CMorseText text, int signSpeed, int textSpeed,
                                              double dashRatio,
                                              std::optional<CFist> keyingFist = std::nullopt);

    const std::vector<Tone>& Tones() const { return tones; }
    // Where the transmission ends: after the end sign's last element gap.
    std::int64_t EndUnits() const { return endUnits; }

private:
    struct NoSigns {};
    CTransmissionTimeline(NoSigns, CMorseText text, int signSpeed, int textSpeed, double dashRatio,
                          std::optional<CFist> keyingFist);
    void Build(CMorseText& text);
    std::int32_t Keyed(KeyInterval interval, double modelUnits);
    void Character(char character);
    void Element(char symbol);
    void Gap(std::int32_t units) { endUnits += units; }

    std::vector<Tone> tones;
    std::int64_t endUnits = 0;
    TimingValues timing;
    double ratio = 3.0;
    std::optional<CFist> fist;
    std::vector<Speeds> speedsOfWords;
    bool signs = true;
};
