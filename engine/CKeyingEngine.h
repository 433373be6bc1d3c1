#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/CEngineListener.h"
#include "core/CFist.h"
#include "core/CNotifier.h"
#include "core/ReceptionSettings.h"
#include "core/Timing.h"
#include "engine/CPriorityControl.h"
#include "engine/CProgressEvent.h"
#include "engine/CStepCorrection.h"
#include "engine/CTimeSource.h"
#include "engine/CWakeup.h"
#include "output/COutputDevice.h"
#include "output/COutputFactory.h"
#include "text/CMorseText.h"

// The single keying engine: turns a text into timed keying of the current output device on a
// send thread, while a progress thread reports how much of the display text has been sent.
//
// Threads: the public operations are called on the user-interface thread. The send thread owns
// the device and the time source during a transmission; it reads the timing fields, which the
// user-interface thread may change at any moment and which are therefore atomic. In continuous
// mode changes reach the keying only at word gaps, through the change flags.
class CKeyingEngine {
public:
    // Null arguments stand for the real clock, scheduling and devices and a listener that
    // ignores all. The engine starts with the silent device.
    explicit CKeyingEngine(CEngineListener* listener = nullptr,
                           std::unique_ptr<CTimeSource> timeSource = nullptr,
                           std::unique_ptr<CPriorityControl> priorityControl = nullptr,
                           std::unique_ptr<COutputFactory> outputFactory = nullptr);
    // Stops a running transmission and joins both threads before anything is destroyed.
    virtual ~CKeyingEngine();
    CKeyingEngine(const CKeyingEngine&) = delete;
    CKeyingEngine& operator=(const CKeyingEngine&) = delete;

    // Speeds in characters per minute. While a continuous transmission runs the change is picked
    // up at the next word gap; while a stepping one runs it applies at once.
    void SetTextSpeed(int cpm);
    void SetSignSpeed(int cpm);
    // Reaches the device at once while idle; while a transmission runs, on the send thread at the
    // next word gap (continuous) or before the next character (stepping).
    void SetToneFrequency(int hz);
    // Lengthens the dashes; during continuous sending from the next word gap on. The spacing unit
    // takes the new ratio only at the next RecomputeTiming.
    void SetDashRatio(double ratio);
    void RecomputeTiming();

    // The read-out values, from the stored speeds and ratio; the keying durations stay as they are.
    int GetEffectiveTextSpeed() const;
    int GetEffectiveSignSpeed() const;

    int GetSignSpeed() const { return signSpeed; }
    int GetTextSpeed() const { return textSpeed; }
    int GetToneFrequency() const { return toneFrequency; }
    double GetDotUnits() const { return dotUnits; }
    double GetSpacingUnits() const { return spacingUnits; }
    double GetDashMultiplier() const { return dashMultiplier; }

    // Makes `newDevice`, an output of `kind`, the current output; refused (false) while a
    // transmission runs.
    bool ReplaceDevice(std::unique_ptr<COutputDevice> newDevice, int kind);
    COutputDevice& Device() { return *device; }
    int GetOutputKind() const { return outputKind; }
    void SetPortName(const std::string& name) { portName = name; }
    std::string GetPortName() const { return portName; }
    // Replaces the current device by a new one of `kind` (also when it is the same kind) and
    // returns whether it opened. A kind outside 0 to 2 leaves the silent device and returns
    // false, as does any selection while a transmission runs.
    bool SelectOutput(int kind);
    // The start-up fallback: sound card, speaker, then the serial ports COM1 to COM8; true when
    // one opened. When none does, the last serial device stays current and the port is "COM8".
    bool OpenDefaultOutput();
    // Volume with 16 bits per channel, left in the low word; reaches only the sound card, also
    // every sound card opened later.
    void SetVolume(std::uint32_t newVolume);

    // Takes a copy of the text to send; custom text makes every space a word gap of its own.
    void SetText(const CMorseText& newText);
    // The reception conditions of the next transmissions and the seed of the next one; ignored
    // (false) while a transmission runs. The fist shapes every element and gap on every output;
    // the sound conditions reach the device, which makes them heard if it can.
    bool SetReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed);
    // Spoken answers: in a continuous transmission each word of the text is said by `voice`
    // (samples at 44.1 kHz) after its last tone, at least a word gap and `beforeUnits` later, and
    // the next word follows `afterUnits` after the answer. Only a device that plays sounds on its
    // timeline (the sound card) says them; elsewhere the keying is as without. Ignored (false)
    // while a transmission runs; an empty voice turns them off.
    using Voice = std::function<std::vector<float>(const std::string& word)>;
    bool SetSpokenAnswers(Voice voice, std::int64_t beforeUnits, std::int64_t afterUnits);
    // Starts a transmission of the text last set, continuous or one character per Resume().
    // `displayText` is what the text display shows; the sent marking walks over it. Returns false
    // when a thread cannot be created; nothing then runs.
    bool Start(const std::string& displayText, bool steppingMode);
    // Continuous mode: suspend at the next word gap (true) or withdraw that request (false).
    void RequestPause(bool on);
    // Continuous mode: end at the next word gap; stepping mode: end before the next character.
    void RequestStop();
    // Lets a suspended send thread go on: after a pause, or for the next character when
    // stepping. Without effect, and not remembered, while the send thread is busy.
    void Resume();
    bool IsSending() const { return sending; }
    // Why the last transmission ended early because its device stopped keying (the sound server
    // went away, a line refused to be switched); kNone when it did not. Read once the transmission
    // has finished; a new Start clears it.
    OutputFailure Failure() const {
        return {failureFault.load(std::memory_order_acquire), failureError.load()};
    }
    // True while the send thread waits for Resume() (paused, or between steps).
    bool IsSuspended() const { return wakeup.IsSuspended(); }
    const CProgressEvent& Progress() const { return progressEvent; }

private:
    bool SendingContinuously() const { return sending && !stepping; }
    bool SendingStepwise() const { return sending && stepping; }

    void SendThreadProc(bool steppingMode);
    void ProgressThreadProc();
    void PrepareTransmission(TransmissionPace pace);
    // The timing in force for keying.
    TimingValues Timing() const { return {0.0, 0.0, dotUnits.load(), spacingUnits.load()}; }
    // The length the transmission's fist keys for the model's `modelUnits` of `interval`.
    double Shaped(KeyInterval interval, double modelUnits) {
        return fist.Shape(interval, modelUnits, dotUnits.load());
    }
    void SendContinuous();
    void SendStepwise();
    void SendSymbols();
    void SendCharacter(char character);
    void KeyElement(char symbol, const CStepCorrection& correction, std::int64_t& expectedUnits);
    // The end of a character: its progress signal and the character gap.
    void EndCharacter(const CStepCorrection& correction, std::int64_t& expectedUnits);
    // The spoken answer to the word just keyed, if any, and the wait it takes; `expectedUnits`
    // grows by that wait.
    void AnswerWord(std::int64_t& expectedUnits);
    // Returns true when the transmission must end here.
    bool WordBoundaryDuties(std::int64_t& suspendedTicks);
    void FinishTransmission();
    // Whether the device has stopped keying what it is given; the first failure is kept for
    // Failure() (send thread).
    bool DeviceFailed();
    std::int64_t ElapsedUnits(std::int64_t ticks) const;
    void JoinThreads();
    void ApplyVolume();
    // The model's timeline of the current segment (send thread only): a segment begins, an
    // element of the model's length is keyed (`keyUnits` in real time), a gap is waited.
    void BeginSegment();
    void KeyModel(double lengthUnits, std::int32_t keyUnits);
    void WaitModel(std::int32_t modelUnits, std::int32_t waitUnits);

    CEngineListener* listener;
    CNullEngineListener nullListener;
    CSilentNotifier silentNotifier;
    std::unique_ptr<CTimeSource> time;
    std::unique_ptr<CPriorityControl> priority;
    std::unique_ptr<COutputFactory> factory;
    std::unique_ptr<COutputDevice> device;
    int outputKind = -1;
    std::string portName = "COM1";
    std::uint32_t volume = 0xFFFFFFFFU;

    std::atomic<int> signSpeed{100};
    std::atomic<int> textSpeed{100};
    std::atomic<int> toneFrequency{450};

    std::atomic<bool> sending{false};
    std::atomic<bool> stepping{false};
    std::atomic<bool> timingChanged{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> pauseRequested{false};
    // Set by the destructor: end at the next element rather than the next word gap.
    std::atomic<bool> abortRequested{false};
    bool eachSpaceIsGap = false;
    std::atomic<bool> toneChanged{false};
    // Set by the send thread when the device failed; the progress thread then marks nothing more.
    std::atomic<bool> failed{false};
    std::atomic<OutputFault> failureFault{OutputFault::kNone};
    std::atomic<int> failureError{0};
    std::atomic<bool> ratioChanged{false};

    CMorseText text;
    std::string elements;
    // Set while idle, read by the send thread once it has been started.
    ReceptionSettings conditions;
    std::uint64_t conditionsSeed = 0;
    // The fist of the transmission running (send thread only).
    CFist fist{FistKind::kNone, 0};
    // Where the send thread is on the current segment's timeline, in 100-ns units, and where the
    // last tone keyed on it ended.
    std::int64_t segmentUnits = 0;
    std::int64_t toneEndUnits = 0;
    // When the start sign began, on the time source (send thread only).
    std::int64_t transmissionStart = 0;
    // The last gap was waited on the device's own timeline (send thread only).
    bool onDeviceTimeline = false;
    std::string displayText;
    bool displaySteppingMode = false;
    // Spoken answers: set while idle, used by the send thread. The words of the text in order,
    // the next to answer, and whether a word has been keyed since the last answer.
    Voice voice;
    std::int64_t answerBeforeUnits = 0;
    std::int64_t answerAfterUnits = 0;
    std::vector<std::string> words;
    std::size_t nextWord = 0;
    bool wordKeyed = false;

    std::atomic<double> dotUnits{0.0};
    std::atomic<double> dashMultiplier{3.0};
    std::atomic<double> dashRatio{3.0};
    std::atomic<double> spacingUnits{0.0};

    CWakeup wakeup;
    CProgressEvent progressEvent;
    std::thread sendThread;
    std::thread progressThread;
};
