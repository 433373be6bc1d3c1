#include "engine/CKeyingEngine.h"

#include <algorithm>
#include <climits>
#include <future>
#include <sstream>
#include <system_error>

#include "core/CMorseTable.h"
#include "core/OutputKind.h"
#include "core/Timing.h"
#include "engine/CStepCorrection.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/ProgressWalk.h"
#include "output/CSystemCalls.h"
#include "output/MonotonicClock.h"
#include "output/SerialPorts.h"

namespace {

constexpr char kStartSign = CTransmissionTimeline::kStartSign;
constexpr char kEndSign = CTransmissionTimeline::kEndSign;

}  // namespace

CKeyingEngine::CKeyingEngine(CEngineListener* engineListener,
                             std::unique_ptr<CTimeSource> timeSource,
                             std::unique_ptr<CPriorityControl> priorityControl,
                             std::unique_ptr<COutputFactory> outputFactory)
    : listener(engineListener != nullptr ? engineListener : &nullListener),
      time(timeSource ? std::move(timeSource) : std::make_unique<CSystemTimeSource>()),
      priority(priorityControl ? std::move(priorityControl) : std::make_unique<CSystemPriority>()),
      factory(outputFactory ? std::move(outputFactory)
                            : std::make_unique<CSystemOutputFactory>(CPosixSystemCalls::Instance(),
                                                                     silentNotifier)),
      device(std::make_unique<COutputDevice>()) {}

CKeyingEngine::~CKeyingEngine() {
    abortRequested = true;
    RequestStop();
    JoinThreads();
}

void CKeyingEngine::SetTextSpeed(int cpm) {
    textSpeed = cpm;
    if (SendingStepwise()) {
        RecomputeTiming();
    } else if (SendingContinuously()) {
        timingChanged = true;
    }
}

void CKeyingEngine::SetSignSpeed(int cpm) {
    signSpeed = cpm;
    if (SendingStepwise()) {
        RecomputeTiming();
    } else if (SendingContinuously()) {
        timingChanged = true;
    }
}

void CKeyingEngine::SetToneFrequency(int hz) {
    toneFrequency = hz;
    // While anything is sent the device belongs to the send thread, which takes the tone before
    // its next character (stepping) or at the next word gap (continuous).
    if (sending) {
        toneChanged = true;
    } else {
        device->SetTone(hz);
    }
}

void CKeyingEngine::SetDashRatio(double ratio) {
    dashRatio = ratio;
    if (SendingContinuously()) {
        ratioChanged = true;
    } else {
        dashMultiplier = ratio;
    }
}

void CKeyingEngine::RecomputeTiming() {
    const TimingValues timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    dotUnits = timing.dotUnits;
    spacingUnits = timing.spacingUnits;
}

int CKeyingEngine::GetEffectiveTextSpeed() const {
    return EffectiveTextSpeed(ComputeTiming(signSpeed, textSpeed, dashRatio), dashRatio);
}

int CKeyingEngine::GetEffectiveSignSpeed() const {
    return EffectiveSignSpeed(ComputeTiming(signSpeed, textSpeed, dashRatio), dashRatio);
}

bool CKeyingEngine::ReplaceDevice(std::unique_ptr<COutputDevice> newDevice, int kind) {
    if (sending || !newDevice) {
        return false;
    }
    JoinThreads();
    device = std::move(newDevice);
    outputKind = kind;
    ApplyVolume();
    return true;
}

bool CKeyingEngine::SelectOutput(int kind) {
    if (sending) {
        return false;
    }
    JoinThreads();
    // The old device goes first: a serial port must be closed before it can be opened again.
    device = std::make_unique<COutputDevice>();
    outputKind = -1;
    std::unique_ptr<COutputDevice> created = factory->Create(kind, portName);
    if (!created) {
        return false;
    }
    device = std::move(created);
    outputKind = kind;
    ApplyVolume();
    return device->IsOpen();
}

bool CKeyingEngine::OpenDefaultOutput() {
    if (SelectOutput(kSoundCardOutput) || SelectOutput(kSpeakerOutput)) {
        return true;
    }
    for (const std::string_view name : kSerialPortNames) {
        SetPortName(std::string(name));
        if (SelectOutput(kSerialPortOutput)) {
            return true;
        }
    }
    return false;
}

void CKeyingEngine::SetVolume(std::uint32_t newVolume) {
    volume = newVolume;
    ApplyVolume();
}

void CKeyingEngine::ApplyVolume() {
    if (outputKind == kSoundCardOutput) {
        device->SetVolume(volume);
    }
}

void CKeyingEngine::SetText(const CMorseText& newText) {
    text = newText;
    eachSpaceIsGap = text.GetKind() == kCustomText;
}

bool CKeyingEngine::SetReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed) {
    if (sending) {
        return false;
    }
    JoinThreads();
    conditions = settings;
    conditionsSeed = seed;
    return true;
}

bool CKeyingEngine::Start(const std::string& display, bool steppingMode) {
    JoinThreads();
    displayText = display;
    displaySteppingMode = steppingMode;
    // The flags are set here rather than on the send thread, so that a stop or pause pressed
    // right after Start is not lost; leftovers of the previous transmission are cleared.
    stopRequested = false;
    pauseRequested = false;
    abortRequested = false;
    failed = false;
    failureError = 0;
    failureFault = OutputFault::kNone;
    stepping = steppingMode;
    sending = true;
    progressEvent.Reset();

    std::promise<void> progressDone;
    std::future<void> progressFinished = progressDone.get_future();
    try {
        progressThread = std::thread([this, done = std::move(progressDone)]() mutable {
            ProgressThreadProc();
            done.set_value();
        });
    } catch (const std::system_error&) {
        sending = false;
        stepping = false;
        return false;
    }
    try {
        sendThread =
            std::thread([this, steppingMode, finished = std::move(progressFinished)]() mutable {
                SendThreadProc(steppingMode);
                progressEvent.SetEnd();
                // Every progress report of this transmission is out before the listener hears of
                // its end.
                finished.wait();
                listener->TransmissionFinished();
            });
    } catch (const std::system_error&) {
        progressEvent.SetEnd();
        progressThread.join();
        sending = false;
        stepping = false;
        return false;
    }
    return true;
}

void CKeyingEngine::RequestPause(bool on) {
    if (sending) {
        pauseRequested = on;
        wakeup.Notify();
    }
}

void CKeyingEngine::RequestStop() {
    if (sending) {
        stopRequested = true;
        if (stepping) {
            stepping = false;
            stopRequested = false;
        }
        pauseRequested = false;
    }
    wakeup.Notify();
}

void CKeyingEngine::Resume() {
    wakeup.Release();
}

void CKeyingEngine::JoinThreads() {
    if (sendThread.joinable()) {
        sendThread.join();
    }
    if (progressThread.joinable()) {
        progressThread.join();
    }
}

void CKeyingEngine::SendThreadProc(bool steppingMode) {
    try {
        if (steppingMode) {
            SendStepwise();
            FinishTransmission();
        } else {
            SendContinuous();
        }
    } catch (...) {
        // Only allocation can fail on this path; end the transmission rather than the program.
        device->EndTransmission();
        sending = false;
        stepping = false;
        priority->Restore();
    }
}

void CKeyingEngine::ProgressThreadProc() {
    priority->RaiseMarking();
    try {
        const bool eachSpaceSignalled = text.GetKind() == kCustomText && !displaySteppingMode;
        std::size_t p = 0;
        while (p < displayText.size()) {
            std::int64_t due = 0;
            if (progressEvent.Wait(due) == CProgressEvent::Signal::End) {
                break;
            }
            // A device that keys ahead of its sound says when the place is heard; should it fail
            // before then, the place is never heard and nothing more is marked.
            constexpr std::int64_t kFailureCheckNanoseconds = 20000000;
            while (!failed && due - MonotonicNanoseconds() > kFailureCheckNanoseconds) {
                SleepUntilNanoseconds(MonotonicNanoseconds() + kFailureCheckNanoseconds);
            }
            if (!failed && due != 0) {
                SleepUntilNanoseconds(due);
            }
            if (failed) {
                break;
            }
            const std::size_t last = SentPositionFor(displayText, p, eachSpaceSignalled);
            listener->SentTextChanged(displayText.substr(0, last + 1));
            p = last + 1;
        }
    } catch (...) {
        // A failed report only stops the marking; the keying goes on.
    }
}

void CKeyingEngine::PrepareTransmission(TransmissionPace pace) {
    // Durations are computed afresh from the stored speeds and ratio at every start; changes
    // flagged during the previous transmission are part of that.
    timingChanged = false;
    toneChanged = false;
    ratioChanged = false;
    RecomputeTiming();
    dashMultiplier = dashRatio.load();
    elements = text.ToElements();
    const TimingValues timing = Timing();
    // Every interval is asked of the fist in keying order, as CTransmissionTimeline asks it, so
    // that the same seed keys the same lengths live and in a sound file.
    fist = CFist::OfTransmission(conditions.fist, conditionsSeed);
    device->SetReceptionConditions(conditions, conditionsSeed);
    device->BeginTransmission(pace, TruncateUnits(CharacterGapUnits(timing) +
                                                  ElementGapUnits(timing) + WordGapUnits(timing)));
    device->SetTone(toneFrequency);
    BeginSegment();
    transmissionStart = time->Now();
    SendCharacter(kStartSign);
    const std::int32_t startGap =
        TruncateUnits(Shaped(KeyInterval::kStartSignGap, StartSignGapUnits(Timing())));
    WaitModel(startGap, startGap);
}

void CKeyingEngine::BeginSegment() {
    segmentUnits = 0;
    toneEndUnits = 0;
    device->BeginSegment();
}

void CKeyingEngine::KeyModel(double lengthUnits, std::int32_t keyUnits) {
    const std::int32_t model = TruncateUnits(lengthUnits);
    device->KeyOnTimeline(segmentUnits, model, keyUnits);
    segmentUnits += model;
    toneEndUnits = segmentUnits;
}

void CKeyingEngine::WaitModel(std::int32_t modelUnits, std::int32_t waitUnits) {
    segmentUnits += modelUnits;
    onDeviceTimeline = device->WaitOnTimeline(segmentUnits);
    if (!onDeviceTimeline) {
        time->Wait(waitUnits);
    }
}

void CKeyingEngine::SendContinuous() {
    priority->Raise();
    PrepareTransmission(TransmissionPace::Continuous);
    words.clear();
    nextWord = 0;
    wordKeyed = false;
    if (voice) {
        std::istringstream stream(text.GetText());
        for (std::string word; stream >> word;) {
            words.push_back(word);
        }
    }
    SendSymbols();
}

bool CKeyingEngine::SetSpokenAnswers(Voice newVoice, std::int64_t beforeUnits,
                                     std::int64_t afterUnits) {
    if (sending) {
        return false;
    }
    voice = std::move(newVoice);
    answerBeforeUnits = std::max<std::int64_t>(0, beforeUnits);
    answerAfterUnits = std::max<std::int64_t>(0, afterUnits);
    return true;
}

void CKeyingEngine::AnswerWord(std::int64_t& expectedUnits) {
    if (!voice || !wordKeyed || nextWord >= words.size()) {
        return;
    }
    wordKeyed = false;
    std::vector<float> speech = voice(words[nextWord++]);
    // Not before the word gap is over, so that the answer never runs into the word.
    const std::int64_t start = std::max(toneEndUnits + answerBeforeUnits, segmentUnits);
    const std::int64_t length = device->PlayOnTimeline(start, std::move(speech));
    if (length == 0) {
        return;
    }
    // A pause longer than a wait can be (over three minutes) is no pause a user set.
    const auto wait = static_cast<std::int32_t>(
        std::min<std::int64_t>(start + length + answerAfterUnits - segmentUnits, INT32_MAX));
    WaitModel(wait, wait);
    expectedUnits += wait;
}

void CKeyingEngine::KeyElement(char symbol, const CStepCorrection& correction,
                               std::int64_t& expectedUnits) {
    const TimingValues timing = Timing();
    const double length = symbol == '.'
                              ? Shaped(KeyInterval::kDot, timing.dotUnits)
                              : Shaped(KeyInterval::kDash, DashUnits(timing, dashMultiplier));
    KeyModel(length, correction.Shorten(length, expectedUnits));
    const std::int32_t gap =
        TruncateUnits(Shaped(KeyInterval::kElementGap, ElementGapUnits(timing)));
    WaitModel(gap, gap);
    expectedUnits += gap;
}

void CKeyingEngine::EndCharacter(const CStepCorrection& correction, std::int64_t& expectedUnits) {
    // A signal that stays until the progress thread takes it, in both modes: a pulse would be
    // lost if that thread were not waiting at this moment (say it has only just started), and
    // the marking would then stay a character behind for the rest of the transmission.
    progressEvent.Set(device->HeardAtNanoseconds(segmentUnits));
    const double gap = Shaped(KeyInterval::kCharacterGap, CharacterGapUnits(Timing()));
    WaitModel(TruncateUnits(gap), correction.Shorten(gap, expectedUnits));
}

void CKeyingEngine::SendSymbols() {
    CStepCorrection correction;
    const std::size_t count = elements.size();
    // Steps are measured back to back with one clock reading between two steps, counted from the
    // loop's start, so that neither the moments between steps nor the rounding of every reading
    // to whole units add up over a long text. A pad the correction waits after a step is expected
    // in the next one.
    // The start sign and its gap are keyed without correction; a deviation of theirs is taken
    // in by the first step, so that the text keeps to the transmission's timeline.
    const std::int64_t origin = transmissionStart;
    std::int64_t stepStartUnits = 0;
    std::int64_t suspendedTotal = 0;
    std::int64_t padded = segmentUnits;
    for (std::size_t i = 0; i < count && !abortRequested && !DeviceFailed(); ++i) {
        std::int64_t expected = padded;
        std::int64_t suspendedTicks = 0;
        const char symbol = elements[i];
        if (symbol == '.' || symbol == '-') {
            KeyElement(symbol, correction, expected);
            wordKeyed = true;
        } else if (symbol == 'm') {
            EndCharacter(correction, expected);
        } else if (symbol == ' ') {
            std::size_t run = 1;
            while (i + 1 < count && elements[i + 1] == ' ') {
                ++run;
                ++i;
            }
            // Custom text keeps every space as a gap of its own; otherwise a run is one word gap.
            const std::size_t gaps = eachSpaceIsGap ? run : 1;
            for (std::size_t gap = 0; gap < gaps; ++gap) {
                progressEvent.Pulse(device->HeardAtNanoseconds(segmentUnits));
                if (gap == 0) {
                    const double word = Shaped(KeyInterval::kWordGap, WordGapUnits(Timing()));
                    WaitModel(TruncateUnits(word), correction.Shorten(word, expected));
                } else {
                    const std::int32_t further = TruncateUnits(
                        Shaped(KeyInterval::kFurtherSpace, FurtherSpaceUnits(Timing())));
                    WaitModel(further, further);
                    expected += further;
                }
            }
            AnswerWord(expected);
            // The duties of a word gap belong to the first gap not yet heard: a device that keys
            // ahead of its sound is waited for until the word's last tone has been heard.
            device->WaitUntilHeard(toneEndUnits);
            if (WordBoundaryDuties(suspendedTicks)) {
                return;
            }
        }
        suspendedTotal += suspendedTicks;
        const std::int64_t stepEndUnits = ElapsedUnits(time->Now() - origin - suspendedTotal);
        // A device that keeps its own timeline paces the thread by its clock: correcting or
        // padding its steps against the system clock would only pull the thread off it.
        padded = onDeviceTimeline
                     ? 0
                     : correction.Apply(stepEndUnits - stepStartUnits - expected, *time);
        stepStartUnits = stepEndUnits;
    }
    // The last word is answered before the end sign.
    if (!abortRequested) {
        std::int64_t expected = 0;
        AnswerWord(expected);
    }
    FinishTransmission();
}

bool CKeyingEngine::WordBoundaryDuties(std::int64_t& suspendedTicks) {
    if (timingChanged.exchange(false)) {
        RecomputeTiming();
    }
    if (toneChanged.exchange(false)) {
        device->SetTone(toneFrequency);
    }
    if (ratioChanged.exchange(false)) {
        dashMultiplier = dashRatio.load();
    }
    if (pauseRequested) {
        const std::int64_t before = time->Now();
        wakeup.Suspend([this] { return !pauseRequested || stopRequested || abortRequested; });
        suspendedTicks += time->Now() - before;
        // What follows the pause is a segment of its own.
        BeginSegment();
    }
    if (stopRequested) {
        stopRequested = false;
        stepping = false;
        pauseRequested = false;
        FinishTransmission();
        return true;
    }
    return false;
}

void CKeyingEngine::SendStepwise() {
    PrepareTransmission(TransmissionPace::Stepping);
    const auto stepped = [this] {
        wakeup.Suspend([this] { return !stepping || abortRequested; });
        // A tone chosen between two presses is the tone of the next character, which begins a
        // segment of its own (as does the end sign after a stop).
        if (toneChanged.exchange(false)) {
            device->SetTone(toneFrequency);
        }
        BeginSegment();
        return stepping && !abortRequested && !DeviceFailed();
    };
    if (!stepping || !stepped()) {
        return;
    }
    priority->Raise();
    CStepCorrection correction;
    const std::size_t count = elements.size();
    for (std::size_t i = 0; i < count && !DeviceFailed(); ++i) {
        const std::int64_t t0 = time->Now();
        std::int64_t expected = 0;
        const char symbol = elements[i];
        if (symbol == '.' || symbol == '-') {
            KeyElement(symbol, correction, expected);
        } else if (symbol == 'm') {
            EndCharacter(correction, expected);
        } else if (symbol == ' ') {
            // In stepping mode the pace is the user's: a word gap costs no time.
            progressEvent.Pulse(device->HeardAtNanoseconds(segmentUnits));
            while (i + 1 < count && elements[i + 1] == ' ') {
                ++i;
            }
        }
        // A device that keeps its own timeline paces the thread by its clock; padding its steps
        // against the system clock would only delay the next press's sound.
        if (!onDeviceTimeline) {
            correction.Apply(ElapsedUnits(time->Now() - t0) - expected, *time);
        }
        if (symbol == 'm' && !stepped()) {
            break;
        }
    }
    stepping = false;
}

void CKeyingEngine::SendCharacter(char character) {
    const TimingValues timing = Timing();
    for (const char element : CMorseTable::CodeOf(character, false)) {
        if (DeviceFailed()) {
            return;
        }
        const double length = element == '.'
                                  ? Shaped(KeyInterval::kDot, timing.dotUnits)
                                  : Shaped(KeyInterval::kDash, DashUnits(timing, dashMultiplier));
        KeyModel(length, TruncateUnits(length));
        const std::int32_t gap =
            TruncateUnits(Shaped(KeyInterval::kElementGap, ElementGapUnits(timing)));
        WaitModel(gap, gap);
    }
}

bool CKeyingEngine::DeviceFailed() {
    if (failed.load(std::memory_order_relaxed)) {
        return true;
    }
    const OutputFailure failure = device->Failure();
    if (!failure) {
        return false;
    }
    failureError = failure.error;
    failureFault.store(failure.fault, std::memory_order_release);
    failed = true;
    return true;
}

void CKeyingEngine::FinishTransmission() {
    // A device that stopped keying gets no end sign: nothing of it would be heard.
    if (!DeviceFailed()) {
        SendCharacter(kEndSign);
    }
    device->EndTransmission();
    sending = false;
    priority->Restore();
}

std::int64_t CKeyingEngine::ElapsedUnits(std::int64_t ticks) const {
    // Split so that the multiplication cannot overflow for any realistic step.
    constexpr auto kUnits = static_cast<std::int64_t>(kUnitsPerSecond);
    const std::int64_t frequency = time->Frequency();
    return ticks / frequency * kUnits + ticks % frequency * kUnits / frequency;
}
