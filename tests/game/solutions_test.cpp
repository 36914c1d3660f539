// Every shipped level that has a solution script is played to its exit, headless, on the
// null board, exactly as `zandrel --headless` plays it. One test per script, so that they
// run side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/headless.h"
#include "platform/glide/glide.h"

namespace zandrel::game {
namespace {

std::vector<std::string> SolutionStems() {
  std::vector<std::string> stems;
  for (const auto& entry : std::filesystem::directory_iterator(ZANDREL_CONTENT "/levels")) {
    if (entry.path().extension() == ".solution") stems.push_back(entry.path().stem().string());
  }
  std::sort(stems.begin(), stems.end());
  return stems;
}

TEST(Solutions, EveryLevelHasOne) {
  std::vector<std::string> levels;
  for (const auto& entry : std::filesystem::directory_iterator(ZANDREL_CONTENT "/levels")) {
    if (entry.path().extension() == ".txt") levels.push_back(entry.path().stem().string());
  }
  std::sort(levels.begin(), levels.end());
  EXPECT_EQ(SolutionStems(), levels);
}

class Solution : public ::testing::TestWithParam<std::string> {};

TEST_P(Solution, ReachesItsLevelsExit) {
  const std::string& stem = GetParam();
  glide::NullGlide board;
  engine::glide::GlideBackend display(board);
  ASSERT_TRUE(display.StartEngine());
  HeadlessOptions options;
  options.Level = (std::filesystem::path(ZANDREL_DATA) / "LEVEL" / stem).string() + ".lev";
  options.Input = std::string(ZANDREL_CONTENT "/levels/") + stem + ".solution";
  options.Frames = 3000;  // a minute of play; the longest route takes under 1800 frames
  options.Data = ZANDREL_DATA;
  base::Expected<HeadlessRun> run = PlayHeadless(options, display);
  ASSERT_TRUE(run.ok()) << run.error();
  // The exit comes first: no life is lost on the way (what follows is the next level).
  const std::vector<GameEvent>& events = run->Played->Events;
  const auto end = std::find_if(events.begin(), events.end(), [](const GameEvent& e) {
    return e.Type == EventType::ExitReached || e.Type == EventType::Death;
  });
  ASSERT_NE(end, events.end()) << "the exit is not reached";
  EXPECT_EQ(end->Type, EventType::ExitReached) << "a life is lost at frame " << end->Frame;
}

// Test names may hold letters, digits and underscores only.
std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return "Level" + name;
}

INSTANTIATE_TEST_SUITE_P(Shipped, Solution, ::testing::ValuesIn(SolutionStems()), TestName);

}  // namespace
}  // namespace zandrel::game
