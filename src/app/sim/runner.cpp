#include "app/sim/runner.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <limits>
#include <string_view>
#include <system_error>

#include "app/script.h"
#include "app/sim/trace.h"
#include "app/version.h"
#include "game/game_world.h"
#include "gfx/png.h"

namespace kolvane::sim {

namespace {

template <class T>
bool parseWhole(std::string_view text, T& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

bool parseSize(std::string_view text, std::int32_t& width, std::int32_t& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    std::int32_t w = 0;
    std::int32_t h = 0;
    if (!parseWhole(text.substr(0, x), w) || !parseWhole(text.substr(x + 1), h)) return false;
    if (w < kMinSize || w > kMaxSize || h < kMinSize || h > kMaxSize) return false;
    width = w;
    height = h;
    return true;
}

// Reads at most kMaxScriptSize bytes and one more, to tell a script that is
// too large. Returns false with error set when the stream fails.
bool readAll(std::FILE* file, std::string& text) {
    text.clear();
    char buffer[1 << 16];
    while (text.size() <= kMaxScriptSize) {
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
        while (text.size() <= kMaxScriptSize && in.read(buffer, sizeof buffer).gcount() > 0) {
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
    if (text.size() > kMaxScriptSize) {
        const std::string name = path == "-" ? std::string(kStdinName) : path;
        error =
            name + ": script too large (more than " + std::to_string(kMaxScriptSize) + " bytes)";
        return kExitUsageError;
    }
    return kExitOk;
}

}  // namespace

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    bool seen[4] = {};  // --trace, --clock, --seed, --size
    bool haveScript = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            options.help = true;
            continue;
        }
        if (!optionsEnded && arg == "--version") {
            options.version = true;
            continue;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            if (haveScript) {
                error = "more than one script given (\"" + std::string(arg) + "\")";
                return false;
            }
            options.scriptPath = std::string(arg);
            haveScript = true;
            continue;
        }
        int which = -1;
        if (arg == "--trace") which = 0;
        if (arg == "--clock") which = 1;
        if (arg == "--seed") which = 2;
        if (arg == "--size") which = 3;
        if (which < 0) {
            error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        }
        if (seen[which]) {
            error = "option " + std::string(arg) + " given twice";
            return false;
        }
        seen[which] = true;
        if (i + 1 >= argc) {
            error = "option " + std::string(arg) + " needs a value";
            return false;
        }
        const std::string_view value = argv[++i];
        switch (which) {
            case 0:
                if (value.empty()) {
                    error = "--trace needs a file name";
                    return false;
                }
                options.tracePath = std::string(value);
                break;
            case 1:
                if (!parseWhole(value, options.clock)) {
                    error = "bad --clock \"" + std::string(value) +
                            "\" (expected whole seconds, 0 to 2147483647)";
                    return false;
                }
                break;
            case 2:
                if (!parseWhole(value, options.seed)) {
                    error = "bad --seed \"" + std::string(value) + "\" (expected 0 to 4294967295)";
                    return false;
                }
                break;
            default:
                if (!parseSize(value, options.width, options.height)) {
                    error = "bad --size \"" + std::string(value) + "\" (expected WIDTHxHEIGHT, " +
                            std::to_string(kMinSize) + " to " + std::to_string(kMaxSize) + " each)";
                    return false;
                }
                break;
        }
    }
    return true;
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
            if (runner.frame().width() == 0 || runner.frame().height() == 0) {
                // PNG has no empty pictures: a zero-sized client can't be shot.
                trace.abandon();
                std::fprintf(errors,
                             "kolvane-sim: line %d: cannot write \"%s\": the frame is empty "
                             "(%dx%d pixels)\n",
                             c.line, c.file.c_str(), runner.frame().width(),
                             runner.frame().height());
                return kExitFileError;
            }
            if (!gfx::writePng(c.file, runner.frame(), error)) {
                trace.abandon();
                // The error names the file and says why.
                std::fprintf(errors, "kolvane-sim: line %d: %s\n", c.line, error.c_str());
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

int simMain(int argc, const char* const* argv, std::istream& in, std::FILE* out,
            std::FILE* errors) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(errors, "kolvane-sim: %s\n%s\n", error.c_str(), kUsage);
        return kExitUsageError;
    }
    if (options.help) {
        std::fprintf(out, "%s\n", kUsage);
        return kExitOk;
    }
    if (options.version) {
        std::fprintf(out, "kolvane-sim %s\n", kVersion);
        return kExitOk;
    }
    std::string text;
    if (const int code = readScriptText(options.scriptPath, in, text, error); code != kExitOk) {
        std::fprintf(errors, "%s\n", error.c_str());
        return code;
    }
    const std::string_view name =
        options.scriptPath == "-" ? kStdinName : std::string_view(options.scriptPath);
    Script script;
    if (!parseScript(text, name, script, error)) {
        std::fprintf(errors, "%s\n", error.c_str());
        return kExitUsageError;
    }
    return runScript(options, script, out, errors);
}

}  // namespace kolvane::sim
