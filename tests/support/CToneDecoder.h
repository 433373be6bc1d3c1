#pragma once

#include <string>
#include <vector>

// Finds the keyed elements in a recording of a tone, independently of how the program renders
// them: I/Q demodulation at the tone, a symmetric moving average two or more periods long (which
// keeps the half-amplitude point of a symmetric edge in place), and half-amplitude crossings with
// hysteresis, interpolated between samples.
class CToneDecoder {
public:
    struct Element {
        double onset;  // samples, with fraction
        double end;
    };

    CToneDecoder(double toneHz, double sampleRate);

    std::vector<Element> FindElements(const std::vector<float>& samples) const;
    // The text of the elements: dots and dashes by length against the shortest element, gaps
    // under two units inside a character, under five between characters, longer between words
    // (a space). Characters without a code come out as '#'.
    static std::string Decode(const std::vector<Element>& elements);
    // The same with the dot's length known: a glitch shorter than a dot does not become the unit.
    static std::string Decode(const std::vector<Element>& elements, double unitSamples);

private:
    double tone;
    double rate;
};
