#include "text/CTrafficText.h"

#include <array>
#include <vector>

#include "core/CMorseTable.h"
#include "text/CMorseText.h"
#include "text/CRandomSource.h"

namespace {

// Prefixes as they are heard on the bands: one or two characters before the call area's digit.
constexpr auto kPrefixes = std::to_array<std::string_view>(
    {"OK", "OL", "OM", "DL", "DK", "DJ", "DF", "DO", "G",  "M",  "2E", "F",
     "I",  "IK", "EA", "HA", "SP", "SQ", "S5", "9A", "YU", "LZ", "YO", "UR",
     "R",  "UA", "OE", "HB", "ON", "PA", "OZ", "SM", "LA", "OH", "ES", "YL",
     "LY", "EI", "W",  "K",  "N",  "AA", "VE", "VK", "ZL", "JA", "PY", "LU"});
// The country prefixes of a guest station, before the stroke.
constexpr auto kGuestPrefixes =
    std::to_array<std::string_view>({"OK", "OM", "DL", "G", "F", "I", "EA", "HA", "SP", "S5", "OE",
                                     "HB9", "PA", "SV", "EA8", "TF"});
constexpr auto kPortable = std::to_array<std::string_view>({"P", "M", "QRP"});
// Prefixes that special-event stations use before an anniversary number (GB100RSGB, OL100CRK,
// TM75D, DR2025A): the prefixes of plain callsigns that end in a digit (2E, S5, 9A) would read
// as one number with it.
constexpr auto kEventPrefixes = std::to_array<std::string_view>(
    {"GB", "DR", "DA", "OL", "OK", "OM", "TM", "II", "HG", "SN", "PA", "OE", "LZ", "YO", "OH"});

constexpr auto kAbbreviations = std::to_array<std::string_view>(
    {"CQ",  "DE",  "K",   "<KN>", "<SK>", "<AR>", "BK",  "R",    "RST", "UR",  "TNX",  "TU",  "FB",
     "OM",  "YL",  "HR",  "ES",   "GM",   "GA",   "GE",  "GN",   "WX",  "PSE", "AGN",  "CUL", "73",
     "88",  "ANT", "RIG", "PWR",  "HW",   "<BT>", "NR",  "CFM",  "ABT", "FER", "QRL",  "QRM", "QRN",
     "QRO", "QRP", "QRQ", "QRS",  "QRT",  "QRU",  "QRV", "QRX",  "QRZ", "QSB", "QSL",  "QSO", "QSY",
     "QTH", "QRG", "QRK", "5NN",  "599",  "DX",   "OP",  "NAME", "SRI", "WKD", "BURO", "HPE"});

constexpr auto kNames = std::to_array<std::string_view>(
    {"PETR", "JAN", "TOM", "EVA", "KAREL", "JOHN", "MIKE", "ANNA", "HANS", "PAUL", "JIRI", "LUDEK",
     "BOB", "MARIE", "FRANK", "IVAN"});
constexpr auto kPlaces = std::to_array<std::string_view>(
    {"PRAHA", "BRNO", "OSTRAVA", "PLZEN", "LIBEREC", "OLOMOUC", "BERLIN", "WIEN", "LONDON", "PARIS",
     "MUNICH", "KRAKOW", "ZLIN", "TABOR", "KOLIN", "JIHLAVA"});
constexpr auto kRigs =
    std::to_array<std::string_view>({"IC7300", "FT991", "K3", "TS590", "KX2", "FT817"});
constexpr auto kAntennas =
    std::to_array<std::string_view>({"DIPOLE", "GP", "YAGI", "LW", "WINDOM", "EFHW"});
constexpr auto kReports =
    std::to_array<std::string_view>({"599", "579", "559", "589", "449", "569"});
constexpr auto kWeather = std::to_array<std::string_view>({"SUNNY", "CLOUDY", "RAIN"});
constexpr auto kSummitAssociations = std::to_array<std::string_view>(
    {"OK/JC", "OK/US", "OM/BA", "DM/BW", "OE/ST", "HB/BE", "G/LD", "SP/BZ"});
constexpr auto kParkPrefixes = std::to_array<std::string_view>({"OK", "OM", "DA", "SP", "K", "G"});

// A value below `bound` (at most 32768). Not NextBelow, which throws most draws away for a small
// bound; the remainder's slight lean to low values does not matter for practice texts.
int Below(CRandomSource& random, int bound) {
    return random.Next() % bound;
}

template <std::size_t N>
std::string_view Pick(const std::array<std::string_view, N>& values, CRandomSource& random) {
    return values[static_cast<std::size_t>(Below(random, static_cast<int>(N)))];
}

char Letter(CRandomSource& random) {
    return static_cast<char>('A' + Below(random, 26));
}

char Digit(CRandomSource& random) {
    return static_cast<char>('0' + Below(random, 10));
}

std::string Number(int lowest, int highest, CRandomSource& random) {
    return std::to_string(lowest + Below(random, highest - lowest + 1));
}

std::string Letters(int lowest, int highest, CRandomSource& random) {
    std::string letters;
    const int count = lowest + Below(random, highest - lowest + 1);
    for (int k = 0; k < count; ++k) {
        letters.push_back(Letter(random));
    }
    return letters;
}

std::string PlainCallsign(CRandomSource& random) {
    return std::string(Pick(kPrefixes, random)) + Digit(random) + Letters(1, 3, random);
}

// Appends `piece` (words separated by spaces) while the text stays within its length; false
// once it would not.
bool Append(std::string& text, std::string_view piece) {
    const std::size_t needed = (text.empty() ? 0 : 1) + piece.size();
    if (piece.empty() || text.size() + needed > static_cast<std::size_t>(kMaxTextLength)) {
        return false;
    }
    const std::size_t before = text.size();
    if (!text.empty()) {
        text.push_back(' ');
    }
    text.append(piece);
    // The display shows every word whole.
    if (!CMorseText::FitsDisplayWithWholeWords(text)) {
        text.resize(before);
        return false;
    }
    return true;
}

bool AllKeyed(std::string_view word) {
    for (const char c : word) {
        if (!CMorseTable::HasCode(c)) {
            return false;
        }
    }
    return !word.empty();
}

// Appends the words of `contact` one by one: a contact cut at the end of the text ends on a
// whole word. False when the text is full.
bool AppendWords(std::string& text, std::string_view contact) {
    std::size_t start = 0;
    while (start < contact.size()) {
        std::size_t end = contact.find(' ', start);
        if (end == std::string_view::npos) {
            end = contact.size();
        }
        if (end > start && !Append(text, contact.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string Ragchew(CRandomSource& random) {
    const std::string a = PlainCallsign(random);
    const std::string b = PlainCallsign(random);
    const std::string rst = std::string(Pick(kReports, random));
    const std::string nameA(Pick(kNames, random));
    const std::string nameB(Pick(kNames, random));
    return "CQ CQ CQ DE " + a + " " + a + " K " + a + " DE " + b + " " + b + " K " + b + " DE " +
           a + " GM OM TNX FER CALL UR RST " + rst + " " + rst + " NAME " + nameA + " " + nameA +
           " QTH " + std::string(Pick(kPlaces, random)) + " HW? " + b + " DE " + a + " <KN> " + a +
           " DE " + b + " R FB " + nameA + " TNX FER RPRT UR RST " +
           std::string(Pick(kReports, random)) + " NAME " + nameB + " QTH " +
           std::string(Pick(kPlaces, random)) + " RIG " + std::string(Pick(kRigs, random)) +
           " PWR " + Number(5, 100, random) + "W ANT " + std::string(Pick(kAntennas, random)) +
           " WX " + std::string(Pick(kWeather, random)) + " <BT> TNX QSO 73 CUL " + a + " DE " + b +
           " <SK>";
}

std::string ContestExchange(CRandomSource& random) {
    const std::string a = PlainCallsign(random);
    const std::string b = PlainCallsign(random);
    const std::string serial = Number(1, 999, random);
    return "CQ TEST " + a + " " + a + " " + b + " " + b + " " + b + " 5NN " + serial + " TU 5NN " +
           Number(1, 999, random) + " TU " + a + " TEST";
}

std::string Activation(CRandomSource& random) {
    const std::string a = PlainCallsign(random) + "/P";
    const std::string b = PlainCallsign(random);
    const bool summit = Below(random, 2) == 0;
    // References without their hyphen, as they are keyed.
    const std::string reference =
        summit ? std::string(Pick(kSummitAssociations, random)) + Number(1, 199, random)
               : std::string(Pick(kParkPrefixes, random)) + Number(1, 9999, random);
    return "CQ " + std::string(summit ? "SOTA" : "POTA") + " DE " + a + " " + a + " K " + b + " " +
           a + " GM UR " + std::string(Pick(kReports, random)) + " REF " + reference + " BK R UR " +
           std::string(Pick(kReports, random)) + " " + std::string(Pick(kPlaces, random)) +
           " TU 73 BK 73 TU QRZ " + std::string(summit ? "SOTA" : "POTA");
}

}  // namespace

std::string CTrafficText::Callsign(CallsignShape shape, CRandomSource& random) {
    switch (shape) {
        case CallsignShape::Plain:
            return PlainCallsign(random);
        case CallsignShape::Portable:
            return PlainCallsign(random) + "/" + std::string(Pick(kPortable, random));
        case CallsignShape::CountryPrefixed:
            return std::string(Pick(kGuestPrefixes, random)) + "/" + PlainCallsign(random);
        case CallsignShape::SpecialEvent:
            // An anniversary number in place of the digit, a club's letters after it.
            return std::string(Pick(kEventPrefixes, random)) + Number(10, 150, random) +
                   Letters(1, 3, random);
    }
    return PlainCallsign(random);
}

std::string CTrafficText::Callsign(CRandomSource& random) {
    // Mostly plain callsigns, as on the air; the other forms now and then.
    const int draw = Below(random, 20);
    const CallsignShape shape = draw < 14   ? CallsignShape::Plain
                                : draw < 17 ? CallsignShape::Portable
                                : draw < 19 ? CallsignShape::CountryPrefixed
                                            : CallsignShape::SpecialEvent;
    return Callsign(shape, random);
}

std::string CTrafficText::Words(std::string_view wordList, std::uint32_t seed) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < wordList.size()) {
        std::size_t end = wordList.find('\n', start);
        if (end == std::string_view::npos) {
            end = wordList.size();
        }
        std::string_view word = wordList.substr(start, end - start);
        start = end + 1;
        if (!word.empty() && word.back() == '\r') {
            word.remove_suffix(1);
        }
        if (AllKeyed(word) && word.size() < static_cast<std::size_t>(kLineLength)) {
            words.push_back(word);
        }
        if (words.size() == static_cast<std::size_t>(CRandomSource::kMax)) {
            break;
        }
    }
    if (words.empty()) {
        return {};
    }
    CRandomSource random(seed);
    const int count = static_cast<int>(words.size());
    std::string text;
    for (;;) {
        // The lower of two draws: the common words near the top come up more often.
        const int first = Below(random, count);
        const int second = Below(random, count);
        if (!Append(text, words[static_cast<std::size_t>(first < second ? first : second)])) {
            return text;
        }
    }
}

std::string CTrafficText::Callsigns(std::uint32_t seed) {
    CRandomSource random(seed);
    std::string text;
    while (Append(text, Callsign(random))) {
    }
    return text;
}

std::string CTrafficText::Abbreviations(std::uint32_t seed) {
    CRandomSource random(seed);
    std::string text;
    while (Append(text, Pick(kAbbreviations, random))) {
    }
    return text;
}

std::string CTrafficText::Contacts(std::uint32_t seed) {
    CRandomSource random(seed);
    std::string text;
    for (;;) {
        const int draw = Below(random, 3);
        const std::string contact = draw == 0   ? Ragchew(random)
                                    : draw == 1 ? ContestExchange(random)
                                                : Activation(random);
        if (!AppendWords(text, contact)) {
            return text;
        }
    }
}
