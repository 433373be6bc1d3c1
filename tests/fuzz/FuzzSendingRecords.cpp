// The sending records reader on any bytes: every session it accepts is in range and adds up, and
// writes back to a line that reads as the same session.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CSendingRecordsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const SendingRecord& record : CSendingRecordsFile::Parse(bytes)) {
        const auto again = CSendingRecordsFile::Parse(CSendingRecordsFile::Format(record));
        if (again.size() != 1 || !(again[0] == record) || record.right > record.judged) {
            std::abort();
        }
    }
    return 0;
}
