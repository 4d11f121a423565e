#pragma once
// Every sound, synthesized once at start-up into one block of samples.
#include <array>
#include <span>
#include <vector>

#include "app/sound/sounds.h"

namespace kolvane::sound {

class SoundBank {
public:
    // Synthesizes every recipe (a few milliseconds; the only allocation).
    SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // The samples a sound plays, at 48 kHz; a loop's last runs into its first.
    std::span<const float> samples(Sound s) const {
        const Piece& p = pieces_[index(s)];
        return {samples_.data() + p.offset, p.frames};
    }

private:
    struct Piece {
        std::size_t offset = 0;
        std::size_t frames = 0;
    };
    std::vector<float> samples_;
    std::array<Piece, kSoundCount> pieces_{};
};

}  // namespace kolvane::sound
