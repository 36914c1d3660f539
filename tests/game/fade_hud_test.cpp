#include <gtest/gtest.h>

#include <memory>

#include "engine/overlay.h"
#include "game/fade.h"
#include "game/hud.h"
#include "tests/support/recording_backend.h"

namespace zandrel::game {
namespace {

TEST(Fade, StepsEvery40MsAtMostThreeAFrame) {
  FrameState frame;
  base::Random random(1);
  StartFade(frame, random, 1000, +1);
  EXPECT_TRUE(frame.FadeActive);
  EXPECT_EQ(frame.FadeLevel, 0);
  StartFade(frame, random, 1000, -1);  // ignored while running
  EXPECT_EQ(frame.FadeStep, 1);
  AdvanceFade(frame, 1040);  // not more than 40 ms: no step
  EXPECT_EQ(frame.FadeLevel, 0);
  AdvanceFade(frame, 1041);
  EXPECT_EQ(frame.FadeLevel, 1);
  AdvanceFade(frame, 1241);  // 200 ms: three steps, not five
  EXPECT_EQ(frame.FadeLevel, 4);
  for (std::uint32_t now = 1300; frame.FadeActive; now += 41) AdvanceFade(frame, now);
  EXPECT_EQ(frame.FadeLevel, 17);
  EXPECT_TRUE(frame.FadeDone);

  FrameState in;
  StartFade(in, random, 0, -1);
  EXPECT_EQ(in.FadeLevel, 16);
  for (std::uint32_t now = 41; in.FadeActive; now += 41) AdvanceFade(in, now);
  EXPECT_EQ(in.FadeLevel, -1);
  EXPECT_FALSE(in.FadeDone);
}

TEST(Fade, DrawsTheFirstTrianglesOfTheChosenMesh) {
  test::RecordingBackend backend;
  engine::Engine engine(backend);
  engine::RenderView view;
  backend.OpenView(640, 480, view);
  std::array<engine::Mesh, 3> transitions{};
  engine::Mesh& mesh = transitions[1];
  mesh.X = {-300, 300, 0};
  mesh.Y = {-200, -200, 200};
  mesh.Z = {0, 0, 0};
  mesh.Faces.assign(16, engine::MeshFace{0, 2, 1, 0, 0, 1, engine::kFlatColour});
  FrameState frame;
  frame.FadeStyle = 1;
  engine::Mesh scratch;
  for (const auto& [level, drawn] : {std::pair{0, 0}, {1, 1}, {5, 5}, {17, 16}}) {
    backend.Drawn.clear();
    frame.FadeLevel = level;
    DrawFade(engine, view, transitions, frame, scratch);
    EXPECT_EQ(backend.Drawn.size(), static_cast<std::size_t>(drawn)) << level;
  }
  EXPECT_EQ(mesh.FaceCount(), 16u);
}

TEST(Notice, ANewNoticeRestartsItsTime) {
  FrameState frame;
  ShowNotice(frame, "MUSIC ON");
  frame.NoticeTimeLeft = 20;
  ShowNotice(frame, "GAME SAVED");
  EXPECT_EQ(frame.NoticeText, "GAME SAVED");
  EXPECT_EQ(frame.NoticeTimeLeft, 10000);
  EXPECT_TRUE(frame.NoticeVisible);
}

TEST(Hud, FormatsNumbersWithoutCuttingThem) {
  EXPECT_EQ(FormatNumber(12, 3), "012");
  EXPECT_EQ(FormatNumber(150, 3), "150");
  EXPECT_EQ(FormatNumber(12345, 2), "12345");
  EXPECT_EQ(FormatNumber(0, 2), "00");
}

class HudTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_.OpenView(640, 480, view_); }
  // The texts drawn, one string per DrawText call, found from the glyph slots.
  std::string Drawn() const {
    std::string text;
    for (const auto& p : backend_.Pictures) {
      const auto slot = p.Picture - engine_.Pictures.data();
      if (slot >= engine::kSmallFontFirstSlot && slot < engine::kBigFontFirstSlot) {
        text += static_cast<char>(slot - engine::kSmallFontFirstSlot + 32);
      } else {
        text += '|';
      }
    }
    return text;
  }
  test::RecordingBackend backend_;
  engine::Engine engine_{backend_};
  engine::RenderView view_;
  std::unique_ptr<world::World> world_ = std::make_unique<world::World>();
};

TEST_F(HudTest, TheBarShowsTimeIngotsLivesAndLevel) {
  world_->Types[20].IngotCount = 120;
  world_->Players[0].Lives = 3;
  world_->Players[0].LevelIndex = 11;
  world_->TimeLimitOn = true;
  world_->TimeLeft = 100 * 60000 + 5000;  // more than 99 minutes
  world_->LastSecondTicked = 0;
  DrawBottomBar(engine_, view_, *world_, 150);
  EXPECT_FALSE(TimeLimitTickDue(*world_));
  EXPECT_EQ(Drawn(),
            "|99:05"
            "99"
            "03"
            "012/150");
}

TEST_F(HudTest, TheTimeBlinksAndTicksAtTheEnd) {
  world_->TimeLimitOn = true;
  struct Step {
    std::int32_t left;
    bool shown, tick;
  };
  for (const Step& s : {Step{15600, true, false}, Step{15400, false, false}, Step{10900, true, true},
                        Step{10700, true, false}, Step{9999, true, true}}) {
    backend_.Pictures.clear();
    world_->TimeLeft = s.left;
    DrawBottomBar(engine_, view_, *world_, 1);
    EXPECT_EQ(TimeLimitTickDue(*world_), s.tick) << s.left;
    EXPECT_EQ(Drawn().find(':') != std::string::npos, s.shown) << s.left;
  }
}

TEST_F(HudTest, TheRadarShowsSentriesWithinEightCells) {
  world_->Players[0].X = 10000;
  world_->Players[0].Z = 10000;
  world_->Map.SentryCount = 3;
  world_->Map.Sentries[0].X = 10000 + 4096;  // exactly at the edge: not shown
  world_->Map.Sentries[0].Z = 10000;
  world_->Map.Sentries[1].X = 10000;
  world_->Map.Sentries[1].Z = 10000 + 2048;  // straight ahead, chasing
  world_->Map.Sentries[1].State = 0;
  world_->Map.Sentries[2].X = 10000 - 1000;
  world_->Map.Sentries[2].Z = 10000;
  DrawRadar(engine_, view_, *world_);
  ASSERT_EQ(backend_.Pictures.size(), 3u);
  EXPECT_EQ(backend_.Pictures[1].Picture, &engine_.Pictures[engine::kRadarDot2Slot]);
  EXPECT_FLOAT_EQ(backend_.Pictures[1].X, 0.878125f);
  EXPECT_NEAR(backend_.Pictures[1].Y, 0.5f * 0.1041666f + 0.05f, 1e-6);
  EXPECT_EQ(backend_.Pictures[2].Picture, &engine_.Pictures[engine::kRadarDot1Slot]);
}

}  // namespace
}  // namespace zandrel::game
