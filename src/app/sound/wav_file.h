#pragma once
// WAV files of 16-bit mono samples, for listening to the sounds outside the
// game (kolvane-sounds).
#include <cstdint>
#include <span>
#include <string>

namespace kolvane::sound {

// The whole file: the RIFF header and the samples, little-endian.
std::string wavBytes(std::span<const std::int16_t> samples, int sampleRate);

}  // namespace kolvane::sound
