// The punctuation file reader on any bytes: it names one of the two tables, and that table written
// reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/CPunctuationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Punctuation table = CPunctuationFile::Parse(bytes);
    if ((table != Punctuation::kProgram && table != Punctuation::kInternational) ||
        CPunctuationFile::Parse(CPunctuationFile::Format(table)) != table) {
        std::abort();
    }
    return 0;
}
