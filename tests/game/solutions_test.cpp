// Every shipped level that has a solution script is played to its exit, headless, on the
// null board, exactly as `zandrel --headless` plays it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/headless.h"
#include "platform/glide/glide.h"

namespace zandrel::game {
namespace {

TEST(Solutions, EachScriptReachesItsLevelsExit) {
  std::vector<std::filesystem::path> scripts;
  for (const auto& entry : std::filesystem::directory_iterator(ZANDREL_CONTENT "/levels")) {
    if (entry.path().extension() == ".solution") scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  ASSERT_FALSE(scripts.empty());
  for (const std::filesystem::path& script : scripts) {
    glide::NullGlide board;
    engine::glide::GlideBackend display(board);
    ASSERT_TRUE(display.StartEngine());
    HeadlessOptions options;
    options.Level = (std::filesystem::path(ZANDREL_DATA) / "LEVEL" / script.stem()).string() + ".lev";
    options.Input = script.string();
    options.Frames = 6000;
    options.Data = ZANDREL_DATA;
    win::Expected<HeadlessRun> run = PlayHeadless(options, display);
    ASSERT_TRUE(run.ok()) << script << ": " << run.error();
    // The exit comes first: no life is lost on the way (what follows is the next level).
    const std::vector<GameEvent>& events = run->Played->Events;
    const auto end = std::find_if(events.begin(), events.end(),
                                  [](const GameEvent& e) { return e.Type == "exit_reached" || e.Type == "death"; });
    ASSERT_NE(end, events.end()) << script.filename() << " does not reach the exit";
    EXPECT_EQ(end->Type, "exit_reached") << script.filename() << " loses a life at frame " << end->Frame;
  }
}

}  // namespace
}  // namespace zandrel::game
