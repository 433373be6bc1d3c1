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

// The 14 lines of a file's bytes: a line runs to its CR LF, or to a CR or LF alone (a file saved
// by an editor elsewhere), or to the end or the first zero byte; missing lines are empty. Any bytes
// are accepted.
std::vector<std::string> SplitSettingsLines(std::string_view bytes);

// Whether a line begins with a number (after blanks and a sign, a digit), as every first line the
// program writes does.
bool BeginsWithNumber(std::string_view line);

// The number at the start of a line as the C library's atoi reads it (leading blanks, a sign,
// digits up to the first other character; none gives 0), held within the int range.
int ParseNumber(std::string_view line);
