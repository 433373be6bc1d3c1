#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/CCallsignSession.h"
#include "text/CRandomSource.h"
#include "training/CCallsignRecordsFile.h"

class CCuePlayer;
class CNotifier;

// The callsign window's rules: the choices of a run and the runs' lifecycle. What was answered is
// stored when the run ends, when the next one starts and when the window closes, once; each run
// is drawn from a seed of the program's one source. One operation per user action; the window
// renders View().
class CVolaciZnakyModel {
public:
    // An answer is kept to the length the records keep.
    static constexpr std::size_t kLongestAnswer = CCallsignRecordsFile::kLongestText;

    using SeedSource = std::function<std::uint32_t()>;
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    struct View {
        CCallsignSession::Settings settings;
        // A run was started (and did not fail to start).
        bool started = false;
        // A callsign waits for its answer: the answer field and the repeat can be used.
        bool running = false;
        int speed = 0;
        int answered = 0;
        int callsigns = 0;
        int score = 0;
        // The run as stored, for the summary once it is over.
        CallsignRunRecord record;
        int right = 0;
    };

    // `player` and `notifier` (which says a records file that cannot be written) outlive the
    // model; `recordsPath` is the records file.
    CVolaciZnakyModel(const CCallsignSession::Settings& defaults, CCuePlayer& player,
                      std::string recordsPath, CNotifier& notifier,
                      SeedSource seeds = &CRandomSource::TickSeed,
                      WallClock wallClock = &std::chrono::system_clock::now);
    ~CVolaciZnakyModel();

    void SetStartSpeed(int speed);
    void SetStep(int step);
    void SetWrongTone(bool wrongTone);
    // "Start": stores the run before and plays the first callsign of a new one; false, with no
    // run, when the sound card cannot be used.
    bool Start();
    // Enter in the answer field: judges `typed` (cut to kLongestAnswer); nothing while no
    // callsign waits or when nothing but spaces was typed.
    std::optional<CallsignRunRecord::Answer> Answer(const std::string& typed);
    void Repeat();
    // The timer: hands the player what of the sounds it can take now.
    void Feed();
    // The window closes: what was answered is stored and the sound stops.
    void Close();

    const CCallsignSession* Session() const { return session.get(); }
    View GetView() const;

private:
    void StoreRun();

    CCallsignSession::Settings settings;
    CCuePlayer& player;
    std::string recordsPath;
    CNotifier& notifier;
    SeedSource seeds;
    WallClock wallClock;
    std::unique_ptr<CCallsignSession> session;
};
