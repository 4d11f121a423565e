#include "app/win32/wave_out.h"

#include "app/sound/sounds.h"

namespace kolvane::win32 {

namespace {

std::string waveOutError(MMRESULT result) {
    std::array<char, MAXERRORLENGTH> text{};
    if (waveOutGetErrorTextA(result, text.data(), static_cast<UINT>(text.size())) !=
        MMSYSERR_NOERROR) {
        return "waveOut error " + std::to_string(result);
    }
    return text.data();
}

}  // namespace

WaveOut::WaveOut(sound::GameSound& sound, std::string& error)
    : sound_(sound), bufferDone_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    if (bufferDone_ == nullptr) {
        error = "could not make an event";
        return;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = sound::kSampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = format.nChannels * format.wBitsPerSample / 8;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    // The device signals the event; the refilling happens on our own thread,
    // since a waveOut callback may call no waveOut function.
    const MMRESULT opened =
        waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone_), 0,
                    CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        device_ = nullptr;
        error = waveOutError(opened);
        return;
    }
    for (int i = 0; i < kBuffers; ++i) {
        WAVEHDR& header = headers_[static_cast<std::size_t>(i)];
        header.lpData = reinterpret_cast<LPSTR>(samples_[static_cast<std::size_t>(i)].data());
        header.dwBufferLength = kBufferFrames * sizeof(std::int16_t);
        waveOutPrepareHeader(device_, &header, sizeof header);
    }
    thread_ = std::thread([this] { run(); });
}

WaveOut::~WaveOut() {
    if (thread_.joinable()) {
        stopping_ = true;
        SetEvent(bufferDone_);
        thread_.join();
    }
    if (device_ != nullptr) {
        waveOutReset(device_);
        for (WAVEHDR& header : headers_) waveOutUnprepareHeader(device_, &header, sizeof header);
        waveOutClose(device_);
    }
    if (bufferDone_ != nullptr) CloseHandle(bufferDone_);
}

void WaveOut::fill(WAVEHDR& header) {
    sound_.render(reinterpret_cast<std::int16_t*>(header.lpData), kBufferFrames);
    header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    waveOutWrite(device_, &header, sizeof header);
}

void WaveOut::run() {
    // A buffer handed back must be refilled within 10.7 ms, whatever else runs.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    for (WAVEHDR& header : headers_) fill(header);
    while (!stopping_) {
        WaitForSingleObject(bufferDone_, INFINITE);
        // One signal may stand for several buffers handed back.
        for (WAVEHDR& header : headers_) {
            if (stopping_) return;
            if ((header.dwFlags & WHDR_DONE) != 0) fill(header);
        }
    }
}

}  // namespace kolvane::win32
