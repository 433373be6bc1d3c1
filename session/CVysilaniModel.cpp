#include "session/CVysilaniModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/CCuePlayer.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/CueSounds.h"
#include "engine/SoundFile.h"
#include "session/LocalStamp.h"
#include "text/CMorseText.h"
#include "training/CCopyCheck.h"
#include "training/CFistMeasure.h"

namespace {

constexpr double kLeastOffDots = 0.05;

// The program's sign speed: a dot of 6 / speed seconds.
constexpr double kDotNanosecondsTimesSpeed = 6e9;
constexpr std::int64_t kNanosecondsPerMillisecond = 1000000;
constexpr double kNanosecondsPerSecond = 1e9;
constexpr std::int64_t kSlowestReactionMilliseconds = 60000;
// The records keep speeds up to this many characters a minute.
constexpr int kHighestRecordedSpeed = 999;

std::int64_t DotOf(int signSpeed) {
    return static_cast<std::int64_t>(kDotNanosecondsTimesSpeed / std::max(signSpeed, 1));
}

EchoSettings EchoSettingsOf(const SendingStart& start, EchoItem item, int speed, int run) {
    EchoSettings echo;
    echo.characters = start.echoCharacters;
    echo.item = item;
    echo.startSpeed = speed;
    echo.wordList = start.wordList;
    // Each run draws its own items.
    echo.seed = start.seed + static_cast<std::uint32_t>(run);
    return echo;
}

int Median(std::vector<int> values) {
    std::nth_element(values.begin(),
                     values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

}  // namespace

CVysilaniModel::CVysilaniModel(const KeyingSettings& keying, SendingStart sendingStart,
                               std::string decimalSign, CCuePlayer* cuePlayer)
    : settings(keying),
      start(std::move(sendingStart)),
      decimal(std::move(decimalSign)),
      player(cuePlayer),
      dot(DotOf(start.signSpeed)),
      ratio(start.dashRatio),
      keyer(keying.mode, dot, ratio),
      decoder(dot, ratio),
      echo(EchoSettingsOf(start, itemKind, start.signSpeed, 0)) {}

void CVysilaniModel::KeyPressed(int keysym, std::int64_t at) {
    Key(keysym, true, at);
}

void CVysilaniModel::KeyReleased(int keysym, std::int64_t at) {
    Key(keysym, false, at);
}

void CVysilaniModel::Key(int keysym, bool down, std::int64_t at) {
    if (settings.input != KeyInput::kKeyboard) {
        return;
    }
    if (settings.mode == KeyerMode::kStraight) {
        if (keysym == settings.straightKey) {
            Lever(Paddle::kDot, down, at);
        }
    } else if (keysym == settings.dotKey) {
        Lever(Paddle::kDot, down, at);
    } else if (keysym == settings.dashKey) {
        Lever(Paddle::kDash, down, at);
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
    lastNow = now;
    keyer.AdvanceTo(now);
    Feed();
    decoder.Idle(now);
    if (practice == SendingPractice::kEcho) {
        // Once the item has been heard, the learner is asked for it.
        if (phase == EchoPhase::kListening && HeardEnd() != 0 && now >= HeardEnd()) {
            phase = EchoPhase::kSending;
        }
        if ((phase == EchoPhase::kListening || phase == EchoPhase::kSending) && keyedSincePrompt &&
            ReadSincePrompt().find_first_not_of(' ') != std::string::npos &&
            decoder.Text().back() == ' ') {
            JudgeEcho(now);
        } else if (phase == EchoPhase::kVerdict && now >= nextPromptAt) {
            Prompt(now);
        }
    } else if (WordsRead() > announcedWords) {
        announcedWords = WordsRead();
        const std::string& text = decoder.Text();
        const std::size_t end = text.find_last_not_of(' ');
        if (end != std::string::npos) {
            const std::size_t space = text.find_last_of(' ', end);
            const std::size_t begin = space == std::string::npos ? 0 : space + 1;
            Announce(text.substr(begin, end - begin + 1));
        }
    }
    if (played < toPlay.size() && now >= queuedUntil - kPlayAheadNanoseconds) {
        PlayPiece(now);
    }
}

void CVysilaniModel::PlayPiece(std::int64_t now) {
    const std::size_t count = std::min(kPlaySamples, toPlay.size() - played);
    const auto from = toPlay.begin() + static_cast<std::ptrdiff_t>(played);
    if (!player->Play(std::vector<float>(from, from + static_cast<std::ptrdiff_t>(count)))) {
        toPlay.clear();
        played = 0;
        return;
    }
    played += count;
    // The piece runs out no sooner than this: it starts no sooner than now or the piece before's
    // end (the sound card's latency only delays it).
    queuedUntil = std::max(now, queuedUntil) +
                  static_cast<std::int64_t>(static_cast<double>(count) / CCuePlayer::kSampleRate *
                                            kNanosecondsPerSecond);
}

void CVysilaniModel::Feed() {
    for (const KeyEdge& edge : keyer.TakeEdges()) {
        decoder.Add(edge);
        forSidetone.push_back(edge);
        lineDown = edge.down;
        if (practice == SendingPractice::kEcho && edge.down && !keyedSincePrompt &&
            (phase == EchoPhase::kListening || phase == EchoPhase::kSending)) {
            keyedSincePrompt = true;
            phase = EchoPhase::kSending;
            // The reaction from the end of the item as heard; keying into the sound is no
            // reaction to time.
            const std::int64_t heardEnd = HeardEnd();
            // A minute and more is no reaction but the learner away.
            const std::int64_t milliseconds =
                heardEnd != 0 ? (edge.at - heardEnd) / kNanosecondsPerMillisecond : -1;
            if (milliseconds >= 0 && milliseconds <= kSlowestReactionMilliseconds) {
                reactions.push_back(static_cast<int>(milliseconds));
            }
            // What was still being read of the sending before is no answer.
            promptAt = decoder.Text().size();
        }
    }
}

std::int64_t CVysilaniModel::HeardEnd() const {
    // The end of an item played before the last one (stopped and started again) is none.
    const std::int64_t end =
        player != nullptr && played == toPlay.size() ? player->HeardEndNanoseconds() : 0;
    return end >= promptedAt ? end : 0;
}

std::vector<KeyEdge> CVysilaniModel::TakeKeyedEdges() {
    return std::exchange(forSidetone, {});
}

void CVysilaniModel::Clear() {
    keyer = CPaddleKeyer(settings.mode, dot, ratio);
    decoder = CSendingDecoder(dot, ratio);
    forSidetone.clear();
    // A key held down now is let go, or the sidetone would sound on.
    if (lineDown) {
        forSidetone.push_back({false, lastNow});
    }
    lineDown = false;
    measured.reset();
    announcedWords = 0;
    promptAt = 0;
    reactions.clear();
    verdict.clear();
    copyRight = 0;
    copyJudged = 0;
    echoRight = 0;
    echoJudged = 0;
    echoHighest = 0;
    // Echo practice goes on from the speed it reached, its counts afresh.
    echo = CEchoTrainer(EchoSettingsOf(start, itemKind, echo.Speed(), ++echoRuns));
    if (phase != EchoPhase::kStopped) {
        phase = EchoPhase::kVerdict;
        nextPromptAt = 0;
    }
}

void CVysilaniModel::Announce(std::string text) {
    announcement = std::move(text);
    ++announcementSerial;
}

void CVysilaniModel::ChoosePractice(SendingPractice chosen) {
    StopEcho();
    practice = chosen;
    promptAt = decoder.Text().size();
    verdict.clear();
}

void CVysilaniModel::ChooseItem(EchoItem item) {
    if (phase == EchoPhase::kStopped && item != itemKind) {
        itemKind = item;
        echo = CEchoTrainer(EchoSettingsOf(start, itemKind, echo.Speed(), ++echoRuns));
    }
}

bool CVysilaniModel::StartEcho(std::int64_t now) {
    if (echo.Empty() || player == nullptr || !player->Open()) {
        verdict = captions[kNothingToEcho];
        return false;
    }
    toPlay.clear();
    played = 0;
    Prompt(now);
    return phase != EchoPhase::kStopped;
}

void CVysilaniModel::StopEcho() {
    if (phase != EchoPhase::kStopped && player != nullptr) {
        player->Silence();
    }
    phase = EchoPhase::kStopped;
}

void CVysilaniModel::Prompt(std::int64_t now) {
    const int speed = echo.Speed();
    echoHighest = std::max(echoHighest, speed);
    promptedAt = now;
    // A paddle keys at the speed of the item, so that the learner can follow it up.
    if (settings.mode != KeyerMode::kStraight && !keyer.Sending()) {
        keyer = CPaddleKeyer(settings.mode, DotOf(speed), ratio);
    }
    player->Silence();
    // A long item at a slow speed is more than the player holds: it goes in pieces.
    toPlay = cuesounds::RenderText(echo.Item(), speed, speed, start.toneHz, ratio, start.gain);
    played = 0;
    queuedUntil = now;
    PlayPiece(now);
    if (played == 0) {
        phase = EchoPhase::kStopped;
        verdict = captions[kNothingToEcho];
        return;
    }
    phase = EchoPhase::kListening;
    promptAt = decoder.Text().size();
    keyedSincePrompt = false;
}

std::string CVysilaniModel::ReadSincePrompt() const {
    const std::string& text = decoder.Text();
    return promptAt < text.size() ? text.substr(promptAt) : std::string();
}

void CVysilaniModel::JudgeEcho(std::int64_t now) {
    const std::string item = echo.Item();
    const std::string read = Trimmed(ReadSincePrompt());
    const bool right = echo.Judge(read);
    ++echoJudged;
    echoRight += right ? 1 : 0;
    echoHighest = std::max(echoHighest, echo.Speed());
    verdict = FillCaption(captions[right ? kEchoRight : kEchoWrong],
                          {item, read, std::to_string(echo.Speed())});
    Announce(verdict);
    phase = EchoPhase::kVerdict;
    nextPromptAt = now + kVerdictNanoseconds;
    promptAt = decoder.Text().size();
}

void CVysilaniModel::JudgeCopy() {
    if (ScoreCopy()) {
        Announce(verdict);
    }
}

bool CVysilaniModel::ScoreCopy() {
    const std::string text = start.copyText.substr(0, kMostCopyCharacters);
    if (practice != SendingPractice::kCopy || Trimmed(text).empty()) {
        return false;
    }
    const std::string sent = Trimmed(ReadSincePrompt());
    // Judged as far as the learner has come: the text up to its last character sent.
    std::size_t reached = 0;
    const CCopyCheck whole(text, sent);
    for (const CCopyCheck::Entry& entry : whole.Entries()) {
        if (entry.mark != CCopyCheck::Mark::Missed && entry.mark != CCopyCheck::Mark::Extra) {
            reached = std::max(reached, entry.position + 1);
        }
    }
    const std::string judged = reached > 0 ? text.substr(0, reached) : text;
    const CCopyCheck check(judged, sent);
    copyRight = check.CorrectCount();
    copyJudged = check.SentCount();
    verdict =
        FillCaption(captions[kCopyResult], {std::to_string(copyRight), std::to_string(copyJudged),
                                            DecimalText(check.ScorePercent(), 0, decimal),
                                            std::to_string(check.ErrorCount())});
    std::string wrong;
    for (const CCopyCheck::Entry& entry : check.Entries()) {
        if (entry.mark == CCopyCheck::Mark::Wrong) {
            wrong += (wrong.empty() ? "" : ", ") + std::string(1, entry.sent) + '/' +
                     std::string(1, entry.copied);
        }
    }
    if (!wrong.empty()) {
        verdict += ' ' + FillCaption(captions[kCopyWrong], {wrong});
    }
    const auto letters = [](const std::string& part) {
        return std::to_string(
            std::count_if(part.begin(), part.end(), [](char c) { return c != ' '; }));
    };
    if (judged.size() < text.size()) {
        verdict += ' ' + FillCaption(captions[kCopyReached], {letters(judged), letters(text)});
    }
    return true;
}

namespace {

// What was read (the last of it that is shown), keyed by the fist fitted to how it was keyed.
std::optional<CTransmissionTimeline> OwnTimeline(const CSendingDecoder& decoder, double ratio) {
    if (decoder.Characters().size() < CVysilaniModel::kLeastCharactersMeasured) {
        return std::nullopt;
    }
    const std::optional<FittedFist> fitted = FitFist(MeasureFist(decoder, ratio), ratio);
    if (!fitted) {
        return std::nullopt;
    }
    std::string text = decoder.Text();
    if (text.size() > CVysilaniModel::kMostCharactersShown) {
        text = text.substr(text.size() - CVysilaniModel::kMostCharactersShown);
    }
    CMorseText morse;
    morse.SetKind(kCustomText);
    morse.SetText(Trimmed(text));
    const int speed = std::clamp(fitted->signSpeed, 5, 999);
    return CTransmissionTimeline::WithoutSigns(morse, speed, speed, ratio,
                                               CFist::OfTraits(fitted->traits, 1));
}

}  // namespace

bool CVysilaniModel::PlayOwn(std::int64_t now) {
    const std::optional<CTransmissionTimeline> timeline = OwnTimeline(decoder, ratio);
    if (!timeline || player == nullptr || !player->Open()) {
        verdict = captions[kNothingToPlay];
        return false;
    }
    StopEcho();
    player->Silence();
    toPlay.clear();
    played = 0;
    soundfile::RenderSamples(*timeline, start.toneHz, start.gain, ReceptionSettings(), 0,
                             [this](const float* block, std::size_t count) {
                                 toPlay.insert(toPlay.end(), block, block + count);
                             });
    queuedUntil = now;
    PlayPiece(now);
    if (played == 0) {
        verdict = captions[kNothingToPlay];
        return false;
    }
    return true;
}

std::string CVysilaniModel::OwnSendingWav() const {
    const std::optional<CTransmissionTimeline> timeline = OwnTimeline(decoder, ratio);
    return timeline ? soundfile::RenderWav(*timeline, start.toneHz, 1.0F) : std::string();
}

std::optional<SendingRecord> CVysilaniModel::Finish(std::chrono::system_clock::time_point now) {
    std::optional<SendingRecord> kept;
    const std::string& characters = decoder.Characters();
    if (characters.size() >= kLeastCharactersMeasured) {
        const FistMeasure measure = MeasureFist(decoder, ratio);
        SendingRecord record;
        record.practice = practice;
        record.keyer = settings.mode;
        record.characters = static_cast<int>(characters.size());
        if (practice == SendingPractice::kEcho) {
            record.right = echoRight;
            record.judged = echoJudged;
            record.highestSpeed = echoHighest;
        } else if (practice == SendingPractice::kCopy) {
            ScoreCopy();
            record.right = copyRight;
            record.judged = copyJudged;
        }
        record.signSpeed =
            std::min(kHighestRecordedSpeed, static_cast<int>(std::lround(measure.signSpeed)));
        record.dashRatio = measure.dashRatio;
        for (std::size_t k = 0; k < SendingRecord::kKinds; ++k) {
            record.kinds[k] = {measure.kinds[k].count, measure.kinds[k].mean,
                               measure.kinds[k].spread};
        }
        if (!reactions.empty()) {
            record.reactionMilliseconds = Median(reactions);
        }
        kept = StampLocalTime(record, now);
    }
    Clear();
    return kept;
}

const FistMeasure& CVysilaniModel::Measured() const {
    // Measured again only when something new was read: the window asks many times a second.
    if (!measured || measured->intervals != decoder.Intervals().size() ||
        measured->characters != decoder.Characters()) {
        measured = MeasureCache{decoder.Intervals().size(), decoder.Characters(),
                                MeasureFist(decoder, ratio)};
    }
    return measured->measure;
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
                    : start.inputDescription.empty()
                        ? captions[kArea]
                        : captions[kArea] + "\n(" + start.inputDescription + ")";
    if (announcementSerial != announcedSerial) {
        view.announcement = announcement;
    }
    view.practice = practice;
    view.item = itemKind;
    view.echoRunning = phase != EchoPhase::kStopped;
    view.verdict = verdict;
    if (practice == SendingPractice::kEcho) {
        switch (phase) {
            case EchoPhase::kStopped:
                break;
            case EchoPhase::kListening:
                view.task = FillCaption(captions[kListen], {std::to_string(echo.Speed())});
                break;
            case EchoPhase::kSending:
                view.task = captions[kSendBack];
                break;
            case EchoPhase::kVerdict:
                // The verdict stands alone until the next item plays.
                break;
        }
        if (echoJudged > 0) {
            std::string score = FillCaption(
                captions[kEchoScore], {std::to_string(echoRight), std::to_string(echoJudged),
                                       std::to_string(echo.Speed()), std::to_string(echoHighest)});
            if (!reactions.empty()) {
                score +=
                    ' ' + FillCaption(captions[kEchoReaction], {std::to_string(Median(reactions))});
            }
            view.task += (view.task.empty() ? "" : "\n") + score;
        }
    } else if (practice == SendingPractice::kCopy) {
        const std::string copy = Trimmed(start.copyText.substr(0, kMostCopyCharacters));
        view.task = copy.empty() ? captions[kNoCopyText] : captions[kCopyHeading] + '\n' + copy;
        view.canJudge = !copy.empty();
    }
    view.canPlayOwn = false;
    if (decoder.Characters().size() < kLeastCharactersMeasured) {
        view.figures.push_back(
            FillCaption(captions[kMeasureLater], {std::to_string(kLeastCharactersMeasured)}));
        return view;
    }
    const FistMeasure& measure = Measured();
    // The fist can be fitted (and so played) with dots and the gaps within characters.
    view.canPlayOwn = player != nullptr && measure.kinds[CSendingDecoder::kDot].count > 0 &&
                      measure.kinds[CSendingDecoder::kElementGap].count > 0;
    const Caption names[] = {kDot, kDash, kElementGap, kCharacterGap, kWordGap};
    for (std::size_t k = 0; k < CSendingDecoder::kKindCount; ++k) {
        const FistMeasure::Figures& figures = measure.kinds[k];
        if (figures.count == 0) {
            continue;
        }
        view.histograms.push_back({captions[names[k]],
                                   {figures.histogram.begin(), figures.histogram.end()},
                                   FistMeasure::kBinDots,
                                   figures.model});
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
            "Klíč na sériovém portu %1 nelze číst; port zvolíte v okně Klíčování.",
            "Cvi&čení:",
            "volné klíčování",
            "ozvěna",
            "opis textu",
            "&Obsah ozvěny:",
            "znak",
            "skupina",
            "slovo",
            "volací značka",
            "Spus&tit",
            "Zas&tavit",
            "&Vyhodnotit",
            "Poslouchejte… (%1 znaků za minutu)",
            "Vyšlete, co jste slyšeli.",
            "Správně: %1. Další rychleji, %3 znaků za minutu.",
            "Chyba: vysláno %1, přečteno %2. Znovu pomaleji, %3 znaků za minutu.",
            "Správně %1 z %2, rychlost %3, nejvyšší %4 znaků za minutu.",
            "Reakce (medián) %1 ms.",
            "Ozvěnu nelze přehrát: zvuková karta není k dispozici nebo lekce nemá žádné znaky.",
            "Vyšlete tento text:",
            "V hlavním okně není žádný text k opisu.",
            "Správně %1 z %2 znaků (%3 %), chyb %4.",
            "Pře&hrát můj rukopis",
            "&Uložit jako zvuk…",
            "Přehrát lze až po pěti přečtených znacích, se zvukovou kartou.",
            "Délky proti modelu (čára):",
            "Rukopis se změří a cvičení zapíše po %1 přečtených znacích.",
            "Chybně (vysláno/přečteno): %1.",
            "Posouzeno prvních %1 z %2 znaků textu."};
}
