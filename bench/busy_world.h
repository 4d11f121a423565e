#pragma once
// A busy mid-game world for the benchmarks and the allocation test.
//
// A recorded game (tests/golden/battle.script, seed 188) is replayed through
// the game's own frame cycle and script reader, with the replay runner's
// clock. Play rarely fills every slot at once, so fill() then tops the world
// up with the game's own operations, the ones the rules call: small asteroids
// spawned into the free slots (as a broken rock's fragments are, counted in
// asteroidsLeft), saucers launched at the ship with their shots fired, the
// ship's ten bullets and ten missiles fired, a capsule dropped, the targeting
// aids granted and their message shown.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/session/session.h"
#include "app/session/tick_and_field.h"
#include "core/geometry.h"

namespace kolvane {
struct GameWorld;
}

namespace kolvane::bench {

class BusyGame {
public:
    static constexpr std::int32_t kSeed = 188;
    static constexpr std::int32_t kClock = 1000000000;

    // Replays the recorded game and fills the world. On a missing or bad
    // script, ok() is false and error() says why.
    BusyGame();
    ~BusyGame();
    BusyGame(const BusyGame&) = delete;
    BusyGame& operator=(const BusyGame&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // Tops every slot up as far as the rules allow (see above).
    void fill();

    // One timer tick (the clock advanced, as in the runner), and one paint.
    void tick() { session_.tick(); }
    void paint() { session_.paint(); }
    void keyDown(int key);  // held until release()
    void press(int key);    // released straight after
    void release(int key);

    // Keeps the whole state of the game (world, generator) and puts it back,
    // so a benchmark can repeat one tick or one paint of the same scene.
    // Every pointer in the world points into the world itself and no member
    // owns memory, so a byte copy back into the same object restores it.
    void save();
    void restore();

    GameWorld& world() { return *world_; }
    Session& session() { return session_; }
    const Rect& client() const { return client_; }

    // How many objects of each kind are in play.
    struct Census {
        int asteroids = 0;
        int saucers = 0;
        int saucerShots = 0;
        int bullets = 0;
        int missiles = 0;
        bool capsule = false;
        bool targetingAids = false;
        bool message = false;
    };
    Census census() const;

private:
    bool replay(const char* path);

    Rect client_ = kDefaultClient;
    std::unique_ptr<GameWorld> world_;
    Session session_;
    std::vector<unsigned char> saved_;
    std::uint32_t savedRandom_ = 0;
    std::string error_;
};

}  // namespace kolvane::bench
