// Undo and redo restore the level byte for byte, held keys make one step, and the unsaved
// mark follows the history.
#include "editor/history.h"

#include <gtest/gtest.h>

#include <functional>

#include "editor/commands.h"
#include "editor/level_ops.h"
#include "input/virtual_keys.h"
#include "tests/editor/editor_harness.h"

namespace zandrel::editor::test {
namespace {

namespace vk = input::vk;

class HistoryTest : public EditorLevelTest {};

TEST_F(HistoryTest, EveryChangeToTheLevelIsTakenBackAndMadeAgainByteForByte) {
  Editor& e = *h.editor;
  const std::vector<std::function<void()>> changes = {
      [&] { e.CurrentObject = kWall, RunCommand(e, Command::Put); },
      [&] { RunCommand(e, Command::Brighten); },
      [&] { RunCommand(e, Command::Darken); },
      [&] { RunCommand(e, Command::StartPoint); },
      [&] { RunCommand(e, Command::ExitPoint); },
      [&] { RunCommand(e, Command::PutMusic); },
      [&] { SelectMusic(e, "Beta"); },
      [&] { e.CurrentObject = kGold, RunCommand(e, Command::Put); },
      [&] { RunCommand(e, Command::Delete); },
      [&] { h.dialogs.Answers = {"Caves"}, LevelDescription(e); },
      [&] { h.dialogs.Answers = {"Me"}, LevelAuthor(e); },
      [&] { h.dialogs.Answers = {"2"}, NumberOfSentries(e); },
      [&] { SetSentryPosition(e, 1); },
      [&] { h.dialogs.Answers = {"32767"}, RandomSeed(e); },  // New never draws 32767
      [&] { ToggleOutside(e); },
      [&] { GeneratePlan(e, Axis::Y); },
      [&] { ClearPlan(e, Axis::X); },
  };
  std::vector<std::vector<std::uint8_t>> states = {h.Bytes()};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    changes[i]();
    states.push_back(h.Bytes());
    ASSERT_NE(states[i + 1], states[i]) << "change " << i << " changed nothing";
  }
  EXPECT_EQ(h.Map().SentryCount, 2);
  for (std::size_t i = changes.size(); i > 0; --i) {
    Undo(e);
    EXPECT_EQ(h.Bytes(), states[i - 1]) << "undo of change " << i - 1;
  }
  EXPECT_FALSE(e.History.CanUndo());
  EXPECT_EQ(h.window.SentryItems, 0);
  EXPECT_TRUE(h.window.Outside);
  for (std::size_t i = 1; i <= changes.size(); ++i) {
    Redo(e);
    EXPECT_EQ(h.Bytes(), states[i]) << "redo of change " << i - 1;
  }
  EXPECT_FALSE(e.History.CanRedo());
  EXPECT_EQ(h.window.SentryItems, 2);
  EXPECT_FALSE(h.window.Outside);
  // The ingot counts follow the cells through undo and redo.
  for (int i = 0; i < 9; ++i) Undo(e);
  EXPECT_EQ(e.World->Types[kGold].IngotCount, 1);
  Undo(e);
  EXPECT_EQ(e.World->Types[kGold].IngotCount, 0);
}

TEST_F(HistoryTest, AHeldKeyMakesOneStepAndTapsMakeOneEach) {
  h.Map().SetLight(3, 1, 3, 100);
  h.editor->Keys.Press('E');
  for (int i = 0; i < 5; ++i) h.Tick();
  h.editor->Keys.Release('E');
  h.Tick();
  EXPECT_EQ(h.Map().GetLight(3, 1, 3), 110);
  EXPECT_EQ(h.editor->History.UndoName(), "Brighten cell");
  h.Tap({'E'});
  h.Tick();
  h.Tap({'E'});
  EXPECT_EQ(h.Map().GetLight(3, 1, 3), 114);
  Undo(*h.editor);
  Undo(*h.editor);
  EXPECT_EQ(h.Map().GetLight(3, 1, 3), 110);
  Undo(*h.editor);
  EXPECT_EQ(h.Map().GetLight(3, 1, 3), 100);
  EXPECT_FALSE(h.editor->History.CanUndo());
  // Space held while the cursor moves puts a row of cells in one step.
  h.editor->CurrentObject = kWall;
  h.editor->Keys.Press(vk::Space);
  h.editor->Keys.Press(vk::Right);
  h.editor->Keys.Press(vk::Control);
  for (int i = 0; i < 60; ++i) h.Tick();
  h.editor->Keys.Release(vk::Space);
  h.editor->Keys.Release(vk::Right);
  h.editor->Keys.Release(vk::Control);
  h.Tick();
  EXPECT_EQ(h.Map().GetCell(7, 1, 3), kWall);
  Undo(*h.editor);
  for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(h.Map().GetCell(x, 1, 3), 0) << x;
}

TEST_F(HistoryTest, NewAndLoadForgetTheHistoryAndTheCaptionMarksUnsavedChanges) {
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Zandrel - Level Editor");
  RunCommand(*h.editor, Command::Brighten);
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Zandrel - Level Editor *");
  EXPECT_TRUE(h.window.Shown.CanUndo);
  EXPECT_EQ(h.window.Shown.UndoName, "Brighten cell");
  Undo(*h.editor);
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Zandrel - Level Editor");
  EXPECT_TRUE(h.window.Shown.CanRedo);
  Redo(*h.editor);
  const std::string file = (h.data / "LEVEL" / "a.lev").string();
  h.dialogs.Files = {file};
  ASSERT_TRUE(SaveLevelAs(*h.editor));
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Level Editor - " + file);
  Undo(*h.editor);
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Level Editor - " + file + " *");
  Redo(*h.editor);
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Level Editor - " + file);
  RunCommand(*h.editor, Command::Darken);
  ASSERT_TRUE(LoadLevel(*h.editor, file));
  EXPECT_FALSE(h.editor->History.CanUndo());
  RunCommand(*h.editor, Command::Darken);
  h.dialogs.Choices = {Choice::No};
  h.NewLevel(3, 3, 3);
  EXPECT_FALSE(h.editor->History.CanUndo());
  EXPECT_FALSE(h.editor->History.Dirty());
}

TEST(UndoHistory, KeepsAtMostItsStepsAndDropsChangesThatChangeNothing) {
  world::LevelMap map;
  map.SetLevelSize(4, 1, 1);
  UndoHistory history;
  RecordChange(history, map, "none", false, [](LevelChange& step, world::LevelMap&) { step.SetCell(9, 9, 9, 1); });
  RecordChange(history, map, "same", false, [](LevelChange& step, world::LevelMap&) { step.SetCell(0, 0, 0, 0); });
  EXPECT_FALSE(history.CanUndo());
  for (std::size_t i = 0; i < UndoHistory::kMaxSteps + 10; ++i) {
    RecordChange(history, map, "step", false, [i](LevelChange& step, world::LevelMap&) {
      step.SetCell(static_cast<std::int32_t>(i % 4), 0, 0, static_cast<std::uint8_t>(i % 200 + 1));
    });
  }
  std::size_t undone = 0;
  while (history.Undo(map)) ++undone;
  EXPECT_EQ(undone, UndoHistory::kMaxSteps);
}

}  // namespace
}  // namespace zandrel::editor::test
