// The trace line: exact keys and order, numbers that read back to the same
// floats, escaping, projectile and missile-target entries, and the writer's
// all-or-nothing file.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "app/sim/trace.h"
#include "game/game_world.h"
#include "support/sim_process.h"
#include "support/fake_platform.h"
#include "support/seeded.h"

namespace kolvane::sim {
namespace {

using kolvane::testing::FakePlatform;
using kolvane::testing::Seeded;
namespace fs = std::filesystem;

std::string traceOf(const GameWorld& world, std::int64_t tick = 0) {
    std::string line;
    formatTraceLine(line, tick, world);
    return line;
}

TEST(TraceLine, FreshWorldInFull) {
    FakePlatform clock;
    Seeded seeded(clock, 1);
    const GameWorld world;
    EXPECT_EQ(traceOf(world),
              "{\"tick\":0,\"rng\":1,\"game\":{\"level\":1,\"nextSaucerScore\":1000,\"special\":2,"
              "\"message\":\"\",\"targetingAids\":false,\"running\":false,\"paused\":false,"
              "\"asteroidsLeft\":0,\"respawnTimer\":0,\"messageAge\":0,\"levelClearTimer\":0,"
              "\"score\":0,\"shotsFired\":0,\"messageBlink\":false},"
              "\"ship\":{\"active\":false,\"position\":[5,5],\"velocity\":[0,0],"
              "\"heading\":[10,0],\"outline\":[[0,0],[0,0],[0,0],[0,0]],\"invincibleTimer\":0,"
              "\"teleportCharge\":0,\"teleportCooldown\":0,\"missileCount\":0,\"lives\":0,"
              "\"teleportTarget\":[0,0],\"bullets\":[],\"missiles\":[]},"
              "\"asteroids\":[],\"saucers\":[],\"powerUp\":null}");
}

TEST(TraceLine, TickAndGeneratorState) {
    FakePlatform clock;
    Seeded seeded(clock, 0xDEADBEEF);
    const GameWorld world;
    EXPECT_EQ(traceOf(world, 12345).rfind("{\"tick\":12345,\"rng\":3735928559,", 0), 0u);
}

// Reads the numbers of `"slot":N,"position":[x,y],"velocity":[x,y]` back.
struct Motion {
    float px = 0, py = 0, vx = 0, vy = 0;
};
Motion motionOfSlot(const std::string& line, const std::string& list, int slot) {
    Motion m;
    const auto at = line.find("\"" + list + "\":[");
    const auto s = line.find("{\"slot\":" + std::to_string(slot) + ",", at);
    EXPECT_NE(s, std::string::npos) << list << " slot " << slot;
    if (s == std::string::npos) return m;
    const char* p = line.data() + line.find("\"position\":[", s) + 12;
    const char* end = line.data() + line.size();
    p = std::from_chars(p, end, m.px).ptr + 1;
    p = std::from_chars(p, end, m.py).ptr;
    p = line.data() + line.find("\"velocity\":[", s) + 12;
    p = std::from_chars(p, end, m.vx).ptr + 1;
    std::from_chars(p, end, m.vy);
    return m;
}

TEST(TraceLine, AsteroidNumbersReadBackExactly) {
    FakePlatform clock;
    Seeded seeded(clock, 7);
    GameWorld world;
    const Rect client{0, 0, 740, 580};
    for (int i = 0; i < 4; ++i) {
        world.asteroids[i * 3].spawn(&client, Asteroid::kLarge, 1.0f / 3.0f, Vec2{}, clock);
    }
    const std::string line = traceOf(world);
    for (int i = 0; i < 4; ++i) {
        const Asteroid& a = world.asteroids[i * 3];
        const Motion m = motionOfSlot(line, "asteroids", i * 3);
        EXPECT_EQ(m.px, a.getPosition().x);
        EXPECT_EQ(m.py, a.getPosition().y);
        EXPECT_EQ(m.vx, a.getVelocity().x);
        EXPECT_EQ(m.vy, a.getVelocity().y);
    }
    // Inactive slots are left out.
    EXPECT_EQ(line.find("{\"slot\":1,"), std::string::npos);
    const Asteroid& first = world.asteroids[0];
    std::string expectedRadius =
        "\"size\":20,\"spin\":" + std::to_string(first.getSpin()) + ",\"radius\":[";
    for (int k = 0; k < Asteroid::kCorners; ++k) {
        expectedRadius += (k ? "," : "") + std::to_string(first.getRadius()[k]);
    }
    EXPECT_NE(line.find(expectedRadius + "]}"), std::string::npos) << line;
}

TEST(TraceLine, MessageIsEscaped) {
    FakePlatform clock;
    Seeded seeded(clock);
    GameWorld world;
    world.game.setMessage("say \"hi\" \\ \n\x01 ok");
    EXPECT_NE(traceOf(world).find("\"message\":\"say \\\"hi\\\" \\\\ \\u000a\\u0001 ok\""),
              std::string::npos);
}

TEST(TraceLine, SaucerWithOnlyItsShotInFlight) {
    FakePlatform clock;
    Seeded seeded(clock);
    GameWorld world;
    world.saucers[2].bullet.fire(Vec2(1.0, 0.0), Vec2(100.0, 50.5), Saucer::kShotSpeed,
                                 Bullet::kEnemyLifetime);
    const std::string line = traceOf(world);
    EXPECT_EQ(line.find("{\"slot\":0,\"active\""), std::string::npos);
    const auto at = line.find("\"saucers\":[{\"slot\":2,\"active\":false,\"position\":[");
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_NE(line.find("\"bullet\":{\"position\":[", at), std::string::npos);
    EXPECT_NE(line.find("\"lifetime\":105}}]", at), std::string::npos);
}

TEST(TraceLine, CapsuleWhenActive) {
    FakePlatform clock;
    Seeded seeded(clock);
    GameWorld world;
    world.powerUp.spawn(Vec2(200.0, 100.0), Vec2(0.0, 0.0));
    const std::string line = traceOf(world);
    const auto at = line.find("\"powerUp\":{\"position\":[");
    ASSERT_NE(at, std::string::npos) << line;
    const Rect& b = world.powerUp.getBounds();
    EXPECT_NE(line.find("\"bounds\":[" + std::to_string(b.left) + "," + std::to_string(b.top) +
                            "," + std::to_string(b.right) + "," + std::to_string(b.bottom) + "]}}",
                        at),
              std::string::npos);
}

TEST(TraceLine, ShipProjectilesAndMissileTargetSlot) {
    FakePlatform clock;
    Seeded seeded(clock);
    GameWorld world;
    const Rect client{0, 0, 740, 580};
    world.asteroids[5].spawn(&client, Asteroid::kLarge, 0.5f, Vec2{}, clock);
    world.ship.respawn(client);
    world.ship.fire();
    world.ship.fireMissile(world.asteroids.data());
    const std::string line = traceOf(world);
    EXPECT_NE(line.find("\"bullets\":[{\"slot\":0,\"position\":["), std::string::npos) << line;
    const auto m = line.find("\"missiles\":[{\"slot\":0,\"position\":[");
    ASSERT_NE(m, std::string::npos) << line;
    EXPECT_NE(line.find("\"target\":5}]", m), std::string::npos) << line;
    EXPECT_NE(line.find("\"active\":true,\"position\":[370,290]"), std::string::npos);
}

TEST(TraceLine, ReusedBufferDoesNotGrowAgain) {
    FakePlatform clock;
    Seeded seeded(clock);
    GameWorld world;
    std::string line;
    line.reserve(1 << 14);
    const auto* storage = line.data();
    for (int tick = 0; tick < 3; ++tick) {
        line.clear();
        formatTraceLine(line, tick, world);
    }
    EXPECT_EQ(line.data(), storage);
}

TEST(TraceWriter, TargetAppearsOnlyAtCommit) {
    const fs::path dir = testing::scratchDir();
    const fs::path target = dir / "run.jsonl";
    testing::writeText(target, "old\n");
    FakePlatform clock;
    Seeded seeded(clock);
    const GameWorld world;
    TraceWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(target.string(), stdout, error)) << error;
    ASSERT_TRUE(writer.write(0, world));
    ASSERT_TRUE(writer.write(1, world));
    EXPECT_EQ(testing::readText(target), "old\n");
    ASSERT_TRUE(writer.commit(error)) << error;
    const auto lines = testing::readLines(target);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], traceOf(world, 1));
    EXPECT_EQ(testing::filesIn(dir), std::vector<std::string>{"run.jsonl"});
}

TEST(TraceWriter, AbandonLeavesNothing) {
    const fs::path dir = testing::scratchDir();
    FakePlatform clock;
    Seeded seeded(clock);
    const GameWorld world;
    {
        TraceWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open((dir / "run.jsonl").string(), stdout, error)) << error;
        ASSERT_TRUE(writer.write(0, world));
    }  // destroyed without commit
    EXPECT_TRUE(testing::filesIn(dir).empty());
}

TEST(TraceWriter, UnwritablePlaceIsAnError) {
    TraceWriter writer;
    std::string error;
    EXPECT_FALSE(writer.open("/nonexistent-kolvane-dir/run.jsonl", stdout, error));
    EXPECT_NE(error.find("/nonexistent-kolvane-dir/run.jsonl"), std::string::npos) << error;
    EXPECT_FALSE(writer.isOpen());
}

TEST(TraceWriter, DashWritesToTheGivenStream) {
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    FakePlatform clock;
    Seeded seeded(clock);
    const GameWorld world;
    TraceWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open("-", sink, error));
    ASSERT_TRUE(writer.write(0, world));
    ASSERT_TRUE(writer.commit(error)) << error;
    std::rewind(sink);
    char buf[8] = {};
    ASSERT_EQ(std::fread(buf, 1, 7, sink), 7u);
    EXPECT_STREQ(buf, "{\"tick\"");
    std::fclose(sink);
}

}  // namespace
}  // namespace kolvane::sim
