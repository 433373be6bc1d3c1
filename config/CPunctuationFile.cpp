#include "config/CPunctuationFile.h"

#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"

namespace {

// Longer lines are no line this program wrote.
constexpr std::size_t kMaxLineBytes = 100;
constexpr std::string_view kKey = "tabulka";
constexpr std::string_view kInternational = "mezinarodni";
constexpr std::string_view kProgram = "programova";

}  // namespace

CPunctuationFile::CPunctuationFile(std::string filePath) : path(std::move(filePath)) {}

Punctuation CPunctuationFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CPunctuationFile::Write(Punctuation table) const {
    return WriteFileBytes(path, Format(table), false);
}

Punctuation CPunctuationFile::Parse(std::string_view bytes) {
    Punctuation table = Punctuation::kProgram;
    ForEachLine(bytes, [&table](std::string_view line) {
        const auto keyAndValue = KeyAndValue(line, kMaxLineBytes);
        if (!keyAndValue || keyAndValue->first != kKey) {
            return;
        }
        std::string_view value = keyAndValue->second;
        while (!value.empty() && value.back() == ' ') {
            value.remove_suffix(1);
        }
        if (value == kInternational) {
            table = Punctuation::kInternational;
        } else if (value == kProgram) {
            table = Punctuation::kProgram;
        }
    });
    return table;
}

std::string CPunctuationFile::Format(Punctuation table) {
    return std::string(kKey) + "=" +
           std::string(table == Punctuation::kInternational ? kInternational : kProgram) + "\n";
}
