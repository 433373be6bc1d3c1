#pragma once

#include <string>
#include <vector>

#include "engine/CTransmissionTimeline.h"
#include "training/CPaddleKeyer.h"

// A timeline keyed as a learner keys it, and what the sending decoder reads of it, for the tests
// and benchmarks of the decoder.

// The edges of a timeline's tones, keyed from a moment of the clock well above zero.
std::vector<KeyEdge> EdgesOf(const CTransmissionTimeline& timeline);

// Read back by a decoder that starts at `signSpeed`, after a minute of silence, without the start
// and end signs (the first word read and the last character).
std::string ReadWithoutSigns(const std::vector<KeyEdge>& edges, int signSpeed);

// The characters changed, left out or added between `a` and `b` (their edit distance).
std::size_t EditDistance(const std::string& a, const std::string& b);

// The share of the characters sent that were read right: the sent and the read characters
// aligned (spaces aside, a word split or run together is no character wrong), less every
// character changed, left out or added.
double ShareRight(const std::string& sent, const std::string& read);
