// The learner's sending as far as it is built: the decoder reading the program's own fists at 40
// to 250 characters a minute (the share of characters read right, aligned with the text sent),
// how soon it follows a change of speed, and the CPU the keyer and the decoder take per second of
// keying. Prints figures; asserts nothing. Plays no sound.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "core/CFist.h"
#include "core/TextKind.h"
#include "engine/CTransmissionTimeline.h"
#include "text/CMorseText.h"
#include "training/CPaddleKeyer.h"
#include "training/CSendingDecoder.h"

namespace {

constexpr std::int64_t kNanosecondsPerUnit = 100;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::vector<KeyEdge> EdgesOf(const CTransmissionTimeline& timeline) {
    std::vector<KeyEdge> edges;
    for (const auto& tone : timeline.Tones()) {
        edges.push_back({true, tone.startUnits * kNanosecondsPerUnit});
        edges.push_back({false, (tone.startUnits + tone.lengthUnits) * kNanosecondsPerUnit});
    }
    return edges;
}

// The text read, without the start sign's word and the end sign.
std::string Read(const std::vector<KeyEdge>& edges, int speed) {
    CSendingDecoder decoder(static_cast<std::int64_t>(6e9 / speed));
    for (const KeyEdge& edge : edges) {
        decoder.Add(edge);
    }
    decoder.Idle(edges.back().at + 60000000000LL);
    std::string text = decoder.Text();
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    const std::size_t first = text.find(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first + 1, text.size() - first - 2);
}

// Characters read right: one less for every one changed, left out or added, spaces aside.
double ShareRight(const std::string& sent, const std::string& read) {
    std::string a;
    std::string b;
    std::copy_if(sent.begin(), sent.end(), std::back_inserter(a), [](char c) { return c != ' '; });
    std::copy_if(read.begin(), read.end(), std::back_inserter(b), [](char c) { return c != ' '; });
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0U : 1U)});
            diagonal = above;
        }
    }
    return 1.0 - static_cast<double>(row[b.size()]) / static_cast<double>(a.size());
}

void Accuracy() {
    std::printf(
        "== the decoder on the program's fists, 10 texts of 300 mixed characters per speed "
        "(goal: the exact model 100 %%, every fist at least 99 %%)\n");
    const struct {
        const char* name;
        FistKind fist;
    } fists[] = {{"exact model", FistKind::kNone},
                 {"good hand", FistKind::kGoodHand},
                 {"straight key", FistKind::kStraightKey},
                 {"bug", FistKind::kBug}};
    for (const auto& fist : fists) {
        std::printf("%-13s", fist.name);
        for (const int speed : {40, 60, 100, 150, 200, 250}) {
            double worst = 1.0;
            double sum = 0.0;
            for (std::uint32_t n = 0; n < 10; ++n) {
                CMorseText text;
                text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                                                  kMixedText, 1000 * n + speed));
                text.SetKind(kMixedText);
                const CTransmissionTimeline timeline(text, speed, speed, 3.0,
                                                     CFist(fist.fist, 77 * n + speed));
                const double right = ShareRight(text.GetText(), Read(EdgesOf(timeline), speed));
                worst = std::min(worst, right);
                sum += right;
            }
            std::printf("  %3d: %5.1f %% (worst %5.1f)", speed, 10.0 * sum, 100.0 * worst);
        }
        std::printf("\n");
    }
}

// The characters read wrong after the learner changes speed by half as much again, counted from
// the change: the decoder starts at one speed, the text is keyed at the other.
void SpeedChange() {
    std::printf("== a change of speed by a factor of 1.5 (goal: settled within 3 characters)\n");
    for (const auto& [expected, sent] :
         {std::pair{100, 150}, std::pair{150, 100}, std::pair{60, 90}, std::pair{200, 133}}) {
        int lastWrong = -1;
        for (std::uint32_t n = 0; n < 20; ++n) {
            CMorseText text;
            text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 500 + n)
                             .substr(0, 60));
            text.SetKind(kLetterText);
            const CTransmissionTimeline timeline(text, sent, sent, 3.0);
            std::string read = Read(EdgesOf(timeline), expected);
            std::string want = text.GetText();
            read.erase(std::remove(read.begin(), read.end(), ' '), read.end());
            want.erase(std::remove(want.begin(), want.end(), ' '), want.end());
            for (std::size_t i = 0; i < want.size(); ++i) {
                if (i >= read.size() || read[i] != want[i]) {
                    lastWrong = std::max(lastWrong, static_cast<int>(i));
                    break;
                }
            }
        }
        std::printf(
            "expected %3d, keyed %3d a minute: every character from the %d. on read right "
            "in 20 texts\n",
            expected, sent, lastWrong + 2);
    }
}

void Cpu() {
    // A minute of a paddle at 200 characters a minute: a squeeze of about four elements, then the
    // levers let go for a character's gap, again and again.
    constexpr std::int64_t kDot = 30000000;
    CPaddleKeyer keyer(KeyerMode::kIambicB, kDot, 3.0);
    CSendingDecoder decoder(kDot);
    const double start = ThreadSeconds();
    constexpr std::int64_t kMinute = 60000000000LL;
    for (std::int64_t cycle = 0; cycle < kMinute; cycle += 16 * kDot) {
        keyer.Press(Paddle::kDot, cycle);
        keyer.Press(Paddle::kDash, cycle);
        keyer.Release(Paddle::kDot, cycle + 9 * kDot);
        keyer.Release(Paddle::kDash, cycle + 9 * kDot);
        for (std::int64_t now = cycle + 9 * kDot; keyer.NextDeadline();) {
            now = *keyer.NextDeadline();
            keyer.AdvanceTo(now);
        }
        for (const KeyEdge& edge : keyer.TakeEdges()) {
            decoder.Add(edge);
        }
    }
    const double cpu = ThreadSeconds() - start;
    std::printf(
        "== CPU of the keyer and the decoder: %.3f ms for a minute of a paddle at 200 a minute "
        "(%.4f %% of a core; goal under 2 %%), %zu characters read (%s...)\n",
        cpu * 1000.0, cpu / 60.0 * 100.0, decoder.Characters().size(),
        decoder.Text().substr(0, 12).c_str());
}

}  // namespace

int main() {
    Accuracy();
    SpeedChange();
    Cpu();
    return 0;
}
