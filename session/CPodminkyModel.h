#pragma once

#include "session/CaptionText.h"

#include <string>

#include "core/ReceptionSettings.h"

// The reception conditions window's rules: each condition on or off with its value, bounded as
// it is set; which value can be set (a value while its condition is on, the receiver filter while
// anything is heard through it); the fist; the seed as the user types it and the choice of fixing
// it; the defaults. One operation per user action; the window renders View().
class CPodminkyModel {
public:
    // The captions of the language file "localPP", in its order.
    enum Caption {
        kCaptionTitle,
        kCaptionNoiseText,
        kCaptionSnr,
        kCaptionFilter,
        kCaptionFadingText,
        kCaptionFadingDepth,
        kCaptionFadingPeriod,
        kCaptionStaticText,
        kCaptionStaticRate,
        kCaptionInterferenceText,
        kCaptionStations,
        kCaptionChirpText,
        kCaptionChirpHz,
        kCaptionClicksText,
        kCaptionFist,
        kCaptionFistNone,
        kCaptionFistGoodHand,
        kCaptionFistStraightKey,
        kCaptionFistBug,
        kCaptionSeed,
        kCaptionFixedSeed,
        kCaptionNote,
        kCaptionDefaults,
        kCaptionOk,
        kCaptionCancel,
        kCaptionFadingPreset,
        kCaptionPresetQuiet,
        kCaptionPresetModerate,
        kCaptionPresetDisturbed,
        kCaptionPresetFlutter,
        kCaptionPresetOwn,
        kCaptionFadingSpread,
        kCaptionPathDelay,
        kCaptionAgc,
        kCaptionAgcOff,
        kCaptionAgcFast,
        kCaptionAgcSlow,
        kCaptionZeroBeatText,
        kCaptionPileUpText,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

    // The on/off conditions and the values, in the order shown.
    enum Condition {
        kNoise,
        kFading,
        kStatic,
        kInterference,
        kZeroBeat,
        kPileUp,
        kChirp,
        kClicks,
        kConditionCount
    };
    enum Value {
        kSnr,
        kFilter,
        kFadingDepth,
        kFadingSpread,
        kPathDelay,
        kStaticRate,
        kStations,
        kChirpHz,
        kValueCount
    };
    // The seed is a 64-bit number: at most this many digits.
    static constexpr int kSeedDigits = 20;

    struct View {
        ReceptionSettings settings;
        bool on[kConditionCount] = {};
        int values[kValueCount] = {};
        bool valueEnabled[kValueCount] = {};
        // The fading preset the spread and the second path match (kFadingPresetOwn for none).
        int fadingPreset = 0;
        // The spread in hertz and the second path's delay in milliseconds, as the fields show
        // them.
        double fadingSpreadHz = 0.0;
        double pathDelayMilliseconds = 0.0;
        bool fadingPresetEnabled = false;
        int agc = 0;
        bool agcEnabled = false;
        std::string seed;
    };

    explicit CPodminkyModel(const ReceptionSettings& start);

    void SetCondition(Condition condition, bool on);
    void SetValue(Value value, int number);
    void ChooseFist(int index);
    // A fading preset of kFadingPresets sets the spread and the second path; "own" keeps them.
    static constexpr int kFadingPresetOwn = 4;
    void ChooseFadingPreset(int index);
    // The spread in hertz (to a hundredth) and the delay in milliseconds (to a microsecond).
    void SetFadingSpreadHz(double hertz);
    void SetPathDelayMilliseconds(double milliseconds);
    // The receiver's gain control: off, fast, slow.
    void ChooseAgc(int index);
    // The seed as typed, taken by OK and by the defaults.
    void TypeSeed(const std::string& digits);
    void SetFixedSeed(bool fixed);
    // Back to the defaults: everything off, the seed kept.
    void Defaults();
    // OK: the seed typed is taken; one that is not a 64-bit number keeps the one there was.
    void Accept();

    // The settings as the user left them.
    const ReceptionSettings& Settings() const { return settings; }
    View GetView() const;

private:
    void TakeSeed();

    ReceptionSettings settings;
    std::string seedText;
    CaptionList captions = CzechCaptions();
};
