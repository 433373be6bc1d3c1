#pragma once

#include <string>
#include <vector>

// Order statistics of a sample, for the benchmarks' printed figures.
struct Summary {
    std::size_t count = 0;
    double median = 0.0;
    double p99 = 0.0;
    double maximum = 0.0;
    double minimum = 0.0;
};

Summary Summarize(std::vector<double> values);

// One line: label, count, median, p99, max and min, in the given unit.
void PrintSummary(const std::string& label, const Summary& summary, const std::string& unit);
