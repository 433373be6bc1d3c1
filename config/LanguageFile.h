#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Language files: one caption per line, in a fixed order. A line ends at its CR LF, or at a CR or
// LF alone; a caption longer than kLongestCaption bytes is cut there; lines missing at the end are
// empty captions; lines after the last expected one are ignored. Plain functions; any thread.

// Far longer than any caption or message; a longer line is no caption a window could show.
inline constexpr std::size_t kLongestCaption = 2000;

// The `count` captions of `bytes`. Any bytes and any length are accepted.
std::vector<std::string> SplitLanguageLines(std::string_view bytes, std::size_t count);

// The captions from line `first` (counting from 0) on, at most `count`, for the captions added
// after the files of earlier versions were written: one the file lacks, or has an empty line for
// (a trailing empty line of an older file), is not there (nullopt), so that it keeps its built-in
// text.
std::vector<std::optional<std::string>> SplitPresentLanguageLines(std::string_view bytes,
                                                                  std::size_t first,
                                                                  std::size_t count);

// The `count` captions of the file at `path`, or nothing when it cannot be read (an empty file
// gives `count` empty captions).
std::optional<std::vector<std::string>> ReadLanguageFile(const std::string& path,
                                                         std::size_t count);
