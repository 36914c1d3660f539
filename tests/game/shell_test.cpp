// The shell on the generated data tree: start-up, the title, a level and back, drawn by
// the software back end with the clock stepped by hand.
#include <gtest/gtest.h>

#include "engine/png_writer.h"
#include "engine/soft/soft_backend.h"
#include "game/game.h"
#include "game/screens.h"
#include "tests/game/held_controls.h"

namespace zandrel::game {
namespace {

class RecordingMusic final : public GameMusic {
 public:
  void PlayMusic(std::int32_t entry) override { played.push_back(entry); }
  void StopMusic() override {}
  void PollMusic() override {}
  void SetMusicVolume(std::int32_t volume) override { this->volume = volume; }
  std::vector<std::int32_t> played;
  std::int32_t volume = -1;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game_.View->FarDistance = 0;
    backend_.OpenView(640, 480, *game_.View);
    Settings settings;
    ASSERT_TRUE(GameStartup(game_, settings)) << "data tree " << ZANDREL_DATA;
    ResetFrameClock(game_);
    game_.Frame.GameReady = true;
    ChangeScreen(game_, Screen::Title);
  }

  void Frames(int count) {
    for (int i = 0; i < count; ++i) {
      clock_.Advance(20);
      FrameTick(game_);
    }
  }
  // Runs frames until the screen is entered; a fade takes 17 steps of at least 40 ms.
  int FramesUntil(Screen screen) {
    int frames = 0;
    while (game_.Frame.CurrentScreen != screen && frames < 200) {
      Frames(1);
      ++frames;
    }
    return frames;
  }

  engine::soft::SoftBackend backend_;
  HeldControls input_;
  SilentSounds sounds_;
  RecordingMusic music_;
  win::ManualClock clock_{100000};
  Game game_{GameServices{backend_, input_, sounds_, music_, clock_, ZANDREL_DATA}};
};

TEST_F(ShellTest, StartsAtTheTitleAndPlaysTheFirstLevelOnFire) {
  EXPECT_EQ(game_.LevelList.size(), 12u);
  EXPECT_FALSE(game_.Credits.Lines.empty());
  Frames(3);
  EXPECT_EQ(game_.Frame.CurrentScreen, Screen::Title);
  EXPECT_EQ(music_.played, std::vector<std::int32_t>{0});
  engine::WritePng(std::filesystem::temp_directory_path() / "zandrel-title.png", game_.View->Screen,
                   game_.View->ViewPalette);

  input_.held[input::kButton1] = true;
  Frames(1);
  input_.held[input::kButton1] = false;
  EXPECT_TRUE(game_.Frame.FadeActive);
  EXPECT_LT(FramesUntil(Screen::Play), 60);
  EXPECT_EQ(game_.Hero().Lives, 3);
  EXPECT_EQ(game_.Hero().LevelIndex, 0);
  EXPECT_EQ(game_.World->Map.LevelName, "FIRST STEPS");
  Frames(60);  // the fade-in ends
  engine::WritePng(std::filesystem::temp_directory_path() / "zandrel-play.png", game_.View->Screen,
                   game_.View->ViewPalette);

  input_.held[input::kButton4] = true;  // the in-game menu
  Frames(1);
  input_.held[input::kButton4] = false;
  EXPECT_TRUE(game_.Menu.MenuOpen);
  game_.Menu.MenuChoice = 4;  // quit to the title
  input_.held[input::kButton1] = true;
  Frames(2);  // held for two frames, the button acts once
  input_.held[input::kButton1] = false;
  EXPECT_EQ(game_.Frame.EndAction, EndAction::ToTitle);
  EXPECT_LT(FramesUntil(Screen::Title), 60);
}

// The window's pointer as the screens set it.
class PointerWindow final : public GameWindow {
 public:
  void PaintText(std::string_view) override {}
  bool ToggleFullscreen() override { return false; }
  bool Fullscreen() const override { return false; }
  void DisplaySizeChanged(int, int) override {}
  void ShowPointer(bool shown) override { pointer.push_back(shown); }
  base::Expected<std::filesystem::path> SaveScreenshot() override { return base::Failure{"none"}; }
  std::vector<bool> pointer;
};

TEST_F(ShellTest, ThePointerShowsOnlyWhereItIsUsed) {
  PointerWindow window;
  game_.Services.Window = &window;
  for (const Screen screen : {Screen::Play, Screen::Credits, Screen::Network, Screen::Title}) {
    ChangeScreen(game_, screen);
  }
  EXPECT_EQ(window.pointer, (std::vector<bool>{false, false, true, false})) << "shown in the network lobby";
  game_.Services.Window = nullptr;
}

TEST_F(ShellTest, WhileAClipPlaysFramesComeEvery50MsAndTheLoopWaitsBetween) {
  EXPECT_EQ(WaitBeforeFrame(game_), 0u) << "free running: the swap paces the frames";
  game_.Frame.FreeRunning = false;  // as a clip starts
  Frames(1);
  EXPECT_EQ(WaitBeforeFrame(game_), 50u) << "right after a frame";
  clock_.Advance(30);
  EXPECT_EQ(WaitBeforeFrame(game_), 20u);
  clock_.Advance(25);
  EXPECT_EQ(WaitBeforeFrame(game_), 0u) << "a late frame runs at once";
  game_.Frame.FreeRunning = true;
}

TEST_F(ShellTest, OptionKeysActEveryFrameTheyAreHeld) {
  input_.keys = {input::vk::F9};
  Frames(1);
  EXPECT_TRUE(game_.Frame.ShowFps);
  Frames(1);
  EXPECT_FALSE(game_.Frame.ShowFps);
  input_.keys = {input::vk::F7};
  Frames(1);
  EXPECT_EQ(game_.Frame.NoticeText, "MUSIC OFF");
  EXPECT_EQ(music_.volume, 0);
  input_.keys = {input::vk::F4};
  Frames(1);
  EXPECT_EQ(game_.Frame.NoticeText, "RESOLUTION 800x600");
  EXPECT_EQ(game_.View->Screen.Width, 800);
  Frames(1);
  EXPECT_EQ(game_.Frame.NoticeText, "RESOLUTION 640x480");
  input_.keys = {input::vk::F5};
  Frames(1);
  EXPECT_EQ(game_.Frame.NoticeText, "TEXTURE MODE OFF");
  EXPECT_FALSE(game_.World->Bank.HighQuality);
}

}  // namespace
}  // namespace zandrel::game
