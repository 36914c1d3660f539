#include "platform/win/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace zandrel::win {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("LEVEL/001.lev", "one");
    dir_.Write("LEVEL/010.lev", "ten");
    dir_.Write("LEVEL/Extra/readme", "");
    dir_.Write("3DO/Game/Hero.3do", "mesh");
    dir_.Write("twins/a.txt", "lower");
    dir_.Write("twins/A.txt", "upper");
  }
  test::TempDir dir_;
};

TEST_F(FilesTest, ResolvesNamesInTheOriginalSpelling) {
  struct Case {
    const char* name;
    const char* expected;  // below the folder
  };
  for (const Case& c :
       {Case{"LEVEL\\001.lev", "LEVEL/001.lev"}, Case{"level/001.LEV", "LEVEL/001.lev"},
        Case{"3do\\game\\hero.3DO", "3DO/Game/Hero.3do"}, Case{"3DO/./Game//Hero.3do", "3DO/Game/Hero.3do"},
        Case{"twins\\a.txt", "twins/a.txt"}, Case{"twins/A.txt", "twins/A.txt"},
        Case{"level\\new.lev", "LEVEL/new.lev"},  // missing file: folder still found
        Case{"Missing\\Sub\\x", "Missing/Sub/x"}}) {
    EXPECT_EQ(ResolvePath(c.name, dir_.path()), dir_.path() / c.expected) << c.name;
  }
  EXPECT_TRUE(FileExists("LEVEL\\010.LEV", dir_.path()));
  EXPECT_FALSE(FileExists("LEVEL\\Extra", dir_.path()));  // a folder is not a file
  EXPECT_FALSE(FileExists("LEVEL\\002.lev", dir_.path()));
}

TEST_F(FilesTest, ResolvesAbsoluteNamesFromTheRoot) {
  const std::string absolute = (dir_.path() / "level" / "001.LEV").string();
  EXPECT_EQ(ResolvePath(absolute), dir_.path() / "LEVEL/001.lev");
}

TEST_F(FilesTest, ListsFoldersWithWildcards) {
  std::optional<std::vector<std::string>> all = ListFolder("level\\*.*", dir_.path());
  ASSERT_TRUE(all.has_value());
  std::sort(all->begin(), all->end());
  EXPECT_EQ(*all, (std::vector<std::string>{"001.lev", "010.lev", "Extra"}));

  std::optional<std::vector<std::string>> tens = ListFolder("LEVEL/?1*.LEV", dir_.path());
  ASSERT_TRUE(tens.has_value());
  EXPECT_EQ(*tens, (std::vector<std::string>{"010.lev"}));

  EXPECT_FALSE(ListFolder("NOWHERE\\*.*", dir_.path()).has_value());
}

TEST(Wildcard, MatchesLikeTheFileFunctions) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  for (const Case& c :
       {Case{"*.lev", "001.LEV", true}, Case{"*.lev", "001.lev.bak", false}, Case{"a*b*c", "aXXbYYc", true},
        Case{"a*b*c", "aXXbYY", false}, Case{"???", "abc", true}, Case{"???", "ab", false}, Case{"*", "", true},
        Case{"*x", "xxxx", true}, Case{"", "a", false}}) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
  }
}

TEST_F(FilesTest, ReadsWholeFilesWithinABound) {
  EXPECT_EQ(ReadWholeFile(dir_ / "LEVEL/001.lev", 3), (std::vector<std::uint8_t>{'o', 'n', 'e'}));
  EXPECT_FALSE(ReadWholeFile(dir_ / "LEVEL/001.lev", 2).has_value());
  EXPECT_EQ(ReadFilePrefix(dir_ / "LEVEL/001.lev", 2), (std::vector<std::uint8_t>{'o', 'n'}));
  EXPECT_FALSE(ReadWholeFile(dir_ / "LEVEL", 100).has_value());
  EXPECT_FALSE(ReadWholeFile(dir_ / "nothing", 100).has_value());
}

TEST_F(FilesTest, AtomicWritesReplaceWholeFilesAndLeaveNoTemporaries) {
  const fs::path target = dir_ / "deep/er/file.bin";
  ASSERT_TRUE(WriteFileAtomic(target, std::string_view("a long first content")));
  ASSERT_TRUE(WriteFileAtomic(target, std::string_view("short")));
  EXPECT_EQ(ReadWholeFile(target, 100), (std::vector<std::uint8_t>{'s', 'h', 'o', 'r', 't'}));
  EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()), 1);

  const base::Status onFolder = WriteFileAtomic(dir_ / "LEVEL", std::string_view("x"));
  EXPECT_FALSE(onFolder.ok());
  EXPECT_NE(onFolder.error().find("LEVEL"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "LEVEL"));
}

TEST_F(FilesTest, ProfilesStayBesideTheProgramOnlyWhenWritable) {
  test::TempDir config;
  ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  const fs::path fallback = config / "zandrel/zandrel.ini";
  EXPECT_EQ(ProfilePath(dir_.path(), "zandrel.ini"), fallback);  // none beside

  const fs::path beside = dir_.Write("ZANDREL.INI", "[General]\n");
  EXPECT_EQ(ProfilePath(dir_.path(), "zandrel.ini"), beside);

  fs::permissions(beside, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(ProfilePath(dir_.path(), "zandrel.ini"), fallback);
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(FilesTest, ScreenshotsGoToThePicturesFolder) {
  const std::string oldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("HOME", dir_.path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
  ::unsetenv("XDG_PICTURES_DIR");
  struct Case {
    const char* list;  // the user's folder list, or none
    fs::path expected;
  };
  const Case cases[] = {
      {nullptr, dir_.path()},
      {"# made by xdg-user-dirs\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", dir_ / "Bilder"},
      {"XDG_PICTURES_DIR=\"/srv/shots\"\n", "/srv/shots"},
      {"XDG_PICTURES_DIR=\"$HOME/\"\n", dir_.path()},  // the home folder: no pictures folder
      {"XDG_PICTURES_DIR=\"relative\"\n", dir_.path()},
      {"XDG_PICTURES_DIR=\"$HOME/unterminated\n", dir_.path()},
      {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", dir_.path()},
  };
  for (const Case& c : cases) {
    fs::remove_all(dir_ / "cfg");
    if (c.list != nullptr) dir_.Write("cfg/user-dirs.dirs", c.list);
    EXPECT_EQ(PicturesFolder(), c.expected) << (c.list != nullptr ? c.list : "no list");
  }
  ::setenv("XDG_PICTURES_DIR", "/elsewhere", 1);
  EXPECT_EQ(PicturesFolder(), fs::path("/elsewhere"));
  ::unsetenv("XDG_PICTURES_DIR");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", oldHome.c_str(), 1);
}

TEST_F(FilesTest, UserFoldersFollowTheXdgVariablesOrTheirDefaults) {
  const std::string oldHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  ::setenv("HOME", dir_.path().c_str(), 1);
  struct Case {
    const char* variable;
    fs::path (*folder)();
    const char* fallback;
  };
  const Case cases[] = {
      {"XDG_CONFIG_HOME", ConfigFolder, ".config/zandrel"},
      {"XDG_STATE_HOME", StateFolder, ".local/state/zandrel"},
      {"XDG_DATA_HOME", UserDataFolder, ".local/share/zandrel"},
  };
  for (const Case& c : cases) {
    ::unsetenv(c.variable);
    EXPECT_EQ(c.folder(), dir_ / c.fallback) << c.variable;
    ::setenv(c.variable, "relative/not/used", 1);
    EXPECT_EQ(c.folder(), dir_ / c.fallback) << c.variable;
    ::setenv(c.variable, "/srv/xdg", 1);
    EXPECT_EQ(c.folder(), fs::path("/srv/xdg/zandrel")) << c.variable;
    ::unsetenv(c.variable);
  }
  ::setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
}  // namespace zandrel::win
