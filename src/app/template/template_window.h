#pragma once
// The plainest window: what every front end's window does, with the screen,
// the speaker and the message boxes kept in memory. Start a new front end by
// copying this and the loop in template_front_end.h: put the platform's
// screen where present() keeps the frame, its audio output where playSound()
// keeps the sound, and turn its events into the core's calls. The tests drive
// it as the SDL window, the Win32 window and the web page drive theirs.
#include <string>
#include <vector>

#include "app/front_end/front_end_window.h"

namespace kolvane {

class TemplateWindow final : public FrontEndWindow {
public:
    void present(const gfx::Surface& frame) override {
        frame_ = &frame;
        ++presented_;
    }
    bool fullscreen() const override { return fullscreen_; }
    void setFullscreen(bool on) override { fullscreen_ = on; }
    void setPointerHidden(bool hidden) override { pointerHidden_ = hidden; }
    void playSound(sound::GameSound& sound) override { sound_ = &sound; }
    void stopSound() override { sound_ = nullptr; }
    void showMuted(bool muted) override { muted_ = muted; }
    void messageBox(const char* text, const char* caption) override {
        messages_.push_back(std::string(caption) + ": " + text);
    }
    void end() override { ended_ = true; }

    // What the window shows: the last frame presented (null before the
    // first), and how many were.
    const gfx::Surface* frame() const { return frame_; }
    int presented() const { return presented_; }
    bool pointerHidden() const { return pointerHidden_; }
    bool muted() const { return muted_; }
    bool soundPlaying() const { return sound_ != nullptr; }
    bool ended() const { return ended_; }
    const std::vector<std::string>& messages() const { return messages_; }

private:
    const gfx::Surface* frame_ = nullptr;
    int presented_ = 0;
    bool fullscreen_ = false;
    bool pointerHidden_ = false;
    bool muted_ = false;
    bool ended_ = false;
    sound::GameSound* sound_ = nullptr;
    std::vector<std::string> messages_;
};

}  // namespace kolvane
