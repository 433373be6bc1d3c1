// The instant-recognition records reader on any bytes: every record it accepts writes back to a
// line that reads as the same record, its counts and times within range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CRecognitionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto records = CRecognitionFile::Parse(bytes);
    for (const RecognitionRecord& record : records) {
        const auto again = CRecognitionFile::Parse(CRecognitionFile::Format(record));
        if (again.size() != 1 || !(again[0] == record)) {
            std::abort();
        }
        for (const RecognitionRecord::Character& c : record.characters) {
            if (c.errors < 0 || c.errors > c.answers ||
                (c.medianMilliseconds && (*c.medianMilliseconds < 0 || c.answers == c.errors))) {
                std::abort();
            }
        }
    }
    for (const auto& [character, median] : ReactionMedians(records)) {
        if (median < 0 || character == ' ') {
            std::abort();
        }
    }
    return 0;
}
