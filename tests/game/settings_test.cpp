#include "game/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win/ini.h"
#include "tests/support/temp_dir.h"

namespace zandrel::game {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
  test::TempDir start_, config_;
};

TEST_F(SettingsTest, NoFileAnywhereGivesTheDefaults) {
  const Settings s = ReadSettings(start_.path());
  EXPECT_EQ(std::tie(s.Top, s.Left, s.Width, s.Height), std::tuple(100, 100, 320, 240));
  EXPECT_EQ(std::tie(s.Display.DisplayWidth, s.Display.DisplayHeight), std::tuple(640, 480));
  EXPECT_FALSE(s.FullscreenRequest);
  EXPECT_TRUE(s.HighTextures);
}

TEST_F(SettingsTest, ReadsEveryKey) {
  struct Case {
    const char* general;
    int displayWidth;
    bool fullscreen, high;
  };
  for (const Case& c : {Case{"Resolution=4\nFullscreen=TRUE\nTexture=false\n", 800, true, false},
                        Case{"Resolution=0\nFullscreen=true\n", 640, false, true},  // 160 wide: never full screen
                        Case{"Resolution=3\nFullscreen=yes\nTexture=True\n", 640, false, true},
                        Case{"Resolution=9\nFullscreen=True\n", 640, true, true},
                        Case{"Resolution=4x\nTexture=0\n", 640, false, false}}) {
    start_.Write("zandrel.ini", std::string("[General]\nTop=7\nLeft=-20\nWidth=1024\nHeight=768\n") + c.general);
    const Settings s = ReadSettings(start_.path());
    EXPECT_EQ(std::tie(s.Top, s.Left, s.Width, s.Height), std::tuple(7, -20, 1024, 768));
    EXPECT_EQ(s.Display.DisplayWidth, c.displayWidth) << c.general;
    EXPECT_EQ(s.FullscreenRequest, c.fullscreen) << c.general;
    EXPECT_EQ(s.HighTextures, c.high) << c.general;
  }
}

TEST_F(SettingsTest, ReadsTheNetworkSection) {
  struct Case {
    const char* network;
    std::uint16_t port;
    std::vector<std::string> discovery;
  };
  for (const Case& c : {Case{"", 0, {}}, Case{"Port=40000\nDiscovery=127.0.0.1\n", 40000, {"127.0.0.1"}},
                        Case{"Port=65535\nDiscovery= 127.0.0.2 ,,127.0.0.3\n", 0, {"127.0.0.2", "127.0.0.3"}},
                        Case{"Port=0\n", 0, {}}, Case{"Port=-5\n", 0, {}}}) {
    start_.Write("zandrel.ini", std::string("[Network]\n") + c.network);
    const Settings s = ReadSettings(start_.path());
    EXPECT_EQ(s.NetworkPort, c.port) << c.network;
    EXPECT_EQ(s.Discovery, c.discovery) << c.network;
  }
}

TEST(Resolution, CodesMapBothWays) {
  struct Case {
    std::int32_t code;
    int named, displayHeight;
    std::int32_t written;
  };
  for (const Case& c : {Case{0, 160, 480, 3}, Case{1, 320, 480, 3}, Case{2, 320, 480, 3}, Case{3, 640, 480, 3},
                        Case{4, 800, 600, 4}, Case{-1, 320, 480, 3}, Case{5, 320, 480, 3}}) {
    const Resolution r = ResolutionFromCode(c.code);
    EXPECT_EQ(r.NamedWidth, c.named) << c.code;
    EXPECT_EQ(r.DisplayHeight, c.displayHeight) << c.code;
    EXPECT_EQ(ResolutionCode(r.DisplayHeight), c.written) << c.code;
  }
  for (auto [height, code] : {std::pair{120, 0}, {200, 1}, {240, 2}, {480, 3}, {600, 4}, {768, 2}}) {
    EXPECT_EQ(ResolutionCode(height), code);
  }
}

TEST_F(SettingsTest, WritesBesideTheProgramKeepingOtherSections) {
  start_.Write("zandrel.ini", "[Save]\nIndex=223452\n[General]\nExtra=1\nTexture=false\n");
  SettingsToWrite out;
  out.Top = 3;
  out.Left = 4;
  out.Width = 800;
  out.Height = 600;
  out.DisplayHeight = 600;
  out.Fullscreen = true;
  out.HighTextures = false;
  ASSERT_TRUE(WriteSettings(start_.path(), out));
  const win::IniFile ini(start_ / "zandrel.ini");
  EXPECT_EQ(ini.ReadString("Save", "Index", ""), "223452");
  EXPECT_EQ(ini.ReadInteger("General", "Extra", 0), 1);
  EXPECT_EQ(ini.ReadInteger("General", "Resolution", 0), 4);
  EXPECT_EQ(ini.ReadString("General", "Fullscreen", ""), "True");
  EXPECT_EQ(ini.ReadString("General", "Texture", ""), "False");
  const Settings back = ReadSettings(start_.path());
  EXPECT_EQ(std::tie(back.Top, back.Left, back.Width, back.Height), std::tuple(3, 4, 800, 600));
  EXPECT_EQ(back.Display.DisplayWidth, 800);
  EXPECT_TRUE(back.FullscreenRequest);
  EXPECT_FALSE(back.HighTextures);
  EXPECT_FALSE(std::filesystem::exists(config_ / "zandrel"));
}

TEST_F(SettingsTest, AReadOnlyFileBesideTheProgramIsLeftAlone) {
  const std::filesystem::path beside = start_.Write("zandrel.ini", "[General]\nTop=55\n");
  std::filesystem::permissions(beside, std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadSettings(start_.path()).Top, 100);  // the configuration folder's (absent) file
  SettingsToWrite out;
  out.Top = 66;
  ASSERT_TRUE(WriteSettings(start_.path(), out));
  EXPECT_EQ(win::IniFile(beside).ReadInteger("General", "Top", 0), 55);
  EXPECT_EQ(win::IniFile(config_ / "zandrel/zandrel.ini").ReadInteger("General", "Top", 0), 66);
  EXPECT_EQ(ReadSettings(start_.path()).Top, 66);
}

}  // namespace
}  // namespace zandrel::game
