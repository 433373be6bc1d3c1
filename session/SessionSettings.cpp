#include "session/SessionSettings.h"

#include <string>
#include <vector>

#include "core/Timing.h"
#include "session/CMorseSession.h"

AppliedSettings ApplySettings(CMorseSession& session, std::string_view bytes) {
    const std::vector<std::string> lines = SplitSettingsLines(bytes);
    const auto number = [&lines](std::size_t line) { return ParseNumber(lines[line - 1]); };
    // Only an empty first line or a 0 turns remember off; a first line of anything else is a
    // damaged or foreign file, whose "remember off" would delete the remembered text.
    const bool blank = lines[0].find_first_not_of(" \t\v\f") == std::string::npos;
    if (!blank && !BeginsWithNumber(lines[0])) {
        session.SetRemember(true);
        return {true, true, true};
    }
    if (number(1) == 0) {
        session.SetRemember(false);
        return {false, true};
    }
    session.SetRemember(true);
    // The port first, so that a stored serial output opens the stored port.
    session.SetPortName(lines[1]);
    const bool usable = session.SelectStoredOutput(number(3));
    // A hand-edited file is cleaned as typing into the boxes is.
    session.TypeLetters(lines[3], 0);
    session.TypeDigits(lines[4]);
    session.SetShortZeros(number(6) != 0);

    // Each list index is applied through its list's operation; one outside its list keeps the
    // value there is (and the operation runs with it, as a choice of the same entry would).
    const auto index = [&number](std::size_t line, int count, int current) {
        const int stored = number(line);
        return stored >= 0 && stored < count ? stored : current;
    };
    // The language before the kind: a text of words is drawn from the captions' language.
    if (number(13) != 0) {
        session.SetLanguage(true);
    }
    int kind = index(7, kCustomText + 1, session.View().kind);
    if (kind == kLetterText && session.Course().trafficKind != 0) {
        kind = session.Course().trafficKind;
    } else if (kind == kLetterText && session.Course().lessonKind) {
        kind = kLessonText;
    }
    session.ChooseKind(kind);
    const SessionView view = session.View();
    session.ChooseTone(index(8, static_cast<int>(kToneFrequencies.size()), view.toneIndex));
    session.ChooseTextSpeed(index(9, static_cast<int>(kTextSpeeds.size()), view.textSpeedIndex));
    session.ChooseSignSpeed(
        index(10, static_cast<int>(kSignSpeeds.size()), session.View().signSpeedIndex));
    session.ChooseRatio(index(11, static_cast<int>(kDashRatios.size()), view.ratioIndex));
    if (number(12) != 0) {
        session.SetStepping(true);
    }
    if (number(14) != 0) {
        session.SetHideText(true);
    }
    return {true, usable};
}

Settings CollectSettings(const CMorseSession& session) {
    const SessionView view = session.View();
    Settings settings;
    settings.remember = view.remember;
    settings.portName = session.PortToStore();
    settings.outputKind = session.OutputToStore();
    settings.letters = view.letters;
    settings.digits = view.digits;
    settings.shortZeros = view.shortZeros;
    // The kinds after the custom one are recorded in the course file; here they are the letter
    // kind, which every reader of this file knows.
    settings.textKind = view.kind > kCustomText ? kLetterText : view.kind;
    settings.toneIndex = view.toneIndex;
    settings.textSpeedIndex = view.textSpeedIndex;
    settings.signSpeedIndex = view.signSpeedIndex;
    settings.ratioIndex = view.ratioIndex;
    settings.stepping = view.stepping;
    settings.language = view.language;
    settings.hideText = view.hideText;
    return settings;
}
