#pragma once

#include <string>
#include <string_view>
#include <vector>

// The settings file "init": 14 lines, each ended by CR LF, identified only by their position.
// Text is Windows-1250; numbers are signed decimals; flags "1" or "0". Plain functions; any
// thread.

inline constexpr std::size_t kSettingsLines = 14;

// The values in file order.
struct Settings {
    bool remember = true;
    std::string portName = "COM1";
    int outputKind = 1;
    std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string digits = "1234567890";
    bool shortZeros = true;
    int textKind = 0;
    int toneIndex = 1;
    int textSpeedIndex = 8;
    int signSpeedIndex = 4;
    int ratioIndex = 0;
    bool stepping = false;
    bool language = false;
    bool hideText = false;
};

// The bytes of the file.
std::string FormatSettings(const Settings& settings);

// The 14 lines of a file's bytes: a line runs to its CR (or the end, or the first zero byte), and
// the byte after the CR is skipped whatever it is; missing lines are empty. Any bytes are accepted.
std::vector<std::string> SplitSettingsLines(std::string_view bytes);

// The number at the start of a line as the C library's atoi reads it (leading blanks, a sign,
// digits up to the first other character; none gives 0), held within the int range.
int ParseNumber(std::string_view line);
