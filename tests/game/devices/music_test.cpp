// The game's music port: the bank's entries played through the music code, the options
// keys' on/off flag, and clips that take the window from the 3D display until they end.
#include "game/devices/device_ports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/game.h"
#include "game/screens.h"
#include "platform/glide/glide.h"
#include "tests/audio/fake_music.h"
#include "tests/game/held_controls.h"
#include "tests/support/temp_dir.h"

namespace zandrel::game::devices {
namespace {

using test::Log;

class FakeClipScreen final : public mci::ClipScreen {
 public:
  std::uint32_t Handle() const override { return 31; }
  void ClientSize(int& width, int& height) const override {
    width = 1024;
    height = 768;
  }
  void ShowFrame(const std::uint8_t*, int, int, int, int, int, int) override {}
};

bool Contains(const Log& log, const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); }

class DeviceMusicTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display_.StartEngine());
    display_.OpenView(640, 480, *game_.View);
    midas_.dataFolder = dir_.path();
    music_.Start(game_, audio_, &display_);
    dir_.Write("VIDEO/INTRO.AVI", "clip");
    Entry(3, {"MUSIC\\LEVEL.XM", "", "", true});
    Entry(4, {"MUSIC\\TUNE.MID", "", "VIDEO\\INTRO.AVI", false});
  }
  void Entry(int n, world::MusicEntry entry) {
    game_.World->Bank.Music[static_cast<std::size_t>(n)] = std::move(entry);
  }
  Log Commands() { return std::exchange(mci_.commands, {}); }
  Log Calls() { return std::exchange(midas_.calls, {}); }

  audio::Audio audio_;
  test::TempDir dir_;
  zandrel::glide::NullGlide board_;
  engine::glide::GlideBackend display_{board_};
  HeldControls controls_;
  SilentSounds sounds_;
  test::RecordingMidas midas_;
  test::RecordingMci mci_;
  FakeClipScreen screen_;
  DeviceMusic music_{midas_, &mci_, &screen_};
  win::ManualClock clock_{5000};
  Game game_{GameServices{display_, controls_, sounds_, music_, clock_, dir_.path()}};
};

TEST_F(DeviceMusicTest, ModulesFollowTheMusicOnFlagOfTheOptionsKeys) {
  ASSERT_TRUE(music_.State().Player.Ready);
  EXPECT_TRUE(Contains(Calls(), "option 6 31")) << "the module player is given the window";

  game_.MusicOn = false;
  music_.PlayMusic(3);
  EXPECT_EQ(Calls(), (Log{"load MUSIC/LEVEL.XM", "play 1 loop", "volume 101 0"}));

  controls_.keys = {input::vk::F7};
  OptionKeys(game_);
  EXPECT_TRUE(game_.MusicOn);
  EXPECT_EQ(Calls(), Log{"volume 101 63"});
  OptionKeys(game_);
  EXPECT_EQ(Calls(), Log{"volume 101 0"});
}

TEST_F(DeviceMusicTest, ClipTakesTheWindowUntilItEnds) {
  music_.PlayMusic(4);
  const Log sent = Commands();
  EXPECT_TRUE(Contains(sent, "Window Vidclip handle 31"));
  EXPECT_TRUE(Contains(sent, "put Vidclip destination at 0 0 1024 768"));
  EXPECT_TRUE(Contains(sent, "Play Vidclip notify fullscreen")) << "the 3D display was open";
  EXPECT_FALSE(display_.ViewOpen());
  EXPECT_TRUE(game_.Frame.VideoPlaying);
  EXPECT_FALSE(game_.Frame.FreeRunning);

  music_.PollMusic();
  EXPECT_EQ(Commands(), Log{}) << "the clip plays on";
  EXPECT_TRUE(game_.Frame.VideoPlaying);

  clock_.Advance(3000);
  mci_.clipEnded = true;
  music_.PollMusic();
  EXPECT_EQ(Commands(), Log{"Close Vidclip"});
  EXPECT_TRUE(display_.ViewOpen());
  EXPECT_EQ(game_.View->Screen.Width, 640) << "at the resolution it had";
  EXPECT_EQ(game_.View->Screen.Height, 480);
  EXPECT_FALSE(game_.Frame.VideoPlaying);
  EXPECT_TRUE(game_.Frame.FreeRunning);
  EXPECT_EQ(game_.Frame.LastTick, 8000u) << "the frame clock starts again";
}

TEST_F(DeviceMusicTest, ScreenChangeAndShutdownCloseAnOpenClip) {
  music_.PlayMusic(4);
  Commands();
  ChangeScreen(game_, Screen::Title);
  EXPECT_EQ(Commands(), Log{"Close Vidclip"});
  EXPECT_FALSE(game_.Frame.VideoPlaying);
  EXPECT_TRUE(display_.ViewOpen());

  music_.PlayMusic(4);
  Commands();
  Calls();
  music_.Shutdown();
  EXPECT_EQ(Commands(), (Log{"stop zique", "close zique", "Close Vidclip"}));
  EXPECT_EQ(Calls(), (Log{"stop background", "close"}));
}

}  // namespace
}  // namespace zandrel::game::devices
