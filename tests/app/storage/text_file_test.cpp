// Kept files that can't be used (the high-score table, a recording, the
// settings) are refused with one line, and the table and settings moved aside.
#include "app/storage/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/storage/recording_file.h"
#include "app/storage/score_file.h"
#include "app/storage/settings_file.h"
#include "support/scratch.h"

namespace kolvane {

namespace {

namespace fs = std::filesystem;
using testing::contentsOf;
using testing::linesIn;
using testing::readText;
using testing::scratchDir;
using testing::writeText;

TEST(KeptFiles, BadFilesAreRefusedWithOneLine) {
    const fs::path folder = scratchDir();
    const std::string recordingStart = "clock 1\nseed 1\nsize 740x580\n";
    const std::vector<std::pair<std::string, std::string>> bad{
        {"corrupt", "# Kolvane high scores\n12 1 yesterday 9 - 0\n"},
        {"truncated", "# Kolvane high scores\n1250 2 2025-12-06T05:4"},
        {"empty", ""},
        {"huge", std::string(70000, '#')},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    for (const auto& [what, bytes] : bad) {
        SCOPED_TRACE(what);
        std::FILE* errors = std::tmpfile();
        writeText(folder / "scores.txt", bytes);
        EXPECT_TRUE(loadScoreTable(folder, errors).entries.empty());
        const std::string said = contentsOf(errors);
        EXPECT_EQ(linesIn(said), 1) << said;
        EXPECT_NE(said.find("high-score table refused"), std::string::npos) << said;
        EXPECT_EQ(readText(folder / "scores.txt.bad"), bytes);
        EXPECT_FALSE(fs::exists(folder / "scores.txt"));
        std::fclose(errors);

        // A recording with the same bytes, after its settings lines or alone.
        const std::string recording = what == "empty" || what == "huge" || what == "binary"
                                          ? bytes
                                          : recordingStart + "tick 3\n" + bytes;
        writeText(folder / "bad.kolvane", recording);
        Recording read;
        std::string error;
        EXPECT_NE(readRecordingFile(folder / "bad.kolvane", read, error), RecordingRead::kRead);
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(read.script.commands.empty());
    }
    // Settings: a file too large to be settings is moved aside too.
    writeText(folder / "settings.ini", std::string(70000, ' '));
    std::FILE* errors = std::tmpfile();
    EXPECT_EQ(loadSettings(folder, errors), Settings{});
    EXPECT_EQ(linesIn(contentsOf(errors)), 1);
    EXPECT_TRUE(fs::exists(folder / "settings.ini.bad"));
    std::fclose(errors);
}
}  // namespace
}  // namespace kolvane
