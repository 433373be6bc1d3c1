#include "session/CourseExport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "core/AsciiText.h"
#include "core/CNotifier.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "engine/SpokenAnswers.h"
#include "output/CSpeech.h"
#include "output/CToneRenderer.h"
#include "text/CMorseText.h"
#include "text/CTrafficText.h"
#include "text/TextFile.h"
#include "text/WordLists.h"
#include "training/CKochCourse.h"

namespace {

constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kDigits = "1234567890";

// Notes that characters without a code were dropped, and nothing else.
class CDroppedNotifier : public CSilentNotifier {
public:
    void UnsupportedCharactersRemoved() override { dropped = true; }
    bool dropped = false;
};

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string Joined(const std::vector<std::string>& words, std::size_t first, std::size_t count) {
    std::string joined;
    for (std::size_t i = first; i < first + count; ++i) {
        joined += (i == first ? "" : " ") + words[i];
    }
    return joined;
}

using Speeds = CTransmissionTimeline::Speeds;

// The seed of the conditions and the fist: the text's seed, so that one number gives one sound.
std::uint64_t SoundSeed(const ExportOptions& options) {
    return options.soundSeed.value_or(options.seed.value_or(1));
}

CTransmissionTimeline TimelineOf(const ExportOptions& options, const std::string& text,
                                 const std::vector<Speeds>& speeds) {
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kCustomText);
    std::optional<CFist> fist;
    if (options.conditions.fist != FistKind::kNone) {
        fist = CFist::OfTransmission(options.conditions.fist, SoundSeed(options));
    }
    return {morse, speeds, options.ratio, fist};
}

std::int64_t LengthUnits(const ExportOptions& options, const std::vector<std::string>& words,
                         const std::vector<Speeds>& speeds, std::size_t first, std::size_t count) {
    const std::vector<Speeds> slice(speeds.begin() + static_cast<std::ptrdiff_t>(first),
                                    speeds.begin() + static_cast<std::ptrdiff_t>(first + count));
    return TimelineOf(options, Joined(words, first, count), slice).EndUnits();
}

// Whether the sound of `words` surely lasts longer than `limit`: summed a few thousand words at a
// time, so that a text many times too long is refused after a small part of it, in memory of that
// part's size. Each part's fist begins afresh, which moves the sum by far less than the margin.
bool SurelyLongerThan(const ExportOptions& options, const std::vector<std::string>& words,
                      const std::vector<Speeds>& speeds, std::int64_t limit) {
    constexpr std::size_t kPartWords = 4096;
    std::int64_t sum = 0;
    for (std::size_t first = 0; first < words.size(); first += kPartWords) {
        const std::size_t count = std::min(kPartWords, words.size() - first);
        sum += LengthUnits(options, words, speeds, first, count);
        if (sum > 2 * limit) {
            return true;
        }
    }
    return false;
}

// The most words from `first` on whose sound lasts at most `limit` (one at least). The search
// steps away from `guess` by doubling steps and then halves the bracket, so that a good guess
// costs two timelines and a poor one a few more: planning grows with the text, not with its
// square.
std::size_t LargestFitting(const ExportOptions& options, const std::vector<std::string>& words,
                           const std::vector<Speeds>& speeds, std::size_t first, std::size_t guess,
                           std::int64_t limit) {
    const auto fits = [&](std::size_t count) {
        return LengthUnits(options, words, speeds, first, count) <= limit;
    };
    const std::size_t remaining = words.size() - first;
    std::size_t low = 0;           // fits, or 0 while none is known to
    std::size_t high = remaining;  // no count above it fits
    std::size_t probe = std::clamp<std::size_t>(guess, 1, remaining);
    std::size_t step = 1;
    if (fits(probe)) {
        low = probe;
        while (low < high) {
            probe = std::min(high, low + step);
            if (!fits(probe)) {
                high = probe - 1;
                break;
            }
            low = probe;
            step *= 2;
        }
    } else {
        high = probe - 1;
        while (high >= 1) {
            probe = high > step ? high - step : 1;
            if (fits(probe)) {
                low = probe;
                break;
            }
            high = probe - 1;
            step *= 2;
        }
    }
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return std::max<std::size_t>(1, low);
}

}  // namespace

std::string LadderedText(const ExportOptions& options, const std::string& text) {
    if (options.ladder.size() < 2) {
        return text;
    }
    std::vector<std::string> repeated;
    for (const std::string& word : Words(text)) {
        repeated.insert(repeated.end(), options.ladder.size(), word);
    }
    return Joined(repeated, 0, repeated.size());
}

namespace {

Speeds Raised(const ExportOptions& options, int textSpeed) {
    const int text = std::clamp(textSpeed, 1, kMaxLadderSpeed);
    return {std::max(options.signSpeed, text), text};
}

// The speeds of every word of the course: the same throughout, a ladder's rungs in turn, or one
// step faster after every so many minutes (of the course so far, at its own speeds).
std::vector<Speeds> CourseSpeeds(const ExportOptions& options,
                                 const std::vector<std::string>& words) {
    std::vector<Speeds> speeds(words.size(), Speeds{options.signSpeed, options.textSpeed});
    if (!options.ladder.empty()) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            const double factor = options.ladder[i % options.ladder.size()];
            speeds[i] = Raised(options, static_cast<int>(std::lround(options.textSpeed * factor)));
        }
    } else if (options.stepSpeed > 0 && options.stepMinutes > 0) {
        const auto step = static_cast<std::int64_t>(options.stepMinutes * 60 * 1e7);
        std::int64_t elapsed = 0;
        for (std::size_t i = 0; i < words.size(); ++i) {
            const auto level = static_cast<int>(elapsed / step);
            speeds[i] = Raised(options, options.textSpeed + level * options.stepSpeed);
            // The word and its gap at these speeds: its own timeline less an empty one's.
            const std::vector<Speeds> at{speeds[i]};
            elapsed += TimelineOf(options, words[i] + " ", at).EndUnits() -
                       TimelineOf(options, "", at).EndUnits();
        }
    }
    return speeds;
}

std::string NumberedPath(const std::string& path, std::size_t number, std::size_t count) {
    const std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        dot = path.size();
    }
    const int digits = std::max(2, static_cast<int>(std::to_string(count).size()));
    std::string numeral = std::to_string(number);
    numeral.insert(
        0, static_cast<std::size_t>(std::max(0, digits - static_cast<int>(numeral.size()))), '0');
    return path.substr(0, dot) + "-" + numeral + path.substr(dot);
}

}  // namespace

std::optional<std::string> ExportText(const ExportOptions& options, std::string& error) {
    if (!options.textFile.empty()) {
        // Counted, not read: a larger text would be cut where reading stops.
        std::error_code sizeError;
        const std::uintmax_t size = std::filesystem::file_size(options.textFile, sizeError);
        if (!sizeError && size > kMaxFileBytes) {
            error = "the text file is larger than " + std::to_string(kMaxFileBytes >> 20) +
                    " MiB: " + options.textFile;
            return std::nullopt;
        }
        const std::optional<std::string> bytes = ReadFileBytes(options.textFile);
        if (!bytes) {
            error = "cannot read the text file (missing, empty or unreadable): " + options.textFile;
            return std::nullopt;
        }
        // A course file may be long and in lines: every line break separates words.
        std::string text = AsciiUpper(*bytes);
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; },
            ' ');
        CMorseText morse;
        morse.SetText(text);
        CDroppedNotifier dropped;
        morse.RemoveUnsupported(dropped);
        const std::vector<std::string> words = Words(morse.GetText());
        if (words.empty()) {
            error = "the text file holds nothing to key: " + options.textFile;
            return std::nullopt;
        }
        return LadderedText(options, Joined(words, 0, words.size()));
    }
    std::uint32_t seed = options.seed.value_or(
        static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::vector<std::string> groups;
    while (groups.size() < static_cast<std::size_t>(options.groups)) {
        std::string generated;
        if (options.kind == kLessonText) {
            const CKochCourse course(CKochCourse::DefaultOrder(), options.lesson);
            generated = course.Generate(course.DrawingSet(), seed);
        } else if (options.kind == kWordText) {
            generated = CTrafficText::Words(options.english ? EnglishWords() : CzechWords(), seed);
        } else if (options.kind == kCallsignText) {
            generated = CTrafficText::Callsigns(seed);
        } else if (options.kind == kAbbreviationText) {
            generated = CTrafficText::Abbreviations(seed);
        } else if (options.kind == kContactText) {
            generated = CTrafficText::Contacts(seed);
        } else {
            const std::string set = options.kind == kLetterText  ? std::string(kLetters)
                                    : options.kind == kDigitText ? std::string(kDigits)
                                                                 : std::string(kLetters) + kDigits;
            generated = CMorseText::Generate(set, options.kind, seed);
        }
        const std::vector<std::string> more = Words(generated);
        if (more.empty()) {
            error = "nothing to generate";
            return std::nullopt;
        }
        groups.insert(groups.end(), more.begin(), more.end());
        ++seed;
    }
    return LadderedText(options, Joined(groups, 0, static_cast<std::size_t>(options.groups)));
}

std::optional<std::vector<ExportFile>> PlanExport(const ExportOptions& options,
                                                  const std::string& text, std::string& error) {
    const std::vector<std::string> words = Words(text);
    const std::vector<Speeds> speeds = CourseSpeeds(options, words);
    const double minutes = options.splitMinutes > 0 ? options.splitMinutes : kMaxFileMinutes;
    const auto limit = static_cast<std::int64_t>(minutes * 60 * 1e7);
    if (options.splitMinutes <= 0 &&
        (SurelyLongerThan(options, words, speeds, limit) ||
         LengthUnits(options, words, speeds, 0, words.size()) > limit)) {
        error = "the sound would last over " + std::to_string(static_cast<int>(kMaxFileMinutes)) +
                " minutes: split it with --split-minutes";
        return std::nullopt;
    }
    // The parts: as many words as fit the time each, at least one.
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    if (options.splitMinutes <= 0) {
        parts.emplace_back(0, words.size());
    } else {
        // Parts are alike: each search starts from the last part's length.
        std::size_t guess = 1;
        for (std::size_t first = 0; first < words.size();) {
            std::size_t low = LargestFitting(options, words, speeds, first, guess, limit);
            guess = low;
            // A group's rungs stay in one file.
            const std::size_t rungs = std::max<std::size_t>(1, options.ladder.size());
            low = std::min(std::max(rungs, low - low % rungs), words.size() - first);
            parts.emplace_back(first, low);
            first += low;
        }
    }
    std::vector<ExportFile> files;
    const bool numbered = parts.size() > 1;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        files.push_back(
            {numbered ? NumberedPath(options.output, p + 1, parts.size()) : options.output,
             Joined(words, parts[p].first, parts[p].second),
             {speeds.begin() + static_cast<std::ptrdiff_t>(parts[p].first),
              speeds.begin() + static_cast<std::ptrdiff_t>(parts[p].first + parts[p].second)},
             numbered ? "Brumlo " + std::to_string(p + 1) + "/" + std::to_string(parts.size())
                      : std::string()});
    }
    return files;
}

bool SpelledAnswer(const std::string& word, bool english) {
    return !IsListedWord(AsciiUpper(word), english);
}

std::optional<std::string> RenderExportFile(const ExportOptions& options, const ExportFile& file,
                                            std::string& error) {
    const CTransmissionTimeline timeline = TimelineOf(options, file.text, file.speeds);
    const std::string wav =
        soundfile::RenderWav(timeline, options.tone, 1.0F, options.conditions, SoundSeed(options));
    std::vector<std::int16_t> samples = soundfile::SamplesOfWav(wav);
    if (options.speak) {
        const bool english = options.english;
        const CSpeech::Language language =
            options.english ? CSpeech::Language::English : CSpeech::Language::Czech;
        // A group on a ladder is answered once, after its last rung.
        const std::size_t rungs = std::max<std::size_t>(1, options.ladder.size());
        std::size_t said = 0;
        samples = soundfile::WithSpokenWords(
            samples, timeline, file.text, {options.pauseBefore, options.pauseAfter},
            [english, language, rungs, &said](const std::string& word) {
                return ++said % rungs == 0
                           ? CSpeech::Speak(word, language, SpelledAnswer(word, english))
                           : std::vector<float>();
            });
    }
    return soundfile::Encode(
        samples, CToneRenderer::kSampleRate,
        soundfile::FormatOfPath(options.output).value_or(soundfile::Format::Wav), &error,
        file.title);
}
