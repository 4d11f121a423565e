#include "app/sim/trace.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "app/sim/float_text.h"
#include "core/random.h"
#include "game/game_world.h"

namespace kolvane::sim {

namespace {

// Writes JSON tokens into a string, placing the commas itself.
class JsonLine {
public:
    explicit JsonLine(std::string& out) : out_(out) {}

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(std::string_view name) {
        separate();
        out_ += '"';
        out_.append(name);
        out_.append("\":");
        afterKey_ = true;
    }

    void integer(std::int64_t v) {
        separate();
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, r.ptr);
    }

    // The shortest text that reads back as the same float; JSON has no
    // infinities or NaN, so those are written as null.
    void number(float v) {
        separate();
        if (!std::isfinite(v)) {
            out_.append("null");
            return;
        }
        char buf[32];
        out_.append(buf, formatShortestFloat(buf, buf + sizeof buf, v));
    }

    void boolean(bool v) {
        separate();
        out_.append(v ? "true" : "false");
    }

    void null() {
        separate();
        out_.append("null");
    }

    void string(const char* s) {
        separate();
        out_ += '"';
        for (; *s != '\0'; ++s) {
            const auto c = static_cast<unsigned char>(*s);
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F) {
                constexpr char kHex[] = "0123456789abcdef";
                const char esc[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
                out_.append(esc, sizeof esc);
            } else {
                out_ += static_cast<char>(c);
            }
        }
        out_ += '"';
    }

    void vec(Vec2 v) {
        beginArray();
        number(v.x);
        number(v.y);
        endArray();
    }

    void point(Point p) {
        beginArray();
        integer(p.x);
        integer(p.y);
        endArray();
    }

    void rect(const Rect& r) {
        beginArray();
        integer(r.left);
        integer(r.top);
        integer(r.right);
        integer(r.bottom);
        endArray();
    }

private:
    static constexpr int kMaxDepth = 8;

    void separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (depth_ > 0) {
            if (!first_[depth_]) out_ += ',';
            first_[depth_] = false;
        }
    }
    void open(char c) {
        separate();
        out_ += c;
        first_[++depth_] = true;
    }
    void close(char c) {
        out_ += c;
        --depth_;
    }

    std::string& out_;
    std::array<bool, kMaxDepth + 1> first_{};
    int depth_ = 0;
    bool afterKey_ = false;
};

void writeGame(JsonLine& j, const GameWorld& world) {
    const GameState& g = world.game;
    j.key("game");
    j.beginObject();
    j.key("level");
    j.number(g.level);
    j.key("nextSaucerScore");
    j.integer(g.nextSaucerScore);
    j.key("special");
    j.integer(g.special);
    j.key("message");
    j.string(g.messageText());
    j.key("targetingAids");
    j.boolean(g.targetingAids);
    j.key("running");
    j.boolean(g.running);
    j.key("paused");
    j.boolean(g.paused);
    j.key("asteroidsLeft");
    j.integer(g.asteroidsLeft);
    j.key("respawnTimer");
    j.integer(g.respawnTimer);
    j.key("messageAge");
    j.integer(g.messageAge);
    j.key("levelClearTimer");
    j.integer(g.levelClearTimer);
    j.key("score");
    j.integer(g.score);
    j.key("shotsFired");
    j.integer(g.shotsFired);
    j.key("messageBlink");
    j.boolean(world.messageBlink);
    j.endObject();
}

// The slot of the asteroid a missile homes on, or -1.
int targetSlot(const GameWorld& world, const SpaceObject* target) {
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        if (target == static_cast<const SpaceObject*>(&world.asteroids[i])) return i;
    }
    return -1;
}

void writeShip(JsonLine& j, const GameWorld& world) {
    const Ship& s = world.ship;
    j.key("ship");
    j.beginObject();
    j.key("active");
    j.boolean(s.isActive());
    j.key("position");
    j.vec(s.getPosition());
    j.key("velocity");
    j.vec(s.getVelocity());
    j.key("heading");
    j.vec(s.getHeading());
    j.key("outline");
    j.beginArray();
    for (const Point& p : s.outline) j.point(p);
    j.endArray();
    j.key("invincibleTimer");
    j.integer(s.invincibleTimer);
    j.key("teleportCharge");
    j.integer(s.teleportCharge);
    j.key("teleportCooldown");
    j.integer(s.teleportCooldown);
    j.key("missileCount");
    j.integer(s.getMissileCount());
    j.key("lives");
    j.integer(s.getLives());
    j.key("teleportTarget");
    j.vec(s.getTeleportTarget());

    j.key("bullets");
    j.beginArray();
    for (int i = 0; i < Ship::kSlots; ++i) {
        const Bullet& b = s.bullet(i);
        if (!b.isActive()) continue;
        j.beginObject();
        j.key("slot");
        j.integer(i);
        j.key("position");
        j.vec(b.getPosition());
        j.key("velocity");
        j.vec(b.getVelocity());
        j.key("age");
        j.integer(b.getAge());
        j.key("lifetime");
        j.integer(b.getLifetime());
        j.endObject();
    }
    j.endArray();

    j.key("missiles");
    j.beginArray();
    for (int i = 0; i < Ship::kSlots; ++i) {
        const Missile& m = s.missile(i);
        if (!m.isActive()) continue;
        j.beginObject();
        j.key("slot");
        j.integer(i);
        j.key("position");
        j.vec(m.getPosition());
        j.key("heading");
        j.vec(m.getHeading());
        j.key("velocity");
        j.vec(m.getVelocity());
        j.key("age");
        j.integer(m.getAge());
        j.key("target");
        if (const int slot = targetSlot(world, m.getTarget()); slot >= 0) {
            j.integer(slot);
        } else {
            j.null();
        }
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

void writeAsteroids(JsonLine& j, const GameWorld& world) {
    j.key("asteroids");
    j.beginArray();
    for (int i = 0; i < GameWorld::kAsteroids; ++i) {
        const Asteroid& a = world.asteroids[i];
        if (!a.isActive()) continue;
        j.beginObject();
        j.key("slot");
        j.integer(i);
        j.key("position");
        j.vec(a.getPosition());
        j.key("velocity");
        j.vec(a.getVelocity());
        j.key("heading");
        j.vec(a.getHeading());
        j.key("size");
        j.integer(a.getSize());
        j.key("spin");
        j.integer(a.getSpin());
        j.key("radius");
        j.beginArray();
        for (const std::int32_t r : a.getRadius()) j.integer(r);
        j.endArray();
        j.endObject();
    }
    j.endArray();
}

void writeSaucers(JsonLine& j, const GameWorld& world) {
    j.key("saucers");
    j.beginArray();
    for (int i = 0; i < GameWorld::kSaucers; ++i) {
        const Saucer& s = world.saucers[i];
        if (!s.isActive() && !s.bullet.isActive()) continue;
        j.beginObject();
        j.key("slot");
        j.integer(i);
        j.key("active");
        j.boolean(s.isActive());
        j.key("position");
        j.vec(s.getPosition());
        j.key("velocity");
        j.vec(s.getVelocity());
        j.key("bounds");
        j.rect(s.getBounds());
        j.key("bullet");
        if (s.bullet.isActive()) {
            j.beginObject();
            j.key("position");
            j.vec(s.bullet.getPosition());
            j.key("velocity");
            j.vec(s.bullet.getVelocity());
            j.key("age");
            j.integer(s.bullet.getAge());
            j.key("lifetime");
            j.integer(s.bullet.getLifetime());
            j.endObject();
        } else {
            j.null();
        }
        j.endObject();
    }
    j.endArray();
}

void writePowerUp(JsonLine& j, const GameWorld& world) {
    const PowerUp& p = world.powerUp;
    j.key("powerUp");
    if (!p.isActive()) {
        j.null();
        return;
    }
    j.beginObject();
    j.key("position");
    j.vec(p.getPosition());
    j.key("velocity");
    j.vec(p.getVelocity());
    j.key("age");
    j.integer(p.getAge());
    j.key("bounds");
    j.rect(p.getBounds());
    j.endObject();
}

}  // namespace

void formatTraceLine(std::string& out, std::int64_t tick, const GameWorld& world) {
    JsonLine j(out);
    j.beginObject();
    j.key("tick");
    j.integer(tick);
    j.key("rng");
    j.integer(randomState());
    writeGame(j, world);
    writeShip(j, world);
    writeAsteroids(j, world);
    writeSaucers(j, world);
    writePowerUp(j, world);
    j.endObject();
}

bool TraceWriter::open(const std::string& path, std::FILE* stdoutStream, std::string& error) {
    abandon();
    constexpr std::size_t kLongestLine = std::size_t{1} << 14;
    line_.reserve(kLongestLine);
    if (path == "-") {
        stdout_ = stdoutStream;
        stdoutFailed_ = false;
        return true;
    }
    if (file_.open(path, error)) return true;
    error = "cannot write trace " + error;
    return false;
}

bool TraceWriter::write(std::int64_t tick, const GameWorld& world) {
    if (!isOpen()) return false;
    line_.clear();
    formatTraceLine(line_, tick, world);
    line_ += '\n';
    if (stdout_ == nullptr) return file_.write(line_);
    if (!stdoutFailed_ && std::fwrite(line_.data(), 1, line_.size(), stdout_) != line_.size()) {
        stdoutFailed_ = true;
    }
    return !stdoutFailed_;
}

bool TraceWriter::commit(std::string& error) {
    if (stdout_ != nullptr) {
        const bool ok = !stdoutFailed_ && std::fflush(stdout_) == 0 && !std::ferror(stdout_);
        stdout_ = nullptr;
        if (!ok)
            error = "cannot write trace to standard output: " + std::string(std::strerror(errno));
        return ok;
    }
    if (!file_.isOpen()) {
        error = "the trace is not open";
        return false;
    }
    if (file_.commit(error)) return true;
    error = "cannot write trace " + error;
    return false;
}

void TraceWriter::abandon() {
    stdout_ = nullptr;
    file_.abandon();
}

}  // namespace kolvane::sim
