#include "session/TypedText.h"

#include "core/AsciiText.h"
#include "core/CMorseTable.h"

TypedText CleanTyped(std::string_view typed, int caret, CNotifier& notifier, bool rejectDigits,
                     bool keepLines, bool eitherTable) {
    TypedText cleaned{{}, caret};
    std::size_t start = 0;
    while (true) {
        const std::size_t end =
            keepLines ? std::min(typed.find('\n', start), typed.size()) : typed.size();
        std::string line = AsciiUpper(typed.substr(start, end - start));
        const int removed =
            CMorseTable::RemoveInvalidCharacters(line, rejectDigits, notifier, eitherTable);
        if (removed >= 0) {
            cleaned.caret = static_cast<int>(cleaned.text.size()) + removed;
        }
        cleaned.text += line;
        if (end == typed.size()) {
            return cleaned;
        }
        cleaned.text += '\n';
        start = end + 1;
    }
}
