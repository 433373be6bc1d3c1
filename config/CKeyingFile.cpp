#include "config/CKeyingFile.h"

#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"

namespace {

// Longer lines are no line this program wrote.
constexpr std::size_t kMaxLineBytes = 100;

// A serial device as the port list names it: "/dev/" and a name of letters, digits and "_-./".
bool IsDevicePath(std::string_view path) {
    constexpr std::string_view kDevices = "/dev/";
    if (path.size() <= kDevices.size() || path.size() > KeyingSettings::kMostPortBytes ||
        path.substr(0, kDevices.size()) != kDevices || path.find("..") != std::string_view::npos) {
        return false;
    }
    for (const char c : path) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.' || c == '/';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

template <typename Enum>
void ReadEnum(std::string_view value, Enum highest, Enum& setting) {
    int number = 0;
    if (ReadNumber(value, 0, static_cast<int>(highest), number)) {
        setting = static_cast<Enum>(number);
    }
}

std::string Flag(bool flag) {
    return flag ? "1" : "0";
}

}  // namespace

CKeyingFile::CKeyingFile(std::string filePath) : path(std::move(filePath)) {}

KeyingSettings CKeyingFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CKeyingFile::Write(const KeyingSettings& settings) const {
    return WriteFileBytes(path, Format(settings), false);
}

KeyingSettings CKeyingFile::Parse(std::string_view bytes) {
    using S = KeyingSettings;
    KeyingSettings settings;
    ForEachLine(bytes, [&settings](std::string_view line) {
        const auto keyAndValue = KeyAndValue(line, kMaxLineBytes);
        if (!keyAndValue) {
            return;
        }
        const auto [key, value] = *keyAndValue;
        if (key == "vstup") {
            ReadEnum(value, KeyInput::kSerial, settings.input);
        } else if (key == "rezim") {
            ReadEnum(value, KeyerMode::kIambicB, settings.mode);
        } else if (key == "klic") {
            ReadNumber(value, S::kLowestKeysym, S::kHighestKeysym, settings.straightKey);
        } else if (key == "tecka") {
            ReadNumber(value, S::kLowestKeysym, S::kHighestKeysym, settings.dotKey);
        } else if (key == "carka") {
            ReadNumber(value, S::kLowestKeysym, S::kHighestKeysym, settings.dashKey);
        } else if (key == "port") {
            if (IsDevicePath(value)) {
                settings.port = std::string(value);
            }
        } else if (key == "prohodit") {
            ReadFlag(value, settings.swapLines);
        } else if (key == "priposlech") {
            ReadFlag(value, settings.sidetone);
        } else if (key == "reproduktor") {
            ReadFlag(value, settings.speakerSidetone);
        }
    });
    return settings;
}

std::string CKeyingFile::Format(const KeyingSettings& settings) {
    std::string bytes;
    const auto line = [&bytes](const char* key, const std::string& value) {
        bytes += key;
        bytes += '=';
        bytes += value;
        bytes += '\n';
    };
    line("vstup", std::to_string(static_cast<int>(settings.input)));
    line("rezim", std::to_string(static_cast<int>(settings.mode)));
    line("klic", std::to_string(settings.straightKey));
    line("tecka", std::to_string(settings.dotKey));
    line("carka", std::to_string(settings.dashKey));
    if (IsDevicePath(settings.port)) {
        line("port", settings.port);
    }
    line("prohodit", Flag(settings.swapLines));
    line("priposlech", Flag(settings.sidetone));
    line("reproduktor", Flag(settings.speakerSidetone));
    return bytes;
}
