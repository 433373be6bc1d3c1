#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/CProgramFiles.h"
#include "core/CSeededRandom.h"
#include "core/KeyingSettings.h"
#include "core/ReceptionSettings.h"
#include "core/SoundOptions.h"
#include "session/CCallsignSession.h"
#include "session/CRecognitionSession.h"
#include "session/CStatistikaModel.h"
#include "session/CVysilaniModel.h"
#include "session/RecordFiles.h"
#include "session/TypedText.h"
#include "text/CMorseText.h"
#include "training/CCourseFile.h"
#include "training/CheckRecord.h"

class CKeyingEngine;
class CNotifier;

// Everything the main window shows, as plain values: the window renders it in one place.
struct SessionView {
    // List indices.
    int kind = kLetterText;
    int toneIndex = 1;
    int textSpeedIndex = 8;
    int signSpeedIndex = 4;
    int ratioIndex = 0;
    // The volume slider's level, 0 to kVolumeMaximum (the top is the loudest).
    int volume = 0;
    // The two character sets and the text display (Windows-1250): its whole text in lines, and
    // how much of it has been sent.
    std::string letters;
    std::string digits;
    std::string displayText;
    std::string sentText;
    // The speed read-outs for the chosen ratio, characters per minute.
    int effectiveTextSpeed = 0;
    int effectiveSignSpeed = 0;
    // The window title (UTF-8).
    std::string title;
    // Check boxes and menu check marks.
    bool hideText = false;
    bool shortZeros = true;
    bool stepping = false;
    bool language = false;
    bool remember = true;
    bool internationalPunctuation = false;
    bool weakCharacters = false;
    // The sending state.
    bool idle = true;
    bool paused = false;
    // Which controls and menus can be used; the Stop button is held down while a stop is awaited.
    bool startEnabled = true;
    bool stopEnabled = false;
    bool stopDown = false;
    bool pauseEnabled = false;
    bool stepEnabled = false;
    bool generateEnabled = true;
    bool kindEnabled = true;
    bool shortZerosEnabled = false;
    bool textCommandsEnabled = true;  // load, save, custom text, add to the print collection
    bool menusEnabled = true;
    bool volumeEnabled = false;
    bool toneEnabled = true;
};

// The main window's state and rules, one operation per user action, and the view of what the
// window shows. Knows no widget: warnings go through the notifier, questions come back as values.
//
// Threads: every operation is called on the user-interface thread, including the engine's reports
// (which the window posts there); Transmission() alone may be read on the engine's threads.
class CMorseSession {
public:
    static constexpr int kVolumeMaximum = 65535;
    // The gain a volume level gives the sound, 0 to 1.
    static float GainOf(int volume) {
        return static_cast<float>(volume) / static_cast<float>(kVolumeMaximum);
    }
    // The letters and digits sets hold at most this many characters, as their edits do.
    static constexpr std::size_t kSetLimit = 255;
    static constexpr std::string_view kBaseTitle = "Brumlo";

    // `engine`, `notifier` and `records` outlive the session.
    CMorseSession(CKeyingEngine& engine, CNotifier& notifier, CProgramFiles files,
                  const RecordFiles& records);
    // A print collection never outlives the run.
    ~CMorseSession();
    CMorseSession(const CMorseSession&) = delete;
    CMorseSession& operator=(const CMorseSession&) = delete;

    // Start-up: the default output, the default choices, the course, then the stored settings.
    // False when no output can be used (the user has been told); the window then closes.
    bool StartUp();

    SessionView View() const;

    // The user's choices of the lists, check boxes and menu check marks.
    void ChooseKind(int kind);
    void ChooseTextSpeed(int index);
    void ChooseSignSpeed(int index);
    void ChooseTone(int index);
    void ChooseRatio(int index);
    void SetVolume(int level);
    void SetShortZeros(bool on);
    void SetHideText(bool on);
    void SetStepping(bool on);
    void SetLanguage(bool on);
    void SetRemember(bool on);
    void SetWeakCharacters(bool on);
    // The international punctuation table (true) or the program's; kept in its own file.
    void SetInternationalPunctuation(bool on);

    // Typed letters: capitals (ASCII only), without digits and characters that have no code
    // (each said); `caret` moves to the last removal. The cleaned text and caret come back.
    using Typed = TypedText;
    Typed TypeLetters(std::string_view typed, int caret);
    // Typed digits: digits only.
    std::string TypeDigits(std::string_view typed);

    void Generate();

    // Sending.
    void Start();
    void Stop();
    void Pause();
    void Step();
    // The engine's reports, tagged with the number of the transmission they belong to; those of
    // an earlier transmission are ignored.
    void OnSentTextChanged(const std::string& sentText, int transmission);
    void OnTransmissionEnded(int transmission);
    int Transmission() const { return transmission.load(std::memory_order_relaxed); }

    // Text files. The folder of the last file dialog; a chosen path moves it.
    const std::string& LastFolder() const { return lastFolder; }
    void RememberFolder(const std::string& path);
    // A text file the user chose becomes the custom text and names itself in the title.
    void LoadTextFile(const std::string& path);
    // Whether there is a text to save (said when not).
    bool CanSaveText();
    void SaveText(const std::string& path);
    bool CanSaveSound();
    // The text as sound at the current speeds, ratio and tone, with the sound options' spoken
    // answers and speed ladder.
    void SaveSound(const std::string& path);
    // How sound files are made beyond the keying, kept in a file of their own and written when
    // the user changes them.
    const SoundOptions& SoundFileOptions() const { return soundOptions; }
    void SetSoundOptions(const SoundOptions& options);
    // The learner's key for sending practice, kept in a file of its own.
    const KeyingSettings& Keying() const { return keying; }
    void SetKeying(const KeyingSettings& settings);
    void AcceptCustomText(const std::string& text);
    // Adds the text to the print collection (said when there is none).
    void AddToPrint();
    // The collection to print: the current text when nothing has been collected; none when there
    // is nothing at all.
    std::optional<std::string> CollectionToPrint();
    void ClearPrintCollection();

    // The copy check: what to check and how it was sent (none, said, when there is nothing or a
    // transmission runs), and the lesson a well copied lesson offers next. A copy is checked
    // against what was sent of the text now shown; before any transmission, against the text
    // shown. When the text shown has changed since the last transmission and has not been sent
    // since, `unsent` says so: the window asks the user before it checks against that text.
    struct CopyCheck {
        std::string sentText;
        CheckRecord record;
        bool unsent = false;
    };
    std::optional<CopyCheck> OpenCopyCheck();
    std::optional<int> TakeCheckResult(const CheckRecord& record, double score) const;
    void AcceptNextLesson(int lesson);

    // The course and the weak characters.
    const CCourseFile::Settings& Course() const { return course; }
    // How instant recognition begins from the window's choices: its speeds, tone, ratio and
    // volume, the course's current lesson, and a fresh seed; the set, limit and wrong-answer tone
    // are the recognition dialog's.
    RecognitionSettings RecognitionStart() const;
    // A callsign run at the window's tone, ratio, sign speed and volume, with the run's step.
    CCallsignSession::Settings CallsignStart() const;
    // Sending practice at the window's sign speed, ratio, tone and volume: echo practice from the
    // course's lesson (the weak characters weighted when they are practised), copy sending of the
    // window's text, words of the captions' language.
    SendingStart SendingPracticeStart() const;
    // Writes `wav` to `path` in the format its extension names, or says why it cannot.
    void WriteSound(const std::string& path, const std::string& wav);
    void ChooseLesson(const std::string& order, int lesson);
    // The sent characters a check needs to offer the next lesson, kept within the course's
    // bounds and stored with the course.
    void SetMinimumSent(int minimumSent);
    std::vector<CheckRecord> History() const;
    // The figures of the statistics window, from the history and the records of the practice
    // modes.
    CStatistikaModel Statistics() const;

    // The reception conditions and the seed: every transmission and sound file is keyed from a
    // seed of its own, drawn anew unless the user has fixed it, and shown as the conditions'
    // seed. The conditions are kept in their own file, written when the user changes them and,
    // with the last seed, at close.
    const ReceptionSettings& Conditions() const { return conditions; }
    // The user's conditions, kept as the conditions file would read them back.
    void SetConditions(const ReceptionSettings& settings);
    // The seed of the last transmission or sound file, or the fixed one.
    std::uint64_t Seed() const { return conditions.seed; }

    // Output: tries the user's choice and goes back to the previous output when it fails.
    bool ChooseOutput(int kind, const std::string& port);
    // The output in use (kSoundCardOutput ...) and the serial port named for it.
    int OutputInUse() const;
    std::string PortName() const;
    void SetPortName(const std::string& port);
    // A stored output, else the default one; false when none can be used (said). A default in
    // place of a stored output that cannot be used is said too, and the stored output stays the
    // one written back until the user chooses an output.
    bool SelectStoredOutput(int kind);
    // The output and port the settings file keeps: the stored ones while a start-up fallback is
    // in use, else the ones in use.
    int OutputToStore() const;
    std::string PortToStore() const;

    // Settings: read at start-up, written at close. Close stops a transmission first.
    bool LoadSettings();
    void SaveSettings();
    void Close();

    // The language file `name` while the language set is active, else empty.
    std::string LanguageFile(std::string_view name) const;
    // The help page to open: the language set's own ("brumlo.html" among its files) while the set
    // is active and has one, else `builtIn`.
    std::string HelpPage(const std::string& builtIn) const;
    const CProgramFiles& Files() const { return files; }
    const CMorseText& CurrentText() const { return currentText; }
    const CMorseText& CustomText() const { return customText; }
    bool IsFileTitleShown() const { return fileTitleShown; }

private:
    void ApplyText(const std::string& text);
    void FinishSending();
    // The dash ratio chosen in the ratio list.
    double DashRatio() const;
    void LoadRememberedText();
    void WriteTextFile(const std::string& path, bool append, bool pad);
    CheckRecord SendingRecord(std::uint64_t seed) const;
    // The seed of a new transmission or sound file.
    std::uint64_t NextSeed();
    // `byUser`: the learner changed the conditions (not only the last seed).
    void SaveConditions(bool byUser);
    // A sound file with spoken answers or a speed ladder; false when it cannot be made (said).
    void SaveCourseSound(const std::string& path, std::uint64_t seed);
    // The engine's spoken answers for the next transmission, as the sound options ask.
    void SetLiveAnswers();
    std::string PracticeSet(const std::string& set) const;
    void SaveCourse();

    CKeyingEngine& engine;
    CNotifier& notifier;
    CProgramFiles files;
    const RecordFiles& records;
    // The bytes of a damaged settings file read at the start, until they are kept as its ".bak".
    std::optional<std::string> damagedSettings;
    // The output the settings file named while another one stands in for it.
    std::optional<std::pair<int, std::string>> storedOutput;
    // Files that were there but could not be read at the start, each with what it would have
    // held then: see MayReplace.
    std::map<std::string, std::string> unreadable;
    // Notes and says the files of the start that are there but cannot be read.
    void FindUnreadableFiles();
    // Whether `path` may now be written with `contents`. A file that could not be read at the
    // start is left as it is until the learner changes what it holds (`byUser` and `contents`
    // other than at the start); it is then moved aside to "name.bak" first.
    bool MayReplace(const std::string& path, const std::string& contents, bool byUser);
    // The text as the text files keep it.
    std::string TextFileBytes(bool pad) const;

    int kind = kLetterText;
    int textSpeedIndex = 8;
    int signSpeedIndex = 4;
    int toneIndex = 1;
    int ratioIndex = 0;
    int volume = kVolumeMaximum;
    std::string letterSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string digitSet = "1234567890";
    int effectiveTextSpeed = 0;
    int effectiveSignSpeed = 0;

    std::string displayText;
    std::string sentText;
    std::string lastFolder;
    bool idle = true;
    bool paused = false;
    bool stopDown = false;
    bool remember = true;
    bool languageActive = false;
    bool stepping = false;
    bool hideText = false;
    bool shortZeros = true;
    bool customMode = false;
    bool fileTitleShown = false;
    std::string fileTitle;
    CMorseText currentText;
    CMorseText customText;
    // Written before a transmission's threads start, read by them: a report carries the number.
    std::atomic<int> transmission{0};
    // What the last transmission sent, and how: the text of a copy check. `lastSource` is the
    // whole text it was sending, so that a check can tell whether the text shown is still that.
    std::string lastSentText;
    std::string lastSource;
    bool anySent = false;
    CheckRecord lastSending;
    bool stoppedEarly = false;
    CCourseFile::Settings course;
    ReceptionSettings conditions;
    SoundOptions soundOptions;
    KeyingSettings keying;
    // Changed since it was read or written.
    bool conditionsChanged = false;
    // Draws the seeds that are not fixed.
    CSeededRandom seeds;
};
