#include "training/CCallsignRun.h"

#include <algorithm>

#include "core/AsciiText.h"
#include "text/CTrafficText.h"

CCallsignRun::CCallsignRun(const Settings& runSettings, std::uint32_t seed)
    : settings(runSettings),
      random(seed),
      current(CTrafficText::Callsign(random)),
      speed(std::clamp(settings.startSpeed, settings.lowestSpeed, settings.highestSpeed)) {}

void CCallsignRun::Type(const std::string& typed) {
    if (Finished()) {
        return;
    }
    std::string copy;
    for (const char c : typed) {
        if (c != ' ') {
            copy.push_back(AsciiUpper(c));
        }
    }
    Answer answer{current, copy, speed, repeats, copy == current, 0};
    if (answer.right) {
        // Faster and longer callsigns score more; each repeat halves the points.
        int points = speed * static_cast<int>(current.size()) / 10;
        for (int k = 0; k < repeats; ++k) {
            points = points * (100 - kRepeatCostPercent) / 100;
        }
        answer.points = points;
        score += points;
        speed = std::min(speed + settings.step, settings.highestSpeed);
    } else {
        speed = std::max(speed - settings.step, settings.lowestSpeed);
    }
    answers.push_back(std::move(answer));
    repeats = 0;
    current = CTrafficText::Callsign(random);
}
