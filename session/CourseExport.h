#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ReceptionSettings.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFileFormats.h"

// Rendering a practice text to sound files without a window: the options of the command line,
// the text they name, and the files it becomes. Speeds, tone, ratio and text kinds mean what the
// window's lists mean, and take only the values those lists offer.
struct ExportOptions {
    std::string textFile;  // a text file to render, or empty for a generated text
    int kind = 0;          // a generated text's kind (kLetterText ... kLessonText)
    int lesson = 1;        // the Koch lesson of the lesson kind
    int groups = 50;       // a generated text's number of groups
    int signSpeed = 100;   // characters per minute
    int textSpeed = 60;
    int tone = 600;                     // Hz
    double ratio = 3.0;                 // dash : dot
    std::optional<std::uint32_t> seed;  // the generator's seed; drawn from the clock when absent
    // The seed of the conditions and the fist; the generator's when absent, so that one number
    // gives one sound.
    std::optional<std::uint64_t> soundSeed;
    double splitMinutes = 0;       // 0: one file; otherwise numbered files of at most this long
    bool speak = false;            // each group or word spoken after it
    bool english = false;          // spoken in English rather than Czech
    double pauseBefore = 0.5;      // seconds between a word and its answer
    double pauseAfter = 1.0;       // seconds between an answer and the next word
    ReceptionSettings conditions;  // band conditions and fist, all off by default
    std::vector<double> ladder;    // each group keyed once at each of these times the text speed
    int stepSpeed = 0;             // the text speed raised by this much ...
    double stepMinutes = 0;        // ... every so many minutes
    std::string output;            // the file (or the numbered files' pattern); its extension is
                                   // the format
};

// Whether an answer spells `word` letter by letter rather than say it: a word of the answers'
// language's word list is said, anything else spelled (a group, a callsign, an abbreviation, a
// group of one's own text), whatever kind of text it came from.
bool SpelledAnswer(const std::string& word, bool english);

// `text` with each word repeated once for each rung of the options' ladder.
std::string LadderedText(const ExportOptions& options, const std::string& text);

// The text the options name: the text file's (upper-cased, characters without a code dropped),
// or one generated from the seed. None, with the reason in `error`, when there is no text.
std::optional<std::string> ExportText(const ExportOptions& options, std::string& error);

// The longest sound one file may hold: a file is rendered whole in memory first.
inline constexpr double kMaxFileMinutes = 120;
// The fastest text speed a ladder or a step may reach, in characters per minute.
inline constexpr int kMaxLadderSpeed = 600;

// The files `text` becomes: one, or at word boundaries one per `splitMinutes` of sound, named
// "name-01.ext", "name-02.ext", ..., each titled in its tags. None, with the reason in `error`,
// when one file would last longer than kMaxFileMinutes.
struct ExportFile {
    std::string path;
    std::string text;                                   // the part of the text it holds
    std::vector<CTransmissionTimeline::Speeds> speeds;  // of each of its words
    std::string title;                                  // for its tags; empty for a single file
};
std::optional<std::vector<ExportFile>> PlanExport(const ExportOptions& options,
                                                  const std::string& text, std::string& error);

// The bytes of one planned file; none, with the library's reason in `error`, when it cannot be
// encoded.
std::optional<std::string> RenderExportFile(const ExportOptions& options, const ExportFile& file,
                                            std::string& error);
