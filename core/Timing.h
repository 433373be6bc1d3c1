#pragma once

#include <array>
#include <string_view>

// The selectable speeds, tones and dot:dash ratios, and the arithmetic that turns a choice of
// them into key and gap durations. Speeds are characters per minute on a reference word of five
// characters and 50 units; durations are in 100-ns units unless a name says seconds.

inline constexpr std::array<int, 19> kTextSpeeds = {
    20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200};
inline constexpr std::array<int, 15> kSignSpeeds = {60,  70,  80,  90,  100, 110, 120, 130,
                                                    140, 150, 160, 170, 180, 190, 200};
inline constexpr std::array<int, 13> kToneFrequencies = {400, 450, 500, 550, 600, 650, 700,
                                                         750, 800, 850, 900, 950, 1000};
inline constexpr std::array<double, 11> kDashRatios = {3.0, 3.1, 3.2, 3.3, 3.4, 3.5,
                                                       3.6, 3.7, 3.8, 3.9, 4.0};
// Shown in the ratio list; entry i belongs to kDashRatios[i]. UTF-8, decimal comma.
inline constexpr std::array<std::string_view, 11> kDashRatioLabels = {
    "1 : 3,0", "1 : 3,1", "1 : 3,2", "1 : 3,3", "1 : 3,4", "1 : 3,5",
    "1 : 3,6", "1 : 3,7", "1 : 3,8", "1 : 3,9", "1 : 4,0"};

// 100-ns units per second.
inline constexpr double kUnitsPerSecond = 10000000.0;

struct TimingValues {
    double dotSeconds = 0.0;
    double spacingSeconds = 0.0;
    double dotUnits = 0.0;
    double spacingUnits = 0.0;
};

// Dot and spacing unit for sign speed m, text speed t and dash ratio r. When t is below m only
// the spacing unit grows: the 19 units of character and word gaps of the reference word absorb
// all the extra time. The operations run in this order so that the figures are reproducible.
TimingValues ComputeTiming(int signSpeed, int textSpeed, double dashRatio);

// The model's intervals in 100-ns units, before truncation, for dot and spacing unit `timing`.
// Every element is followed by a gap of one dot; a character adds its character gap after that,
// so that three spacing units of silence separate two characters; a word gap follows the
// character gap, seven spacing units in all; a further space of a custom text is a whole word's
// seven units; the start sign is followed by seven units in all.
double DashUnits(const TimingValues& timing, double dashMultiplier);
double ElementGapUnits(const TimingValues& timing);
double CharacterGapUnits(const TimingValues& timing);
double WordGapUnits(const TimingValues& timing);
double FurtherSpaceUnits(const TimingValues& timing);
double StartSignGapUnits(const TimingValues& timing);

// Rounds half away from zero to `decimals` places, dropping everything below.
double RoundHalfAway(double x, int decimals);

// The speeds that the read-outs show: 50 t / w and 50 m / w with w units per reference word.
int EffectiveTextSpeed(const TimingValues& timing, double dashRatio);
int EffectiveSignSpeed(const TimingValues& timing, double dashRatio);

// Coupling of the two speed lists, which keeps the text speed at or below the sign speed.
// After the text speed list moved to `textIndex`: the sign index to select (unchanged when the
// sign speed is already high enough).
int SignIndexAfterTextChange(int textIndex, int signIndex);
// After the sign speed list moved to `signIndex`: the text index to select.
int TextIndexAfterSignChange(int signIndex, int textIndex);

template <typename Table>
constexpr bool IsIndexOf(const Table& table, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size();
}
