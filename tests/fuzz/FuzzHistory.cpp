// The copy-check history reader on any bytes: every record it accepts writes back to a line that
// reads as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CHistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const CheckRecord& record : CHistoryFile::Parse(bytes)) {
        const std::string line = CHistoryFile::Format(record);
        const auto again =
            CHistoryFile::ParseLine(std::string_view(line).substr(0, line.size() - 1));
        if (!again || !(*again == record)) {
            std::abort();
        }
    }
    return 0;
}
