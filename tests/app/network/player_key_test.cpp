// The player's key file: made once, private, never replaced or followed
// through a link.
#include "app/network/player_key.h"

#include <gtest/gtest.h>

#include "support/scratch.h"

namespace kolvane {
namespace {

namespace fs = std::filesystem;

TEST(PlayerKeyFile, IsMadeOnceReadableByItsOwnerOnly) {
    const fs::path file = testing::scratchDir() / "config" / kPlayerKeyFileName;
    std::string error;
    const auto made = loadOrCreatePlayerKey(file, error);
    ASSERT_TRUE(made) << error;
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(testing::readText(file), made->bearerCredential() + "\n");
    EXPECT_EQ(testing::filesIn(file.parent_path()), std::vector<std::string>{kPlayerKeyFileName});

    // Copied in with a looser mode: taken, and made private again.
    fs::permissions(file, fs::perms::others_read | fs::perms::group_read, fs::perm_options::add);
    const auto again = loadOrCreatePlayerKey(file, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->bearerCredential(), made->bearerCredential());
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_NE(PlayerKey::generate()->bearerCredential(), made->bearerCredential());
}

TEST(PlayerKeyFile, LeavesAFileThatIsNotAKeyAndRefusesALink) {
    const fs::path dir = testing::scratchDir();
    const fs::path file = dir / kPlayerKeyFileName;
    testing::writeText(file, "my notes\n");
    std::string error;
    EXPECT_FALSE(loadOrCreatePlayerKey(file, error));
    EXPECT_NE(error.find("does not hold a player key"), std::string::npos) << error;
    EXPECT_EQ(testing::readText(file), "my notes\n");

    fs::remove(file);
    testing::writeText(dir / "elsewhere", std::string(64, 'a') + "\n");
    fs::create_symlink(dir / "elsewhere", file);
    EXPECT_FALSE(loadOrCreatePlayerKey(file, error));
    EXPECT_TRUE(fs::is_symlink(file));
}

}  // namespace
}  // namespace kolvane
