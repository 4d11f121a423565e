#include "server/server_options.h"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kolvane::server {

const char* const kServerUsage =
    "usage: kolvane-server [options]\n"
    "  --listen ADDR:PORT   where to answer (127.0.0.1:8080; [::1]:8080; port 0: any free)\n"
    "  --db URL             postgresql://... or a SQLite file (default:\n"
    "                       $XDG_DATA_HOME/kolvane-server/leaderboard.sqlite)\n"
    "  --workers N          verifier threads (default: one per core; 0: none, another\n"
    "                       process verifies)\n"
    "  --verify-only        verify queued recordings and answer no requests\n"
    "  --web DIR            serve the web page's files at /\n"
    "  --cors ORIGIN        let pages from ORIGIN (or *) call the API\n"
    "  --threads N          threads answering requests (64)\n"
    "  --submit-rate N      submissions a minute per address (30; 0: no limit)\n"
    "  --ticket-rate N      tickets a minute per address (60; 0: no limit)\n"
    "  --cpu-cap SECONDS    CPU time one verification may take (60)\n"
    "  --lease SECONDS      how long a verifier holds a job before others may take it (120)\n"
    "  --behind-proxy       take the client's address from X-Forwarded-For when the\n"
    "                       request comes from loopback (a reverse proxy on this machine)\n"
    "  --help, --version\n"
    "Each option can also come from the environment: KOLVANE_LISTEN, KOLVANE_DB,\n"
    "KOLVANE_WORKERS, KOLVANE_VERIFY_ONLY, KOLVANE_WEB, KOLVANE_CORS, KOLVANE_THREADS,\n"
    "KOLVANE_SUBMIT_RATE, KOLVANE_TICKET_RATE, KOLVANE_CPU_CAP, KOLVANE_LEASE,\n"
    "KOLVANE_BEHIND_PROXY (true or false for the flags).";

namespace {

bool parseCount(std::string_view text, int low, int high, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc{} && end == text.data() + text.size() && value >= low &&
           value <= high;
}

bool parseFlag(std::string_view text, bool& value) {
    if (text == "true" || text == "1" || text == "yes") {
        value = true;
        return true;
    }
    if (text == "false" || text == "0" || text == "no" || text.empty()) {
        value = false;
        return true;
    }
    return false;
}

struct Setting {
    const char* option;
    const char* variable;
    // Takes the value; false (with error set) when it is wrong.
    std::function<bool(std::string_view, std::string&)> take;
    bool flag = false;
};

}  // namespace

bool parseListen(const std::string& text, std::string& host, int& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    std::string h = text.substr(0, colon);
    if (h.front() == '[') {
        if (h.size() < 3 || h.back() != ']') return false;
        h = h.substr(1, h.size() - 2);
    } else if (h.find(':') != std::string::npos) {
        return false;
    }
    int p = 0;
    if (!parseCount(std::string_view(text).substr(colon + 1), 0, 65535, p)) return false;
    host = h;
    port = p;
    return true;
}

bool parseServerOptions(int argc, const char* const* argv,
                        const std::function<const char*(const char*)>& env, ServerOptions& options,
                        std::string& error) {
    const auto count = [](int& field, int low, int high, const char* what) {
        return [&field, low, high, what](std::string_view v, std::string& e) {
            if (parseCount(v, low, high, field)) return true;
            e = std::string(what) + " is a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not \"" + std::string(v) + "\"";
            return false;
        };
    };
    const auto flag = [](bool& field, const char* what) {
        return [&field, what](std::string_view v, std::string& e) {
            if (parseFlag(v, field)) return true;
            e = std::string(what) + " is true or false, not \"" + std::string(v) + "\"";
            return false;
        };
    };
    const auto text = [](std::string& field, const char* what) {
        return [&field, what](std::string_view v, std::string& e) {
            if (v.empty()) {
                e = std::string(what) + " needs a value";
                return false;
            }
            field = std::string(v);
            return true;
        };
    };
    const Setting settings[] = {
        {"--listen", "KOLVANE_LISTEN",
         [&](std::string_view v, std::string& e) {
             if (parseListen(std::string(v), options.host, options.port)) return true;
             e = "--listen takes ADDR:PORT (127.0.0.1:8080, [::1]:0), not \"" + std::string(v) +
                 "\"";
             return false;
         }},
        {"--db", "KOLVANE_DB", text(options.db, "--db")},
        {"--workers", "KOLVANE_WORKERS", count(options.workers, 0, 256, "--workers")},
        {"--verify-only", "KOLVANE_VERIFY_ONLY", flag(options.verifyOnly, "--verify-only"), true},
        {"--web", "KOLVANE_WEB", text(options.webDir, "--web")},
        {"--cors", "KOLVANE_CORS", text(options.cors, "--cors")},
        {"--threads", "KOLVANE_THREADS", count(options.threads, 2, 1024, "--threads")},
        {"--submit-rate", "KOLVANE_SUBMIT_RATE",
         count(options.submitsPerMinute, 0, 1000000, "--submit-rate")},
        {"--ticket-rate", "KOLVANE_TICKET_RATE",
         count(options.ticketsPerMinute, 0, 1000000, "--ticket-rate")},
        {"--cpu-cap", "KOLVANE_CPU_CAP", count(options.cpuCapSeconds, 1, 3600, "--cpu-cap")},
        {"--lease", "KOLVANE_LEASE", count(options.leaseSeconds, 1, 86400, "--lease")},
        {"--behind-proxy", "KOLVANE_BEHIND_PROXY", flag(options.behindProxy, "--behind-proxy"),
         true},
    };
    bool workersGiven = false;
    for (const Setting& s : settings) {
        const char* value = env(s.variable);
        if (value == nullptr) continue;
        if (!s.take(value, error)) {
            error.insert(0, std::string(s.variable) + ": ");
            return false;
        }
        if (std::string_view(s.option) == "--workers") workersGiven = true;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        if (arg == "--verifier-process") {  // started by a server, not by people
            options.verifierProcess = true;
            continue;
        }
        const Setting* found = nullptr;
        for (const Setting& s : settings) {
            if (arg == s.option) found = &s;
        }
        if (found == nullptr) {
            error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        }
        if (found->flag) {
            found->take("true", error);
            continue;
        }
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a value";
            return false;
        }
        if (!found->take(argv[++i], error)) return false;
        if (arg == "--workers") workersGiven = true;
    }
    if (options.verifyOnly && workersGiven && options.workers == 0) {
        error = "--verify-only needs at least one worker";
        return false;
    }
    return true;
}

std::string defaultDatabase(const std::function<const char*(const char*)>& env,
                            std::string& error) {
    std::filesystem::path folder;
    if (const char* data = env("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        folder = data;
    } else if (const char* home = env("HOME"); home != nullptr && home[0] == '/') {
        folder = std::filesystem::path(home) / ".local" / "share";
    } else {
        error = "neither XDG_DATA_HOME nor HOME names a folder for the database: give --db";
        return {};
    }
    folder /= "kolvane-server";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot make the data folder \"" + folder.string() + "\": " + ec.message();
        return {};
    }
    return (folder / "leaderboard.sqlite").string();
}

}  // namespace kolvane::server
