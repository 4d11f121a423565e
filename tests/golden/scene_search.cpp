// Finds replay scripts for golden scenes that no short hand-written script
// reaches. It plays games in the replay runner with a simple autopilot (aim
// at the nearest rock, shoot, fire missiles, chase capsules), records every
// key and tick it gives as script lines, and prints the first script whose
// game reaches the wanted scene. The runner is the one kolvane-sim uses, so
// the printed script replays to the same frame.
//
//   golden_scene_search battle|aids [FIRST_SEED [LAST_SEED [CLOCK]]]
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/sim/runner.h"
#include "core/platform.h"
#include "game/game_world.h"

namespace {

using kolvane::GameWorld;
using kolvane::Rect;
using kolvane::Vec2;
using kolvane::sim::Options;
using kolvane::sim::Runner;
namespace vk = kolvane::vk;

constexpr int kMaxTicks = 12000;

const char* keyName(int key) {
    switch (key) {
        case vk::kSpace:
            return "SPACE";
        case vk::kX:
            return "X";
        case vk::kS:
            return "S";
        case vk::kLeft:
            return "LEFT";
        case vk::kRight:
            return "RIGHT";
        case vk::kUp:
            return "UP";
        default:
            return "?";
    }
}

// Drives a runner and writes down what it did as script lines.
class Recorder {
public:
    explicit Recorder(Runner& runner) : runner_(runner) {}

    void tick() {
        runner_.tick();
        ++pendingTicks_;
    }
    void hold(int key, bool on) {
        if (held_[key] == on) return;
        flush();
        held_[key] = on;
        if (on) {
            script_ += std::string("down ") + keyName(key) + "\n";
            runner_.keyDown(key, false);
        } else {
            script_ += std::string("up ") + keyName(key) + "\n";
            runner_.release(key);
        }
    }
    void press(int key) {
        flush();
        script_ += std::string("press ") + keyName(key) + "\n";
        runner_.press(key);
    }
    const std::string& script() {
        flush();
        return script_;
    }

private:
    void flush() {
        if (pendingTicks_ > 0) script_ += "tick " + std::to_string(pendingTicks_) + "\n";
        pendingTicks_ = 0;
    }

    Runner& runner_;
    std::string script_;
    int pendingTicks_ = 0;
    std::array<bool, 256> held_{};
};

// The shortest way from a to b on the wrapping field.
Vec2 wrappedDelta(Vec2 a, Vec2 b, const Rect& client) {
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    const double w = client.right;
    const double h = client.bottom;
    if (dx > w / 2) dx -= w;
    if (dx < -w / 2) dx += w;
    if (dy > h / 2) dy -= h;
    if (dy < -h / 2) dy += h;
    return Vec2(dx, dy);
}

double angleBetween(Vec2 heading, Vec2 direction) {
    double d = (std::atan2(direction.y, direction.x) - std::atan2(heading.y, heading.x)) * 180.0 /
               3.141592653589793;
    while (d > 180) d -= 360;
    while (d < -180) d += 360;
    return d;
}

bool onScreen(const Rect& r, const Rect& client) {
    // Clear of the HUD and message lines.
    return r.left >= 0 && r.top >= 50 && r.right <= client.right && r.bottom <= client.bottom;
}

bool battleScene(const GameWorld& w, const Rect& client) {
    const auto& ship = w.ship;
    if (!ship.isActive() || ship.invincibleTimer <= 0 || ship.teleportCharge > 0) return false;
    bool bullet = false;
    bool missile = false;
    for (int i = 0; i < kolvane::Ship::kSlots; ++i) {
        bullet = bullet || ship.bullet(i).isActive();
        const auto& m = ship.missile(i);
        missile =
            missile || (m.isActive() && m.getTarget() != nullptr && m.getTarget()->isActive());
    }
    bool saucer = false;
    for (const auto& s : w.saucers)
        saucer = saucer || (s.isActive() && onScreen(s.getBounds(), client));
    const auto& p = w.powerUp;
    const bool capsule = p.isActive() && p.getAge() % 50 != 0 && onScreen(p.getBounds(), client);
    return bullet && missile && saucer && capsule;
}

bool aidsScene(const GameWorld& w) {
    if (!w.game.targetingAids || !w.ship.isActive()) return false;
    // Well inside the field, so that the pointer line crosses the picture.
    const Vec2 p = w.ship.getPosition();
    if (p.x < 150 || p.x > 590 || p.y < 150 || p.y > 430) return false;
    int rocks = 0;
    for (const auto& a : w.asteroids) rocks += a.isActive() ? 1 : 0;
    return rocks >= 3;
}

// One tick's decisions.
void steer(Recorder& rec, const GameWorld& w, const Rect& client, int tick, bool chaseCapsules) {
    const auto& ship = w.ship;
    if (!ship.isActive()) {
        rec.hold(vk::kLeft, false);
        rec.hold(vk::kRight, false);
        rec.hold(vk::kUp, false);
        return;
    }
    const Vec2 pos = ship.getPosition();
    // Chase a capsule when asked; otherwise the nearest rock, led by its drift.
    bool chasing = false;
    Vec2 aim;
    double best = 1e9;
    if (chaseCapsules && w.powerUp.isActive()) {
        aim = wrappedDelta(pos, w.powerUp.getPosition() + Vec2(10.0, 10.0), client);
        chasing = true;
    } else {
        for (const auto& a : w.asteroids) {
            if (!a.isActive()) continue;
            Vec2 d = wrappedDelta(pos, a.getPosition(), client);
            const double dist = d.length();
            d += a.getVelocity() * (dist / 15.0);
            if (dist < best) {
                best = dist;
                aim = d;
            }
        }
        if (best > 1e8) aim = Vec2(0.0, -1.0);
    }
    const double turn = angleBetween(ship.getHeading(), aim);
    rec.hold(vk::kRight, turn > 2.5);
    rec.hold(vk::kLeft, turn < -2.5);
    const double speed = ship.getVelocity().length();
    rec.hold(vk::kUp, chasing && std::fabs(turn) < 10 && speed < 2.5);

    int bullets = 0;
    bool missileOut = false;
    for (int i = 0; i < kolvane::Ship::kSlots; ++i) {
        bullets += ship.bullet(i).isActive() ? 1 : 0;
        missileOut = missileOut || ship.missile(i).isActive();
    }
    if (!chasing && std::fabs(turn) < 6 && best < 480 && bullets < 3 && tick % 4 == 0) {
        rec.press(vk::kSpace);
    }
    if (!missileOut && w.game.special == kolvane::kMissiles && ship.getMissileCount() > 0 &&
        tick % 40 == 0) {
        rec.press(vk::kX);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: golden_scene_search battle|aids [FIRST [LAST [CLOCK]]]\n");
        return 2;
    }
    const std::string scene = argv[1];
    const unsigned first = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    const unsigned last = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : first + 200;
    const long clock = argc > 4 ? std::strtol(argv[4], nullptr, 10) : 1000000000;

    for (unsigned seed = first; seed <= last; ++seed) {
        Options options;
        options.seed = seed;
        options.clock = static_cast<std::int32_t>(clock);
        Runner runner(options, nullptr);
        runner.start();
        Recorder rec(runner);
        rec.press(vk::kS);
        const GameWorld& w = runner.world();
        const Rect client = runner.client();
        for (int tick = 1; tick <= kMaxTicks && w.game.running; ++tick) {
            steer(rec, w, client, tick, true);
            rec.tick();
            const bool found = scene == "battle" ? battleScene(w, client) : aidsScene(w);
            if (found) {
                std::printf("# args: --seed %u --clock %ld\n%s", seed, clock, rec.script().c_str());
                std::fprintf(stderr, "seed %u: scene at tick %d, score %d\n", seed, tick,
                             w.game.score);
                return 0;
            }
        }
        std::fprintf(stderr, "seed %u: no scene (score %d)\n", seed, w.game.score);
    }
    return 1;
}
