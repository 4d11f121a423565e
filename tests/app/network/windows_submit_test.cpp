// The Windows build's leaderboard client end to end under Wine: --submit and
// --world through WinHTTP against the Linux stand-in server on loopback
// (tests/app/win32/network_test.sh starts it and names it).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/network/network_commands.h"
#include "app/network/system_random.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;

std::string printed(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
    return text;
}

TEST(WindowsLeaderboard, SubmitsARecordingAndFindsItInTheWorldTable) {
    const char* server = std::getenv("KOLVANE_TEST_SERVER");
    if (server == nullptr) GTEST_SKIP() << "no loopback server";
    unsigned char tag[4] = {};
    ASSERT_TRUE(systemRandomBytes(tag, sizeof tag));
    const fs::path dir =
        fs::temp_directory_path() /
        ("kolvane-network-" + std::to_string(tag[0] * 65536 + tag[1] * 256 + tag[2]));
    fs::create_directories(dir);
    std::ofstream(dir / "game.kolvane", std::ios::binary)
        << "# Kolvane 0.2, Win32 window on Windows\nclock 1767225600\nseed 1\nsize 740 580\n"
           "ticket t-1\ntick 5432\n# game 1: score 4321, level 3, ended at tick 5432\n";

    CommandSetup setup;
    setup.server = server;
    setup.player = {PlayerName::fromText("Wine"), dir / "player.key"};
    setup.wait = VerdictWait{10000, 1, 5};
    setup.out = std::tmpfile();
    ASSERT_NE(setup.out, nullptr);
    EXPECT_EQ(submitCommand(setup, dir / "game.kolvane"), exit_status::kVerified);
    EXPECT_EQ(printed(setup.out), "verified: score 4321, rank 1\n");
    EXPECT_TRUE(fs::exists(dir / "player.key"));
    std::fclose(setup.out);

    setup.out = std::tmpfile();
    EXPECT_EQ(worldCommand(setup), 0);
    EXPECT_NE(printed(setup.out).find("  1     4321      3  2026-01-01 00:00:00  Wine"),
              std::string::npos);
    std::fclose(setup.out);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kolvane
