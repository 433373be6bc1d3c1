#include "engine/SoundFileFormats.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "output/LiquidFilters.h"

namespace soundfile {

namespace {

constexpr std::size_t kWavHeaderBytes = 44;
// Opus is defined at 48 kHz (and fractions of it), not at 44.1 kHz.
constexpr int kOpusSampleRate = 48000;
// The lossy formats' trade of size against quality (0 the best, 1 the smallest). Below these, the
// codecs begin to chop a full-scale tone (Vorbis above half, Opus above 0.7).
constexpr double kCompressionLevel = 0.5;
constexpr double kOpusCompressionLevel = 0.6;
// Frames handed to the library at a time.
constexpr std::size_t kWriteFrames = 8192;

// A file in memory for libsndfile's virtual input and output.
struct Memory {
    std::string bytes;
    sf_count_t position = 0;
};

Memory& Of(void* user) {
    return *static_cast<Memory*>(user);
}

sf_count_t Length(void* user) {
    return static_cast<sf_count_t>(Of(user).bytes.size());
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    Memory& memory = Of(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR) {
        base = memory.position;
    } else if (whence == SEEK_END) {
        base = static_cast<sf_count_t>(memory.bytes.size());
    }
    const sf_count_t target = base + offset;
    if (target < 0) {
        return -1;
    }
    memory.position = target;
    return target;
}

sf_count_t Read(void* destination, sf_count_t count, void* user) {
    Memory& memory = Of(user);
    const auto size = static_cast<sf_count_t>(memory.bytes.size());
    const sf_count_t available = std::max<sf_count_t>(0, size - memory.position);
    const sf_count_t taken = std::clamp<sf_count_t>(count, 0, available);
    if (taken > 0) {
        std::memcpy(destination, memory.bytes.data() + memory.position,
                    static_cast<std::size_t>(taken));
    }
    memory.position += taken;
    return taken;
}

sf_count_t Write(const void* source, sf_count_t count, void* user) {
    Memory& memory = Of(user);
    if (count <= 0) {
        return 0;
    }
    const auto end = static_cast<std::size_t>(memory.position + count);
    if (memory.bytes.size() < end) {
        memory.bytes.resize(end);
    }
    std::memcpy(memory.bytes.data() + memory.position, source, static_cast<std::size_t>(count));
    memory.position += count;
    return count;
}

sf_count_t Tell(void* user) {
    return Of(user).position;
}

SF_VIRTUAL_IO& Callbacks() {
    static SF_VIRTUAL_IO callbacks{Length, Seek, Read, Write, Tell};
    return callbacks;
}

int MajorAndEncoding(Format format) {
    switch (format) {
        case Format::Wav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case Format::Flac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case Format::Vorbis:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        case Format::Opus:
            return SF_FORMAT_OGG | SF_FORMAT_OPUS;
        case Format::Mp3:
            return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    }
    return 0;
}

std::vector<std::int16_t> Resampled(std::span<const std::int16_t> samples, int from, int to) {
    std::vector<float> input(samples.size());
    std::transform(samples.begin(), samples.end(), input.begin(),
                   [](std::int16_t s) { return static_cast<float>(s) / 32768.0F; });
    const std::vector<float> output = ::Resampled(input, from, to);
    std::vector<std::int16_t> result(output.size());
    std::transform(output.begin(), output.end(), result.begin(), [](float s) {
        return static_cast<std::int16_t>(
            std::lround(std::clamp(s * 32768.0F, -32768.0F, 32767.0F)));
    });
    return result;
}

// The Ogg pages' checksum: CRC-32 with the polynomial 0x04C11DB7, not reflected, from zero.
std::uint32_t OggChecksum(std::string_view page) {
    std::uint32_t crc = 0;
    for (const char c : page) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000U) != 0 ? (crc << 1) ^ 0x04C11DB7U : crc << 1;
        }
    }
    return crc;
}

// The library gives each Ogg stream a serial number drawn from the clock, so that two runs with
// the same samples would differ: every page gets the same fixed serial and its checksum anew.
void FixOggSerial(std::string& bytes) {
    constexpr std::size_t kHeader = 27;
    constexpr std::uint32_t kSerial = 0x42524D4CU;  // "BRML"
    std::size_t at = 0;
    while (at + kHeader <= bytes.size() && bytes.compare(at, 4, "OggS") == 0) {
        const auto segments = static_cast<unsigned char>(bytes[at + 26]);
        if (at + kHeader + segments > bytes.size()) {
            return;
        }
        std::size_t body = 0;
        for (std::size_t s = 0; s < segments; ++s) {
            body += static_cast<unsigned char>(bytes[at + kHeader + s]);
        }
        const std::size_t size = kHeader + segments + body;
        if (at + size > bytes.size()) {
            return;
        }
        const auto put = [&bytes](std::size_t where, std::uint32_t value) {
            for (int k = 0; k < 4; ++k) {
                bytes[where + static_cast<std::size_t>(k)] =
                    static_cast<char>((value >> (8 * k)) & 0xFFU);
            }
        };
        put(at + 14, kSerial);
        put(at + 22, 0);
        put(at + 22, OggChecksum(std::string_view(bytes).substr(at, size)));
        at += size;
    }
}

std::string LowerExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return extension;
}

}  // namespace

std::optional<Format> FormatOfPath(std::string_view path) {
    const std::string extension = LowerExtension(path);
    if (extension == "wav") {
        return Format::Wav;
    }
    if (extension == "flac") {
        return Format::Flac;
    }
    if (extension == "ogg" || extension == "oga") {
        return Format::Vorbis;
    }
    if (extension == "opus") {
        return Format::Opus;
    }
    if (extension == "mp3") {
        return Format::Mp3;
    }
    return std::nullopt;
}

std::vector<std::int16_t> SamplesOfWav(std::string_view bytes) {
    if (bytes.size() < kWavHeaderBytes || bytes.substr(0, 4) != "RIFF" ||
        bytes.substr(8, 8) != "WAVEfmt " || bytes.substr(36, 4) != "data") {
        return {};
    }
    const std::size_t count = (bytes.size() - kWavHeaderBytes) / 2;
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto low = static_cast<unsigned char>(bytes[kWavHeaderBytes + 2 * i]);
        const auto high = static_cast<unsigned char>(bytes[kWavHeaderBytes + 2 * i + 1]);
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    return samples;
}

std::optional<std::string> Encode(std::span<const std::int16_t> samples, int sampleRate,
                                  Format format, std::string* error, const std::string& title) {
    std::vector<std::int16_t> resampled;
    if (format == Format::Opus && sampleRate != kOpusSampleRate) {
        resampled = Resampled(samples, sampleRate, kOpusSampleRate);
        samples = resampled;
        sampleRate = kOpusSampleRate;
    }
    Memory memory;
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = MajorAndEncoding(format);
    SNDFILE* file = sf_open_virtual(&Callbacks(), SFM_WRITE, &info, &memory);
    if (file == nullptr) {
        if (error != nullptr) {
            *error = sf_strerror(nullptr);
        }
        return std::nullopt;
    }
    if (!title.empty()) {
        sf_set_string(file, SF_STR_TITLE, title.c_str());
    }
    if (format != Format::Wav && format != Format::Flac) {
        double level = format == Format::Opus ? kOpusCompressionLevel : kCompressionLevel;
        sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof(level));
    }
    // In blocks: the Vorbis encoder takes a whole call's samples into one buffer of its own and
    // fails on a long file handed over at once.
    bool written = true;
    for (std::size_t first = 0; written && first < samples.size(); first += kWriteFrames) {
        const auto frames = static_cast<sf_count_t>(std::min(kWriteFrames, samples.size() - first));
        written = sf_writef_short(file, samples.data() + first, frames) == frames;
    }
    if (!written && error != nullptr) {
        *error = sf_strerror(file);
    }
    const bool closed = sf_close(file) == 0;
    if (!written || !closed) {
        return std::nullopt;
    }
    if (format == Format::Vorbis || format == Format::Opus) {
        FixOggSerial(memory.bytes);
    }
    return std::move(memory.bytes);
}

std::optional<Decoded> Decode(std::string_view bytes) {
    Memory memory{std::string(bytes), 0};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&Callbacks(), SFM_READ, &info, &memory);
    if (file == nullptr) {
        return std::nullopt;
    }
    // A lossy codec overshoots a tone at full scale a little: clip it, as a player does, rather
    // than let it wrap around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    Decoded decoded;
    decoded.sampleRate = info.samplerate;
    const int channels = std::max(1, info.channels);
    std::vector<std::int16_t> block(static_cast<std::size_t>(4096 * channels));
    sf_count_t got = 0;
    while ((got = sf_readf_short(file, block.data(), 4096)) > 0) {
        for (sf_count_t f = 0; f < got; ++f) {
            decoded.samples.push_back(block[static_cast<std::size_t>(f * channels)]);
        }
    }
    sf_close(file);
    return decoded;
}

}  // namespace soundfile
