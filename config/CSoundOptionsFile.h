#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SoundOptions.h"

// The options of practice sound files, kept in a file of their own in the program folder
// ("zvuk"), one "key=value" per line:
//   odpovedi=0                spoken answers on
//   zive=0                    the answers also said live on the sound card
//   pred=5  po=10             the pauses before and after an answer, tenths of a second
//   zebricek=0                0 no ladder, 1 each group at the rungs, 2 the speed stepped up
//   stupne=1, 1.175, 1.35, 1.5   the rungs, multiples of the text speed
//   krok=10  minut=5          the step in characters a minute, and every so many minutes
// The file is read as hostile input: any bytes, any length; a missing, unknown, damaged or
// out-of-range line keeps that option's default. Writing replaces the file atomically. Any
// thread, one caller at a time.
class CSoundOptionsFile {
public:
    static constexpr const char* kFileName = "zvuk";

    explicit CSoundOptionsFile(std::string path);

    SoundOptions Read() const;
    bool Write(const SoundOptions& options) const;

    static SoundOptions Parse(std::string_view bytes);
    static std::string Format(const SoundOptions& options);

    // Rungs as the user writes them ("1, 1.175 1,35"): from two to SoundOptions::kMostRungs
    // numbers within the rung limits, a comma or a point as the decimal sign; none otherwise.
    static std::optional<std::vector<double>> ParseRungs(std::string_view text);
    static std::string FormatRungs(const std::vector<double>& rungs, char decimalSign = '.');

private:
    std::string path;
};
