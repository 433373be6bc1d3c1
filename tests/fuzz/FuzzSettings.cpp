// The settings file reader on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : SplitSettingsLines(bytes)) {
        ParseNumber(line);
    }
    return 0;
}
