#include "bench/Statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

Summary Summarize(std::vector<double> values) {
    Summary summary;
    if (values.empty()) {
        return summary;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&](double quantile) {
        const auto index = static_cast<std::size_t>(
            std::ceil(quantile * static_cast<double>(values.size())) - 1.0);
        return values[std::min(index, values.size() - 1)];
    };
    summary.count = values.size();
    summary.median = at(0.5);
    summary.p99 = at(0.99);
    summary.maximum = values.back();
    summary.minimum = values.front();
    return summary;
}

void PrintSummary(const std::string& label, const Summary& summary, const std::string& unit) {
    std::printf("%-28s n=%-5zu median %9.1f  p99 %9.1f  max %9.1f  min %9.1f %s\n", label.c_str(),
                summary.count, summary.median, summary.p99, summary.maximum, summary.minimum,
                unit.c_str());
}
