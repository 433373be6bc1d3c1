#include "training/CPaddleKeyer.h"

#include <cmath>
#include <utility>

CPaddleKeyer::CPaddleKeyer(KeyerMode keyerMode, std::int64_t dotNanoseconds, double dashRatio)
    : mode(keyerMode),
      dot(dotNanoseconds),
      dash(std::llround(static_cast<double>(dotNanoseconds) * dashRatio)) {}

void CPaddleKeyer::Press(Paddle paddle, std::int64_t at) {
    AdvanceTo(at);
    const int lever = Index(paddle);
    if (held[lever]) {
        return;
    }
    held[lever] = true;
    if (mode == KeyerMode::kStraight) {
        edges.push_back({true, at});
        return;
    }
    if (phase == Phase::kIdle) {
        StartElement(paddle, at);
        return;
    }
    if (paddle == current) {
        return;
    }
    if (mode == KeyerMode::kIambicB) {
        remembered[lever] = true;
    } else if (!held[Index(current)]) {
        tapping[lever] = true;
    }
}

void CPaddleKeyer::Release(Paddle paddle, std::int64_t at) {
    AdvanceTo(at);
    const int lever = Index(paddle);
    if (!held[lever]) {
        return;
    }
    held[lever] = false;
    if (mode == KeyerMode::kStraight) {
        edges.push_back({false, at});
        return;
    }
    if (tapping[lever]) {
        // A tap made and let go within the element: kept for after it.
        tapping[lever] = false;
        remembered[lever] = true;
    }
}

void CPaddleKeyer::StartElement(Paddle element, std::int64_t at) {
    current = element;
    phase = Phase::kMark;
    phaseEnd = at + (element == Paddle::kDot ? dot : dash);
    remembered[Index(element)] = false;
    tapping[Index(element)] = false;
    const int other = Index(Opposite(element));
    tapping[other] = false;
    if (mode == KeyerMode::kIambicB && held[other]) {
        remembered[other] = true;
    }
    edges.push_back({true, at});
}

void CPaddleKeyer::Decide(std::int64_t at) {
    const Paddle other = Opposite(current);
    if (held[Index(other)] || remembered[Index(other)]) {
        StartElement(other, at);
    } else if (held[Index(current)]) {
        StartElement(current, at);
    } else {
        phase = Phase::kIdle;
        remembered[0] = remembered[1] = false;
        tapping[0] = tapping[1] = false;
    }
}

void CPaddleKeyer::AdvanceTo(std::int64_t now) {
    while (phase != Phase::kIdle && phaseEnd <= now) {
        const std::int64_t at = phaseEnd;
        if (phase == Phase::kMark) {
            edges.push_back({false, at});
            phase = Phase::kGap;
            phaseEnd = at + dot;
        } else {
            Decide(at);
        }
    }
}

std::optional<std::int64_t> CPaddleKeyer::NextDeadline() const {
    if (phase == Phase::kIdle) {
        return std::nullopt;
    }
    return phaseEnd;
}

std::vector<KeyEdge> CPaddleKeyer::TakeEdges() {
    return std::exchange(edges, {});
}
