#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The formats a rendered transmission can be saved in, all written by libsndfile: WAV (16-bit
// PCM, byte for byte the program's own WAV), FLAC, Ogg Vorbis, Ogg Opus (at 48 kHz, which Opus
// requires: the samples are resampled) and MP3.
namespace soundfile {

enum class Format { Wav, Flac, Vorbis, Opus, Mp3 };

// The format a file name's extension names (".wav", ".flac", ".ogg", ".opus", ".mp3", in any
// case); none for another or no extension.
std::optional<Format> FormatOfPath(std::string_view path);

// The samples of a WAV file as `RenderWav` writes it (16-bit mono PCM, data after a 44-byte
// header); empty for anything else.
std::vector<std::int16_t> SamplesOfWav(std::string_view bytes);

// Encodes mono 16-bit `samples` at `sampleRate` as a whole file of `format`, with `title` in its
// tags unless empty. Empty on failure, with the library's reason in `error` when given.
std::optional<std::string> Encode(std::span<const std::int16_t> samples, int sampleRate,
                                  Format format, std::string* error = nullptr,
                                  const std::string& title = {});

// Decodes a whole file in any format libsndfile reads, as mono 16-bit samples (the first channel)
// and its sample rate; none when it cannot be read.
struct Decoded {
    std::vector<std::int16_t> samples;
    int sampleRate = 0;
};
std::optional<Decoded> Decode(std::string_view bytes);

}  // namespace soundfile
