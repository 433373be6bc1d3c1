#include "session/CVlastniTextModel.h"

#include <algorithm>

CVlastniTextModel::CVlastniTextModel(std::string start, CNotifier& warnings)
    : text(std::move(start)), notifier(warnings) {}

TypedText CVlastniTextModel::Type(const std::string& shown, int caret) {
    if (shown.size() > static_cast<std::size_t>(kLimit)) {
        const int lost = static_cast<int>(shown.size()) - static_cast<int>(text.size());
        return {text, std::max(0, caret - lost)};
    }
    TypedText typed = CleanTyped(shown, caret, notifier);
    text = typed.text;
    return typed;
}

TypedText CVlastniTextModel::BreakLine(int caret) {
    std::string broken = text;
    broken.insert(static_cast<std::size_t>(std::clamp(caret, 0, static_cast<int>(broken.size()))),
                  "\r\n");
    TypedText typed = CleanTyped(broken, caret, notifier);
    text = typed.text;
    return typed;
}
