#include "soak/script_generator.h"

#include <algorithm>
#include <charconv>

#include "core/platform.h"

namespace kolvane::soak {

namespace {

constexpr std::array<int, 4> kArrowKeys{vk::kLeft, vk::kRight, vk::kUp, vk::kDown};

// Keys no rule uses; pressing them only ends a pause.
constexpr std::array<int, 6> kUnusedKeys{'A', 'Q', 'Z', '1', 0x0D, 0x70};

// A held key's first auto-repeat comes after about half a second, then one
// every 30 ms or so.
constexpr int kRepeatDelay = 33;
constexpr int kRepeatInterval = 2;

}  // namespace

std::uint64_t SoakRandom::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int SoakRandom::between(int lo, int hi) {
    const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(next() % span);
}

bool parseStyle(std::string_view word, Style& style) {
    if (word == "play") {
        style = Style::kPlay;
        return true;
    }
    if (word == "chaos") {
        style = Style::kChaos;
        return true;
    }
    return false;
}

const char* styleName(Style style) {
    return style == Style::kPlay ? "play" : "chaos";
}

ScriptGenerator::ScriptGenerator(Style style, std::uint64_t seed) : style_(style), random_(seed) {}

void ScriptGenerator::push(CommandKind kind, int key, std::int32_t count) {
    queue_[(head_ + size_) % kQueueSize] = Step{kind, key, count};
    ++size_;
}

Step ScriptGenerator::next(std::int32_t maxTicks) {
    while (size_ == 0) {
        if (style_ == Style::kPlay) {
            planPlay();
        } else {
            planChaos();
        }
    }
    Step& front = queue_[head_];
    if (front.kind == CommandKind::kTick && front.count > maxTicks) {
        // Hand out part of a long tick run; the rest stays first in line.
        const std::int32_t part = std::max(maxTicks, std::int32_t{1});
        front.count -= part;
        return Step{CommandKind::kTick, 0, part};
    }
    const Step step = front;
    head_ = (head_ + 1) % kQueueSize;
    --size_;
    return step;
}

void ScriptGenerator::planPlay() {
    SoakRandom& r = random_;
    if (pausedFor_ > 0) {
        // Sit out the pause, then resume with whatever key comes to hand.
        const int n = std::min(pausedFor_, r.between(1, 20));
        pausedFor_ -= n;
        push(CommandKind::kTick, 0, n);
        if (pausedFor_ == 0) {
            const int pick = r.between(0, 5);
            if (pick == 0) push(CommandKind::kPress, vk::kSpace);
            if (pick == 1) push(CommandKind::kPress, vk::kP);  // paused again at once
            if (pick == 2) push(CommandKind::kPress, kUnusedKeys[r.between(0, 5)]);
            if (pick == 3) push(CommandKind::kPress, vk::kX);
            if (pick == 4) push(CommandKind::kRepeat, kArrowKeys[r.between(0, 3)]);
            if (pick == 5) push(CommandKind::kPress, vk::kS);
        }
        return;
    }

    for (int i = 0; i < kArrows; ++i) {
        if (!held_[i] || holdLeft_[i] > 0) continue;
        // The hold ran out: let go of the arrow.
        push(CommandKind::kUp, kArrowKeys[i]);
        held_[i] = false;
    }

    if (r.perMille(8)) push(CommandKind::kPress, vk::kS);  // start, or start again after game over
    for (int i = 0; i < kArrows; ++i) {
        if (held_[i] || !r.perMille(50)) continue;
        push(CommandKind::kDown, kArrowKeys[i]);
        held_[i] = true;
        holdLeft_[i] = r.perMille(150) ? r.between(60, 400) : r.between(1, 60);
        repeatIn_[i] = kRepeatDelay;
    }
    if (fireBurstLeft_ == 0 && r.perMille(60)) fireBurstLeft_ = r.between(5, 80);
    if ((fireBurstLeft_ > 0 && r.perMille(500)) || r.perMille(40)) {
        push(CommandKind::kPress, vk::kSpace);
    }
    if (r.perMille(25)) push(CommandKind::kPress, vk::kX);
    if (r.perMille(4)) push(CommandKind::kPress, kUnusedKeys[r.between(0, 5)]);
    if (r.perMille(3)) {
        push(CommandKind::kPress, vk::kP);
        pausedFor_ = r.between(1, 200);
        return;
    }

    // Tick until the next thing due: a release or an auto-repeat.
    int n = r.between(1, 6);
    for (int i = 0; i < kArrows; ++i) {
        if (holdLeft_[i] > 0) n = std::min({n, holdLeft_[i], repeatIn_[i]});
    }
    push(CommandKind::kTick, 0, n);
    fireBurstLeft_ = std::max(0, fireBurstLeft_ - n);
    for (int i = 0; i < kArrows; ++i) {
        if (holdLeft_[i] == 0) continue;
        holdLeft_[i] -= n;
        repeatIn_[i] -= n;
        if (holdLeft_[i] > 0 && repeatIn_[i] == 0) {
            push(CommandKind::kRepeat, kArrowKeys[i]);
            repeatIn_[i] = kRepeatInterval;
        }
    }
}

void ScriptGenerator::planChaos() {
    SoakRandom& r = random_;
    const int keys = r.between(0, 3);
    for (int k = 0; k < keys; ++k) {
        int key = r.between(0, 254);
        if (key >= vk::kEscape) ++key;  // every code but Escape
        constexpr std::array<CommandKind, 4> kKinds{CommandKind::kDown, CommandKind::kRepeat,
                                                    CommandKind::kUp, CommandKind::kPress};
        push(kKinds[static_cast<std::size_t>(r.between(0, 3))], key);
    }
    if (r.perMille(100)) return;  // key after key with no tick between
    push(CommandKind::kTick, 0, r.perMille(700) ? 1 : r.between(1, 12));
}

void appendLine(std::string& out, const Step& step) {
    switch (step.kind) {
        case CommandKind::kTick:
            out += "tick";
            break;
        case CommandKind::kDown:
            out += "down";
            break;
        case CommandKind::kRepeat:
            out += "repeat";
            break;
        case CommandKind::kUp:
            out += "up";
            break;
        case CommandKind::kPress:
            out += "press";
            break;
        case CommandKind::kShot:
            out += "shot";
            break;
    }
    char buf[16];
    if (step.kind == CommandKind::kTick) {
        out += ' ';
        out.append(buf, std::to_chars(buf, buf + sizeof buf, step.count).ptr);
    } else {
        constexpr char kHex[] = "0123456789ABCDEF";
        const char code[6] = {' ', '0', 'x', kHex[(step.key >> 4) & 0xF], kHex[step.key & 0xF]};
        out.append(code, 5);
    }
    out += '\n';
}

}  // namespace kolvane::soak
