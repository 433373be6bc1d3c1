#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The timing model's timeline of a continuous transmission of a generated text, worked out here
// from the timing arithmetic and the code table alone, as the truth the benchmarks measure
// against: where every element begins and how long it is, in 100-ns units from the start of the
// start sign.
struct ModelElement {
    std::int64_t startUnits;
    std::int64_t lengthUnits;
};

std::vector<ModelElement> ModelTimeline(const std::string& text, int signSpeed, int textSpeed,
                                        double dashRatio);

// How long the timeline lasts, in seconds: from the start to the end of its last element.
double ModelSeconds(const std::vector<ModelElement>& timeline);
