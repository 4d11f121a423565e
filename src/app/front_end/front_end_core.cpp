#include "app/front_end/front_end_core.h"

#include "app/front_end/pointer.h"
#include "game/game_world.h"

namespace kolvane {

FrontEndCore::FrontEndCore(FrontEndWindow& window, SessionMode& mode, const FrontEndSetup& setup)
    : window_(window),
      mode_(mode),
      settings_(setup.settings),
      settingsStore_(setup.settingsStore),
      wallClockSeconds_(setup.wallClockSeconds),
      world_(std::make_unique<GameWorld>()) {}

FrontEndCore::~FrontEndCore() {
    if (sound_) window_.stopSound();
}

void FrontEndCore::start() {
    if (session_) return;
    session_.emplace(*world_, mode_.sessionStart(wallClockSeconds_));
    session_->setMessageBoxes(this);
    mode_.attach(*session_);
    session_->start();
    session_->paint();
    window_.present(mode_.shown(*session_));
    updatePointer();
}

void FrontEndCore::afterFirstFrame() {
    if (!session_ || sound_) return;
    const Settings& run = settings_.current();
    sound_.emplace(run.volume, run.muted);
    session_->addListener(sound_->listener());
    window_.playSound(*sound_);
    window_.showMuted(sound_->muted());
    mode_.afterFirstFrame();
}

KeyUse FrontEndCore::keyDown(KeyEvent key, bool altHeld, bool systemKey) {
    if (!live()) return KeyUse::kGame;
    const ReservedKeys::Outcome outcome = reserved_.keyDown(key, altHeld);
    if (outcome.command == ReservedCommand::kToggleFullscreen) toggleFullscreen();
    if (!outcome.forGame) return KeyUse::kFrontEnd;
    if (systemKey) return KeyUse::kSystem;
    // M also reaches the game, like any key (but never a watched one).
    if (sound::togglesMute(key)) toggleMute();
    mode_.keyDown(*session_, key);
    endIfDone();
    return KeyUse::kGame;
}

void FrontEndCore::keyUp(int key) {
    if (!live() || !reserved_.keyUp(key)) return;
    mode_.keyUp(*session_, key);
}

void FrontEndCore::focusLost() {
    if (live()) mode_.focusLost(*session_);
}

void FrontEndCore::close() {
    if (!live()) return;
    mode_.close(*session_);
    endIfDone();
}

void FrontEndCore::padState(int slot, const PadState& pad) {
    if (!live()) return;
    mode_.padState(*session_, slot, pad);
    endIfDone();
}

void FrontEndCore::toggleFullscreen() {
    const bool on = !window_.fullscreen();
    window_.setFullscreen(on);
    Settings updated = settings_.current();
    updated.fullscreen = on;
    change(updated);
    updatePointer();
}

void FrontEndCore::toggleMute() {
    if (!sound_) return;
    sound_->setMuted(!sound_->muted());
    Settings updated = settings_.current();
    updated.muted = sound_->muted();
    change(updated);
    window_.showMuted(sound_->muted());
}

void FrontEndCore::setScaleMode(ScaleMode mode) {
    Settings updated = settings_.current();
    updated.scaleMode = mode;
    change(updated);
}

void FrontEndCore::tick(int due) {
    if (!live()) return;
    int painted = 0;
    for (int i = 0; i < due; ++i) painted += mode_.tick(*session_);
    if (painted > 0) window_.present(mode_.shown(*session_));
    updatePointer();
}

void FrontEndCore::keepNow() {
    if (live()) mode_.keepNow(*session_);
}

void FrontEndCore::messageBox(const char* text, const char* caption) {
    window_.messageBox(text, caption);
}

void FrontEndCore::change(const Settings& updated) {
    if (settings_.change(updated)) settingsStore_.keep(settings_.kept());
}

void FrontEndCore::updatePointer() {
    if (!session_) return;
    const bool hidden = pointerHidden(window_.fullscreen(), session_->world());
    if (hidden == pointerHidden_) return;
    pointerHidden_ = hidden;
    window_.setPointerHidden(hidden);
}

void FrontEndCore::endIfDone() {
    if (!live() || !mode_.ended(*session_)) return;
    ended_ = true;
    mode_.finish(*session_);
    if (sound_) sound_->setMuted(true);
    window_.end();
}

}  // namespace kolvane
