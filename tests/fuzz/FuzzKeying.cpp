// The keying file reader on any bytes: whatever it reads lies within the settings' ranges, and
// writes back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/CKeyingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using S = KeyingSettings;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const KeyingSettings settings = CKeyingFile::Parse(bytes);
    const auto key = [](int keysym) {
        return keysym >= S::kLowestKeysym && keysym <= S::kHighestKeysym;
    };
    const bool inRange = static_cast<int>(settings.input) >= 0 &&
                         static_cast<int>(settings.input) <= static_cast<int>(KeyInput::kSerial) &&
                         static_cast<int>(settings.mode) >= 0 &&
                         static_cast<int>(settings.mode) <= static_cast<int>(KeyerMode::kIambicB) &&
                         key(settings.straightKey) && key(settings.dotKey) &&
                         key(settings.dashKey) &&
                         (settings.port.empty() || settings.port.rfind("/dev/", 0) == 0) &&
                         settings.port.size() <= S::kMostPortBytes;
    if (!inRange || !(CKeyingFile::Parse(CKeyingFile::Format(settings)) == settings)) {
        std::abort();
    }
    return 0;
}
