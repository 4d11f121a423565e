#pragma once
// Text for the console a window program was started from: --help, --version
// and option errors. A Windows program has no console of its own; this uses
// standard output when it is redirected (a pipe or a file), else the console
// of the parent process, if there is one.
namespace kolvane::win32 {

// Writes text to standard output (or standard error when `error`).
void writeToConsole(const char* text, bool error);

// Points the C library's stdout and stderr at the console of the parent
// process when they lead nowhere, so that the game's one-line reports (no
// sound, a data folder it can't write) reach whoever started it from a console.
void attachConsoleStreams();

}  // namespace kolvane::win32
