#include "session/CaptionLines.h"

#include "config/LanguageFile.h"
#include "text/TextFile.h"

namespace {

std::size_t Count(int count) {
    return static_cast<std::size_t>(count < 0 ? 0 : count);
}

}  // namespace

std::optional<std::vector<std::string>> ReadCaptionLines(const std::string& path, int count) {
    return ReadLanguageFile(path, Count(count));
}

std::vector<std::optional<std::string>> ReadPresentCaptionLines(const std::string& path, int first,
                                                                int count) {
    std::optional<std::string> bytes;
    if (!path.empty() && first >= 0) {
        bytes = ReadFileBytes(path);
    }
    if (!bytes) {
        return std::vector<std::optional<std::string>>(Count(count));
    }
    return SplitPresentLanguageLines(*bytes, static_cast<std::size_t>(first), Count(count));
}
