// The front-end core through the template front end, fed as the windows feed
// theirs: where keys, a focus loss and the close box go while playing and
// while watching, fullscreen and mute kept in the settings, the score table
// shown when the store gives one, and the end.
#include "app/front_end/front_end_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/session/script_player.h"
#include "app/template/template_front_end.h"
#include "game/game_world.h"
#include "support/parsed_script.h"

namespace kolvane {
namespace {

using testing::parsed;

bool sameFrame(const gfx::Surface& a, const gfx::Surface& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

// The web page's calls while watching a recording that holds Left and Up:
// the page loses the focus halfway (the viewer's keys let go, never the
// recording's), and the last frame is the runner's.
TEST(FrontEndCore, WatchingABlurredWindowEndsOnTheRunnersFrame) {
    const std::string text =
        "clock 1000000000\nseed 1\nsize 740x580\ntick 20\npress S\ndown LEFT\ndown UP\n"
        "tick 200\nup UP\ntick 100\nup LEFT\ntick 30\n";
    const Script script = parsed(text);
    const auto runnerWorld = std::make_unique<GameWorld>();
    Session runner(*runnerWorld, sessionStartOf(script.settings));
    runner.start();
    runner.paint();
    for (const Command& c : script.commands) playCommand(runner, c);

    TemplateFrontEnd front({Settings{}, parsed(text), 1});
    FrontEndCore& core = front.core();
    core.start();
    core.afterFirstFrame();
    for (int i = 0; i < 100; ++i) core.tick();
    core.keyDown(KeyEvent{vk::kRight, false});  // the viewer's fast-forward
    core.focusLost();
    EXPECT_TRUE(core.session().heldKeys().isHeld(vk::kLeft)) << "the recording's key";
    for (int i = 0; i < 400; ++i) core.tick();
    ASSERT_NE(front.window().frame(), nullptr);
    EXPECT_TRUE(sameFrame(*front.window().frame(), runner.frame()));
    EXPECT_EQ(core.session().ticksDone(), runner.ticksDone());

    core.close();
    EXPECT_TRUE(front.window().ended()) << "the close box stops the watching";
    EXPECT_TRUE(front.store().recordings().empty()) << "a watched game is not recorded";
}

// Playing: the game's keys, the front end's (F11, M), a focus loss and the
// close box, as a window hands them over.
TEST(FrontEndCore, PlayingRoutesKeysKeepsSettingsAndEndsKept) {
    TemplateFrontEnd front({});
    FrontEndCore& core = front.core();
    TemplateWindow& window = front.window();
    core.start();
    EXPECT_EQ(window.presented(), 1) << "the first frame, before any tick";
    EXPECT_FALSE(window.soundPlaying()) << "nothing before the first frame";
    core.afterFirstFrame();
    EXPECT_TRUE(window.soundPlaying());
    EXPECT_TRUE(front.store().opened());

    EXPECT_EQ(core.keyDown(KeyEvent{vk::kS, false}), KeyUse::kGame);
    core.keyUp(vk::kS);
    core.tick();
    EXPECT_TRUE(core.session().world().game.running);
    EXPECT_TRUE(window.pointerHidden()) << "hidden while a game is played";

    // F11: fullscreen, kept for the next run; the game never sees it.
    EXPECT_EQ(core.keyDown(KeyEvent{0x7A, false}), KeyUse::kFrontEnd);
    core.keyUp(0x7A);
    EXPECT_TRUE(window.fullscreen());
    ASSERT_TRUE(front.store().settings());
    EXPECT_TRUE(front.store().settings()->fullscreen);
    // A system key (Windows' F10) is left to the system; Alt+Enter is ours.
    EXPECT_EQ(core.keyDown(KeyEvent{0x79, false}, false, true), KeyUse::kSystem);
    EXPECT_EQ(core.keyDown(KeyEvent{0x0D, false}, true, true), KeyUse::kFrontEnd);
    EXPECT_FALSE(window.fullscreen());
    // M: the sound off, kept, and the key reaches the game too.
    core.keyDown(KeyEvent{'M', false});
    EXPECT_TRUE(window.muted());
    EXPECT_TRUE(front.store().settings()->muted);

    core.keyDown(KeyEvent{vk::kLeft, false});
    core.tick();
    core.focusLost();
    EXPECT_FALSE(core.session().heldKeys().isHeld(vk::kLeft));
    core.tick();

    core.close();
    EXPECT_TRUE(core.ended());
    EXPECT_TRUE(window.ended());
    EXPECT_TRUE(front.store().finished());
    const std::string& recording = front.store().recordings().begin()->second;
    EXPECT_EQ(recording, front.kept()->recorder().wholeText()) << "kept whole at the end";
    for (const char* line : {"\npress S\n", "\npress M\n", "\ndown LEFT\n", "\nup LEFT\n"}) {
        EXPECT_NE(recording.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(recording.find("0x7A"), std::string::npos) << "F11 never reached the game";
    const int presented = window.presented();
    core.tick();
    EXPECT_EQ(window.presented(), presented) << "nothing after the end";
}

// A ticket handed over before the core starts is the session's start, and
// its recording carries it; one no recording could carry is refused.
TEST(FrontEndCore, APlayedSessionStartsFromTheTicketItWasGiven) {
    TemplateFrontEnd front({});
    ASSERT_TRUE(front.playing()->useTicket({1234567890, "1.2.3.n-_x"}));
    EXPECT_FALSE(front.playing()->useTicket({1500000000, "a ticket\nclock 1"}));
    FrontEndCore& core = front.core();
    core.start();
    EXPECT_EQ(core.session().startedFrom().clockSeconds, 1234567890);
    core.afterFirstFrame();
    core.tick();
    core.close();
    const std::string& recording = front.store().recordings().begin()->second;
    EXPECT_NE(recording.find("\nclock 1234567890\nseed 1\nsize 740x580\nticket 1.2.3.n-_x\n"),
              std::string::npos)
        << recording;
}

// The high-score table the store gives is drawn over the title screen, on a
// copy of the game's frame, and not over a game.
TEST(FrontEndCore, TheStoresTableIsShownOverTheTitleScreen) {
    TemplateFrontEnd front({});
    FrontEndCore& core = front.core();
    core.start();
    core.afterFirstFrame();
    core.tick();
    EXPECT_EQ(front.window().frame(), &core.session().frame()) << "no score yet";
    ScoreTable table;
    insertScore(table, ScoreEntry{1250, 2, 1765000000, 95, "-", 5432});
    front.store().setTable(table);
    core.tick();
    ASSERT_NE(front.window().frame(), &core.session().frame());
    EXPECT_FALSE(sameFrame(*front.window().frame(), core.session().frame()));
    core.keyDown(KeyEvent{vk::kS, false});
    core.tick();
    EXPECT_EQ(front.window().frame(), &core.session().frame()) << "not over a game";
}

}  // namespace
}  // namespace kolvane
