#include "app/ExportArguments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/CFist.h"
#include "core/Timing.h"
#include "engine/SoundFileFormats.h"
#include "text/CMorseText.h"
#include "training/CKochCourse.h"

namespace {

// A generated text of the window has 300 characters; a course asks for more groups than that.
constexpr int kMaxGroups = 20000;
constexpr double kMaxPauseSeconds = 60;
// A ladder's rungs: factors of the text speed.
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
struct PresetName {
    const char* name;
    FadingPreset preset;
};
constexpr PresetName kPresets[] = {{"quiet", kFadingPresets[0]},
                                   {"moderate", kFadingPresets[1]},
                                   {"disturbed", kFadingPresets[2]},
                                   {"flutter", kFadingPresets[3]}};

struct AgcName {
    const char* name;
    ReceptionSettings::Agc agc;
};
constexpr AgcName kAgcs[] = {{"off", ReceptionSettings::Agc::kOff},
                             {"fast", ReceptionSettings::Agc::kFast},
                             {"slow", ReceptionSettings::Agc::kSlow}};

template <typename T, std::size_t N>
const T* Named(const T (&table)[N], const std::string& value) {
    const T* found = std::find_if(std::begin(table), std::end(table),
                                  [&value](const T& entry) { return value == entry.name; });
    return found == std::end(table) ? nullptr : found;
}

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

}  // namespace

std::string ExportUsage() {
    return "usage: brumlo-export [--text FILE | --kind KIND [--lesson N] [--groups N]]\n"
           "                     [--sign-speed CPM] [--text-speed CPM] [--tone HZ] [--ratio R]\n"
           "                     [--seed N] [--split-minutes M]\n"
           "                     [--language cs|en] [--speak [--pause-before S] [--pause-after "
           "S]]\n"
           "                     [--ladder F,F,... | --step CPM --every MINUTES]\n"
           "                     [--snr DB] [--filter HZ] [--agc off|fast|slow]\n"
           "                     [--fading] [--fading-preset PRESET] [--fading-spread HZ]\n"
           "                     [--fading-depth PERCENT] [--multipath MS]\n"
           "                     [--qrn] [--qrn-rate N] [--qrm N [--zero-beat] [--pile-up]]\n"
           "                     [--chirp HZ] [--clicks] [--fist NAME]\n"
           "                     -o FILE\n"
           "KIND: letters, digits, mixed, cipher, lesson, words, callsigns, abbreviations,\n"
           "contacts; NAME: none, good, straight, bug; PRESET: quiet, moderate, disturbed,\n"
           "flutter; FILE's extension chooses the format: .wav, .flac, .ogg, .opus, .mp3\n";
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
        if (name == "--speak" || name == "--fading" || name == "--qrn" || name == "--clicks" ||
            name == "--zero-beat" || name == "--pile-up") {
            (name == "--speak"       ? options.speak
             : name == "--fading"    ? options.conditions.fading
             : name == "--qrn"       ? options.conditions.staticCrashes
             : name == "--clicks"    ? options.conditions.keyClicks
             : name == "--zero-beat" ? options.conditions.zeroBeat
                                     : options.conditions.pileUp) = true;
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
                return fail("--snr takes whole decibels from -10 to 30: " + value);
            }
            options.conditions.noise = true;
            options.conditions.snrDb = *whole;
        } else if (name == "--qrm") {
            if (!whole || *whole < 0 || *whole > ReceptionSettings::kMostStations) {
                return fail("--qrm takes a whole number of interfering stations, 0 to 5: " + value);
            }
            options.conditions.interference = *whole > 0;
            options.conditions.stations = *whole;
        } else if (name == "--filter") {
            if (!whole || *whole < ReceptionSettings::kNarrowestFilterHz ||
                *whole > ReceptionSettings::kWidestFilterHz) {
                return fail("--filter takes whole hertz from 100 to 3000: " + value);
            }
            options.conditions.filterHz = *whole;
        } else if (name == "--agc") {
            const AgcName* agc = Named(kAgcs, value);
            if (agc == nullptr) {
                return fail("--agc takes off, fast or slow: " + value);
            }
            options.conditions.agc = agc->agc;
        } else if (name == "--fading-preset") {
            const PresetName* preset = Named(kPresets, value);
            if (preset == nullptr) {
                return fail("--fading-preset takes quiet, moderate, disturbed or flutter: " +
                            value);
            }
            options.conditions.fading = true;
            options.conditions.fadingSpreadCentihertz = preset->preset.spreadCentihertz;
            options.conditions.pathDelayMicroseconds = preset->preset.pathDelayMicroseconds;
        } else if (name == "--fading-spread") {
            const auto hertz = Number<double>(value);
            if (!hertz || !(*hertz >= 0.01) || *hertz > 20) {
                return fail("--fading-spread takes hertz from 0.01 to 20, with a decimal point: " + value);
            }
            options.conditions.fading = true;
            options.conditions.fadingSpreadCentihertz = static_cast<int>(std::lround(*hertz * 100));
        } else if (name == "--fading-depth") {
            if (!whole || *whole < 0 || *whole > 100) {
                return fail("--fading-depth takes a whole per cent from 0 to 100: " + value);
            }
            options.conditions.fading = true;
            options.conditions.fadingDepthPercent = *whole;
        } else if (name == "--multipath") {
            const auto milliseconds = Number<double>(value);
            if (!milliseconds || !(*milliseconds >= 0) || *milliseconds > 5) {
                return fail("--multipath takes a second path's delay from 0 to 5 ms, with a decimal point: " + value);
            }
            options.conditions.fading = true;
            options.conditions.pathDelayMicroseconds =
                static_cast<int>(std::lround(*milliseconds * 1000));
        } else if (name == "--qrn-rate") {
            if (!whole || *whole < ReceptionSettings::kLowestStaticRate ||
                *whole > ReceptionSettings::kHighestStaticRate) {
                return fail("--qrn-rate takes a whole number of crashes a minute, 1 to 600: " + value);
            }
            options.conditions.staticCrashes = true;
            options.conditions.staticPerMinute = *whole;
        } else if (name == "--chirp") {
            if (!whole || *whole < 1 || *whole > ReceptionSettings::kHighestChirpHz) {
                return fail("--chirp takes whole hertz from 1 to 200: " + value);
            }
            options.conditions.chirp = true;
            options.conditions.chirpHz = *whole;
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
    if ((options.conditions.zeroBeat || options.conditions.pileUp) &&
        !options.conditions.interference) {
        return fail("--zero-beat and --pile-up go with --qrm N");
    }
    if (!options.textFile.empty() && kindGiven) {
        return fail("--text and --kind exclude each other");
    }
    result.options = options;
    return result;
}
