#include "app/win32/console.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace kolvane::win32 {

void writeToConsole(const char* text, bool error) {
    const DWORD which = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS) == 0) return;
        out = GetStdHandle(which);
        if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    }
    DWORD written = 0;
    WriteFile(out, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

namespace {

bool leadsNowhere(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

}  // namespace

void attachConsoleStreams() {
    const bool out = leadsNowhere(STD_OUTPUT_HANDLE);
    const bool err = leadsNowhere(STD_ERROR_HANDLE);
    if (!out && !err) return;
    if (AttachConsole(ATTACH_PARENT_PROCESS) == 0) return;
    // A stream that can't be reopened leads nowhere, as before.
    if (out && std::freopen("CONOUT$", "w", stdout) == nullptr) return;
    if (err && std::freopen("CONOUT$", "w", stderr) == nullptr) return;
}

}  // namespace kolvane::win32
