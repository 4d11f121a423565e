#pragma once
// A fixed ring of small commands from one thread (the game's) to one other
// (the audio device's): neither ever waits for the other, locks or allocates.
// A full ring refuses the command.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kolvane::sound {

template <std::size_t N>
class CommandQueue {
    static_assert(N > 1 && (N & (N - 1)) == 0, "N is a power of two");

public:
    // The producer's side.
    bool push(std::uint8_t command) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) return false;
        ring_[tail & (N - 1)] = command;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // The consumer's side.
    bool pop(std::uint8_t& command) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        command = ring_[head & (N - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<std::uint8_t, N> ring_{};
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

}  // namespace kolvane::sound
