#include "app/sound/wav_file.h"

namespace kolvane::sound {

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string wavBytes(std::span<const std::int16_t> samples, int sampleRate) {
    constexpr std::uint32_t kHeaderBytes = 44;
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    std::string out;
    out.reserve(kHeaderBytes + dataBytes);
    out += "RIFF";
    put(out, kHeaderBytes - 8 + dataBytes, 4);
    out += "WAVEfmt ";
    put(out, 16, 4);  // the format block's size
    put(out, 1, 2);   // PCM
    put(out, 1, 2);   // one channel
    put(out, static_cast<std::uint32_t>(sampleRate), 4);
    put(out, static_cast<std::uint32_t>(sampleRate) * kBytesPerSample, 4);
    put(out, kBytesPerSample, 2);
    put(out, 16, 2);  // bits per sample
    out += "data";
    put(out, dataBytes, 4);
    for (const std::int16_t s : samples) put(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace kolvane::sound
