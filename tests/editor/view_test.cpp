// What a tick shows: the panel, the level view and the preview.
#include "editor/editor_view.h"

#include <gtest/gtest.h>

#include "editor/commands.h"
#include "editor/level_ops.h"
#include "tests/editor/editor_harness.h"
#include "tests/engine/soft/golden.h"
#include "tests/support/allocation_count.h"

namespace zandrel::editor::test {
namespace {

class ViewTest : public EditorLevelTest {
 protected:
  std::uint8_t Pixel(int x, int y) const {
    const engine::ScreenBuffer& screen = h.editor->LevelView->Screen;
    return screen.Pixels[static_cast<std::size_t>(y * screen.Width + x)];
  }
};

TEST_F(ViewTest, ThePanelShowsTheTargetCellAndItsMusic) {
  struct Case {
    std::uint8_t light;
    const char* text;
  };
  for (const Case& c : {Case{128, "Luminosity: 50%"}, Case{255, "Luminosity: 99%"}, Case{0, "Luminosity: 0%"}}) {
    h.Map().SetLight(3, 1, 3, c.light);
    h.Tick();
    EXPECT_EQ(h.window.Shown.Luminosity, c.text);
  }
  EXPECT_EQ(h.window.Shown.XPos, "X:3 / 8");
  EXPECT_EQ(h.window.Shown.YPos, "Y:1 / 4");
  EXPECT_EQ(h.window.Shown.ZPos, "Z:3 / 8");
  EXPECT_FALSE(h.window.Shown.MusicShown);

  h.Map().MusicCells[7] = world::MusicCell{3, 1, 4, 1};
  h.editor->Cursor.TargetZ += 512;  // onto the music cell: the box appears preset to its music
  h.Tick();
  EXPECT_TRUE(h.window.Shown.MusicShown);
  EXPECT_EQ(h.window.SelectedMusic, "Beta");
  h.Map().MusicCells[7].Music = 0;  // a change while the box is shown does not select again
  h.Tick();
  EXPECT_EQ(h.window.SelectedMusic, "Beta");
  h.editor->Cursor.TargetZ -= 512;
  h.Tick();
  EXPECT_FALSE(h.window.Shown.MusicShown);
  const int updates = h.window.PanelUpdates;
  h.Tick();
  EXPECT_EQ(h.window.PanelUpdates, updates);  // nothing changed: nothing shown again
}

TEST(ViewSize, FollowsTheLargerSideOfTheWindow) {
  struct Case {
    int width, height;
    ViewSize size;
  };
  const Case cases[] = {{300, 300, {160, 120}}, {319, 200, {160, 120}}, {320, 100, {320, 240}},
                        {621, 460, {320, 240}}, {500, 640, {640, 480}}, {1200, 900, {640, 480}}};
  for (const Case& c : cases) EXPECT_EQ(ViewSizeFor(c.width, c.height), c.size) << c.width << "x" << c.height;
}

TEST_F(ViewTest, TheLevelViewOpensAgainAtTheSizeOfTheWindow) {
  ResizeView(*h.editor, 800, 600);
  h.Tick();
  EXPECT_EQ(h.editor->LevelView->Screen.Width, 640);
  EXPECT_EQ(h.editor->LevelView->FarDistance, 23040);
  ResizeView(*h.editor, 300, 200);
  EXPECT_EQ(h.editor->LevelView->Screen.Height, 120);
}

TEST_F(ViewTest, NothingRunsBeforeTheFirstActivationHasEnded) {
  EditorHarness fresh;
  fresh.Tick();
  EXPECT_EQ(fresh.music.Polls, 0);
  EXPECT_FALSE(fresh.window.PanelsShown);
  EXPECT_EQ(fresh.window.PanelUpdates, 0);
  h.editor->EditorBusy = true;  // a prompt is open: only the music is polled
  const int polls = h.music.Polls, updates = h.window.PanelUpdates;
  h.Map().SetLight(3, 1, 3, 10);
  h.Tick();
  EXPECT_EQ(h.music.Polls, polls + 1);
  EXPECT_EQ(h.window.PanelUpdates, updates);
}

TEST_F(ViewTest, TheMouseTurnsThePreviewWhileTheLeftButtonIsHeld) {
  h.editor->CurrentView = Rect{100, 100, 134, 138};
  MouseMove(*h.editor, 120, 150);
  MouseDown(*h.editor, MouseButton::Left);
  MouseMove(*h.editor, 125, 148);
  h.Tick();
  EXPECT_EQ(h.editor->PreviewYaw, 500);
  EXPECT_EQ(h.editor->PreviewPitch, 200);
  h.Tick();  // no move since: the last step again
  EXPECT_EQ(h.editor->PreviewYaw, 1000);
  MouseUp(*h.editor, MouseButton::Left);
  h.Tick();
  EXPECT_EQ(h.editor->PreviewYaw, 1000);
  MouseDown(*h.editor, MouseButton::Left);
  MouseMove(*h.editor, 300, 150);  // outside the preview
  h.Tick();
  EXPECT_EQ(h.editor->PreviewYaw, 1000);
  MouseMove(*h.editor, 234, 238);  // its far corner counts as inside
  MouseDown(*h.editor, MouseButton::Right);
  h.Tick();
  EXPECT_EQ(h.editor->PreviewYaw, 0);
  EXPECT_EQ(h.editor->PreviewPitch, 0);
}

TEST_F(ViewTest, ThePreviewShowsTheCurrentObjectTurned) {
  const auto drawn = [&] {
    h.Tick();
    const std::vector<std::uint8_t>& pixels = h.editor->PreviewView->Screen.Pixels;
    return pixels;
  };
  h.editor->CurrentObject = 0;
  const std::vector<std::uint8_t> empty = drawn();
  EXPECT_TRUE(std::all_of(empty.begin(), empty.end(), [](std::uint8_t p) { return p == 0; }));
  SelectObject(*h.editor, "Wall");
  const std::vector<std::uint8_t> wall = drawn();
  EXPECT_GT(std::count_if(wall.begin(), wall.end(), [](std::uint8_t p) { return p != 0; }), 256 * 256 / 10);
  h.editor->PreviewYaw = 3000;
  EXPECT_NE(drawn(), wall);
  SelectObject(*h.editor, "Post");
  const std::vector<std::uint8_t> post = drawn();
  EXPECT_GT(std::count_if(post.begin(), post.end(), [](std::uint8_t p) { return p != 0; }), 100);
}

TEST_F(ViewTest, LoopSoundsPlayAtTheirCellsWhileTheyAreDue) {
  h.Map().SetCell(4, 1, 3, kHummer);
  h.Map().SetCell(3, 3, 7, kHummer);
  for (int i = 0; i < 4; ++i) h.Tick(60);
  ASSERT_EQ(h.sounds.Loaded, std::vector<std::string>{"SOUNDS\\HUM.WAV"});
  ASSERT_FALSE(h.sounds.Plays.empty());
  for (const RecordingSounds::Played& p : h.sounds.Plays) {
    EXPECT_EQ(p.Sound, 0);
    EXPECT_EQ(p.Volume, 200);
    const bool first = p.X == 4 * 512 + 256 && p.Y == 768 && p.Z == 3 * 512 + 256;
    const bool second = p.X == 3 * 512 + 256 && p.Y == 3 * 512 + 256 && p.Z == 7 * 512 + 256;
    EXPECT_TRUE(first || second) << p.X << " " << p.Y << " " << p.Z;
  }
  EXPECT_GE(h.sounds.Updates, 4);
}

TEST_F(ViewTest, ATickAllocatesNothingOnceRunning) {
  h.Map().SetCell(4, 1, 4, kPost);
  h.Map().SetCell(3, 1, 5, kWall);
  h.Map().MusicCells[200] = world::MusicCell{3, 1, 3, 1};
  h.editor->CurrentObject = kWall;
  RunCommand(*h.editor, Command::Brighten);  // an undo step with its name on the panel
  h.dialogs.Answers = {"3"};
  NumberOfSentries(*h.editor);
  for (int i = 0; i < 20; ++i) h.Tick();
  const long before = zandrel::test::AllocationCount();
  for (int i = 0; i < 20; ++i) h.Tick();
  EXPECT_EQ(zandrel::test::AllocationCount() - before, 0);
}

TEST_F(ViewTest, MarkersTakeTheNearestPaletteColourTheHigherOnATie) {
  engine::Palette palette;
  palette.Red[3] = 200;
  palette.Red[9] = 210;  // as near to 205 as index 3: the higher wins
  EXPECT_EQ(MarkerColour(palette, 205, 0, 0), 9);
  palette.Red[0] = 205;  // index 0 never counts
  EXPECT_EQ(MarkerColour(palette, 205, 0, 0), 9);
  const engine::Palette& view = h.editor->LevelView->ViewPalette;
  const std::uint8_t yellow = MarkerColour(view, 255, 255, 0);
  EXPECT_EQ(h.editor->Markers.Exit.Faces[0].Texture, yellow);
  EXPECT_EQ(h.editor->Markers.Exit.Faces[0].Kind, engine::kFlatColour);
  EXPECT_EQ(yellow, 4 * 32 + 31);
  EXPECT_EQ(h.editor->Markers.Music.Faces[0].Texture, 6 * 32 + 31);
}

// The view over a wall seen straight on: its texture's top half (red) above, bottom half
// (blue) below, as the game shows it.
TEST_F(ViewTest, TexturesShowTheRightWayUp) {
  h.Map().SetCell(3, 1, 5, kWall);
  h.editor->Markers.Cursor = {};
  h.Settle();
  const engine::Palette& palette = h.editor->LevelView->ViewPalette;
  const auto redder = [&](int x, int y) {
    const std::uint8_t p = Pixel(x, y);
    return palette.Red[p] > palette.Blue[p];
  };
  EXPECT_TRUE(redder(160, 108));
  EXPECT_FALSE(redder(160, 140));
}

TEST_F(ViewTest, GoldenPictureOfASmallLevel) {
  world::LevelMap& map = h.Map();
  for (std::int32_t y = 1; y < 4; ++y) {
    for (std::int32_t x = 0; x < 8; ++x) map.SetCell(x, y, 7, kWall);
    map.SetCell(0, y, 5, kWall);
  }
  map.SetCell(4, 1, 4, kPost);
  map.SetCell(2, 1, 5, kGold);
  map.SetLight(5, 1, 5, 250);
  map.SetCell(5, 1, 5, kFloor);
  map.StartX = 3, map.StartY = 1, map.StartZ = 5;
  map.ExitX = 6, map.ExitY = 1, map.ExitZ = 6;
  map.MusicCells[255] = world::MusicCell{1, 1, 4, 0};
  h.dialogs.Answers = {"1"};
  NumberOfSentries(*h.editor);
  h.PutCursor(4, 2, 5);
  SetSentryPosition(*h.editor, 0);
  h.PutCursor(3, 1, 3);
  h.editor->Cursor.TargetHeading = h.editor->Cursor.ShownHeading = 2000;
  h.editor->Cursor.TargetLook = h.editor->Cursor.ShownLook = -2500;
  h.editor->Cursor.TargetZoom = h.editor->Cursor.ShownZoom = 1024;
  h.Tick();

  const engine::RenderView& view = *h.editor->LevelView;
  engine::soft::test::ExpectGoldenPicture("editor_view", view.Screen, view.ViewPalette);
}

}  // namespace
}  // namespace zandrel::editor::test
