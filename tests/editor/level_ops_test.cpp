// The level operations of the menus, their prompts answered from tables.
#include "editor/level_ops.h"

#include <gtest/gtest.h>

#include "editor/commands.h"
#include "platform/win/files.h"
#include "tests/editor/editor_harness.h"
#include "world/level_file.h"

namespace zandrel::editor::test {
namespace {

namespace fs = std::filesystem;
using Answers = std::deque<std::optional<std::string>>;
using Cell = std::array<std::int32_t, 3>;

class LevelOpsTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Start(); }
  EditorHarness h;
};

TEST_F(LevelOpsTest, NewMakesAnEmptyLevelOfTheSizeAnswered) {
  struct Case {
    const char* what;
    Answers answers;
    std::vector<std::string> messages;
    Cell size, start, exit;
    std::array<float, 3> cursor;
  };
  const std::string many = "You must enter a number.";
  const Case cases[] = {
      {"10, 5, 10", {"10", "5", "10"}, {}, {10, 5, 10}, {5, 1, 5}, {-5, 1, -5}, {2816, 768, 2816}},
      {"0, 0, 0 is one cell", {"0", "0", "0"}, {}, {1, 1, 1}, {0, 1, 0}, {0, 1, 0}, {256, 256, 256}},
      {"a letter asks again",
       {"12a", "3", "x1", "2", "4"},
       {many, many},
       {3, 2, 4},
       {1, 1, 2},
       {-1, 1, -2},
       {768, 768, 1280}},
      {"too large for memory",
       {"100000", "100000", "100000"},
       {"Not enough memory."},
       {20, 20, 20},
       {10, 1, 10},
       {-10, 1, -10},
       {5376, 768, 5376}},
  };
  for (const Case& c : cases) {
    h.dialogs.Answers = c.answers;
    h.dialogs.Messages.clear();
    h.Map().LevelName = "kept";
    NewLevel(*h.editor);
    h.Tick();
    const world::LevelMap& map = h.Map();
    EXPECT_EQ(h.dialogs.Messages, c.messages) << c.what;
    EXPECT_EQ(Cell({map.SizeX(), map.SizeY(), map.SizeZ()}), c.size) << c.what;
    EXPECT_EQ(Cell({map.StartX, map.StartY, map.StartZ}), c.start) << c.what;
    EXPECT_EQ(Cell({map.ExitX, map.ExitY, map.ExitZ}), c.exit) << c.what;
    EXPECT_EQ(h.editor->Cursor.TargetX, c.cursor[0]) << c.what;
    EXPECT_EQ(h.editor->Cursor.TargetY, c.cursor[1]) << c.what;
    EXPECT_EQ(h.editor->Cursor.TargetZ, c.cursor[2]) << c.what;
    EXPECT_EQ(map.LevelName, "kept") << c.what;
    for (std::int32_t x = 0; x < map.SizeX(); ++x) {
      for (std::int32_t z = 0; z < map.SizeZ(); ++z) {
        EXPECT_EQ(map.GetCell(x, 0, z), 1) << c.what;
        if (map.SizeY() > 1) {
          EXPECT_EQ(map.GetCell(x, 1, z), 0) << c.what;
        }
        EXPECT_EQ(map.GetLight(x, 0, z), 128) << c.what;
      }
    }
    EXPECT_GE(map.RandomSeed, 0);
    EXPECT_LE(map.RandomSeed, 32766);
  }
}

TEST_F(LevelOpsTest, NewGivenNoNumberLeavesTheLevelAsItWas) {
  h.NewLevel(6, 3, 6);
  h.Map().SetCell(2, 1, 2, kWall);
  const std::vector<std::uint8_t> before = h.Bytes();
  const Answers cases[] = {
      {std::nullopt},             // Cancel at the width prompt
      {"8", std::nullopt},        // Cancel at the height prompt
      {"8", "4", ""},             // nothing at the depth prompt
      {"99999999999", "4", "4"},  // too large for an integer: the conversion fails
  };
  for (const Answers& answers : cases) {
    h.dialogs.Answers = answers;
    NewLevel(*h.editor);
    EXPECT_EQ(h.Bytes(), before);
  }
  EXPECT_EQ(h.dialogs.Messages, std::vector<std::string>{"'99999999999' is not a valid integer value."});
  EXPECT_EQ(h.dialogs.Prompts[1], "Level dimensions|Please enter the Height (Y) in cells of the new map|");
}

TEST_F(LevelOpsTest, SentryCountAndSeedComeFromTheirPrompts) {
  h.NewLevel(8, 4, 8);
  h.Map().RandomSeed = 77;
  h.dialogs.Answers = {"300"};
  NumberOfSentries(*h.editor);
  EXPECT_EQ(h.Map().SentryCount, 255);
  EXPECT_EQ(h.window.SentryItems, 255);
  EXPECT_EQ(h.Map().Sentries[254].CryTime, h.clock.Ticks() + 2000);

  h.dialogs.Answers = {"12a", "4"};
  NumberOfSentries(*h.editor);
  EXPECT_EQ(h.dialogs.Messages, std::vector<std::string>{"You must enter a positive number."});
  EXPECT_EQ(h.Map().SentryCount, 4);
  EXPECT_EQ(h.dialogs.Prompts[3], "Number of Sentries|Please enter the number of ennemies (0..255)|0");
  EXPECT_EQ(h.dialogs.Prompts.back(), "Number of Sentries|Please enter the number of ennemies (0..255)|255");

  h.dialogs.Answers = {""};  // no number: nothing changes
  NumberOfSentries(*h.editor);
  EXPECT_EQ(h.Map().SentryCount, 4);

  h.dialogs.Answers = {"40000"};  // above 32767: kept as typed
  RandomSeed(*h.editor);
  EXPECT_EQ(h.Map().RandomSeed, 40000);
  EXPECT_EQ(h.dialogs.Prompts.back(), "Random Seed|Please enter a number between 0 and 32767|77");
  h.dialogs.Answers = {std::nullopt};  // Cancel answers the preset
  RandomSeed(*h.editor);
  EXPECT_EQ(h.Map().RandomSeed, 40000);
  EXPECT_EQ(h.window.KeyWaits, 6);  // at the start, and after each prompt that was answered
}

TEST_F(LevelOpsTest, TextsKeepTheirValueOnCancelAndAreCutTo255) {
  h.Map().LevelName = "Old name";
  h.dialogs.Answers = {std::nullopt, std::string(300, 'n')};
  LevelDescription(*h.editor);
  EXPECT_EQ(h.Map().LevelName, "Old name");
  EXPECT_EQ(h.dialogs.Prompts.back(), "Level description|Please enter a short level description|Old name");
  LevelDescription(*h.editor);
  EXPECT_EQ(h.Map().LevelName, std::string(255, 'n'));
  h.dialogs.Answers = {"Someone"};
  LevelAuthor(*h.editor);
  EXPECT_EQ(h.Map().Author, "Someone");
  EXPECT_EQ(h.dialogs.Prompts.back(), "Level author|please enter the level author|");
}

TEST_F(LevelOpsTest, PlanToolsFillOrEmptyThePlaneThroughTheShownCell) {
  struct Case {
    Axis axis;
    bool (*inPlane)(std::int32_t x, std::int32_t y, std::int32_t z);
  };
  const Case cases[] = {
      {Axis::X, [](std::int32_t x, std::int32_t, std::int32_t) { return x == 2; }},
      {Axis::Y, [](std::int32_t, std::int32_t y, std::int32_t) { return y == 0; }},
      {Axis::Z, [](std::int32_t, std::int32_t, std::int32_t z) { return z == 3; }},
  };
  for (const Case& c : cases) {
    h.dialogs.Choices = {Choice::No};  // the plans of the case before are not kept
    h.NewLevel(5, 3, 4);
    h.PutCursor(2, 0, 3);
    h.Map().SetLight(2, 0, 3, 200);
    h.Map().MusicCells[0] = world::MusicCell{2, 0, 3, 1};
    h.editor->CurrentObject = kWall;
    GeneratePlan(*h.editor, c.axis);
    const world::LevelMap& map = h.Map();
    for (std::int32_t x = 0; x < 5; ++x) {
      for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t z = 0; z < 4; ++z) {
          const std::uint8_t outside = y == 0 ? 1 : 0;
          EXPECT_EQ(map.GetCell(x, y, z), c.inPlane(x, y, z) ? std::uint8_t{kWall} : outside) << x << y << z;
        }
      }
    }
    ClearPlan(*h.editor, c.axis);
    for (std::int32_t x = 0; x < 5; ++x) {
      for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t z = 0; z < 4; ++z) {
          if (c.inPlane(x, y, z)) {
            EXPECT_EQ(map.GetCell(x, y, z), 0) << x << y << z;
          }
        }
      }
    }
    EXPECT_EQ(map.GetLight(2, 0, 3), 200);
    EXPECT_EQ(map.MusicCells[0], (world::MusicCell{2, 0, 3, 1}));
  }
}

TEST_F(LevelOpsTest, SaveWritesTheNameAsTypedAfterTheCheckAndLoadReadsItBack) {
  h.NewLevel(6, 3, 6);
  h.Map().SetCell(1, 1, 1, kWall);
  h.Map().LevelName = "Saved";
  const fs::path file = h.data / "LEVEL" / "mine";  // no ".lev": none is added
  h.dialogs.Files = {file.string()};
  ASSERT_TRUE(SaveLevelAs(*h.editor));
  EXPECT_EQ(h.dialogs.DialogFolders.back(), h.data / "LEVEL");
  EXPECT_TRUE(fs::is_regular_file(file));
  // The exit was never placed: the check says so, the file is written all the same.
  ASSERT_EQ(h.dialogs.Messages.size(), 1u);
  EXPECT_NE(h.dialogs.Messages[0].find("the exit cell (-3, 1, -3) is outside the level"), std::string::npos);
  EXPECT_EQ(h.editor->LevelFileName, file.string());
  EXPECT_EQ(h.window.Recent, std::vector<std::string>{file.string()});
  const base::Expected<world::LevelMap> written = world::LoadLevelFile(file.string(), {});
  ASSERT_TRUE(written);
  EXPECT_EQ(written->BankName, "STANDARD.BNK");
  EXPECT_EQ(world::SerializeLevel(*written), h.Bytes());

  h.Map().StartHeading = 8192;
  world::WriteLevel(h.Map(), file.string(), {});
  h.NewLevel(3, 3, 3);
  ASSERT_TRUE(LoadLevel(*h.editor, file.string()));
  EXPECT_EQ(h.Map().LevelName, "Saved");
  EXPECT_EQ(h.editor->Cursor.TargetX, 3 * 512 + 256);
  EXPECT_EQ(h.editor->Cursor.ShownY, 1 * 512 + 256);
  EXPECT_EQ(h.editor->Cursor.TargetHeading, 8192);
  EXPECT_EQ(h.editor->Cursor.ShownHeading, 8192);
  EXPECT_FALSE(h.editor->History.Dirty());
}

TEST_F(LevelOpsTest, AFileThatCannotBeReadLeavesTheLevelUntouched) {
  h.NewLevel(4, 2, 4);
  h.Map().SetCell(1, 1, 1, kPost);
  h.editor->LevelFileName = "before.lev";
  const std::vector<std::uint8_t> before = h.Bytes();
  const EditorCursor cursor = h.editor->Cursor;
  const fs::path shortFile = h.data.Write("LEVEL/short.lev", std::string(300, '\1'));
  for (const std::string& file : {shortFile.string(), (h.data / "LEVEL/none.lev").string()}) {
    h.dialogs.Messages.clear();
    EXPECT_FALSE(LoadLevel(*h.editor, file));
    EXPECT_EQ(h.dialogs.Messages, std::vector<std::string>{world::MissingLevelMessage(file)});
    EXPECT_EQ(h.Bytes(), before);
    EXPECT_EQ(h.editor->LevelFileName, "before.lev");
    EXPECT_EQ(h.editor->Cursor.TargetX, cursor.TargetX);
  }
}

TEST_F(LevelOpsTest, ARecentFileThatIsGoneLeavesTheList) {
  h.NewLevel(4, 2, 4);
  const fs::path kept = h.data / "LEVEL" / "kept.lev", gone = h.data / "LEVEL" / "gone.lev";
  for (const fs::path& file : {gone, kept}) {
    h.dialogs.Files = {file.string()};
    ASSERT_TRUE(SaveLevelAs(*h.editor));
  }
  EXPECT_EQ(h.window.Recent, (std::vector<std::string>{kept.string(), gone.string()}));
  fs::remove(gone);
  OpenRecent(*h.editor, gone.string());
  EXPECT_EQ(h.window.Recent, std::vector<std::string>{kept.string()});
  EXPECT_EQ(h.editor->LevelFileName, kept.string());
  OpenRecent(*h.editor, kept.string());
  EXPECT_EQ(h.editor->LevelFileName, kept.string());
  EXPECT_EQ(h.window.Recent, std::vector<std::string>{kept.string()});
}

TEST_F(LevelOpsTest, AFailedSaveSaysSoAndKeepsTheUnsavedMark) {
  h.NewLevel(4, 2, 4);
  h.editor->CurrentObject = kWall;
  RunCommand(*h.editor, Command::Put);
  h.Map().SetCell(2, 1, 2, 0);                                       // the start stays free
  h.Map().ExitX = h.Map().ExitZ = 1;                                 // nothing for the check to report
  h.dialogs.Files = {(h.data / "Standard.bnk" / "a.lev").string()};  // a file is no folder
  EXPECT_FALSE(SaveLevelAs(*h.editor));
  ASSERT_EQ(h.dialogs.Messages.size(), 1u);
  EXPECT_EQ(h.dialogs.Messages[0].rfind("The level was not saved. ", 0), 0u) << h.dialogs.Messages[0];
  EXPECT_TRUE(h.editor->History.Dirty());
  EXPECT_TRUE(h.editor->LevelFileName.empty());
  h.Tick();
  EXPECT_EQ(h.window.Caption, "Zandrel - Level Editor *");
}

TEST_F(LevelOpsTest, UnsavedChangesAreOfferedForSavingBeforeTheyAreLost) {
  h.NewLevel(4, 2, 4);
  h.editor->CurrentObject = kWall;
  RunCommand(*h.editor, Command::Put);
  const std::vector<std::uint8_t> edited = h.Bytes();
  h.dialogs.Choices = {Choice::Cancel};
  NewLevel(*h.editor);  // stays: no prompt
  EXPECT_TRUE(h.dialogs.Prompts.size() == 3u);
  EXPECT_EQ(h.Bytes(), edited);
  h.dialogs.Choices = {Choice::Yes};
  h.dialogs.Files = {std::nullopt};  // the save dialog cancelled: the level stays too
  OpenLevel(*h.editor);
  EXPECT_EQ(h.Bytes(), edited);
  const fs::path file = h.data / "LEVEL" / "kept.lev";
  h.dialogs.Choices = {Choice::Yes};
  h.dialogs.Files = {file.string(), std::nullopt};
  OpenLevel(*h.editor);  // saved first, then the open dialog cancelled
  EXPECT_TRUE(fs::is_regular_file(file));
  EXPECT_FALSE(h.editor->History.Dirty());
  RunCommand(*h.editor, Command::Delete);
  h.dialogs.Choices = {Choice::No};
  EXPECT_TRUE(CloseEditor(*h.editor));
  EXPECT_EQ(h.music.Closes, 1);
  EXPECT_EQ(h.dialogs.Questions.size(), 4u);
}

TEST_F(LevelOpsTest, DisplaySwitchesAndTheOutsideFlag) {
  EXPECT_TRUE(h.window.Outside);
  EXPECT_EQ(h.Map().Outside, 1);
  ToggleOutside(*h.editor);
  EXPECT_EQ(h.Map().Outside, 0);
  EXPECT_FALSE(h.window.Outside);
  SetTexturing(*h.editor, false);
  EXPECT_FALSE(h.editor->World->Bank.HighQuality);
  EXPECT_FALSE(h.window.Busy);
  SetTexturing(*h.editor, true);
  EXPECT_TRUE(h.editor->World->Bank.HighQuality);
  BoostDisplay(*h.editor);
  EXPECT_EQ(h.window.Boosts, (std::vector<std::pair<int, int>>{{320, 200}}));
  ToggleStretching(*h.editor);
  EXPECT_FALSE(h.editor->StretchView);
  EXPECT_FALSE(h.window.Stretch);
}

TEST_F(LevelOpsTest, TestLevelStartsTheGameOnACopyAndKeepsTheEditor) {
  h.NewLevel(4, 2, 4);
  h.editor->CurrentObject = kPost;
  RunCommand(*h.editor, Command::Put);
  const std::vector<std::uint8_t> before = h.Bytes();
  TestLevel(*h.editor);
  ASSERT_EQ(h.window.Games.size(), 1u);
  const base::Expected<world::LevelMap> copy = world::LoadLevelFile(h.window.Games[0].string(), {});
  ASSERT_TRUE(copy);
  EXPECT_EQ(world::SerializeLevel(*copy), before);
  EXPECT_EQ(h.Bytes(), before);
  EXPECT_TRUE(h.editor->LevelFileName.empty());
  EXPECT_TRUE(h.editor->History.Dirty());
  h.dialogs.Choices = {Choice::No};
  EXPECT_TRUE(CloseEditor(*h.editor));
  EXPECT_FALSE(fs::exists(h.window.Games[0]));  // the copy goes with the editor
}

TEST(LevelFolder, IsTheDataTreesWhenWritableElseTheUsersOwn) {
  ::zandrel::test::TempDir data, home;
  fs::create_directories(data / "Level");
  EXPECT_EQ(LevelFolder(data.path()), data / "Level");
  fs::remove(data / "Level");
  data.Write("Level", "not a folder");
  ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
  EXPECT_EQ(LevelFolder(data.path()), home / "zandrel" / "LEVEL");
  EXPECT_TRUE(fs::is_directory(home / "zandrel" / "LEVEL"));
  ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace zandrel::editor::test
