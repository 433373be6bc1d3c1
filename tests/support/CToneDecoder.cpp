#include "tests/support/CToneDecoder.h"

#include <algorithm>
#include <cmath>

#include "core/CMorseTable.h"

namespace {

constexpr double kPi = 3.141592653589793;

char CharacterOf(const std::string& code) {
    for (int byte = '!'; byte <= 'Z'; ++byte) {
        if (CMorseTable::CodeOf(static_cast<char>(byte), false) == code) {
            return static_cast<char>(byte);
        }
    }
    return '#';
}

// Centred moving average over an odd `window`; zero where the window does not fit.
std::vector<double> MovingAverage(const std::vector<double>& values, std::size_t window) {
    const std::size_t n = values.size();
    const std::size_t half = window / 2;
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        prefix[i + 1] = prefix[i] + values[i];
    }
    std::vector<double> averaged(n, 0.0);
    for (std::size_t i = half; i + half < n; ++i) {
        averaged[i] = (prefix[i + half + 1] - prefix[i - half]) / static_cast<double>(window);
    }
    return averaged;
}

}  // namespace

CToneDecoder::CToneDecoder(double toneHz, double sampleRate) : tone(toneHz), rate(sampleRate) {}

std::vector<CToneDecoder::Element> CToneDecoder::FindElements(
    const std::vector<float>& samples) const {
    // A window of a whole number of half periods, at least 3 ms, puts a zero of its response on
    // the double-frequency term.
    const double halfPeriod = rate / (2 * tone);
    const int halves = static_cast<int>(std::ceil(0.003 * rate / halfPeriod));
    const auto window = static_cast<std::size_t>(std::lround(halves * halfPeriod)) | 1U;
    const std::size_t n = samples.size();
    const double omega = 2 * kPi * tone / rate;
    std::vector<double> in(n);
    std::vector<double> quadrature(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double angle = omega * static_cast<double>(i);
        in[i] = samples[i] * std::sin(angle);
        quadrature[i] = samples[i] * std::cos(angle);
    }
    // Two passes of the moving average make a triangular window: the double-frequency term sits
    // on a zero of both passes, and what leaks past the first is squared away by the second.
    for (int pass = 0; pass < 2; ++pass) {
        in = MovingAverage(in, window);
        quadrature = MovingAverage(quadrature, window);
    }
    std::vector<double> envelope(n, 0.0);
    double peak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        envelope[i] = 2 * std::sqrt(in[i] * in[i] + quadrature[i] * quadrature[i]);
        peak = std::max(peak, envelope[i]);
    }
    std::vector<Element> elements;
    if (peak <= 0) {
        return elements;
    }
    const double level = peak / 2;
    const auto crossing = [&](std::size_t i) {
        const double a = envelope[i - 1] - level;
        const double b = envelope[i] - level;
        return static_cast<double>(i - 1) + a / (a - b);
    };
    // Hysteresis: an element begins when the envelope rises above 0.6 of the peak and ends when
    // it falls below 0.4; its edges are the half-amplitude crossings before those moments.
    bool on = false;
    double rise = 0;
    double fall = 0;
    double onset = 0;
    for (std::size_t i = 1; i < n; ++i) {
        if (envelope[i - 1] < level && envelope[i] >= level) {
            rise = crossing(i);
        }
        if (envelope[i - 1] >= level && envelope[i] < level) {
            fall = crossing(i);
        }
        if (!on && envelope[i] > 0.6 * peak) {
            on = true;
            onset = rise;
        } else if (on && envelope[i] < 0.4 * peak) {
            on = false;
            elements.push_back({onset, fall});
        }
    }
    return elements;
}

std::string CToneDecoder::Decode(const std::vector<Element>& elements) {
    if (elements.empty()) {
        return {};
    }
    double unit = elements.front().end - elements.front().onset;
    for (const Element& element : elements) {
        unit = std::min(unit, element.end - element.onset);
    }
    return Decode(elements, unit);
}

std::string CToneDecoder::Decode(const std::vector<Element>& elements, double unit) {
    std::string text;
    std::string code;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        code += (elements[i].end - elements[i].onset) < 2 * unit ? '.' : '-';
        const double gap = i + 1 < elements.size() ? elements[i + 1].onset - elements[i].end : 1e18;
        if (gap >= 2 * unit) {
            text += CharacterOf(code);
            code.clear();
            if (gap >= 5 * unit && i + 1 < elements.size()) {
                text += ' ';
            }
        }
    }
    return text;
}
