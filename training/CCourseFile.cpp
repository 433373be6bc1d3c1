#include "training/CCourseFile.h"

#include <charconv>
#include <utility>

#include "core/KeyValueLines.h"
#include "text/CMorseText.h"
#include "text/TextFile.h"
#include "training/CKochCourse.h"

namespace {

// Longer lines are no line this program wrote; an order has at most 256 distinct bytes.
constexpr std::size_t kMaxLineBytes = 1024;

}  // namespace

CCourseFile::CCourseFile(std::string filePath) : path(std::move(filePath)) {}

CCourseFile::Settings CCourseFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CCourseFile::Write(const Settings& settings) const {
    return WriteFileBytes(path, Format(settings), false);
}

CCourseFile::Settings CCourseFile::Parse(std::string_view bytes) {
    Settings settings;
    settings.order = CKochCourse::DefaultOrder();
    ForEachLine(bytes, [&settings](std::string_view line) {
        const auto keyAndValue = KeyAndValue(line, kMaxLineBytes);
        if (!keyAndValue) {
            return;
        }
        const auto [key, value] = *keyAndValue;
        int number = 0;
        const auto [stop, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        const bool isNumber =
            !value.empty() && error == std::errc() && stop == value.data() + value.size();
        if (key == "lekce" && isNumber && number >= 1 && number <= 255) {
            settings.lesson = number;
        } else if (key == "slabe" && isNumber && (number == 0 || number == 1)) {
            settings.weakCharacters = number == 1;
        } else if (key == "minznaku" && isNumber && number >= CKochCourse::kLowestMinimumSent &&
                   number <= CKochCourse::kHighestMinimumSent) {
            settings.minimumSent = number;
        } else if (key == "druh" && isNumber && (number == 0 || number == 1)) {
            settings.lessonKind = number == 1;
        } else if (key == "druhtextu" && isNumber && number >= kWordText &&
                   number <= kLastTextKind) {
            settings.trafficKind = number;
        } else if (key == "poradi" && CKochCourse::CleanOrder(value).size() >= 2) {
            settings.order = CKochCourse::CleanOrder(value);
        }
    });
    return settings;
}

std::string CCourseFile::Format(const Settings& settings) {
    std::string bytes = "lekce=" + std::to_string(settings.lesson) + "\nporadi=" + settings.order +
                        "\nslabe=" + (settings.weakCharacters ? "1" : "0") + "\n";
    if (settings.lessonKind) {
        bytes += "druh=1\n";
    }
    if (settings.trafficKind != 0) {
        bytes += "druhtextu=" + std::to_string(settings.trafficKind) + "\n";
    }
    if (settings.minimumSent != CKochCourse::kDefaultMinimumSent) {
        bytes += "minznaku=" + std::to_string(settings.minimumSent) + "\n";
    }
    return bytes;
}
