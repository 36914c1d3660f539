// The command keys and icons: what each does to the cursor, the camera and the level.
#include "editor/commands.h"

#include <gtest/gtest.h>

#include "editor/level_ops.h"
#include "input/virtual_keys.h"
#include "tests/editor/editor_harness.h"

namespace zandrel::editor::test {
namespace {

namespace vk = input::vk;
using Cell = std::array<std::int32_t, 3>;

class CommandsTest : public EditorLevelTest {
 protected:
  CommandsTest() : EditorLevelTest({10, 5, 10}, {5, 2, 5}) {}
};

TEST_F(CommandsTest, KeysMoveAndTurnTheTargetOfTheCursor) {
  struct Case {
    const char* what;
    std::vector<std::vector<int>> taps;  // one tick each
    float dx, dy, dz, heading, look, zoom;
  };
  const Case cases[] = {
      {"up moves forward along +z", {{vk::Up}}, 0, 0, 512, 0, 0, 512},
      {"down moves back", {{vk::Down}}, 0, 0, -512, 0, 0, 512},
      {"H moves up, B down", {{'H'}, {'H'}, {'B'}}, 0, 512, 0, 0, 0, 512},
      {"right turns a quarter", {{vk::Right}}, 0, 0, 0, 8192, 0, 512},
      {"four right turns make a full turn",
       {{vk::Right}, {vk::Right}, {vk::Right}, {vk::Right}},
       0,
       0,
       0,
       32768,
       0,
       512},
      {"left turns back", {{vk::Left}}, 0, 0, 0, -8192, 0, 512},
      {"ctrl+right moves right instead", {{vk::Control, vk::Right}}, 512, 0, 0, 0, 0, 512},
      {"ctrl+left moves left", {{vk::Control, vk::Left}}, -512, 0, 0, 0, 0, 512},
      {"page up gives the top view", {{vk::Prior}}, 0, 0, 0, 0, -8192, 512},
      {"page up twice returns to the level view", {{vk::Prior}, {vk::Prior}}, 0, 0, 0, 0, 0, 512},
      {"page up then page down gives the down view", {{vk::Prior}, {vk::Next}}, 0, 0, 0, 0, 8192, 512},
      {"zoom in stops at 0", {{vk::Add}, {vk::Add}}, 0, 0, 0, 0, 0, 0},
      {"zoom out stops at 2048", {{vk::Subtract}, {vk::Subtract}, {vk::Subtract}, {vk::Subtract}}, 0, 0, 0, 0, 0, 2048},
  };
  for (const Case& c : cases) {
    h.editor->Cursor = EditorCursor{};
    h.PutCursor(5, 2, 5);
    const EditorCursor before = h.editor->Cursor;
    for (const std::vector<int>& keys : c.taps) {
      for (int key : keys) h.editor->Keys.Press(key);
      h.Tick();
      for (int key : keys) h.editor->Keys.Release(key);
    }
    const EditorCursor& after = h.editor->Cursor;
    EXPECT_NEAR(after.TargetX - before.TargetX, c.dx, 0.1f) << c.what;
    EXPECT_NEAR(after.TargetY - before.TargetY, c.dy, 0.1f) << c.what;
    EXPECT_NEAR(after.TargetZ - before.TargetZ, c.dz, 0.1f) << c.what;
    EXPECT_EQ(after.TargetHeading, c.heading) << c.what;
    EXPECT_EQ(after.TargetLook, c.look) << c.what;
    EXPECT_EQ(after.TargetZoom, c.zoom) << c.what;
  }
}

TEST_F(CommandsTest, MovesFollowTheHeadingAndKeysReadNothingWithoutTheFocus) {
  h.Tap({vk::Right});
  h.Tap({vk::Up});  // heading 8192: forward is +x
  EXPECT_NEAR(h.editor->Cursor.TargetX, 5 * 512 + 256 + 512, 0.1f);
  EXPECT_NEAR(h.editor->Cursor.TargetZ, 5 * 512 + 256, 0.1f);
  h.window.MapFocus = false;
  h.Tap({vk::Up});
  EXPECT_NEAR(h.editor->Cursor.TargetX, 5 * 512 + 256 + 512, 0.1f);
  h.window.MapFocus = true;
  h.editor->EditorBusy = true;
  h.Tap({vk::Up});
  h.editor->EditorBusy = false;
  EXPECT_NEAR(h.editor->Cursor.TargetX, 5 * 512 + 256 + 512, 0.1f);
}

TEST_F(CommandsTest, TheShownCursorGlidesAndTheClampHoldsItInTheLevel) {
  h.Tick();
  h.Tap({vk::Up});  // target z one cell on; the shown cursor covers about 14% a 50 ms tick
  EditorCursor& c = h.editor->Cursor;
  EXPECT_NEAR(c.ShownZ - (5 * 512 + 256), 512 * 0.25f * 50 / 90, 1.0f);
  c.TargetX = -3000;
  c.TargetY = 99999;
  h.Tick();
  EXPECT_EQ(c.TargetX, 256);
  EXPECT_EQ(c.ShownX, 256);
  EXPECT_EQ(c.TargetY, 5 * 512 - 256);
  EXPECT_EQ(c.ShownY, 5 * 512 - 256);
  // A tick that comes very late moves the shown cursor onto the target, never past it.
  c.TargetZ = 256;
  h.Tick(5000);
  EXPECT_EQ(c.ShownZ, 256);
}

TEST_F(CommandsTest, CellCommandsChangeTheLevelAtTheShownOrTheTargetCell) {
  world::LevelMap& map = h.Map();
  h.editor->CurrentObject = kWall;
  // The target is a cell ahead while the shown cursor is still at (5, 2, 5).
  h.editor->Cursor.TargetZ += 512;
  const auto tapWithoutGlide = [&](std::initializer_list<int> keys) {
    for (int key : keys) h.editor->Keys.Press(key);
    ReadCommandKeys(*h.editor);
    for (int key : keys) h.editor->Keys.Release(key);
    ++h.editor->TickNumber;
  };
  tapWithoutGlide({vk::Space});
  EXPECT_EQ(map.GetCell(5, 2, 5), kWall);
  EXPECT_EQ(map.GetCell(5, 2, 6), 0);
  tapWithoutGlide({'D'});
  EXPECT_EQ((Cell{map.StartX, map.StartY, map.StartZ}), (Cell{5, 2, 6}));
  tapWithoutGlide({'X'});
  EXPECT_EQ((Cell{map.ExitX, map.ExitY, map.ExitZ}), (Cell{5, 2, 6}));
  tapWithoutGlide({'S'});
  EXPECT_EQ(map.MusicCells[255], (world::MusicCell{5, 2, 6, 0}));  // the first music cell takes entry 255
  tapWithoutGlide({'E'});
  EXPECT_EQ(map.GetLight(5, 2, 5), 130);
  tapWithoutGlide({'A'});
  tapWithoutGlide({'A'});
  EXPECT_EQ(map.GetLight(5, 2, 5), 126);
  // Delete empties the shown cell, its light and its music cells.
  map.MusicCells[3] = world::MusicCell{5, 2, 5, 7};
  map.MusicCells[9] = world::MusicCell{5, 2, 5, 1};
  tapWithoutGlide({vk::Delete});
  EXPECT_EQ(map.GetCell(5, 2, 5), 0);
  EXPECT_EQ(map.GetLight(5, 2, 5), 128);
  EXPECT_EQ(map.MusicCells[3].X, world::kEmptyMusicCell);
  EXPECT_EQ(map.MusicCells[3].Music, 0);
  EXPECT_EQ(map.MusicCells[9].X, world::kEmptyMusicCell);
  EXPECT_EQ(map.MusicCells[255].X, 5);  // at the target cell, not the shown one
  h.editor->CurrentObject = kFloor;
  tapWithoutGlide({vk::Space});
  tapWithoutGlide({vk::Back});
  EXPECT_EQ(map.GetCell(5, 2, 5), 0);
}

TEST_F(CommandsTest, LightStopsAtItsEndsAndMusicCellsNeverDouble) {
  struct Case {
    std::uint8_t light;
    int key;
    std::uint8_t expected;
  };
  const Case cases[] = {{253, 'E', 255}, {254, 'E', 255}, {255, 'E', 255}, {1, 'A', 0}, {0, 'A', 0}, {2, 'A', 0}};
  for (const Case& c : cases) {
    h.Map().SetLight(5, 2, 5, c.light);
    RunCommand(*h.editor, c.key == 'E' ? Command::Brighten : Command::Darken);
    EXPECT_EQ(h.Map().GetLight(5, 2, 5), c.expected) << int{c.light} << " " << char(c.key);
  }
  RunCommand(*h.editor, Command::PutMusic);
  const auto cells = h.Map().MusicCells;
  RunCommand(*h.editor, Command::PutMusic);  // a music cell is there already
  EXPECT_EQ(h.Map().MusicCells, cells);
  EXPECT_EQ(cells[255], (world::MusicCell{5, 2, 5, 0}));
  // A full table takes no more.
  for (world::MusicCell& m : h.Map().MusicCells) m = world::MusicCell{0, 0, 0, 1};
  const auto full = h.Map().MusicCells;
  RunCommand(*h.editor, Command::PutMusic);
  EXPECT_EQ(h.Map().MusicCells, full);
}

TEST_F(CommandsTest, SetPosPlacesTheChosenSentryAtTheTargetCell) {
  h.dialogs.Answers = {"3"};
  NumberOfSentries(*h.editor);
  h.editor->Cursor.TargetHeading = 8192;
  h.editor->Cursor.TargetX += 1024;
  SetSentryPosition(*h.editor, 1);
  const world::Sentry& s = h.Map().Sentries[1];
  EXPECT_EQ(s.X, 7 * 512 + 256);
  EXPECT_EQ(s.Y, 2 * 512 + 256);
  EXPECT_EQ(s.Z, 5 * 512 + 256);
  EXPECT_EQ(s.Heading, -8192);
  EXPECT_EQ((Cell{s.CellX, s.CellY, s.CellZ}), (Cell{7, 2, 5}));
  const std::vector<std::uint8_t> bytes = h.Bytes();
  SetSentryPosition(*h.editor, -1);  // no selection
  SetSentryPosition(*h.editor, 3);   // beyond the count
  EXPECT_EQ(h.Bytes(), bytes);
}

TEST_F(CommandsTest, ListChoicesTakeTheHighestEntryOfTheName) {
  SelectObject(*h.editor, "Twin");
  EXPECT_EQ(h.editor->CurrentObject, kTwinHigh);
  SelectObject(*h.editor, "No such object");
  EXPECT_EQ(h.editor->CurrentObject, kTwinHigh);
  EXPECT_EQ(h.window.Objects, (std::vector<std::string>{"Floor", "Wall", "Post", "Twin", "Twin", "Gold", "Hummer"}));
  EXPECT_EQ(h.window.Music, (std::vector<std::string>{"Alpha", "Beta", "Alpha"}));

  SelectMusic(*h.editor, "Beta");  // no music cell at the target: nothing
  RunCommand(*h.editor, Command::PutMusic);
  SelectMusic(*h.editor, "Alpha");
  EXPECT_EQ(h.Map().MusicCells[255].Music, 2);
  SelectMusic(*h.editor, "Gamma");
  EXPECT_EQ(h.Map().MusicCells[255].Music, 2);
  PlayMusicNamed(*h.editor, "Beta");
  PlayMusicNamed(*h.editor, "Gamma");
  StopMusicPlaying(*h.editor);
  EXPECT_EQ(h.music.Played, std::vector<std::int32_t>{1});
  EXPECT_EQ(h.music.Stops, 1);
}

}  // namespace
}  // namespace zandrel::editor::test
