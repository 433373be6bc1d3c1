#include "session/CourseExport.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <sstream>

#include "core/AsciiText.h"
#include "core/CNotifier.h"
#include "core/Timing.h"
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
// A generated text of the window has 300 characters; a course asks for more groups than that.
constexpr int kMaxGroups = 20000;
constexpr double kMaxPauseSeconds = 60;
// The fastest text speed a ladder or a step may reach, in characters per minute.
constexpr int kMaxLadderSpeed = 600;
constexpr double kLowestRung = 0.25;
constexpr double kHighestRung = 4;
constexpr std::size_t kMostRungs = 10;

struct KindName {
    const char* name;
    int kind;
};
constexpr KindName kKinds[] = {{"letters", kLetterText},     {"digits", kDigitText},
                               {"mixed", kMixedText},        {"cipher", kCipherText},
                               {"lesson", kLessonText},      {"words", kWordText},
                               {"callsigns", kCallsignText}, {"abbreviations", kAbbreviationText},
                               {"contacts", kContactText}};

struct FistName {
    const char* name;
    FistKind kind;
};
constexpr FistName kFists[] = {{"none", FistKind::kNone},
                               {"good", FistKind::kGoodHand},
                               {"straight", FistKind::kStraightKey},
                               {"bug", FistKind::kBug}};

template <typename T>
std::optional<T> Number(const std::string& text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

template <std::size_t N>
std::string Listed(const std::array<int, N>& values) {
    std::string listed;
    for (const int v : values) {
        listed += (listed.empty() ? "" : ", ") + std::to_string(v);
    }
    return listed;
}

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

std::string ExportUsage() {
    return "usage: brumlo-export [--text FILE | --kind KIND [--lesson N] [--groups N]]\n"
           "                     [--sign-speed CPM] [--text-speed CPM] [--tone HZ] [--ratio R]\n"
           "                     [--seed N] [--split-minutes M]\n"
           "                     [--language cs|en] [--speak [--pause-before S] [--pause-after "
           "S]]\n"
           "                     [--ladder F,F,... | --step CPM --every MINUTES]\n"
           "                     [--snr DB] [--fading] [--qrn] [--qrm N] [--fist NAME]\n"
           "                     -o FILE\n"
           "KIND: letters, digits, mixed, cipher, lesson, words, callsigns, abbreviations,\n"
           "contacts; NAME: none, good, straight, bug; FILE's extension chooses the format:\n"
           ".wav, .flac, .ogg, .opus, .mp3\n";
}

ExportArguments ParseExportArguments(const std::vector<std::string>& arguments) {
    ExportArguments result;
    ExportOptions options;
    bool kindGiven = false;
    const auto fail = [&result](const std::string& message) {
        result.error = message;
        return result;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "-h" || name == "--help") {
            result.help = true;
            return result;
        }
        if (name == "--speak" || name == "--fading" || name == "--qrn") {
            (name == "--speak"    ? options.speak
             : name == "--fading" ? options.conditions.fading
                                  : options.conditions.staticCrashes) = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            return fail(name.rfind('-', 0) == 0 ? "option " + name + " needs a value"
                                                : "unexpected argument: " + name);
        }
        const std::string& value = arguments[++i];
        const auto whole = Number<int>(value);
        if (name == "--text") {
            options.textFile = value;
        } else if (name == "-o" || name == "--output") {
            options.output = value;
        } else if (name == "--kind") {
            const auto* found =
                std::find_if(std::begin(kKinds), std::end(kKinds),
                             [&value](const KindName& k) { return value == k.name; });
            if (found == std::end(kKinds)) {
                return fail("unknown text kind: " + value +
                            " (letters, digits, mixed, cipher, lesson, words, callsigns, "
                            "abbreviations or contacts)");
            }
            options.kind = found->kind;
            kindGiven = true;
        } else if (name == "--lesson") {
            const int lessons = static_cast<int>(CKochCourse::DefaultOrder().size()) - 1;
            if (!whole || *whole < 1 || *whole > lessons) {
                return fail("--lesson takes a lesson from 1 to " + std::to_string(lessons) + ": " +
                            value);
            }
            options.lesson = *whole;
        } else if (name == "--groups") {
            if (!whole || *whole < 1 || *whole > kMaxGroups) {
                return fail("--groups takes a number from 1 to " + std::to_string(kMaxGroups) +
                            ": " + value);
            }
            options.groups = *whole;
        } else if (name == "--sign-speed" || name == "--text-speed") {
            const bool sign = name == "--sign-speed";
            const bool listed = whole && (sign ? std::ranges::count(kSignSpeeds, *whole)
                                               : std::ranges::count(kTextSpeeds, *whole)) > 0;
            if (!listed) {
                return fail(name + " takes one of " +
                            (sign ? Listed(kSignSpeeds) : Listed(kTextSpeeds)) + ": " + value);
            }
            (sign ? options.signSpeed : options.textSpeed) = *whole;
        } else if (name == "--tone") {
            if (!whole || std::ranges::count(kToneFrequencies, *whole) == 0) {
                return fail("--tone takes one of " + Listed(kToneFrequencies) + ": " + value);
            }
            options.tone = *whole;
        } else if (name == "--ratio") {
            const auto ratio = Number<double>(value);
            const auto* found =
                ratio ? std::find_if(kDashRatios.begin(), kDashRatios.end(),
                                     [&ratio](double r) { return std::abs(r - *ratio) < 1e-9; })
                      : kDashRatios.end();
            if (found == kDashRatios.end()) {
                return fail("--ratio takes 3.0, 3.1, ... 4.0: " + value);
            }
            options.ratio = *found;
        } else if (name == "--seed") {
            const auto seed = Number<std::uint32_t>(value);
            if (!seed) {
                return fail("--seed takes a number from 0 to 4294967295: " + value);
            }
            options.seed = *seed;
        } else if (name == "--language") {
            if (value != "cs" && value != "en") {
                return fail("--language takes cs or en: " + value);
            }
            options.english = value == "en";
        } else if (name == "--pause-before" || name == "--pause-after") {
            const auto seconds = Number<double>(value);
            if (!seconds || !(*seconds >= 0) || *seconds > kMaxPauseSeconds) {
                return fail(name + " takes seconds from 0 to " +
                            std::to_string(static_cast<int>(kMaxPauseSeconds)) + ": " + value);
            }
            (name == "--pause-before" ? options.pauseBefore : options.pauseAfter) = *seconds;
        } else if (name == "--snr") {
            if (!whole || *whole < ReceptionSettings::kLowestSnrDb ||
                *whole > ReceptionSettings::kHighestSnrDb) {
                return fail("--snr takes decibels from -10 to 30: " + value);
            }
            options.conditions.noise = true;
            options.conditions.snrDb = *whole;
        } else if (name == "--qrm") {
            if (!whole || *whole < 0 || *whole > ReceptionSettings::kMostStations) {
                return fail("--qrm takes 0 to 5 interfering stations: " + value);
            }
            options.conditions.interference = *whole > 0;
            options.conditions.stations = *whole;
        } else if (name == "--fist") {
            const auto* found =
                std::find_if(std::begin(kFists), std::end(kFists),
                             [&value](const FistName& f) { return value == f.name; });
            if (found == std::end(kFists)) {
                return fail("unknown fist: " + value + " (none, good, straight or bug)");
            }
            options.conditions.fist = found->kind;
        } else if (name == "--ladder") {
            options.ladder.clear();
            std::string rung;
            for (const char c : value + ",") {
                if (c != ',') {
                    rung += c;
                    continue;
                }
                const auto factor = Number<double>(rung);
                if (!factor || !(*factor >= kLowestRung) || *factor > kHighestRung ||
                    options.ladder.size() == kMostRungs) {
                    return fail("--ladder takes up to " + std::to_string(kMostRungs) +
                                " factors of the text speed from 0.25 to 4, such as "
                                "1,1.175,1.35,1.5: " +
                                value);
                }
                options.ladder.push_back(*factor);
                rung.clear();
            }
        } else if (name == "--step") {
            if (!whole || *whole < 1 || *whole > kMaxLadderSpeed) {
                return fail("--step takes characters per minute from 1 to " +
                            std::to_string(kMaxLadderSpeed) + ": " + value);
            }
            options.stepSpeed = *whole;
        } else if (name == "--every") {
            const auto minutes = Number<double>(value);
            if (!minutes || !(*minutes > 0) || *minutes > kMaxFileMinutes) {
                return fail("--every takes minutes above 0: " + value);
            }
            options.stepMinutes = *minutes;
        } else if (name == "--split-minutes") {
            const auto minutes = Number<double>(value);
            if (!minutes || !(*minutes > 0) || *minutes > kMaxFileMinutes) {
                return fail("--split-minutes takes a number of minutes above 0, at most " +
                            std::to_string(static_cast<int>(kMaxFileMinutes)) + ": " + value);
            }
            options.splitMinutes = *minutes;
        } else {
            return fail("unknown option: " + name);
        }
    }
    if (options.output.empty()) {
        return fail("no output file: give -o FILE");
    }
    if (!soundfile::FormatOfPath(options.output)) {
        return fail(
            "the output file's extension names no format (.wav, .flac, .ogg, .opus, "
            ".mp3): " +
            options.output);
    }
    if ((options.stepSpeed > 0) != (options.stepMinutes > 0)) {
        return fail("--step and --every go together");
    }
    if (!options.ladder.empty() && options.stepSpeed > 0) {
        return fail("--ladder and --step exclude each other");
    }
    if (!options.textFile.empty() && kindGiven) {
        return fail("--text and --kind exclude each other");
    }
    result.options = options;
    return result;
}

std::optional<std::string> ExportText(const ExportOptions& options, std::string& error) {
    if (!options.textFile.empty()) {
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
    if (options.splitMinutes <= 0 && LengthUnits(options, words, speeds, 0, words.size()) > limit) {
        error = "the sound would last over " + std::to_string(static_cast<int>(kMaxFileMinutes)) +
                " minutes: split it with --split-minutes";
        return std::nullopt;
    }
    // The parts: as many words as fit the time each, at least one.
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    if (options.splitMinutes <= 0) {
        parts.emplace_back(0, words.size());
    } else {
        for (std::size_t first = 0; first < words.size();) {
            std::size_t low = 1;
            std::size_t high = words.size() - first;
            while (low < high) {
                const std::size_t middle = (low + high + 1) / 2;
                if (LengthUnits(options, words, speeds, first, middle) <= limit) {
                    low = middle;
                } else {
                    high = middle - 1;
                }
            }
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

bool SpelledAnswers(const ExportOptions& options) {
    return options.textFile.empty() && options.kind != kCustomText && options.kind != kWordText &&
           options.kind != kAbbreviationText && options.kind != kContactText;
}

std::optional<std::string> RenderExportFile(const ExportOptions& options, const ExportFile& file,
                                            std::string& error) {
    const CTransmissionTimeline timeline = TimelineOf(options, file.text, file.speeds);
    const std::string wav =
        soundfile::RenderWav(timeline, options.tone, 1.0F, options.conditions, SoundSeed(options));
    std::vector<std::int16_t> samples = soundfile::SamplesOfWav(wav);
    if (options.speak) {
        const bool spell = SpelledAnswers(options);
        const CSpeech::Language language =
            options.english ? CSpeech::Language::English : CSpeech::Language::Czech;
        // A group on a ladder is answered once, after its last rung.
        const std::size_t rungs = std::max<std::size_t>(1, options.ladder.size());
        std::size_t said = 0;
        samples = soundfile::WithSpokenWords(
            samples, timeline, file.text, {options.pauseBefore, options.pauseAfter},
            [spell, language, rungs, &said](const std::string& word) {
                return ++said % rungs == 0 ? CSpeech::Speak(word, language, spell)
                                           : std::vector<float>();
            });
    }
    return soundfile::Encode(
        samples, CToneRenderer::kSampleRate,
        soundfile::FormatOfPath(options.output).value_or(soundfile::Format::Wav), &error,
        file.title);
}
