#pragma once

#include "session/CaptionText.h"

#include <string>

#include "core/SoundOptions.h"

// The sound options window's rules: the options being edited, each bounded as it is set, the
// rungs as the user writes them, which fields are in use, and whether OK may take the options.
// One operation per user action; the window renders View().
class CZvukModel {
public:
    // The captions of the language file "localZV", in its order.
    enum Caption {
        kTitle,
        kSpeak,
        kPauseBefore,
        kPauseAfter,
        kLadderHeading,
        kNoLadder,
        kRungs,
        kSteps,
        kStepCpm,
        kStepMinutes,
        kNote,
        kBadRungs,
        kOk,
        kCancel,
        kLive,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

    struct View {
        SoundOptions options;
        // The rungs as typed, or as stored written with the captions' decimal sign.
        std::string rungs;
        // The live answers and both pauses are used while answers are spoken.
        bool answersEnabled = false;
        bool rungsEnabled = false;
        bool stepsEnabled = false;
        // OK was refused: the rungs in use cannot be read.
        bool rungsProblem = false;
        // What is wrong with the multiples, in words; empty while nothing is.
        std::string rungsProblemText;
    };

    CZvukModel(const SoundOptions& start, char decimalSign);

    void SetSpeak(bool speak);
    void SetSpeakLive(bool speakLive);
    void SetPauseBefore(double seconds);
    void SetPauseAfter(double seconds);
    void ChooseLadder(SoundOptions::Ladder ladder);
    void TypeRungs(std::string text);
    void SetStepCpm(int cpm);
    void SetStepMinutes(int minutes);
    // OK: true when the options may be taken; false, with the problem in the view, while the
    // rungs are chosen and cannot be read. Rungs that cannot be read but are not used keep the
    // stored ones.
    bool Accept();

    const SoundOptions& Options() const { return options; }
    View GetView() const;

private:
    SoundOptions options;
    std::string rungsText;
    bool rungsProblem = false;
    CaptionList captions = CzechCaptions();
};
