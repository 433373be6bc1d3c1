#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "training/CCopyCheck.h"

// The texts a window shows, filled from its captions. Captions are UTF-8 templates in which "%1"
// to "%9" stand for the arguments; a language file replaces them line by line. Plain functions;
// any thread.

using CaptionList = std::vector<std::string>;

// `pattern` with each "%1" to "%9" replaced by the argument of that number; a placeholder without
// an argument stays as it is, and an argument is never searched for placeholders itself.
std::string FillCaption(std::string_view pattern,
                        std::initializer_list<std::string_view> arguments);

// `value` with `decimals` places after the language's decimal sign ("98,0" in Czech).
std::string DecimalText(double value, int decimals, std::string_view decimalSign);

// Windows-1250 bytes as UTF-8; the five bytes the code page leaves unused become U+FFFD.
std::string Utf8FromCp1250(std::string_view bytes);

// The line of confusions a check or the statistics show: `heading`, a space, then at most `limit`
// confusions in `pairFormat` ("%1" sent, "%2" copied, "%3" how often) joined by "; ", or `none`.
std::string ConfusionsText(const std::vector<CCopyCheck::Confusion>& confusions, std::size_t limit,
                           const std::string& heading, const std::string& pairFormat,
                           const std::string& none);
