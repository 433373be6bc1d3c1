// The copy-check history reader on any bytes: every record it accepts writes back to lines that
// read as the same record, its breakdown within range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CHistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const CheckRecord& record : CHistoryFile::Parse(bytes)) {
        const auto again = CHistoryFile::Parse(CHistoryFile::Format(record));
        if (again.size() != 1 || !(again[0] == record) || record.wrong < 0 || record.missed < 0 ||
            record.extra < 0 || record.transpositions < 0 || record.Score() < 0.0 ||
            record.Score() > 100.0) {
            std::abort();
        }
    }
    return 0;
}
