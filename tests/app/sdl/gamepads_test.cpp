// Gamepads in the SDL window: SDL's virtual pads, plugged in while the game
// runs, drive a real game through the front-end core.
#include "app/sdl/gamepads.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/template/template_front_end.h"
#include "game/game_world.h"
#include "support/scratch.h"

namespace kolvane::sdl {
namespace {

class GamepadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        errors_ = std::tmpfile();
        ASSERT_NE(errors_, nullptr);
        front_.emplace(TemplateLaunch{});
        front_->core().start();
    }
    void TearDown() override {
        front_.reset();
        if (errors_ != nullptr) std::fclose(errors_);
        SDL_Quit();
    }

    // A pad plugged in now: SDL's events, then a tick's reading of the pads.
    void settle(Gamepads& pads) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) pads.handleEvent(event, front_->core());
        pads.poll(front_->core());
    }
    // One tick of the window's loop: the pads read, then the tick.
    void tick(Gamepads& pads, int count = 1) {
        for (int i = 0; i < count; ++i) {
            settle(pads);
            front_->core().tick();
        }
    }
    const GameState& game() { return front_->core().session().world().game; }

    std::FILE* errors_ = nullptr;
    std::optional<TemplateFrontEnd> front_;
};

// A pad SDL knows as a game controller (its own mapping for virtual pads).
int attachController() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Kolvane test pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

TEST_F(GamepadsTest, AVirtualPadStartsAGameThrustsFiresAndPauses) {
    Gamepads pads;
    pads.open({}, errors_);
    const int device = attachController();
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* pad = SDL_JoystickOpen(device);  // the test's own handle, to press buttons
    ASSERT_NE(pad, nullptr);
    settle(pads);
    ASSERT_EQ(pads.count(), 1) << "plugged in while the game runs";
    const auto press = [&](SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(pad, button, down ? 1 : 0);
    };

    press(SDL_CONTROLLER_BUTTON_START, true);
    tick(pads);
    EXPECT_TRUE(game().running) << "Start on the title screen is S";
    press(SDL_CONTROLLER_BUTTON_START, false);
    tick(pads, 75);  // the ship's invincibility after the start

    press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    tick(pads, 10);
    const Vec2 velocity = front_->core().session().world().ship.getVelocity();
    EXPECT_LT(velocity.y, -0.5f) << "held up thrusts (heading up)";
    press(SDL_CONTROLLER_BUTTON_DPAD_UP, false);

    press(SDL_CONTROLLER_BUTTON_A, true);
    tick(pads);
    press(SDL_CONTROLLER_BUTTON_A, false);
    tick(pads);
    EXPECT_EQ(game().shotsFired, 1) << "south is Space";

    press(SDL_CONTROLLER_BUTTON_START, true);
    tick(pads);
    press(SDL_CONTROLLER_BUTTON_START, false);
    tick(pads);
    EXPECT_TRUE(game().paused) << "Start during a game is P";
    press(SDL_CONTROLLER_BUTTON_START, true);
    tick(pads);
    EXPECT_FALSE(game().paused) << "Start while paused ends the pause";
    press(SDL_CONTROLLER_BUTTON_START, false);

    press(SDL_CONTROLLER_BUTTON_BACK, true);
    tick(pads);
    EXPECT_FALSE(front_->core().ended()) << "Back alone";
    press(SDL_CONTROLLER_BUTTON_START, true);
    settle(pads);
    EXPECT_TRUE(front_->core().ended()) << "Back with Start is Escape: the program ends";
    EXPECT_TRUE(front_->window().ended());

    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(device);
    settle(pads);
    EXPECT_EQ(pads.count(), 0) << "pulled out";
}

TEST_F(GamepadsTest, MappingsComeFromTheConfigFolder) {
    // A plain joystick: SDL has no mapping for it until the file gives one.
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.nbuttons = 4;
    desc.name = "Kolvane plain stick";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(device));
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device), guid, sizeof guid);
    // Mapping files leave out the checksum of the name (the GUID's bytes 2 and 3).
    std::string mapping(guid);
    mapping.replace(4, 4, "0000");
    const std::filesystem::path folder = testing::scratchDir();
    testing::writeText(
        folder / kGamepadMappingsFileName,
        "# a comment\n" + mapping + ",Kolvane plain stick,a:b0,start:b1,platform:Linux,\n");

    Gamepads pads;
    pads.open(folder, errors_);
    settle(pads);
    EXPECT_EQ(pads.count(), 1);

    // A file that is no text is refused with a message; the game plays on.
    testing::writeText(folder / kGamepadMappingsFileName, std::string("\0\x01\x02", 3));
    std::FILE* messages = std::tmpfile();
    ASSERT_NE(messages, nullptr);
    Gamepads again;
    again.open(folder, messages);
    std::rewind(messages);
    char line[256] = "";
    EXPECT_NE(std::fgets(line, sizeof line, messages), nullptr);
    EXPECT_NE(std::string(line).find("gamepad mappings refused"), std::string::npos) << line;
    std::fclose(messages);
}

}  // namespace
}  // namespace kolvane::sdl
