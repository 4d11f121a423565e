// kolvane-scriptgen: prints a generated soak script, so that a soak case can
// be replayed (and traced, and shot) by kolvane-sim.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "soak/script_generator.h"

namespace {

constexpr const char* kUsage =
    "usage: kolvane-scriptgen [--style play|chaos] [--seed N] [--ticks N]";

template <class T>
bool parseWhole(std::string_view text, T& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kolvane::soak;
    Style style = Style::kPlay;
    std::uint64_t seed = 1;
    std::int64_t ticks = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::string_view value = i + 1 < argc ? argv[i + 1] : "";
        bool ok = false;
        if (arg == "--style") ok = parseStyle(value, style);
        if (arg == "--seed") ok = parseWhole(value, seed);
        if (arg == "--ticks") ok = parseWhole(value, ticks);
        if (!ok) {
            std::fprintf(stderr, "kolvane-scriptgen: bad argument \"%s\"\n%s\n", argv[i], kUsage);
            return 2;
        }
        ++i;
    }
    std::printf("# kolvane-scriptgen --style %s --seed %llu --ticks %lld\n", styleName(style),
                static_cast<unsigned long long>(seed), static_cast<long long>(ticks));
    ScriptGenerator generator(style, seed);
    std::string line;
    for (std::int64_t done = 0; done < ticks;) {
        const Step step = generator.next(static_cast<std::int32_t>(
            std::min<std::int64_t>(ticks - done, kolvane::kMaxTickCount)));
        if (step.kind == kolvane::CommandKind::kTick) done += step.count;
        line.clear();
        appendLine(line, step);
        std::fputs(line.c_str(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
