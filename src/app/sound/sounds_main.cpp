// kolvane-sounds: every sound of the game as a WAV file, to listen to and
// tune by ear, and optionally a scripted game as the player would hear it.
//
//   kolvane-sounds FOLDER [--game SCRIPT [--seed N] [--clock SECONDS]]
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/session/script.h"
#include "app/session/tick_and_field.h"
#include "app/sound/offline_render.h"
#include "app/sound/sound_bank.h"
#include "app/sound/sounds.h"
#include "app/sound/wav_file.h"
#include "app/text/command_line.h"
#include "app/version.h"
#include "core/atomic_file.h"

namespace {

using namespace kolvane;

namespace option {
enum : int { kGame, kSeed, kClock };
}  // namespace option

constexpr std::array<OptionRow, 5> kOptions{{
    {option::kGame, "--game", "SCRIPT", "also write the game SCRIPT plays, as it sounds", {}},
    {option::kSeed, "--seed", "N", "the game's seed (default 1)", {}},
    {option::kClock, "--clock", "SECONDS", "the game's start (default 1000000000)", {}},
    kHelpRow,
    kVersionRow,
}};

struct Options {
    std::string folder;
    std::string script;
    SessionStart start{1000000000, 1, kDefaultClient};
    bool help = false;
    bool version = false;
};

bool parse(int argc, char** argv, Options& o, std::string& error) {
    CommandLine line;
    if (!parseCommandLine(argc, argv, kOptions, line, error)) return false;
    o.help = line.help;
    o.version = line.version;
    for (const GivenOption& given : line.options) {
        const std::string value(given.value);
        if (given.id == option::kGame) o.script = value;
        if (given.id == option::kSeed && !parseSeed(value, o.start.seed)) {
            error = "bad --seed \"" + value + "\"";
            return false;
        }
        if (given.id == option::kClock && !parseClockSeconds(value, o.start.clockSeconds)) {
            error = "bad --clock \"" + value + "\"";
            return false;
        }
    }
    if (line.operands.size() != 1 && !o.help && !o.version) {
        error = "one FOLDER expected";
        return false;
    }
    if (!line.operands.empty()) o.folder = std::string(line.operands.front());
    return true;
}

std::vector<std::int16_t> toPcm(std::span<const float> samples) {
    std::vector<std::int16_t> pcm(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        pcm[i] = static_cast<std::int16_t>(std::lrint(samples[i] * 32767.0f));
    }
    return pcm;
}

bool write(const std::filesystem::path& path, const std::vector<std::int16_t>& pcm) {
    std::string error;
    if (!writeFileAtomically(path.string(), sound::wavBytes(pcm, sound::kSampleRate), error)) {
        std::fprintf(stderr, "kolvane-sounds: cannot write %s\n", error.c_str());
        return false;
    }
    return true;
}

// A loop is written as a few turns of itself, to hear its seam.
std::vector<std::int16_t> turns(std::vector<std::int16_t> pcm, int count) {
    const std::size_t one = pcm.size();
    for (int i = 1; i < count; ++i) pcm.insert(pcm.end(), pcm.begin(), pcm.begin() + one);
    return pcm;
}

bool writeGame(const Options& o) {
    std::ifstream in(o.script, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "kolvane-sounds: cannot read script \"%s\"\n", o.script.c_str());
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Script script;
    std::string error;
    if (!parseScript(text, o.script, script, error)) {
        std::fprintf(stderr, "kolvane-sounds: %s\n", error.c_str());
        return false;
    }
    const auto name = "game-" + std::filesystem::path(o.script).stem().string() + ".wav";
    if (!write(std::filesystem::path(o.folder) / name,
               sound::renderScriptSound(script, o.start, sound::OfflineSound{}))) {
        return false;
    }
    std::printf("kolvane-sounds: %s/%s\n", o.folder.c_str(), name.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    const std::string help = helpText(
        "usage: kolvane-sounds FOLDER [--game SCRIPT [--seed N] [--clock SECONDS]]\n", kOptions);
    if (!parse(argc, argv, o, error)) {
        std::fprintf(stderr, "kolvane-sounds: %s\n%s", error.c_str(), help.c_str());
        return 2;
    }
    if (o.help) {
        std::fputs(help.c_str(), stdout);
        return 0;
    }
    if (o.version) {
        std::printf("kolvane-sounds %s\n", kVersion);
        return 0;
    }
    std::error_code ec;
    std::filesystem::create_directories(o.folder, ec);
    if (ec) {
        std::fprintf(stderr, "kolvane-sounds: cannot make \"%s\": %s\n", o.folder.c_str(),
                     ec.message().c_str());
        return 1;
    }
    const sound::SoundBank bank;
    for (int i = 0; i < sound::kSoundCount; ++i) {
        const auto s = static_cast<sound::Sound>(i);
        std::vector<std::int16_t> pcm = toPcm(bank.samples(s));
        if (sound::isLoop(s)) pcm = turns(std::move(pcm), 4);
        char name[64];
        std::snprintf(name, sizeof name, "%02d-%s.wav", i + 1, sound::soundName(s));
        if (!write(std::filesystem::path(o.folder) / name, pcm)) return 1;
    }
    std::printf("kolvane-sounds: %d sounds in %s\n", sound::kSoundCount, o.folder.c_str());
    if (!o.script.empty() && !writeGame(o)) return 1;
    return 0;
}
