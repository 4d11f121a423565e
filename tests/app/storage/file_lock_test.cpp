// The lock around the high-score table's read-merge-write: taken once at a
// time, and never through a link planted in place of the lock file.
#include "app/storage/file_lock.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch.h"

namespace kolvane {
namespace {

using namespace kolvane::testing;

TEST(FileLock, HeldOnceAndNeverThroughALink) {
    const fs::path dir = scratchDir();
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "elsewhere");
    const fs::path lockFile = dir / "data" / "scores.lock";
    std::string error;
#ifndef _WIN32  // Wine makes no links
    // A link to a file that does not exist yet: opening it with O_CREAT would make it.
    fs::create_symlink(dir / "elsewhere" / "made-through-the-link", lockFile);
    FileLock throughLink;
    EXPECT_FALSE(throughLink.acquire(lockFile.string(), 50, error));
    EXPECT_EQ(error, "\"" + lockFile.string() + "\" is a link, not a lock file (refused)");
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere")) << "nothing made where the link points";
    fs::remove(lockFile);
#endif
    FileLock first;
    ASSERT_TRUE(first.acquire(lockFile.string(), 50, error)) << error;
    FileLock second;
    EXPECT_FALSE(second.acquire(lockFile.string(), 50, error));
    EXPECT_EQ(error, "\"" + lockFile.string() + "\" stayed locked by another instance");
    first.release();
    EXPECT_TRUE(second.acquire(lockFile.string(), 50, error)) << error;
}

}  // namespace
}  // namespace kolvane
