#include "app/sound/sound_bank.h"

#include "app/sound/sound_recipes.h"
#include "app/sound/synth.h"

namespace kolvane::sound {

namespace {

// Each sound's noise starts from its own seed.
constexpr std::uint32_t seedOf(int i) {
    return 0x2545F491u + static_cast<std::uint32_t>(i) * 0x9E3779B9u;
}

}  // namespace

SoundBank::SoundBank() {
    std::size_t total = 0;
    for (int i = 0; i < kSoundCount; ++i) {
        total += static_cast<std::size_t>(renderedFrames(recipeOf(static_cast<Sound>(i))));
    }
    samples_.assign(total, 0.0f);
    std::size_t offset = 0;
    for (int i = 0; i < kSoundCount; ++i) {
        const Recipe& r = recipeOf(static_cast<Sound>(i));
        synthesize(r, seedOf(i), samples_.data() + offset);
        pieces_[i] = Piece{offset, static_cast<std::size_t>(playFrames(r))};
        offset += static_cast<std::size_t>(renderedFrames(r));
    }
}

}  // namespace kolvane::sound
