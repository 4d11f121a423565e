// Playing with a world table, as both desktop windows do, through the core
// and the template window with a stand-in for the network.
#include "app/front_end/world_playing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/front_end/front_end_core.h"
#include "app/template/memory_store.h"
#include "app/template/template_window.h"
#include "game/game_world.h"

namespace kolvane {
namespace {

constexpr std::int64_t kWallClock = 1765000000;

bool sameFrame(const gfx::Surface& a, const gfx::Surface& b) {
    return std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

class FakeLink final : public WorldLink {
public:
    std::optional<SessionTicket> awaitTicket() override { return ticket; }
    void open() override { opened = true; }
    void submit(const std::string& name, std::string recording) override {
        sent.emplace_back(name, std::move(recording));
    }
    void afterTick(std::int64_t ticks) override { lastTicks = ticks; }
    void finish() override { finished = true; }
    bool verified(const ScoreEntry& /*entry*/) const override { return false; }
    const std::vector<WorldRow>* topTen() const override { return &rows; }
    int changes() const override { return 0; }

    std::optional<SessionTicket> ticket;
    bool opened = false;
    bool finished = false;
    std::vector<std::pair<std::string, std::string>> sent;
    std::int64_t lastTicks = 0;
    std::vector<WorldRow> rows{{1, 5800, 21, "Ana"}};
};

// A desktop window's parts, in memory.
struct WorldWindow {
    explicit WorldWindow(const Settings& settings)
        : kept(store, KeptGamesSetup{true, "test window", kWallClock, 1}),
          playing(kept, settings.showScores),
          settings(settings, settings),
          mode(playing, kept, link, this->settings, store),
          core(window, mode, FrontEndSetup{this->settings, store, kWallClock}) {}

    void press(int key) {
        core.keyDown(KeyEvent{key, false});
        core.keyUp(key);
    }
    // Thrust while turning until the rocks end the game.
    void loseGame() {
        press(vk::kS);
        core.keyDown(KeyEvent{vk::kUp, false});
        core.keyDown(KeyEvent{vk::kLeft, false});
        core.tick();
        for (int i = 0; i < 20000 && core.session().world().game.running; ++i) core.tick();
        core.keyUp(vk::kUp);
        core.keyUp(vk::kLeft);
        core.tick();
    }

    TemplateWindow window;
    MemoryStore store;
    FakeLink link;
    KeptGames kept;
    Playing playing;
    PlayerSettings settings;
    WorldPlaying mode;
    FrontEndCore core;
};

// What the window test (tests/app/sdl/world_test.sh) can't see: each ended
// game sent once, and only with submit on; F9's key-down, repeat and key-up
// never reach the game, and its choice is kept.
TEST(WorldPlaying, SendsEachEndedGameOnceAndKeepsF9FromTheGame) {
    Settings settings;
    settings.submit = true;
    WorldWindow w(settings);
    w.link.ticket = SessionTicket{1234567890, "t.1-_"};
    w.core.start();
    w.core.afterFirstFrame();
    EXPECT_TRUE(w.link.opened);

    w.loseGame();
    ASSERT_EQ(w.link.sent.size(), 1u);
    EXPECT_EQ(w.link.sent[0].first, w.kept.recordingName());
    EXPECT_NE(w.link.sent[0].second.find("\nticket t.1-_\n"), std::string::npos);
    EXPECT_NE(w.link.sent[0].second.find("\n# game 1: score "), std::string::npos);
    for (int i = 0; i < 50; ++i) w.core.tick();
    EXPECT_EQ(w.link.sent.size(), 1u) << "a game is sent once";
    EXPECT_EQ(w.link.lastTicks, w.core.session().ticksDone());

    ASSERT_NE(w.window.frame(), &w.core.session().frame()) << "the local table over the title";
    const gfx::Surface local = *w.window.frame();
    w.core.keyDown(KeyEvent{kWorldTableKey, false});
    w.core.keyDown(KeyEvent{kWorldTableKey, true});
    w.core.keyUp(kWorldTableKey);
    ASSERT_TRUE(w.store.settings());
    EXPECT_TRUE(w.store.settings()->worldScores);
    w.core.tick();
    EXPECT_FALSE(sameFrame(local, *w.window.frame())) << "the world's top ten in its place";
    w.press(kWorldTableKey);
    EXPECT_FALSE(w.store.settings()->worldScores);

    w.core.close();
    EXPECT_TRUE(w.link.finished);
    EXPECT_EQ(w.link.sent.size(), 1u) << "no game ended since";
    EXPECT_EQ(w.store.recordings().begin()->second.find("0x78"), std::string::npos)
        << "F9 never reached the game";

    WorldWindow quiet(Settings{});
    quiet.core.start();
    quiet.core.afterFirstFrame();
    quiet.loseGame();
    quiet.core.close();
    EXPECT_TRUE(quiet.link.sent.empty()) << "submit is off";
}

}  // namespace
}  // namespace kolvane
