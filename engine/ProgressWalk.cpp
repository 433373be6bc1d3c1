#include "engine/ProgressWalk.h"

#include "text/CMorseText.h"

std::size_t SentPositionFor(const std::string& display, std::size_t p, bool eachSpaceSignalled) {
    const auto isGap = [](char c) { return c == ' ' || c == '\r' || c == '\n'; };
    if (!eachSpaceSignalled && p < display.size() && display[p] == ' ') {
        while (p + 1 < display.size() && isGap(display[p + 1])) {
            ++p;
        }
    }
    if (p < display.size() && display[p] == '\r') {
        p += 2;
    }
    if (p >= display.size()) {
        return display.empty() ? 0 : display.size() - 1;
    }
    // A prosign is keyed as one character: the whole of it is marked at once.
    if (const std::size_t close = CMorseText::ProsignClose(display, p);
        close != std::string::npos) {
        return close;
    }
    return p;
}
