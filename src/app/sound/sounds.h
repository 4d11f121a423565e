#pragma once
// The game's sounds: one per event the player hears, and two loops. Each is
// synthesized at start-up (sound_recipes.cpp) at 48 kHz, mono.
#include <cstdint>

namespace kolvane::sound {

inline constexpr int kSampleRate = 48000;
// One 15 ms tick of sound.
inline constexpr int kFramesPerTick = kSampleRate * 15 / 1000;

enum class Sound : std::uint8_t {
    // The ship's weapons.
    kShot,
    kSpreadfire,
    kMissile,
    kMissileburst,
    kSuperbullet,
    kRepulsor,
    kTeleportCharge,
    kTeleportJump,
    // Hits and losses.
    kLargeRockDestroyed,
    kSmallRockDestroyed,
    kShipDestroyed,
    kGameOver,
    // The saucer.
    kSaucerAppears,
    kSaucerShot,
    kSaucerDestroyed,
    // Capsules taken.
    kCapsuleWeapon,
    kCapsuleMissiles,
    kCapsuleLife,
    kCapsuleInvincibility,
    kCapsuleTargetingAids,
    // Rewards.
    kMarksmanshipAward,
    kLevelCleared,
    // The engine.
    kThrustStart,
    kThrustStop,
    // Loops: they play while their state holds, not as events.
    kThrustLoop,
    kSaucerHum,
    kCount
};

inline constexpr int kSoundCount = static_cast<int>(Sound::kCount);

constexpr int index(Sound s) {
    return static_cast<int>(s);
}
constexpr bool isLoop(Sound s) {
    return s == Sound::kThrustLoop || s == Sound::kSaucerHum;
}

// A file-friendly name: "shot", "large-rock-destroyed", ...
const char* soundName(Sound s);

// A set of sounds, one bit each.
class SoundSet {
public:
    void add(Sound s) { bits_ |= bit(s); }
    void add(SoundSet other) { bits_ |= other.bits_; }
    bool has(Sound s) const { return (bits_ & bit(s)) != 0; }
    bool empty() const { return bits_ == 0; }
    std::uint32_t bits() const { return bits_; }
    friend bool operator==(const SoundSet&, const SoundSet&) = default;

private:
    static constexpr std::uint32_t bit(Sound s) { return std::uint32_t{1} << index(s); }
    std::uint32_t bits_ = 0;
};
static_assert(kSoundCount <= 32, "a SoundSet holds 32 sounds");

}  // namespace kolvane::sound
