// Text file contents on any bytes: loading, the line forms and the element string.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/CNotifier.h"
#include "text/CMorseText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CSilentNotifier notifier;
    CMorseText text = CMorseText::LoadFromFileContents(bytes, kCustomText, notifier);
    if (text.GetText().size() > static_cast<std::size_t>(kMaxTextLength)) {
        __builtin_trap();
    }
    text.FormatLines();
    text.FormatPadded();
    text.ToElements();
    // Unchecked text too, as SetText takes it.
    CMorseText raw;
    raw.SetText(std::string(bytes));
    raw.SetKind(kDigitText);
    raw.SetShortZeros(1);
    raw.ToElements();
    raw.WordCount();
    return 0;
}
