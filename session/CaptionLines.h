#pragma once

#include <optional>
#include <string>
#include <vector>

// The caption lines of a window's language file, as bytes; the window decodes them.

// The first `count` lines of the file at `path`; none when it cannot be read.
std::optional<std::vector<std::string>> ReadCaptionLines(const std::string& path, int count);

// The `count` lines from line `first` on, each none where the file lacks it (or cannot be read,
// or `path` is empty), so that the caption keeps its built-in text.
std::vector<std::optional<std::string>> ReadPresentCaptionLines(const std::string& path, int first,
                                                                int count);
