#pragma once

#include <string>

#include "session/TypedText.h"

class CNotifier;

// The custom text window's rules: up to kLimit characters as the user types them, cleaned as
// they arrive (letters as capitals, every character without a code removed with a warning). A
// line break would be CR and LF, neither of which has a code: both are refused. Windows-1250.
class CVlastniTextModel {
public:
    static constexpr int kLimit = 300;

    // `notifier` outlives the model and says each character refused.
    CVlastniTextModel(std::string text, CNotifier& notifier);

    // The edit's text after the user changed it to `shown`, the caret at `caret`; beyond the
    // limit the text goes back to what it was.
    TypedText Type(const std::string& shown, int caret);
    // Ctrl+Enter with the caret at `caret`.
    TypedText BreakLine(int caret);

    // The text the window opens with.
    void SetText(std::string start) { text = std::move(start); }
    const std::string& Text() const { return text; }

private:
    std::string text;
    CNotifier& notifier;
};
