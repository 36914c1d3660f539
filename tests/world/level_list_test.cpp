#include "world/level_list.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win/ini.h"
#include "tests/support/temp_dir.h"

namespace zandrel::world {
namespace {

TEST(LevelList, SortsNamesByCharacterCode) {
  test::TempDir dir;
  for (const char* name : {"b.lev", "A.lev", "a.lev", "x10.lev", "x2.lev", "1", "_under.lev"}) {
    dir.Write(std::string("LEVEL/") + name, "");
  }
  std::filesystem::create_directories(dir / "LEVEL/Bonus");
  base::Expected<std::vector<std::string>> list = BuildLevelList(dir.path());
  ASSERT_TRUE(list.ok()) << list.error();
  // "1" is too short to be a level; the sub-folder is listed like a file.
  EXPECT_EQ(*list, (std::vector<std::string>{"LEVEL\\A.lev", "LEVEL\\Bonus", "LEVEL\\_under.lev", "LEVEL\\a.lev",
                                             "LEVEL\\b.lev", "LEVEL\\x10.lev", "LEVEL\\x2.lev"}));
}

TEST(LevelList, FindsTheFolderInAnyCase) {
  test::TempDir dir;
  dir.Write("level/01.lev", "");
  base::Expected<std::vector<std::string>> list = BuildLevelList(dir.path());
  ASSERT_TRUE(list.ok());
  EXPECT_EQ(*list, std::vector<std::string>{"LEVEL\\01.lev"});
}

TEST(LevelList, AMissingOrEmptyFolderIsReported) {
  test::TempDir dir;
  base::Expected<std::vector<std::string>> none = BuildLevelList(dir.path());
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.error(), "GAME: Problem reading level files (LEVEL\\ folder).");
  dir.Write("LEVEL/x", "");
  base::Expected<std::vector<std::string>> empty = BuildLevelList(dir.path());
  ASSERT_FALSE(empty.ok());
  EXPECT_EQ(empty.error(), "GAME: No level files (LEVEL\\ folder).");
}

TEST(Scramble, XorsEachCharacterWithItsPosition) {
  EXPECT_EQ(Scramble("abc"), "\x60\x60\x60");
  EXPECT_EQ(Scramble("300004"), "223452");
  std::string long_text(600, 'q');
  EXPECT_EQ(Scramble(Scramble(long_text)), long_text);
  EXPECT_EQ(Scramble(long_text)[255], 'q');  // position 256 XORs with 0
}

class SavedGameTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
  void StoreRaw(const std::string& scrambled) { dir_.Write("zandrel.ini", "[Save]\nIndex=" + scrambled + "\n"); }
  test::TempDir dir_, config_;
};

TEST_F(SavedGameTest, SavesScrambledAndLoadsBack) {
  dir_.Write("zandrel.ini", "[General]\nTop=5\n");
  ASSERT_TRUE(StoreSavedGame(dir_.path(), 4, 3));
  const win::IniFile ini(dir_ / "zandrel.ini");
  EXPECT_EQ(ini.ReadString("Save", "Index", ""), "223452");
  EXPECT_EQ(ini.ReadInteger("General", "Top", 0), 5);
  const SavedGame saved = LoadSavedGame(dir_.path(), 10);
  EXPECT_EQ(saved.LevelIndex, 4);
  EXPECT_EQ(saved.Lives, 3);
}

TEST_F(SavedGameTest, LoadingLimitsOrIgnoresStrangeValues) {
  struct Case {
    std::string plain;  // before scrambling
    std::int32_t levelIndex, lives;
  };
  for (const Case& c : {Case{"12000000", 0, 99}, Case{"300009", 4, 3}, Case{"9999999", 4, 99}, Case{"7", 4, 0},
                        Case{"", 0, 3}, Case{"abc", 0, 3}, Case{"-300001", 0, 3}, Case{"2147483648", 0, 3},
                        Case{"2147483647", 4, 99}, Case{" 300001", 0, 3}}) {
    StoreRaw(Scramble(c.plain));
    const SavedGame saved = LoadSavedGame(dir_.path(), 5);
    EXPECT_EQ(saved.LevelIndex, c.levelIndex) << c.plain;
    EXPECT_EQ(saved.Lives, c.lives) << c.plain;
  }
}

TEST_F(SavedGameTest, NoSettingsFileMeansANewGame) {
  const SavedGame saved = LoadSavedGame(dir_.path(), 5);
  EXPECT_EQ(saved.LevelIndex, 0);
  EXPECT_EQ(saved.Lives, 3);
  ASSERT_TRUE(StoreSavedGame(dir_.path(), 1, 2));  // no file beside: the config folder
  EXPECT_TRUE(std::filesystem::exists(config_ / "zandrel/zandrel.ini"));
  EXPECT_EQ(LoadSavedGame(dir_.path(), 5).Lives, 2);
}

}  // namespace
}  // namespace zandrel::world
