// The callsign records reader on any bytes: every run it accepts adds up, and writes back to
// lines that read as the same run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "training/CCallsignRecordsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const CallsignRunRecord& run : CCallsignRecordsFile::Parse(bytes)) {
        const auto again = CCallsignRecordsFile::Parse(CCallsignRecordsFile::Format(run));
        if (again.size() != 1 || !(again[0] == run) || run.answers.empty() ||
            run.RightShare() < 0.0 || run.RightShare() > 1.0) {
            std::abort();
        }
    }
    return 0;
}
