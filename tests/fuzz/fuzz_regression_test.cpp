// Every input of the fuzzer's seed corpus and every input it ever found a
// fault with, replayed in the normal suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/kept_fuzz.h"
#include "fuzz/script_fuzz.h"
#ifdef KOLVANE_SUBMISSION_FUZZ
#include "fuzz/submission_fuzz.h"
#endif

namespace kolvane::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs(const char* folder) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(KOLVANE_TEST_DATA) / "fuzz" / folder)) {
        if (e.is_regular_file() && e.path().filename() != "README.md") files.push_back(e.path());
    }
    return files;
}

using Body = bool (*)(const std::uint8_t*, std::size_t, std::string&);

void replay(const fs::path& file, Body body = playScriptInput) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string problem;
    EXPECT_TRUE(body(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), problem))
        << file.filename() << ": " << problem;
}

// A regression input's target, by the start of its name.
Body bodyFor(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.rfind("recording-", 0) == 0) return readRecordingInput;
    if (name.rfind("scores-", 0) == 0) return readScoreTableInput;
#ifdef KOLVANE_SUBMISSION_FUZZ
    if (name.rfind("submission-", 0) == 0) return submitInput;
#endif
    return playScriptInput;
}

TEST(FuzzInputs, SeedCorpusPlaysCleanly) {
    const auto files = inputs("corpus");
    EXPECT_GE(files.size(), 5u);
    for (const fs::path& f : files) replay(f);
}

#ifdef KOLVANE_SUBMISSION_FUZZ
TEST(FuzzInputs, SubmissionSeedsAreAnsweredCleanly) {
    const auto files = inputs("submission_corpus");
    EXPECT_GE(files.size(), 5u);
    for (const fs::path& f : files) replay(f, submitInput);
}
#endif

TEST(FuzzInputs, RecordingAndScoreTableSeedsReadCleanly) {
    const auto recordings = inputs("recording_corpus");
    const auto tables = inputs("score_corpus");
    EXPECT_GE(recordings.size(), 5u);
    EXPECT_GE(tables.size(), 5u);
    for (const fs::path& f : recordings) replay(f, readRecordingInput);
    for (const fs::path& f : tables) replay(f, readScoreTableInput);
}

TEST(FuzzInputs, RegressionInputsPlayCleanly) {
    for (const fs::path& f : inputs("regressions")) replay(f, bodyFor(f));
}

TEST(FuzzInputs, TickCountsAreCappedPerInput) {
    const std::string script = "press S\ntick 1000000\ntick 1000000\n";
    std::string problem;
    EXPECT_TRUE(playScriptInput(reinterpret_cast<const std::uint8_t*>(script.data()), script.size(),
                                problem))
        << problem;
}

}  // namespace
}  // namespace kolvane::fuzz
