// The language file reader on any bytes, for each of the four files' line counts, and the reading
// of captions added since: never more than asked for, never an empty one.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::size_t count : {47U, 7U, 4U, 3U}) {
        if (SplitLanguageLines(bytes, count).size() != count) {
            __builtin_trap();
        }
    }
    const auto present = SplitPresentLanguageLines(bytes, 47, 7);
    for (const auto& line : present) {
        if (present.size() > 7 || (line && line->empty())) {
            __builtin_trap();
        }
    }
    return 0;
}
