// Files written atomically: the target changes only when the whole file is
// committed, a failure anywhere leaves it as it was with no temporary beside
// it, and two writers of one target never share a temporary.
#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string scratch(const std::string& name) {
    const fs::path dir = fs::path(KOLVANE_BINARY_DIR) / "core-scratch" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Names filesIn(const std::string& dir) {
    Names names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, TheTargetChangesOnlyWhenCommitted) {
    const std::string dir = scratch("commit");
    const std::string target = dir + "/scores";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(target, "old", error)) << error;

    AtomicFile file;
    ASSERT_TRUE(file.open(target, error)) << error;
    ASSERT_TRUE(file.write("new "));
    ASSERT_TRUE(file.write("scores"));
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(filesIn(dir).size(), 2u);  // the target and the temporary beside it
    file.abandon();
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(filesIn(dir), Names{"scores"});

    ASSERT_TRUE(file.open(target, error)) << error;
    ASSERT_TRUE(file.write("new scores"));
    ASSERT_TRUE(file.commit(error)) << error;
    EXPECT_EQ(contentOf(target), "new scores");
    EXPECT_EQ(filesIn(dir), Names{"scores"});
}

TEST(AtomicFile, TwoWritersOfOneTargetEachLeaveAWholeFile) {
    const std::string dir = scratch("two-writers");
    const std::string target = dir + "/scores";
    const std::string a(100000, 'a');  // more than the file buffer: bytes reach the disk
    const std::string b(100000, 'b');
    AtomicFile first;
    AtomicFile second;
    std::string error;
    ASSERT_TRUE(first.open(target, error)) << error;
    ASSERT_TRUE(second.open(target, error)) << error;
    ASSERT_TRUE(first.write(a));
    ASSERT_TRUE(second.write(b));
    ASSERT_TRUE(first.commit(error)) << error;
    EXPECT_TRUE(contentOf(target) == a);
    ASSERT_TRUE(second.commit(error)) << error;
    EXPECT_TRUE(contentOf(target) == b);
    EXPECT_EQ(filesIn(dir), Names{"scores"});
}

TEST(AtomicFile, AFailedRenameKeepsTheTargetAndRemovesTheTemporary) {
    // A folder where the file should go: the bytes are written, the rename fails.
    const std::string dir = scratch("rename");
    fs::create_directory(dir + "/scores");
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir + "/scores", "new", error));
    EXPECT_EQ(error.rfind("\"" + dir + "/scores\": ", 0), 0u) << error;
    EXPECT_TRUE(fs::is_directory(dir + "/scores"));
    EXPECT_EQ(filesIn(dir), Names{"scores"});
}

#ifndef _WIN32
TEST(AtomicFile, AFailedWriteKeepsTheOldFile) {
    // The process's file size limit refuses the write, as a full disk would.
    const std::string dir = scratch("write");
    const std::string target = dir + "/trace";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(target, "old", error)) << error;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1000;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeFileAtomically(target, std::string(5000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(error, "\"" + target + "\": " + std::strerror(EFBIG));
    EXPECT_EQ(contentOf(target), "old");
    EXPECT_EQ(filesIn(dir), Names{"trace"});
}
#endif

TEST(AtomicFile, AnUnwritableFolderIsAClearError) {
    // A missing folder: the one no user can write to (root ignores permissions).
    const std::string dir = scratch("missing");
    const std::string path = dir + "/no/such/folder/scores";
    AtomicFile file;
    std::string error;
    EXPECT_FALSE(file.open(path, error));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(error, "\"" + path + "\": No such file or directory");
    EXPECT_TRUE(filesIn(dir).empty());
}

}  // namespace
}  // namespace kolvane
