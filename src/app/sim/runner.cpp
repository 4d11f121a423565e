#include "app/sim/runner.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <limits>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/replay/recording.h"
#include "app/replay/verify.h"
#include "app/session/script.h"
#include "app/sim/trace.h"
#include "app/text/command_line.h"
#include "app/version.h"
#include "game/game_world.h"
#include "gfx/png.h"

namespace kolvane::sim {

namespace {

// What kolvane-sim reads, in every mode.
constexpr const ScriptLimits& kLimits = kReplayLimits;

// Reads at most kLimits.maxBytes bytes and one more, to tell a script that is
// too large. Returns false with error set when the stream fails.
bool readAll(std::FILE* file, std::string& text) {
    text.clear();
    char buffer[1 << 16];
    while (text.size() <= kLimits.maxBytes) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        text.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    return std::ferror(file) == 0;
}

// The whole script, from the file or from `in` for "-". A script that can't
// be read is an input error (exit 1); one that is too large is a mistake in
// the script (exit 2).
int readScriptText(const std::string& path, std::istream& in, std::string& text,
                   std::string& error) {
    if (path == "-") {
        text.clear();
        char buffer[1 << 16];
        while (text.size() <= kLimits.maxBytes && in.read(buffer, sizeof buffer).gcount() > 0) {
            text.append(buffer, static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad()) {
            error = "kolvane-sim: cannot read the script from standard input";
            return kExitFileError;
        }
    } else {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            error = "kolvane-sim: cannot read script \"" + path + "\": it is a directory";
            return kExitFileError;
        }
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            error = "kolvane-sim: cannot read script \"" + path + "\": " + std::strerror(errno);
            return kExitFileError;
        }
        const bool ok = readAll(file, text);
        const int readErrno = errno;
        std::fclose(file);
        if (!ok) {
            error = "kolvane-sim: cannot read script \"" + path + "\": " + std::strerror(readErrno);
            return kExitFileError;
        }
    }
    if (text.size() > kLimits.maxBytes) {
        const std::string name = path == "-" ? std::string(kStdinName) : path;
        error =
            name + ": script too large (more than " + std::to_string(kLimits.maxBytes) + " bytes)";
        return kExitUsageError;
    }
    return kExitOk;
}

// A shot's file name in the output folder.
std::string shotPath(const Options& options, const Shot& shot) {
    if (options.outDir.empty()) return shot.file;
    return (std::filesystem::path(options.outDir) / shot.file).string();
}

}  // namespace

namespace {

namespace option {
enum : int { kTrace, kOut, kClock, kSeed, kSize, kVerify };
}  // namespace option

constexpr std::array<OptionRow, 8> kOptions{{
    {option::kTrace,
     "--trace",
     "FILE",
     "write the trace, a JSON line a tick, to FILE (- for standard output)",
     {}},
    {option::kOut, "--out", "DIR", "write the shots into DIR (default: the current folder)", {}},
    {option::kClock, "--clock", "SECONDS", "start at this second since 1970 (0 to 2147483647)", {}},
    {option::kSeed, "--seed", "N", "start the random generator at N (0 to 4294967295)", {}},
    {option::kSize,
     "--size",
     "WIDTHxHEIGHT",
     "the client area (0 to 4096 each; default 740x580)",
     {}},
    {option::kVerify, "--verify", "RECORDING", "replay a recording and check its games", {}},
    kHelpRow,
    kVersionRow,
}};

// Lays one option over the others; false with error set for a bad value.
bool apply(const GivenOption& given, Options& options, std::string& error) {
    const std::string value(given.value);
    switch (given.id) {
        case kHelpOption:
        case kVersionOption:
            break;
        case option::kTrace:
            options.tracePath = value;
            break;
        case option::kOut:
            options.outDir = value;
            break;
        case option::kVerify:
            options.verifyPath = value;
            break;
        case option::kClock:
            if (!parseClockSeconds(value, options.clock)) {
                error = "bad --clock \"" + value + "\" (expected whole seconds, 0 to 2147483647)";
                return false;
            }
            options.clockGiven = true;
            break;
        case option::kSeed:
            if (!parseSeed(value, options.seed)) {
                error = "bad --seed \"" + value + "\" (expected 0 to 4294967295)";
                return false;
            }
            options.seedGiven = true;
            break;
        default: {
            ClientSize size;
            if (!parseClientSize(value, size)) {
                error = "bad --size \"" + value + "\" (expected WIDTHxHEIGHT, " +
                        std::to_string(kMinSize) + " to " + std::to_string(kMaxSize) + " each)";
                return false;
            }
            options.width = size.width;
            options.height = size.height;
            options.sizeGiven = true;
            break;
        }
    }
    return true;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    CommandLine line;
    if (!parseCommandLine(argc, argv, kOptions, line, error)) return false;
    options.help = line.help;
    options.version = line.version;
    for (const GivenOption& given : line.options) {
        if (!apply(given, options, error)) return false;
    }
    if (line.operands.size() > 1) {
        error = "more than one script given (\"" + std::string(line.operands[1]) + "\")";
        return false;
    }
    const bool haveScript = !line.operands.empty();
    if (haveScript) options.scriptPath = std::string(line.operands.front());
    if (!options.verifyPath.empty() && haveScript) {
        error = "--verify takes the recording in place of a script";
        return false;
    }
    if (!options.verifyPath.empty() && (!options.tracePath.empty() || !options.outDir.empty())) {
        error = "--verify writes no file (no trace, no shot)";
        return false;
    }
    return true;
}

std::string simHelp() {
    return helpText(std::string(kUsage) + "\n", kOptions,
                    "SCRIPT is a file of commands, or standard input when it is - or missing;\n"
                    "docs/replay-runner.md describes it.\n");
}

Options withScriptSettings(Options options, const ScriptSettings& settings) {
    if (!options.clockGiven && settings.clock) options.clock = *settings.clock;
    if (!options.seedGiven && settings.seed) options.seed = *settings.seed;
    if (!options.sizeGiven && settings.size) {
        options.width = settings.size->width;
        options.height = settings.size->height;
    }
    return options;
}

Runner::Runner(const Options& options, std::FILE* errors)
    : errors_(errors),
      world_(std::make_unique<GameWorld>()),
      session_(*world_, SessionStart{options.clock, options.seed,
                                     Rect{0, 0, options.width, options.height}}) {
    session_.setMessageBoxes(this);
}

Runner::~Runner() = default;

void Runner::start() {
    session_.start();
    session_.paint();
}

void Runner::tick() {
    play(tickCommand());
}

void Runner::keyDown(int key, bool repeat) {
    play(keyCommand(repeat ? CommandKind::kRepeat : CommandKind::kDown, key));
}

void Runner::press(int key) {
    play(keyCommand(CommandKind::kPress, key));
}

void Runner::release(int key) {
    play(keyCommand(CommandKind::kUp, key));
}

void Runner::messageBox(const char* text, const char* caption) {
    if (errors_ != nullptr) std::fprintf(errors_, "%s: %s\n", caption, text);
}

int runScript(const Options& options, const Script& script, std::FILE* out, std::FILE* errors) {
    TraceWriter trace;
    std::string error;
    if (!options.tracePath.empty() && !trace.open(options.tracePath, out, error)) {
        std::fprintf(errors, "kolvane-sim: %s\n", error.c_str());
        return kExitFileError;
    }
    auto traceFailed = [&] {
        trace.abandon();
        if (options.tracePath == "-") {
            std::fprintf(errors, "kolvane-sim: cannot write the trace to standard output\n");
        } else {
            std::fprintf(errors, "kolvane-sim: cannot write trace \"%s\"\n",
                         options.tracePath.c_str());
        }
        return kExitFileError;
    };

    Runner runner(options, errors);
    runner.start();
    if (trace.isOpen() && !trace.write(0, runner.world())) return traceFailed();

    bool traceOk = true;
    const auto writeTrace = [&] {
        traceOk = !trace.isOpen() || trace.write(runner.ticksDone(), runner.world());
        return traceOk;
    };
    for (const Command& c : script.commands) {
        if (c.kind == CommandKind::kShot) {
            const Shot& shot = script.shots[static_cast<std::size_t>(c.count)];
            const std::string path = shotPath(options, shot);
            if (runner.frame().width() == 0 || runner.frame().height() == 0) {
                // PNG has no empty pictures: a zero-sized client can't be shot.
                trace.abandon();
                std::fprintf(errors,
                             "kolvane-sim: line %d: cannot write \"%s\": the frame is empty "
                             "(%dx%d pixels)\n",
                             shot.line, path.c_str(), runner.frame().width(),
                             runner.frame().height());
                return kExitFileError;
            }
            // Written beside the name and renamed over it: a link planted
            // there is replaced, never followed.
            if (!gfx::writePng(path, runner.frame(), error)) {
                trace.abandon();
                // The error names the file and says why.
                std::fprintf(errors, "kolvane-sim: line %d: %s\n", shot.line, error.c_str());
                return kExitFileError;
            }
            continue;
        }
        // Escape ends the run at once.
        if (!runner.play(c, writeTrace)) break;
    }
    if (!traceOk) return traceFailed();

    if (trace.isOpen() && !trace.commit(error)) {
        std::fprintf(errors, "kolvane-sim: %s\n", error.c_str());
        return kExitFileError;
    }
    return kExitOk;
}

int verifyRecordingText(const Options& options, std::string_view text, std::FILE* out,
                        std::FILE* errors) {
    const std::string name =
        options.verifyPath == "-" ? std::string(kStdinName) : options.verifyPath;
    ScriptSettings overrides;
    if (options.clockGiven) overrides.clock = options.clock;
    if (options.seedGiven) overrides.seed = options.seed;
    if (options.sizeGiven) overrides.size = ClientSize{options.width, options.height};
    const VerifyReport report = verifyRecording(text, name, kLimits, overrides);
    for (std::size_t i = 0; i < describedGames(report); ++i) {
        std::fprintf(out, "%s\n", describeGame(report, i).c_str());
    }
    switch (report.verdict) {
        case Verdict::kAgrees:
            std::fprintf(out, "%s\n", report.message.c_str());
            return kExitOk;
        case Verdict::kDisagrees:
            std::fprintf(errors, "kolvane-sim: %s\n", report.message.c_str());
            return kExitNotVerified;
        case Verdict::kNoGames:
            std::fprintf(errors, "kolvane-sim: %s\n", report.message.c_str());
            return kExitNoGames;
        case Verdict::kRefused:
        case Verdict::kCancelled:
            break;
    }
    std::fprintf(errors, "%s\n", report.message.c_str());
    return kExitUsageError;
}

int simMain(int argc, const char* const* argv, std::istream& in, std::FILE* out,
            std::FILE* errors) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(errors, "kolvane-sim: %s\n%s\n", error.c_str(), kUsage);
        return kExitUsageError;
    }
    if (options.help) {
        std::fputs(simHelp().c_str(), out);
        return kExitOk;
    }
    if (options.version) {
        std::fprintf(out, "kolvane-sim %s\n", kVersion);
        return kExitOk;
    }
    const bool verifying = !options.verifyPath.empty();
    const std::string& path = verifying ? options.verifyPath : options.scriptPath;
    std::string text;
    if (const int code = readScriptText(path, in, text, error); code != kExitOk) {
        std::fprintf(errors, "%s\n", error.c_str());
        return code;
    }
    if (verifying) return verifyRecordingText(options, text, out, errors);
    const std::string_view name = path == "-" ? kStdinName : std::string_view(path);
    Script script;
    if (!parseScript(text, name, kLimits, script, error)) {
        std::fprintf(errors, "%s\n", error.c_str());
        return kExitUsageError;
    }
    if (!script.shots.empty()) {
        // A recording from anyone runs without writing a file.
        if (hasRecordingHeader(text)) {
            std::fprintf(errors, "%s:%d: %s\n", std::string(name).c_str(),
                         script.shots.front().line, std::string(kShotInRecording).c_str());
            return kExitUsageError;
        }
        std::error_code ec;
        if (!options.outDir.empty() && !std::filesystem::is_directory(options.outDir, ec)) {
            std::fprintf(errors, "kolvane-sim: cannot write shots into \"%s\": not a folder\n",
                         options.outDir.c_str());
            return kExitFileError;
        }
    }
    return runScript(withScriptSettings(options, script.settings), script, out, errors);
}

}  // namespace kolvane::sim
