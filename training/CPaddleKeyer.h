#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/KeyingSettings.h"

// One change of the keyed line, at a moment of the monotonic clock in nanoseconds.
struct KeyEdge {
    bool down = false;
    std::int64_t at = 0;
    bool operator==(const KeyEdge&) const = default;
};

// The learner's key turned into keyed edges, on virtual time: every press and release carries the
// moment it arrived, and the keyer's own moments (an element's end) are keyed by AdvanceTo. A
// straight key's edges pass through. A paddle keys elements at the chosen dot length and dot:dash
// ratio, each followed by a gap of one dot; at the end of that gap it decides the next element:
//   1. the opposite lever, if it is held or remembered;
//   2. else the same lever again, if it is held;
//   3. else nothing: the keyer waits for the next press, which starts an element at once.
// So a squeeze alternates. What is remembered (dot and dash memory):
//   mode A: a tap of the opposite lever during an element (mark or gap) made while the element's
//           own lever was not held and released before the decision; a squeeze released before
//           the decision leaves nothing, and the keyer stops after the element it is keying;
//   mode B: any press of the opposite lever during an element, and an opposite lever held when an
//           element starts; releasing a squeeze during an element keys one more, the opposite.
// No clock and no thread; one caller at a time. Moments never go back.
class CPaddleKeyer {
public:
    CPaddleKeyer(KeyerMode mode, std::int64_t dotNanoseconds, double dashRatio);

    void Press(Paddle paddle, std::int64_t at);
    void Release(Paddle paddle, std::int64_t at);
    // Keys what falls due up to `now`.
    void AdvanceTo(std::int64_t now);
    // When AdvanceTo is next needed: the end of the mark or gap being keyed, if any.
    std::optional<std::int64_t> NextDeadline() const;
    // The edges keyed since the last call, in order.
    std::vector<KeyEdge> TakeEdges();
    bool Sending() const { return phase != Phase::kIdle; }

private:
    enum class Phase { kIdle, kMark, kGap };
    static int Index(Paddle paddle) { return static_cast<int>(paddle); }
    static Paddle Opposite(Paddle paddle) {
        return paddle == Paddle::kDot ? Paddle::kDash : Paddle::kDot;
    }
    void StartElement(Paddle element, std::int64_t at);
    void Decide(std::int64_t at);

    KeyerMode mode;
    std::int64_t dot;
    std::int64_t dash;
    Phase phase = Phase::kIdle;
    Paddle current = Paddle::kDot;
    std::int64_t phaseEnd = 0;
    bool held[2] = {false, false};
    bool remembered[2] = {false, false};
    // Mode A: a press of the lever during the element, not part of a squeeze, not yet released.
    bool tapping[2] = {false, false};
    std::vector<KeyEdge> edges;
};
