#include "tests/support/SendingTimelines.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "training/CSendingDecoder.h"

namespace {

constexpr std::int64_t kNanosecondsPerUnit = 100;
constexpr std::int64_t kFromNanoseconds = 1000000000;
constexpr std::int64_t kMinuteNanoseconds = 60000000000LL;

std::string WithoutSpaces(const std::string& text) {
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char c) { return c != ' '; });
    return kept;
}

}  // namespace

std::vector<KeyEdge> EdgesOf(const CTransmissionTimeline& timeline) {
    std::vector<KeyEdge> edges;
    for (const auto& tone : timeline.Tones()) {
        edges.push_back({true, kFromNanoseconds + tone.startUnits * kNanosecondsPerUnit});
        edges.push_back(
            {false, kFromNanoseconds + (tone.startUnits + tone.lengthUnits) * kNanosecondsPerUnit});
    }
    return edges;
}

std::string ReadWithoutSigns(const std::vector<KeyEdge>& edges, int signSpeed) {
    CSendingDecoder decoder(static_cast<std::int64_t>(6e9 / signSpeed));
    for (const KeyEdge& edge : edges) {
        decoder.Add(edge);
    }
    decoder.Idle(edges.back().at + kMinuteNanoseconds);
    std::string text = decoder.Text();
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    const std::size_t first = text.find(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first + 1, text.size() - first - 2);
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
    // One row of the table at a time.
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
    return row[b.size()];
}

double ShareRight(const std::string& sent, const std::string& read) {
    const std::string a = WithoutSpaces(sent);
    return 1.0 - static_cast<double>(EditDistance(a, WithoutSpaces(read))) /
                     static_cast<double>(a.size());
}
