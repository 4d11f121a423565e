#include "app/replay/recorder.h"

#include <charconv>

#include "game/game_world.h"

namespace kolvane {

namespace {

// The most ticks one line holds.
constexpr std::int64_t kMaxRun = kMaxTickCount;

std::string_view tickLine(std::int64_t count, Recorder::TickLine& buffer) {
    constexpr std::string_view kTick = "tick ";
    kTick.copy(buffer.data(), kTick.size());
    char* end =
        std::to_chars(buffer.data() + kTick.size(), buffer.data() + buffer.size() - 1, count).ptr;
    *end++ = '\n';
    return std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

}  // namespace

Recorder::Recorder(std::string_view version, std::string_view frontEnd, std::int64_t recordedAt,
                   std::string_view ticket)
    : version_(version), frontEnd_(frontEnd), recordedAt_(recordedAt), ticket_(ticket) {
    text_.reserve(kReservedBytes);
    finished_.reserve(kReservedGames);
}

void Recorder::started(const Session& session) {
    appendRecordingHeader(
        text_, RecordingHeader{version_, frontEnd_, recordedAt_, session.startedFrom(), ticket_});
}

void Recorder::keyDown(const Session& session, KeyEvent key) {
    const bool changesNothing =
        key.repeat && held_.isHeld(key.key) && !paused_ && key.key != vk::kEscape;
    held_.hold(key.key);
    paused_ = session.world().game.paused;
    tracker_.update(session);
    if (changesNothing) return;
    if (key.repeat) {
        writeKey("repeat ", key.key);
    } else {
        writeKey(isReadWhileHeld(key.key) ? "down " : "press ", key.key);
    }
}

void Recorder::keyUp(const Session& /*session*/, int key) {
    if (!held_.isHeld(key)) return;
    held_.release(key);
    if (isReadWhileHeld(key)) writeKey("up ", key);
}

bool Recorder::isReadWhileHeld(int key) {
    return key == vk::kLeft || key == vk::kRight || key == vk::kUp || key == vk::kDown;
}

void Recorder::ticked(const Session& session) {
    if (++pendingTicks_ == kMaxRun) writePendingTicks();
    if (tracker_.update(session) == GameTracker::Change::kEnded) {
        writePendingTicks();
        appendGameLine(text_, tracker_.game());
        finished_.push_back(FinishedGame{tracker_.game(), tracker_.startTick()});
    }
}

std::string_view Recorder::pendingTicks(TickLine& buffer) const {
    if (pendingTicks_ == 0) return {};
    return tickLine(pendingTicks_, buffer);
}

std::string Recorder::wholeText() const {
    TickLine buffer{};
    std::string whole = text_;
    whole += pendingTicks(buffer);
    return whole;
}

void Recorder::writePendingTicks() {
    TickLine buffer{};
    text_ += pendingTicks(buffer);
    pendingTicks_ = 0;
}

void Recorder::writeKey(std::string_view command, int key) {
    writePendingTicks();
    std::array<char, 4> name{};
    text_ += command;
    text_ += keyName(key, name);
    text_ += '\n';
}

}  // namespace kolvane
