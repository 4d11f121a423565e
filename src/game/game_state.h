#pragma once
// The one record of a game: score, level, special weapon, the message line,
// the flags and the timers. It is never reset as a whole: respawnTimer,
// levelClearTimer and messageAge keep their values from one game to the next.
#include <array>
#include <cstdint>

namespace kolvane {

enum SpecialWeapon : std::int32_t {
    kSpreadfire = 0,
    kMissileburst = 1,
    kMissiles = 2,
    kTeleport = 3,
    kSuperbullet = 4,
    kRepulsor = 5,
};

struct GameState {
    static constexpr std::size_t kMessageSize = 64;

    float level = 1.0f;
    std::int32_t nextSaucerScore = 1000;
    std::int32_t special = kMissiles;
    std::array<char, kMessageSize> message{};  // NUL-terminated
    bool targetingAids = false;
    bool running = false;
    bool paused = false;
    std::int32_t asteroidsLeft = 0;
    std::int32_t respawnTimer = 0;
    std::int32_t messageAge = 0;
    std::int32_t levelClearTimer = 0;
    std::int32_t score = 0;
    std::int32_t shotsFired = 0;

    // Replaces the message text (truncated to fit); the display time is not restarted.
    void setMessage(const char* text);
    const char* messageText() const { return message.data(); }
};

inline void GameState::setMessage(const char* text) {
    std::size_t i = 0;
    for (; text[i] != '\0' && i + 1 < kMessageSize; ++i) message[i] = text[i];
    message[i] = '\0';
}

}  // namespace kolvane
