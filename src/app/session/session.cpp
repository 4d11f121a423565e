#include "app/session/session.h"

#include "app/session/tick_and_field.h"
#include "core/random.h"

namespace kolvane {

Session::Session(GameWorld& world, const SessionStart& start)
    : world_(world), start_(start), client_(start.client), cycle_(world, *this) {
    bindRandomClock(this);
    kolvane::srand(start.seed);
}

Session::~Session() {
    bindRandomClock(nullptr);
}

bool Session::addListener(SessionListener& listener) {
    if (listenerCount_ == kMaxListeners) return false;
    listeners_[listenerCount_++] = &listener;
    return true;
}

void Session::start() {
    cycle_.create(client_);
    for (int i = 0; i < listenerCount_; ++i) listeners_[i]->started(*this);
}

void Session::tick() {
    cycle_.tick(client_);
    ++ticksDone_;
    for (int i = 0; i < listenerCount_; ++i) listeners_[i]->ticked(*this);
}

const gfx::Surface& Session::paint() {
    return cycle_.paint(client_);
}

void Session::keyDown(KeyEvent key) {
    held_.hold(key.key);
    cycle_.keyDown(client_, key);
    for (int i = 0; i < listenerCount_; ++i) listeners_[i]->keyDown(*this, key);
}

void Session::keyUp(int key) {
    held_.release(key);
    for (int i = 0; i < listenerCount_; ++i) listeners_[i]->keyUp(*this, key);
}

void Session::releaseAllKeys() {
    for (int key = 0; key < static_cast<int>(held_.state().size()); ++key) {
        if (held_.isHeld(key)) keyUp(key);
    }
}

std::int32_t Session::timeSeconds() const {
    const std::int64_t seconds = start_.clockSeconds + ticksDone_ * kTickMilliseconds / 1000;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
}

void Session::messageBox(const char* text, const char* caption) {
    if (boxes_ != nullptr) boxes_->messageBox(text, caption);
}

}  // namespace kolvane
