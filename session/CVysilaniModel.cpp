#include "session/CVysilaniModel.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "training/CFistMeasure.h"

namespace {

constexpr double kLeastOffDots = 0.05;

// The program's sign speed: a dot of 6 / speed seconds.
constexpr double kDotNanosecondsTimesSpeed = 6e9;

}  // namespace

CVysilaniModel::CVysilaniModel(const KeyingSettings& keying, int signSpeed, double dashRatio,
                               std::string decimalSign)
    : settings(keying),
      decimal(std::move(decimalSign)),
      dot(static_cast<std::int64_t>(kDotNanosecondsTimesSpeed / std::max(signSpeed, 1))),
      ratio(dashRatio),
      keyer(keying.mode, dot, dashRatio),
      decoder(dot, dashRatio) {}

void CVysilaniModel::KeyPressed(int keysym, std::int64_t at) {
    if (settings.input != KeyInput::kKeyboard) {
        return;
    }
    if (settings.mode == KeyerMode::kStraight) {
        if (keysym == settings.straightKey) {
            Lever(Paddle::kDot, true, at);
        }
    } else if (keysym == settings.dotKey) {
        Lever(Paddle::kDot, true, at);
    } else if (keysym == settings.dashKey) {
        Lever(Paddle::kDash, true, at);
    }
}

void CVysilaniModel::KeyReleased(int keysym, std::int64_t at) {
    if (settings.input != KeyInput::kKeyboard) {
        return;
    }
    if (settings.mode == KeyerMode::kStraight) {
        if (keysym == settings.straightKey) {
            Lever(Paddle::kDot, false, at);
        }
    } else if (keysym == settings.dotKey) {
        Lever(Paddle::kDot, false, at);
    } else if (keysym == settings.dashKey) {
        Lever(Paddle::kDash, false, at);
    }
}

void CVysilaniModel::ButtonPressed(bool left, std::int64_t at) {
    if (settings.input == KeyInput::kMouse && (left || settings.mode != KeyerMode::kStraight)) {
        Lever(left ? Paddle::kDot : Paddle::kDash, true, at);
    }
}

void CVysilaniModel::ButtonReleased(bool left, std::int64_t at) {
    if (settings.input == KeyInput::kMouse && (left || settings.mode != KeyerMode::kStraight)) {
        Lever(left ? Paddle::kDot : Paddle::kDash, false, at);
    }
}

void CVysilaniModel::LeverEdge(Paddle lever, bool down, std::int64_t at) {
    if (settings.input == KeyInput::kSerial &&
        (lever == Paddle::kDot || settings.mode != KeyerMode::kStraight)) {
        Lever(lever, down, at);
    }
}

void CVysilaniModel::Lever(Paddle lever, bool down, std::int64_t at) {
    if (down) {
        keyer.Press(lever, at);
    } else {
        keyer.Release(lever, at);
    }
    Feed();
}

void CVysilaniModel::Tick(std::int64_t now) {
    keyer.AdvanceTo(now);
    Feed();
    decoder.Idle(now);
}

void CVysilaniModel::Feed() {
    for (const KeyEdge& edge : keyer.TakeEdges()) {
        decoder.Add(edge);
        forSidetone.push_back(edge);
        lineDown = edge.down;
    }
}

std::vector<KeyEdge> CVysilaniModel::TakeKeyedEdges() {
    return std::exchange(forSidetone, {});
}

void CVysilaniModel::Clear() {
    keyer = CPaddleKeyer(settings.mode, dot, ratio);
    decoder = CSendingDecoder(dot, ratio);
    forSidetone.clear();
    lineDown = false;
    announcedWords = 0;
}

std::size_t CVysilaniModel::WordsRead() const {
    return static_cast<std::size_t>(std::count(decoder.Text().begin(), decoder.Text().end(), ' '));
}

CVysilaniModel::View CVysilaniModel::GetView() const {
    View view;
    const std::string& text = decoder.Text();
    view.read =
        text.size() > kMostCharactersShown ? text.substr(text.size() - kMostCharactersShown) : text;
    if (view.read.empty()) {
        view.read = captions[kNothingRead];
    }
    view.keyDown = lineDown;
    view.areaText = linesUnreadable ? FillCaption(captions[kLinesUnreadable], {settings.port})
                                    : captions[kArea];
    if (WordsRead() > announcedWords) {
        // The last word ended by a space.
        const std::size_t end = text.find_last_not_of(' ');
        const std::size_t begin = text.find_last_of(' ', end);
        view.newWord = end == std::string::npos
                           ? std::string()
                           : text.substr(begin == std::string::npos ? 0 : begin + 1,
                                         end - (begin == std::string::npos ? 0 : begin + 1) + 1);
    }
    if (decoder.Characters().size() < kLeastCharactersMeasured) {
        return view;
    }
    const FistMeasure measure = MeasureFist(decoder, ratio);
    const Caption names[] = {kDot, kDash, kElementGap, kCharacterGap, kWordGap};
    for (std::size_t k = 0; k < CSendingDecoder::kKindCount; ++k) {
        const FistMeasure::Figures& figures = measure.kinds[k];
        if (figures.count == 0) {
            continue;
        }
        view.figures.push_back(
            FillCaption(captions[kFigureLine],
                        {captions[names[k]], DecimalText(figures.mean, 2, decimal),
                         DecimalText(figures.spread, 2, decimal),
                         DecimalText(figures.model, 1, decimal), std::to_string(figures.count)}));
    }
    view.figures.push_back(FillCaption(
        captions[kRatioAndSpeed], {DecimalText(measure.dashRatio, 2, decimal),
                                   std::to_string(static_cast<int>(measure.signSpeed + 0.5))}));
    // The places furthest from the model, each element or the gap after it named; a place as
    // near as a twentieth of a dot is no place to name.
    std::string worst;
    for (const FistMeasure::Break& place : measure.breaks) {
        if (place.offDots < kLeastOffDots) {
            continue;
        }
        worst += (worst.empty() ? " " : "; ") +
                 FillCaption(captions[kWorstPlace],
                             {std::string(1, place.character), std::to_string(place.element + 1),
                              DecimalText(place.offDots, 2, decimal), captions[names[place.kind]]});
    }
    if (!worst.empty()) {
        view.figures.push_back(captions[kWorstHeading] + worst);
    }
    return view;
}

void CVysilaniModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

CaptionList CVysilaniModel::CzechCaptions() {
    return {"Vysílání klíčem",
            "Klíčujte zde klíčem, klávesou nebo myší",
            "&Přečteno:",
            "(zatím nic)",
            "Rukopis proti modelu:",
            "tečka",
            "čárka",
            "mezera ve znaku",
            "mezera mezi znaky",
            "mezera mezi slovy",
            "%1: %2 teček (rozptyl %3), model %4, %5×",
            "čárka : tečka %1, rychlost %2 znaků za minutu",
            "Nejvíc se liší:",
            "%1: %2. %4, o %3 tečky",
            "&Smazat",
            "&Zavřít",
            "Klíč na sériovém portu %1 nelze číst; port zvolíte v okně Klíčování."};
}
