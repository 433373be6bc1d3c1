#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "training/CCallsignRun.h"
#include "training/CallsignRunRecord.h"

class CCallsignRecordsFile;
class CCuePlayer;
class CNotifier;

// A run of callsigns at rising speed, heard through the cue player: the current callsign is
// rendered at the run's speed, the window's tone and dot : dash ratio and played; the user types
// what was heard, the answer is judged and the next callsign follows after a short pause (after
// the quiet tone of a wrong answer, when that is on), so that the verdict is seen and heard
// before the next sound begins. At the end, or when the window closes mid-run, what was answered
// goes to the callsign records. A sound longer than the player holds at once (a long callsign at a
// slow speed) waits in pieces and is fed to the player as it drains: the window calls Feed on a
// timer. Knows no widget; user-interface thread only.
class CCallsignSession {
public:
    // The silence between a verdict and the next callsign.
    static constexpr int kPauseMilliseconds = 700;
    static constexpr int kLowestStartSpeed = 20;
    static constexpr int kHighestStartSpeed = 300;
    static constexpr int kLargestStep = 50;
    // A sound the player does not take whole is handed to it in pieces of this many samples.
    static constexpr std::size_t kPieceSamples = 22050;

    struct Settings {
        int toneHz = 600;
        double dashRatio = 3.0;
        int startSpeed = 100;  // characters per minute
        int step = 5;
        bool wrongTone = true;
        // Linear, 0 to 1.
        float gain = 1.0f;
    };
    // `settings` with the start speed, the step and the gain within their bounds.
    static Settings Bounded(Settings settings);

    // `player` outlives the session. The start speed and step are kept within their bounds.
    CCallsignSession(const Settings& settings, CCuePlayer& player, std::uint32_t seed);

    const Settings& RunSettings() const { return settings; }

    // Opens the player and plays the first callsign; false when the sound card cannot be used.
    bool Start();
    // Plays the current callsign; false when the player refused it (or the run is over).
    bool Play();
    // Plays the current callsign again, at the repeat's cost; false as Play.
    bool Repeat();
    // Judges the user's copy of the current callsign and plays what follows. The judged answer
    // comes back; nothing once the run is over.
    std::optional<CallsignRunRecord::Answer> Type(const std::string& typed);

    // Hands the player what of the sounds it can take now; true while some are still waiting.
    bool Feed();

    bool Finished() const { return run.Finished(); }
    // The speed the current callsign is keyed at.
    int Speed() const { return run.Speed(); }
    int Answered() const { return static_cast<int>(run.Answers().size()); }
    int Callsigns() const { return CCallsignRun::kCallsigns; }
    int Score() const { return run.Score(); }
    // The run so far as the records keep it, without its date.
    CallsignRunRecord Record() const;

    // Adds what was answered to `records`, stamped with the local time of `now`,
    // once: nothing when nothing was answered or it was stored before. A failure to write is
    // said through `notifier`; false then.
    bool Save(const CCallsignRecordsFile& records, std::chrono::system_clock::time_point now,
              CNotifier& notifier);

private:
    std::vector<float> Callsign() const;
    // Plays `samples` after what is playing and waiting; false when the player took nothing and
    // nothing was waiting (it is not open).
    bool Queue(const std::vector<float>& samples);
    // Drops what is playing and what waits.
    void Silence();

    Settings settings;
    CCuePlayer& player;
    CCallsignRun run;
    bool saved = false;
    // The samples still to hand to the player, from `waitingFrom` on.
    std::vector<float> waiting;
    std::size_t waitingFrom = 0;
};
