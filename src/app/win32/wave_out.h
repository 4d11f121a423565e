#pragma once
// The game's sound on the system's default waveOut device (winmm): 48 kHz,
// mono, 16 bits. A thread of its own keeps kBuffers buffers of kBufferFrames
// samples queued, refilling each from the mixer as the device hands it back;
// the game's thread never waits for it. Two buffers of 10.7 ms keep a key's
// sound within 21.3 ms of buffering (30 ms are allowed; a third would make
// 32). Without a device the game plays silently.
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "app/sound/game_sound.h"

namespace kolvane::win32 {

class WaveOut {
public:
    static constexpr int kBuffers = 2;
    static constexpr int kBufferFrames = 512;

    // Opens the device and starts playing; on failure `error` says why and
    // nothing plays.
    WaveOut(sound::GameSound& sound, std::string& error);
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    bool playing() const { return device_ != nullptr; }

private:
    void run();
    void fill(WAVEHDR& header);

    sound::GameSound& sound_;
    HWAVEOUT device_ = nullptr;
    HANDLE bufferDone_ = nullptr;  // set by the device for every buffer it hands back
    std::atomic<bool> stopping_{false};
    std::array<std::array<std::int16_t, kBufferFrames>, kBuffers> samples_{};
    std::array<WAVEHDR, kBuffers> headers_{};
    std::thread thread_;
};

}  // namespace kolvane::win32
