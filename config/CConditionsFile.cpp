#include "config/CConditionsFile.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "core/KeyValueLines.h"
#include "text/TextFile.h"

namespace {

// Longer lines are no line this program wrote.
constexpr std::size_t kMaxLineBytes = 64;

void ReadInt(std::string_view value, int low, int high, int& number) {
    ReadNumber(value, low, high, number);
}

std::string Flag(bool flag) {
    return flag ? "1" : "0";
}

}  // namespace

CConditionsFile::CConditionsFile(std::string filePath) : path(std::move(filePath)) {}

ReceptionSettings CConditionsFile::Read() const {
    return Parse(ReadFileBytes(path).value_or(std::string()));
}

bool CConditionsFile::Write(const ReceptionSettings& settings) const {
    return WriteFileBytes(path, Format(settings), false);
}

ReceptionSettings CConditionsFile::Parse(std::string_view bytes) {
    using Limits = ReceptionSettings;
    ReceptionSettings settings;
    bool spreadRead = false;
    bool periodRead = false;
    ForEachLine(bytes, [&](std::string_view line) {
        const auto keyAndValue = KeyAndValue(line, kMaxLineBytes);
        if (!keyAndValue) {
            return;
        }
        const auto [key, value] = *keyAndValue;
        if (key == "sum") {
            ReadFlag(value, settings.noise);
        } else if (key == "snr") {
            ReadInt(value, Limits::kLowestSnrDb, Limits::kHighestSnrDb, settings.snrDb);
        } else if (key == "filtr") {
            ReadInt(value, Limits::kNarrowestFilterHz, Limits::kWidestFilterHz, settings.filterHz);
        } else if (key == "unik") {
            ReadFlag(value, settings.fading);
        } else if (key == "hloubka") {
            ReadInt(value, 0, 100, settings.fadingDepthPercent);
        } else if (key == "perioda") {
            periodRead = ReadNumber(value, Limits::kShortestFadingSeconds,
                                    Limits::kLongestFadingSeconds, settings.fadingSeconds) ||
                         periodRead;
        } else if (key == "rozptyl") {
            spreadRead =
                ReadNumber(value, Limits::kLeastSpreadCentihertz, Limits::kMostSpreadCentihertz,
                           settings.fadingSpreadCentihertz) ||
                spreadRead;
        } else if (key == "cesta") {
            ReadInt(value, 0, Limits::kLongestPathDelayMicroseconds,
                    settings.pathDelayMicroseconds);
        } else if (key == "agc") {
            int agc = 0;
            if (ReadNumber(value, 0, static_cast<int>(ReceptionSettings::Agc::kSlow), agc)) {
                settings.agc = static_cast<ReceptionSettings::Agc>(agc);
            }
        } else if (key == "zazneje") {
            ReadFlag(value, settings.zeroBeat);
        } else if (key == "pileup") {
            ReadFlag(value, settings.pileUp);
        } else if (key == "praskani") {
            ReadFlag(value, settings.staticCrashes);
        } else if (key == "zaminutu") {
            ReadInt(value, Limits::kLowestStaticRate, Limits::kHighestStaticRate,
                    settings.staticPerMinute);
        } else if (key == "ruseni") {
            ReadFlag(value, settings.interference);
        } else if (key == "stanice") {
            ReadInt(value, 0, Limits::kMostStations, settings.stations);
        } else if (key == "chirp") {
            ReadFlag(value, settings.chirp);
        } else if (key == "chirphz") {
            ReadInt(value, 0, Limits::kHighestChirpHz, settings.chirpHz);
        } else if (key == "kliksy") {
            ReadFlag(value, settings.keyClicks);
        } else if (key == "rukopis") {
            int fist = 0;
            if (ReadNumber(value, 0, static_cast<int>(FistKind::kBug), fist)) {
                settings.fist = static_cast<FistKind>(fist);
            }
        } else if (key == "pevnesemeno") {
            ReadFlag(value, settings.fixedSeed);
        } else if (key == "semeno") {
            ReadNumber<std::uint64_t>(value, 0, std::numeric_limits<std::uint64_t>::max(),
                                      settings.seed);
        }
    });
    if (periodRead && !spreadRead) {
        // Written by an older version: its fades came at this mean period, on one path.
        settings.fadingSpreadCentihertz =
            ReceptionSettings::SpreadCentihertzFor(settings.fadingSeconds);
        settings.pathDelayMicroseconds = 0;
    }
    settings.fadingSeconds = ReceptionSettings::FadingSecondsFor(settings.fadingSpreadCentihertz);
    return settings;
}

std::string CConditionsFile::Format(const ReceptionSettings& settings) {
    std::string bytes;
    const auto line = [&bytes](const char* key, const std::string& value) {
        bytes += key;
        bytes += '=';
        bytes += value;
        bytes += '\n';
    };
    line("sum", Flag(settings.noise));
    line("snr", std::to_string(settings.snrDb));
    line("filtr", std::to_string(settings.filterHz));
    line("unik", Flag(settings.fading));
    line("hloubka", std::to_string(settings.fadingDepthPercent));
    line("perioda",
         std::to_string(ReceptionSettings::FadingSecondsFor(settings.fadingSpreadCentihertz)));
    line("rozptyl", std::to_string(settings.fadingSpreadCentihertz));
    line("cesta", std::to_string(settings.pathDelayMicroseconds));
    line("agc", std::to_string(static_cast<int>(settings.agc)));
    line("praskani", Flag(settings.staticCrashes));
    line("zaminutu", std::to_string(settings.staticPerMinute));
    line("ruseni", Flag(settings.interference));
    line("stanice", std::to_string(settings.stations));
    line("zazneje", Flag(settings.zeroBeat));
    line("pileup", Flag(settings.pileUp));
    line("chirp", Flag(settings.chirp));
    line("chirphz", std::to_string(settings.chirpHz));
    line("kliksy", Flag(settings.keyClicks));
    line("rukopis", std::to_string(static_cast<int>(settings.fist)));
    line("pevnesemeno", Flag(settings.fixedSeed));
    line("semeno", std::to_string(settings.seed));
    return bytes;
}
