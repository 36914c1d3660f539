// Backups every two minutes, the offer to restore after a crash, and the recent files.
#include "editor/autosave.h"

#include <gtest/gtest.h>

#include "editor/commands.h"
#include "editor/recent_files.h"
#include "platform/win/files.h"
#include "tests/editor/editor_harness.h"
#include "world/level_file.h"

namespace zandrel::editor::test {
namespace {

namespace fs = std::filesystem;

world::LevelMap Level(std::int32_t side) {
  world::LevelMap map;
  map.SetLevelSize(side, 1, 1);
  return map;
}

TEST(Autosave, BackupsRotateOverThreeSlots) {
  ::zandrel::test::TempDir dir;
  const Autosave backups(dir.path());
  EXPECT_FALSE(backups.Latest());
  for (std::int32_t side = 1; side <= 4; ++side) {
    ASSERT_TRUE(backups.Write(Level(side), "level" + std::to_string(side) + ".lev"));
    const std::optional<Backup> latest = backups.Latest();
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->File, dir / ("autosave-" + std::to_string((side - 1) % 3 + 1) + ".lev"));
    EXPECT_EQ(latest->LevelFile, "level" + std::to_string(side) + ".lev");
    EXPECT_EQ(latest->Written.size(), 16u);
    const base::Expected<world::LevelMap> read = world::LoadLevelFile(latest->File.string(), {});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->SizeX(), side);
  }
  EXPECT_FALSE(fs::exists(dir / "autosave-4.lev"));
}

TEST(Autosave, TheMarkerTellsACrashFromAnEditorStillOpen) {
  ::zandrel::test::TempDir dir;
  const Autosave backups(dir.path());
  EXPECT_FALSE(backups.PreviousRunCrashed());
  ASSERT_TRUE(backups.MarkRunning());
  EXPECT_FALSE(backups.PreviousRunCrashed());  // this very run
  dir.Write("editor-running", "1\n");          // a live process: another editor
  EXPECT_FALSE(backups.PreviousRunCrashed());
  dir.Write("editor-running", "2147483000\n");  // no such process
  EXPECT_TRUE(backups.PreviousRunCrashed());
  dir.Write("editor-running", "garbage");
  EXPECT_TRUE(backups.PreviousRunCrashed());
  backups.MarkCleanExit();
  EXPECT_FALSE(backups.PreviousRunCrashed());
}

TEST(Autosave, TheEditorKeepsABackupEveryTwoMinutesWhenTheLevelChanged) {
  EditorHarness h;
  h.Start();
  EXPECT_TRUE(fs::exists(h.state / "editor-running"));
  h.NewLevel(4, 2, 4);
  for (int i = 0; i < 2400; ++i) h.Tick();  // two minutes, nothing changed
  EXPECT_FALSE(Autosave(h.state.path()).Latest());
  h.editor->CurrentObject = kWall;
  RunCommand(*h.editor, Command::Put);
  const std::vector<std::uint8_t> edited = h.Bytes();
  for (int i = 0; i < 2400; ++i) h.Tick();
  std::optional<Backup> latest = Autosave(h.state.path()).Latest();
  ASSERT_TRUE(latest);
  EXPECT_EQ(*win::ReadWholeFile(latest->File, 1 << 20), edited);
  for (int i = 0; i < 2400; ++i) h.Tick();  // no change since: no second backup
  EXPECT_EQ(Autosave(h.state.path()).Latest()->File, latest->File);
  h.dialogs.Choices = {Choice::No};
  ASSERT_TRUE(CloseEditor(*h.editor));
  EXPECT_FALSE(fs::exists(h.state / "editor-running"));
}

TEST(Autosave, AfterACrashTheBackupIsOfferedAndRestoredAsUnsaved) {
  for (const Choice choice : {Choice::No, Choice::Yes}) {
    EditorHarness h;
    world::LevelMap level = Level(3);
    level.LevelName = "kept";
    ASSERT_TRUE(Autosave(h.state.path()).Write(level, "/home/someone/mine.lev"));
    h.state.Write("editor-running", "2147483000\n");
    h.dialogs.Choices = {choice};
    h.Start();
    ASSERT_EQ(h.dialogs.Questions.size(), 1u);
    EXPECT_NE(h.dialogs.Questions[0].find("(/home/someone/mine.lev)"), std::string::npos) << h.dialogs.Questions[0];
    if (choice == Choice::No) {
      EXPECT_EQ(h.Map().SizeX(), 100);
      EXPECT_FALSE(h.editor->History.Dirty());
      continue;
    }
    EXPECT_EQ(h.Map().LevelName, "kept");
    EXPECT_EQ(h.editor->LevelFileName, "/home/someone/mine.lev");
    EXPECT_TRUE(h.editor->History.Dirty());
    EXPECT_TRUE(h.window.Recent.empty());  // a backup is no file of the user's
  }
}

TEST(RecentFiles, NewestFirstOnceEachAtMostEightAndKeptInTheIniFile) {
  ::zandrel::test::TempDir dir;
  const fs::path ini = dir / "cfg" / "zandrel-editor.ini";
  {
    RecentFiles recent(ini);
    EXPECT_TRUE(recent.Files().empty());
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(recent.Add("/levels/" + std::to_string(i) + ".lev"));
    ASSERT_TRUE(recent.Add("/levels/5.lev"));
    ASSERT_TRUE(recent.Add("bad\nname"));
    ASSERT_TRUE(recent.Remove("/levels/9.lev"));
  }
  const RecentFiles again(ini);
  EXPECT_EQ(again.Files(),
            (std::vector<std::string>{"/levels/5.lev", "/levels/10.lev", "/levels/8.lev", "/levels/7.lev",
                                      "/levels/6.lev", "/levels/4.lev", "/levels/3.lev"}));
}

}  // namespace
}  // namespace zandrel::editor::test
