#include "config/LanguageFile.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/TextFile.h"

namespace {

// Lines `first` to `first + count` of the bytes; with `pad`, those missing at the end are empty.
std::vector<std::string> Lines(std::string_view bytes, std::size_t first, std::size_t count,
                               bool pad) {
    // The file is read as if a zero byte followed it, so the text stops at the first zero.
    const std::size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        bytes = bytes.substr(0, zero);
    }
    std::vector<std::string> lines;
    std::size_t position = 0;
    for (std::size_t k = 0; k < first + count; ++k) {
        if (!pad && position >= bytes.size()) {
            break;
        }
        // A line ends at its CR LF, or at a CR or LF alone (a file saved by an editor elsewhere);
        // a caption is kept to its first kLongestCaption bytes, the rest of its line skipped.
        std::size_t end = bytes.find_first_of("\r\n", std::min(position, bytes.size()));
        end = end == std::string_view::npos ? bytes.size() : end;
        std::string line(bytes.substr(std::min(position, bytes.size()),
                                      std::min(end - std::min(position, end), kLongestCaption)));
        position = end + (bytes.compare(std::min(end, bytes.size()), 2, "\r\n") == 0 ? 2 : 1);
        if (k >= first) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace

std::vector<std::string> SplitLanguageLines(std::string_view bytes, std::size_t count) {
    return Lines(bytes, 0, count, true);
}

std::vector<std::optional<std::string>> SplitPresentLanguageLines(std::string_view bytes,
                                                                  std::size_t first,
                                                                  std::size_t count) {
    std::vector<std::optional<std::string>> present;
    for (std::string& line : Lines(bytes, first, count, false)) {
        present.push_back(line.empty() ? std::nullopt : std::optional(std::move(line)));
    }
    return present;
}

std::optional<std::vector<std::string>> ReadLanguageFile(const std::string& path,
                                                         std::size_t count) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    close(fd);
    const std::optional<std::string> bytes = ReadFileBytes(path);
    // ReadFileBytes takes an empty file for an unreadable one; here it is a file of no lines.
    return SplitLanguageLines(bytes.value_or(std::string()), count);
}
