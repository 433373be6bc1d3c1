#include "session/CMorseSession.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <system_error>

#include "config/CConditionsFile.h"
#include "config/CKeyingFile.h"
#include "config/CPunctuationFile.h"
#include "config/CSoundOptionsFile.h"
#include "config/SettingsFile.h"
#include "core/AsciiText.h"
#include "core/CMorseTable.h"
#include "core/CNotifier.h"
#include "core/OutputKind.h"
#include "core/Timing.h"
#include "engine/CKeyingEngine.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "engine/SoundFileFormats.h"
#include "output/CSpeech.h"
#include "output/CToneRenderer.h"
#include "session/CourseExport.h"
#include "session/SessionSettings.h"
#include "text/CRandomSource.h"
#include "text/CTrafficText.h"
#include "text/TextFile.h"
#include "text/WordLists.h"
#include "training/CCallsignRecordsFile.h"
#include "training/CCharacterWeights.h"
#include "training/CHistoryFile.h"
#include "training/CKochCourse.h"
#include "training/CRecognitionFile.h"

namespace {

template <typename Values>
bool InList(int index, const Values& values) {
    return index >= 0 && static_cast<std::size_t>(index) < values.size();
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

bool Blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// Seeds are drawn below a billion, short enough to note down and type in again.
constexpr std::uint64_t kSeedsDrawn = 1000000000;

std::uint64_t StartingSeed() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

// A text of real traffic of `trafficKind`; words in the language of the captions (the shipped
// language set is English).
std::string TrafficText(int trafficKind, bool english, std::uint32_t seed) {
    switch (trafficKind) {
        case kWordText:
            return CTrafficText::Words(english ? EnglishWords() : CzechWords(), seed);
        case kCallsignText:
            return CTrafficText::Callsigns(seed);
        case kAbbreviationText:
            return CTrafficText::Abbreviations(seed);
        default:
            return CTrafficText::Contacts(seed);
    }
}

}  // namespace

CMorseSession::CMorseSession(CKeyingEngine& keyingEngine, CNotifier& warnings,
                             CProgramFiles programFiles, const RecordFiles& recordFiles)
    : engine(keyingEngine),
      notifier(warnings),
      files(std::move(programFiles)),
      records(recordFiles),
      lastFolder(files.Folder()),
      seeds(StartingSeed()) {}

CMorseSession::~CMorseSession() {
    ClearPrintCollection();
}

bool CMorseSession::StartUp() {
    // What a killed save left behind.
    RemoveStaleTemporaries(files.Folder());
    // The steady clock is always there on this platform, so there is no clock check to fail.
    const bool usable = engine.OpenDefaultOutput();
    if (!usable) {
        notifier.NoOutputAvailable();
    }
    // The sound card starts at full volume: the top of the slider.
    SetVolume(kVolumeMaximum);
    kind = kLetterText;
    // Zeros are shortened unless the settings file says otherwise.
    shortZeros = true;
    textSpeedIndex = 8;
    signSpeedIndex = 4;
    ratioIndex = 0;
    ChooseTone(1);
    ChooseRatio(ratioIndex);
    course = CCourseFile(files.Course()).Read();
    conditions = CConditionsFile(files.Conditions()).Read();
    conditionsChanged = false;
    soundOptions = CSoundOptionsFile(files.SoundOptions()).Read();
    keying = CKeyingFile(files.Keying()).Read();
    // Before the settings: the letters kept there may be marks of the international table.
    CMorseTable::SetPunctuation(CPunctuationFile(files.Punctuation()).Read());
    const bool loaded = LoadSettings();
    FindUnreadableFiles();
    return usable && loaded;
}

SessionView CMorseSession::View() const {
    SessionView view;
    view.kind = kind;
    view.toneIndex = toneIndex;
    view.textSpeedIndex = textSpeedIndex;
    view.signSpeedIndex = signSpeedIndex;
    view.ratioIndex = ratioIndex;
    view.volume = volume;
    view.letters = letterSet;
    view.digits = digitSet;
    view.displayText = displayText;
    view.sentText = sentText;
    view.effectiveTextSpeed = effectiveTextSpeed;
    view.effectiveSignSpeed = effectiveSignSpeed;
    view.title = fileTitleShown && kind == kCustomText ? fileTitle : std::string(kBaseTitle);
    view.hideText = hideText;
    view.shortZeros = shortZeros;
    view.stepping = stepping;
    view.language = languageActive;
    view.remember = remember;
    view.internationalPunctuation = CMorseTable::GetPunctuation() == Punctuation::kInternational;
    view.weakCharacters = course.weakCharacters;
    view.idle = idle;
    view.paused = paused;
    view.startEnabled = idle;
    view.stopEnabled = !idle;
    view.stopDown = stopDown;
    // Stepping has no pause: each press is a step of its own.
    view.pauseEnabled = !idle && !stepping;
    view.stepEnabled = stepping;
    view.generateEnabled = idle && kind != kCustomText;
    view.kindEnabled = idle;
    view.shortZerosEnabled = idle && kind == kDigitText;
    view.textCommandsEnabled = idle;
    view.menusEnabled = idle;
    const int output = engine.GetOutputKind();
    view.volumeEnabled = output == kSoundCardOutput;
    view.toneEnabled = output != kSerialPortOutput;
    return view;
}

void CMorseSession::ChooseKind(int newKind) {
    if (newKind < kLetterText || newKind > kLastTextKind) {
        return;
    }
    kind = newKind;
    customMode = kind == kCustomText;
    if (customMode) {
        ApplyText(customText.GetText());
    } else {
        Generate();
    }
}

void CMorseSession::ChooseTextSpeed(int index) {
    if (!InList(index, kTextSpeeds)) {
        return;
    }
    textSpeedIndex = index;
    engine.SetTextSpeed(kTextSpeeds[static_cast<std::size_t>(index)]);
    const int raised = SignIndexAfterTextChange(textSpeedIndex, signSpeedIndex);
    if (raised != signSpeedIndex) {
        ChooseSignSpeed(raised);
    }
    ChooseRatio(ratioIndex);
}

void CMorseSession::ChooseSignSpeed(int index) {
    if (!InList(index, kSignSpeeds)) {
        return;
    }
    signSpeedIndex = index;
    engine.SetSignSpeed(kSignSpeeds[static_cast<std::size_t>(index)]);
    const int lowered = TextIndexAfterSignChange(signSpeedIndex, textSpeedIndex);
    if (lowered != textSpeedIndex) {
        ChooseTextSpeed(lowered);
    }
    ChooseRatio(ratioIndex);
}

void CMorseSession::ChooseTone(int index) {
    if (!InList(index, kToneFrequencies)) {
        return;
    }
    toneIndex = index;
    engine.SetToneFrequency(kToneFrequencies[static_cast<std::size_t>(index)]);
}

double CMorseSession::DashRatio() const {
    return kDashRatios[static_cast<std::size_t>(ratioIndex)];
}

void CMorseSession::ChooseRatio(int index) {
    if (!InList(index, kDashRatios)) {
        return;
    }
    ratioIndex = index;
    engine.SetDashRatio(DashRatio());
    effectiveTextSpeed = engine.GetEffectiveTextSpeed();
    effectiveSignSpeed = engine.GetEffectiveSignSpeed();
}

void CMorseSession::SetVolume(int level) {
    volume = std::clamp(level, 0, kVolumeMaximum);
    const auto channel = static_cast<std::uint32_t>(volume);
    engine.SetVolume(channel | (channel << 16));
}

void CMorseSession::SetShortZeros(bool on) {
    shortZeros = on;
    currentText.SetShortZeros(on ? 1 : 0);
}

void CMorseSession::SetHideText(bool on) {
    hideText = on;
}

void CMorseSession::SetStepping(bool on) {
    stepping = on;
}

void CMorseSession::SetLanguage(bool on) {
    languageActive = on;
}

void CMorseSession::SetRemember(bool on) {
    remember = on;
}

void CMorseSession::SetInternationalPunctuation(bool on) {
    const Punctuation table = on ? Punctuation::kInternational : Punctuation::kProgram;
    CMorseTable::SetPunctuation(table);
    // Marks without a code in the new table leave the set, said once rather than per mark.
    CSilentNotifier quiet;
    const std::string kept = CleanTyped(letterSet, 0, quiet, true).text;
    if (kept != letterSet) {
        letterSet = kept;
        notifier.UnsupportedCharactersRemoved();
    }
    const std::string contents = CPunctuationFile::Format(table);
    if (MayReplace(files.Punctuation(), contents, true)) {
        WriteFileBytesOrNotify(files.Punctuation(), contents, false, notifier);
    }
}

void CMorseSession::SetWeakCharacters(bool on) {
    course.weakCharacters = on;
    SaveCourse();
}

CMorseSession::Typed CMorseSession::TypeLetters(std::string_view typed, int caret) {
    // Letters are sent as capitals, and shown and stored as they are sent.
    const Typed result = CleanTyped(typed.substr(0, kSetLimit), caret, notifier, true);
    letterSet = result.text;
    return result;
}

std::string CMorseSession::TypeDigits(std::string_view typed) {
    digitSet.clear();
    for (const char c : typed.substr(0, kSetLimit)) {
        if (c >= '0' && c <= '9') {
            digitSet.push_back(c);
        }
    }
    return digitSet;
}

void CMorseSession::Generate() {
    if (kind == kCustomText) {
        return;
    }
    std::string generated;
    if (kind >= kWordText) {
        generated = TrafficText(kind, languageActive, CRandomSource::TickSeed());
    } else if (kind == kLessonText) {
        const CKochCourse lesson(course.order, course.lesson);
        generated = lesson.Generate(PracticeSet(lesson.DrawingSet()), CRandomSource::TickSeed());
    } else {
        const std::string set = kind == kLetterText  ? letterSet
                                : kind == kDigitText ? digitSet
                                                     : letterSet + digitSet;
        generated = CMorseText().Generate(PracticeSet(set), kind);
    }
    if (generated.empty()) {
        // An empty set (or one of spaces only) leaves nothing to draw: keep the text there is.
        notifier.NothingToGenerate();
        return;
    }
    ApplyText(generated);
}

void CMorseSession::ApplyText(const std::string& text) {
    currentText.SetText(text);
    currentText.SetKind(kind);
    currentText.SetShortZeros(shortZeros ? 1 : 0);
    displayText = currentText.FormatDisplayLines();
    sentText.clear();
}

void CMorseSession::Start() {
    if (!idle) {
        return;
    }
    idle = false;
    engine.SetText(customMode ? customText : currentText);
    const std::uint64_t seed = NextSeed();
    engine.SetReceptionConditions(conditions, seed);
    SetLiveAnswers();
    transmission.fetch_add(1, std::memory_order_relaxed);
    lastSentText.clear();
    lastSource = currentText.GetText();
    anySent = true;
    lastSending = SendingRecord(seed);
    stoppedEarly = false;
    if (!engine.Start(displayText, stepping)) {
        notifier.ThreadFailed();
        stoppedEarly = true;
        FinishSending();
    }
}

void CMorseSession::Stop() {
    if (idle) {
        return;
    }
    stoppedEarly = true;
    stopDown = true;
    engine.RequestStop();
    // A suspended send thread has to run to see the request.
    if (paused || stepping) {
        engine.Resume();
    }
    paused = false;
}

void CMorseSession::Pause() {
    // Stepping has no pause: each press is a step of its own.
    if (idle || stepping) {
        return;
    }
    const bool wasPaused = paused;
    paused = !paused;
    if (wasPaused) {
        engine.Resume();
    }
    engine.RequestPause(paused);
}

void CMorseSession::Step() {
    if (!idle) {
        engine.Resume();
    }
}

void CMorseSession::OnSentTextChanged(const std::string& sent, int sentTransmission) {
    if (sentTransmission == Transmission() && !idle) {
        sentText = sent;
        lastSentText = sent;
    }
}

void CMorseSession::OnTransmissionEnded(int endedTransmission) {
    if (endedTransmission != Transmission() || idle) {
        return;
    }
    const OutputFailure failure = engine.Failure();
    if (!failure) {
        FinishSending();
        return;
    }
    // The output stopped keying: what was heard is what the marking reached, and the marking
    // stays on the display until the next change of the text, so that the learner sees where
    // the sound ended.
    stoppedEarly = true;
    const std::string heard = sentText;
    FinishSending();
    sentText = heard;
    notifier.OutputFailed(failure.fault, failure.error, engine.GetOutputKind(),
                          engine.GetPortName());
}

void CMorseSession::FinishSending() {
    // A transmission that ran to its end sent the whole text, however far the marking got.
    if (!stoppedEarly) {
        lastSentText = displayText;
    }
    idle = true;
    paused = false;
    stopDown = false;
    // The display shows the text afresh, without its sent marking.
    ApplyText(currentText.GetText());
}

void CMorseSession::RememberFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    lastFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void CMorseSession::LoadTextFile(const std::string& path) {
    RememberFolder(path);
    // A file that is missing, empty or unreadable changes nothing and says nothing.
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return;
    }
    customText = CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier);
    fileTitle = std::string(kBaseTitle) + " - " + path;
    fileTitleShown = true;
    ChooseKind(kCustomText);
}

void CMorseSession::LoadRememberedText() {
    const std::optional<std::string> bytes = ReadFileBytes(files.RememberedText());
    if (!bytes) {
        return;
    }
    // The remembered text belongs to the restored kind; the title stays as it is.
    if (kind == kCustomText) {
        customText = CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier);
        ApplyText(customText.GetText());
    } else {
        currentText = CMorseText::LoadFromFileContents(*bytes, kind, notifier);
        ApplyText(currentText.GetText());
    }
}

std::string CMorseSession::TextFileBytes(bool pad) const {
    return customMode ? (pad ? customText.FormatPadded() : customText.FormatLines())
                      : currentText.FormatLines();
}

void CMorseSession::WriteTextFile(const std::string& path, bool append, bool pad) {
    WriteFileBytesOrNotify(path, TextFileBytes(pad), append, notifier);
}

void CMorseSession::FindUnreadableFiles() {
    const std::pair<std::string, std::string> started[] = {
        {files.Settings(), FormatSettings(CollectSettings(*this))},
        {files.RememberedText(), TextFileBytes(false)},
        {files.Conditions(), CConditionsFile::Format(conditions)},
        {files.SoundOptions(), CSoundOptionsFile::Format(soundOptions)},
        {files.Keying(), CKeyingFile::Format(keying)},
        {files.Punctuation(), CPunctuationFile::Format(CMorseTable::GetPunctuation())},
        {files.Course(), CCourseFile::Format(course)}};
    for (const auto& [path, contents] : started) {
        if (const std::optional<int> reason = UnreadableReason(path)) {
            notifier.ReadFailed(path, *reason);
            unreadable[path] = contents;
        }
    }
    // Records are only ever added to, never replaced: the learner hears that the statistics
    // cannot show them.
    for (const std::string& path :
         {records.history.Path(), records.recognition.Path(), records.callsigns.Path()}) {
        if (const std::optional<int> reason = UnreadableReason(path)) {
            notifier.RecordsUnreadable(path, *reason);
        }
    }
    // Settings that could not be read may well remember the text: it stays too.
    if (unreadable.count(files.Settings()) != 0) {
        unreadable.emplace(files.RememberedText(), TextFileBytes(false));
    }
}

bool CMorseSession::MayReplace(const std::string& path, const std::string& contents, bool byUser) {
    const auto found = unreadable.find(path);
    if (found == unreadable.end()) {
        return true;
    }
    if (!byUser || contents == found->second) {
        return false;
    }
    const std::string kept = path + ".bak";
    if (FileExists(path) && rename(path.c_str(), kept.c_str()) != 0) {
        notifier.WriteFailed(kept, errno);
        return false;
    }
    unreadable.erase(found);
    return true;
}

bool CMorseSession::CanSaveText() {
    if (displayText.empty()) {
        notifier.NothingToSave();
        return false;
    }
    return true;
}

void CMorseSession::SaveText(const std::string& path) {
    RememberFolder(path);
    WriteTextFile(path, false, false);
}

bool CMorseSession::CanSaveSound() {
    if (displayText.empty()) {
        notifier.NothingToSaveAsSound();
        return false;
    }
    return true;
}

void CMorseSession::SaveSound(const std::string& path) {
    RememberFolder(path);
    // The current speeds, ratio and tone on the timeline the sound card keys, at full scale,
    // keyed and heard as a transmission with a seed of its own would be.
    const std::uint64_t seed = NextSeed();
    if (soundOptions.speak || soundOptions.ladder != SoundOptions::Ladder::kNone) {
        SaveCourseSound(path, seed);
        return;
    }
    const CTransmissionTimeline timeline(customMode ? customText : currentText,
                                         engine.GetSignSpeed(), engine.GetTextSpeed(), DashRatio(),
                                         CFist::OfTransmission(conditions.fist, seed));
    WriteSound(path,
               soundfile::RenderWav(timeline, engine.GetToneFrequency(), 1.0F, conditions, seed));
}

void CMorseSession::WriteSound(const std::string& path, const std::string& wav) {
    RememberFolder(path);
    // The file's extension chooses the format; a name without a known one gets a WAV, as always.
    const auto encoded =
        soundfile::Encode(soundfile::SamplesOfWav(wav), CToneRenderer::kSampleRate,
                          soundfile::FormatOfPath(path).value_or(soundfile::Format::Wav));
    if (!encoded) {
        notifier.WriteFailed(path, 0);
        return;
    }
    WriteFileBytesOrNotify(path, *encoded, false, notifier);
}

void CMorseSession::SaveCourseSound(const std::string& path, std::uint64_t seed) {
    // The same rendering as a course made on the command line, from the window's choices.
    ExportOptions options;
    options.kind = customMode ? kCustomText : kind;
    options.signSpeed = engine.GetSignSpeed();
    options.textSpeed = engine.GetTextSpeed();
    options.tone = engine.GetToneFrequency();
    options.ratio = DashRatio();
    options.conditions = conditions;
    options.soundSeed = seed;
    options.speak = soundOptions.speak;
    // The answers speak the language of the captions.
    options.english = languageActive;
    options.pauseBefore = soundOptions.pauseBeforeTenths / 10.0;
    options.pauseAfter = soundOptions.pauseAfterTenths / 10.0;
    if (soundOptions.ladder == SoundOptions::Ladder::kRungs) {
        options.ladder = soundOptions.rungs;
    } else if (soundOptions.ladder == SoundOptions::Ladder::kSteps) {
        options.stepSpeed = soundOptions.stepCpm;
        options.stepMinutes = soundOptions.stepMinutes;
    }
    options.output = path;
    const std::string text =
        LadderedText(options, (customMode ? customText : currentText).GetText());
    std::string error;
    const auto planned = PlanExport(options, text, error);
    if (!planned) {
        notifier.SoundTooLong(static_cast<int>(kMaxFileMinutes));
        return;
    }
    const auto encoded = RenderExportFile(options, planned->front(), error);
    if (!encoded) {
        notifier.WriteFailed(path, 0);
        return;
    }
    WriteFileBytesOrNotify(path, *encoded, false, notifier);
}

void CMorseSession::SetLiveAnswers() {
    if (!soundOptions.speak || !soundOptions.speakLive) {
        engine.SetSpokenAnswers({}, 0, 0);
        return;
    }
    // Said as a sound file says them: the captions' language, words said, the rest spelled.
    const bool english = languageActive;
    const CSpeech::Language language =
        english ? CSpeech::Language::English : CSpeech::Language::Czech;
    constexpr double kUnitsPerTenth = kUnitsPerSecond / 10;
    engine.SetSpokenAnswers(
        [english, language](const std::string& word) {
            return CSpeech::Speak(word, language, SpelledAnswer(word, english));
        },
        static_cast<std::int64_t>(soundOptions.pauseBeforeTenths * kUnitsPerTenth),
        static_cast<std::int64_t>(soundOptions.pauseAfterTenths * kUnitsPerTenth));
}

void CMorseSession::SetSoundOptions(const SoundOptions& options) {
    // What the file would read back: a value out of its range keeps its default.
    soundOptions = CSoundOptionsFile::Parse(CSoundOptionsFile::Format(options));
    const std::string contents = CSoundOptionsFile::Format(soundOptions);
    if (MayReplace(files.SoundOptions(), contents, true)) {
        WriteFileBytesOrNotify(files.SoundOptions(), contents, false, notifier);
    }
}

void CMorseSession::SetKeying(const KeyingSettings& settings) {
    // What the file would read back.
    keying = CKeyingFile::Parse(CKeyingFile::Format(settings));
    const std::string contents = CKeyingFile::Format(keying);
    if (MayReplace(files.Keying(), contents, true)) {
        WriteFileBytesOrNotify(files.Keying(), contents, false, notifier);
    }
}

void CMorseSession::AcceptCustomText(const std::string& text) {
    const std::string old = customText.GetText();
    customText.SetText(text);
    customText.SetKind(kCustomText);
    ChooseKind(kCustomText);
    // A changed text is no longer the file it was loaded from.
    if (customText.GetText() != old) {
        fileTitleShown = false;
    }
}

void CMorseSession::AddToPrint() {
    if (displayText.empty()) {
        notifier.NothingToPrint();
        return;
    }
    WriteTextFile(files.PrintCollection(), true, true);
}

std::optional<std::string> CMorseSession::CollectionToPrint() {
    if (!FileExists(files.PrintCollection())) {
        AddToPrint();
    }
    if (!FileExists(files.PrintCollection())) {
        return std::nullopt;
    }
    return files.PrintCollection();
}

void CMorseSession::ClearPrintCollection() {
    RemoveFile(files.PrintCollection());
}

std::uint64_t CMorseSession::NextSeed() {
    if (!conditions.fixedSeed) {
        conditions.seed = seeds.Next() % kSeedsDrawn;
        conditionsChanged = true;
    }
    return conditions.seed;
}

void CMorseSession::SetConditions(const ReceptionSettings& settings) {
    conditions = settings.Bounded();
    conditionsChanged = true;
    SaveConditions(true);
}

void CMorseSession::SaveConditions(bool byUser) {
    const std::string contents = CConditionsFile::Format(conditions);
    if (MayReplace(files.Conditions(), contents, byUser) &&
        WriteFileBytesOrNotify(files.Conditions(), contents, false, notifier)) {
        conditionsChanged = false;
    }
}

CheckRecord CMorseSession::SendingRecord(std::uint64_t seed) const {
    CheckRecord record;
    // What it is heard under, when anything is on; a clean transmission records nothing.
    if (conditions.AnyOn()) {
        record.conditions = conditions.Summary();
        record.conditions.seed = seed;
    }
    record.kind = kind;
    record.signSpeed = engine.GetSignSpeed();
    record.textSpeed = engine.GetTextSpeed();
    record.lesson = kind == kLessonText ? CKochCourse(course.order, course.lesson).Lesson() : 0;
    record.ratioTenths = static_cast<int>(std::lround(10 * DashRatio()));
    return record;
}

std::optional<CMorseSession::CopyCheck> CMorseSession::OpenCopyCheck() {
    if (!idle) {
        return std::nullopt;
    }
    CopyCheck check;
    if (anySent && currentText.GetText() == lastSource) {
        // What the last transmission sent of the text shown, up to where it was stopped.
        check.sentText = lastSentText;
        check.record = lastSending;
    } else {
        // Nothing sent yet (a text copied from a print or a file perhaps), or a text that has
        // changed since the last transmission: the text shown, as it would be sent now; the
        // latter only when the user asks for it, as the learner may have copied the old one.
        check.sentText = displayText;
        check.record = SendingRecord(conditions.seed);
        check.unsent = anySent;
    }
    // A prosign is copied as its letters ("AR" for "<AR>"): the brackets only show it was keyed
    // run together.
    for (std::size_t k = 0; k < check.sentText.size(); ++k) {
        if (const std::size_t close = CMorseText::ProsignClose(check.sentText, k);
            close != std::string::npos) {
            check.sentText.erase(close, 1);
            check.sentText.erase(k, 1);
        }
    }
    if (Blank(check.sentText)) {
        notifier.NothingToCheck();
        return std::nullopt;
    }
    return check;
}

std::optional<int> CMorseSession::TakeCheckResult(const CheckRecord& record, double score) const {
    // A lesson copied well enough, over enough characters, offers the next one; the user decides.
    const CKochCourse lesson(course.order, record.lesson);
    if (record.kind == kLessonText &&
        CKochCourse::OffersNextLesson(record.sent, score, course.minimumSent, lesson.Lesson(),
                                      lesson.LessonCount())) {
        return lesson.Lesson() + 1;
    }
    return std::nullopt;
}

void CMorseSession::AcceptNextLesson(int lesson) {
    course.lesson = lesson;
    SaveCourse();
    if (kind == kLessonText) {
        Generate();
    }
}

void CMorseSession::ChooseLesson(const std::string& order, int lesson) {
    course.order = order;
    course.lesson = lesson;
    SaveCourse();
    ChooseKind(kLessonText);
}

void CMorseSession::SetMinimumSent(int minimumSent) {
    const int kept =
        std::clamp(minimumSent, CKochCourse::kLowestMinimumSent, CKochCourse::kHighestMinimumSent);
    if (kept != course.minimumSent) {
        course.minimumSent = kept;
        SaveCourse();
    }
}

RecognitionSettings CMorseSession::RecognitionStart() const {
    RecognitionSettings settings;
    const CKochCourse lesson(course.order, course.lesson);
    settings.lesson = lesson.Lesson();
    settings.lessonCharacters = lesson.Characters();
    settings.signSpeed = kSignSpeeds[static_cast<std::size_t>(signSpeedIndex)];
    settings.textSpeed = kTextSpeeds[static_cast<std::size_t>(textSpeedIndex)];
    settings.toneHz = kToneFrequencies[static_cast<std::size_t>(toneIndex)];
    settings.dashRatio = DashRatio();
    settings.gain = GainOf(volume);
    settings.seed = CRandomSource::TickSeed();
    return settings;
}

CCallsignSession::Settings CMorseSession::CallsignStart() const {
    CCallsignSession::Settings settings;
    settings.toneHz = kToneFrequencies[static_cast<std::size_t>(toneIndex)];
    settings.dashRatio = DashRatio();
    settings.startSpeed = kSignSpeeds[static_cast<std::size_t>(signSpeedIndex)];
    settings.gain = GainOf(volume);
    return settings;
}

SendingStart CMorseSession::SendingPracticeStart() const {
    SendingStart start;
    start.signSpeed = kSignSpeeds[static_cast<std::size_t>(signSpeedIndex)];
    start.dashRatio = DashRatio();
    start.toneHz = kToneFrequencies[static_cast<std::size_t>(toneIndex)];
    start.gain = GainOf(volume);
    // The weak characters come first whatever the window's choice: echo practice is for them.
    const CKochCourse lesson(course.order, course.lesson);
    start.echoCharacters = CCharacterWeights(History(), ReactionMedians(records.recognition.Read()))
                               .Weighted(lesson.Characters());
    start.copyText = displayText;
    std::replace_if(
        start.copyText.begin(), start.copyText.end(),
        [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    start.wordList = languageActive ? EnglishWords() : CzechWords();
    start.seed = CRandomSource::TickSeed();
    return start;
}

std::vector<CheckRecord> CMorseSession::History() const {
    return records.history.Read();
}

CStatistikaModel CMorseSession::Statistics() const {
    return CStatistikaModel(History(), records.recognition.Read(), records.callsigns.Read(),
                            records.sending.Read());
}

std::string CMorseSession::PracticeSet(const std::string& set) const {
    if (!course.weakCharacters) {
        return set;
    }
    return CCharacterWeights(History(), ReactionMedians(records.recognition.Read())).Weighted(set);
}

void CMorseSession::SaveCourse() {
    const std::string contents = CCourseFile::Format(course);
    if (MayReplace(files.Course(), contents, true)) {
        WriteFileBytesOrNotify(files.Course(), contents, false, notifier);
    }
}

int CMorseSession::OutputInUse() const {
    return engine.GetOutputKind();
}

std::string CMorseSession::PortName() const {
    return engine.GetPortName();
}

bool CMorseSession::ChooseOutput(int outputKind, const std::string& port) {
    const int previousKind = engine.GetOutputKind();
    const std::string previousPort = engine.GetPortName();
    if (outputKind == kSerialPortOutput) {
        engine.SetPortName(port);
    }
    if (engine.SelectOutput(outputKind)) {
        storedOutput.reset();
        return true;
    }
    notifier.OutputUnusable();
    if (previousKind == kSerialPortOutput) {
        engine.SetPortName(previousPort);
    }
    engine.SelectOutput(previousKind);
    return false;
}

void CMorseSession::SetPortName(const std::string& port) {
    engine.SetPortName(port);
}

bool CMorseSession::SelectStoredOutput(int outputKind) {
    const bool known = outputKind >= kSpeakerOutput && outputKind <= kSerialPortOutput;
    const std::string storedPort = engine.GetPortName();
    storedOutput.reset();
    if (known && engine.SelectOutput(outputKind)) {
        return true;
    }
    if (!engine.OpenDefaultOutput()) {
        notifier.NoOutputAvailable();
        return false;
    }
    // A value no version writes is no choice to keep.
    if (known) {
        storedOutput.emplace(outputKind, storedPort);
        notifier.OutputFallback(outputKind, storedPort, engine.GetOutputKind(),
                                engine.GetPortName());
    }
    return true;
}

int CMorseSession::OutputToStore() const {
    return storedOutput ? storedOutput->first : engine.GetOutputKind();
}

std::string CMorseSession::PortToStore() const {
    return storedOutput ? storedOutput->second : engine.GetPortName();
}

bool CMorseSession::LoadSettings() {
    // An empty file is fourteen empty lines: remember is off.
    const std::optional<std::string> bytes = ReadFileBytes(files.Settings(), EmptyFile::Contents);
    if (!bytes) {
        return true;
    }
    const AppliedSettings applied = ApplySettings(*this, *bytes);
    if (applied.damaged) {
        damagedSettings = *bytes;
    }
    if (applied.remembered && FileExists(files.RememberedText())) {
        LoadRememberedText();
    }
    return applied.outputUsable;
}

void CMorseSession::SaveSettings() {
    // Every file is tried, and each that cannot be written is said. A damaged file read at the
    // start is kept beside the settings that replace it, and is not replaced without that copy.
    if (damagedSettings &&
        WriteFileBytesOrNotify(files.Settings() + ".bak", *damagedSettings, false, notifier)) {
        damagedSettings.reset();
    }
    const std::string settings = FormatSettings(CollectSettings(*this));
    const bool settingsWritten =
        !damagedSettings && MayReplace(files.Settings(), settings, true) &&
        WriteFileBytesOrNotify(files.Settings(), settings, false, notifier);
    const bool lessonKind = kind == kLessonText;
    const int trafficKind = kind >= kWordText ? kind : 0;
    if (course.lessonKind != lessonKind || course.trafficKind != trafficKind) {
        course.lessonKind = lessonKind;
        course.trafficKind = trafficKind;
        SaveCourse();
    }
    // Settings left as they were, unread, leave the text they may remember as it was too.
    const bool settingsKept = unreadable.count(files.Settings()) != 0;
    if (remember) {
        if (!settingsKept && MayReplace(files.RememberedText(), TextFileBytes(false), true)) {
            WriteTextFile(files.RememberedText(), false, false);
        }
    } else if (settingsWritten && unreadable.count(files.RememberedText()) == 0) {
        // Only once the settings say that nothing is remembered: else the next start would
        // look for a text that is gone.
        RemoveFile(files.RememberedText());
    }
    // The last seed is kept for the next run, once there are conditions to keep.
    if (conditionsChanged && (conditions.AnyOn() || FileExists(files.Conditions()))) {
        SaveConditions(false);
    }
}

void CMorseSession::Close() {
    if (!idle) {
        Stop();
    }
    SaveSettings();
}

std::string CMorseSession::LanguageFile(std::string_view name) const {
    return languageActive ? files.Language(name) : std::string();
}

std::string CMorseSession::HelpPage(const std::string& builtIn) const {
    const std::string own = LanguageFile("brumlo.html");
    return !own.empty() && FileExists(own) ? own : builtIn;
}
