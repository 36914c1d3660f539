#include "world/level_check.h"

#include <gtest/gtest.h>

#include <memory>

#include "world/level_text.h"

namespace zandrel::world {
namespace {

// A small bank: 1 wall, 7 earth, 9 ladder, 10 lava, 12 spring, 16 crate, 21 door, 27 half step.
std::unique_ptr<ObjectTypes> Types() {
  auto types = std::make_unique<ObjectTypes>();
  auto define = [&](int code, bool collision) -> ObjectType& {
    ObjectType& t = (*types)[static_cast<std::size_t>(code)];
    t.Empty = false;
    t.Collision = collision;
    t.Bounds = Box{0, 511, 0, 0, 511, 511, 511, 511, 511};
    return t;
  };
  define(1, true);
  define(7, true).Dig = true;
  define(9, false).Ladder = true;
  define(10, false).Death = true;
  define(12, false).Spring = true;
  define(16, true).CanPush = true;
  define(21, true).Door = true;
  define(27, true).Bounds = Box{0, 511, 0, 0, 511, 255, 255, 255, 255};
  return types;
}

// A level one cell deep: the rows are the layers from the top down, x across.
std::string Level(const std::vector<std::string>& layersTopDown, const std::string& start, const std::string& exit) {
  std::string text = "size: " + std::to_string(layersTopDown[0].size()) + " " + std::to_string(layersTopDown.size()) +
                     " 1\nstart: " + start + "\nexit: " + exit + "\n";
  text +=
      "cell . = 0\ncell # = 1\ncell E = 7\ncell H = 9\ncell L = 10\ncell Z = 12\ncell C = 16\ncell D = 21\ncell _ = "
      "27\ncell ? = 99\n";
  for (std::size_t i = 0; i < layersTopDown.size(); ++i) {
    text += "layer " + std::to_string(layersTopDown.size() - 1 - i) + "\n" + layersTopDown[i] + "\n";
  }
  return text;
}

TEST(LevelCheck, FindsAWayOrReportsThatThereIsNone) {
  struct Case {
    const char* what;
    std::vector<std::string> layers;  // top down
    const char* start;
    const char* exit;
    bool playable;
  };
  const Case cases[] = {
      {"flat floor", {"......", "######"}, "0 1 0", "5 1 0", true},
      {"a wall in the way", {"......", "...#..", "...#..", "######"}, "0 1 0", "5 1 0", false},
      {"a door in the way", {"......", "...D..", "...D..", "######"}, "0 1 0", "5 1 0", true},
      {"a ledge one high", {"......", "...###", "######"}, "0 1 0", "5 2 0", true},
      {"a half step then a ledge", {"......", "..._##", "######"}, "0 1 0", "5 2 0", true},
      {"a ledge three high", {"......", "...###", "...###", "...###", "######"}, "0 1 0", "5 4 0", false},
      {"a ledge three high with a ladder", {"......", "..H###", "..H###", "..H###", "######"}, "0 1 0", "5 4 0", true},
      {"a ledge two high and a crate", {"......", "....##", ".C..##", "######"}, "0 1 0", "5 3 0", true},
      {"a spring to a high ledge",
       {"......", "...###", "...###", "...###", ".Z.###", "######"},
       "0 1 0",
       "5 5 0",
       true},
      {"lava two wide is jumped", {"........", "##LL####", "########"}, "0 2 0", "7 2 0", true},
      {"lava four wide is not", {"..........", "##LLLL####", "##########"}, "0 2 0", "9 2 0", false},
      {"earth dug to a hall below", {"......", "##E###", "......", "######"}, "0 3 0", "5 1 0", true},
      {"a floor of stone above the hall", {"......", "######", "......", "######"}, "0 3 0", "5 1 0", false},
  };
  const auto types = Types();
  for (const Case& c : cases) {
    base::Expected<LevelMap> map = ParseLevelText(Level(c.layers, c.start, c.exit));
    ASSERT_TRUE(map.ok()) << c.what << ": " << map.error();
    const std::vector<std::string> problems = CheckLevel(*map, *types);
    EXPECT_EQ(problems.empty(), c.playable) << c.what << (problems.empty() ? "" : ": " + problems[0]);
  }
}

TEST(LevelCheck, ReportsBrokenLevels) {
  struct Case {
    std::vector<std::string> layers;
    const char* start;
    const char* exit;
    const char* problem;
  };
  const Case cases[] = {
      {{"....", "####"}, "9 1 0", "3 1 0", "the start cell (9, 1, 0) is outside the level"},
      {{"....", "####"}, "0 1 0", "3 -1 0", "the exit cell (3, -1, 0) is outside the level"},
      {{"#...", "####"}, "0 1 0", "3 1 0", "the start cell (0, 1, 0) is blocked by object 1"},
      {{".?..", "####"}, "0 1 0", "3 1 0", "object code 99 (1 cells) is not defined by the bank"},
  };
  const auto types = Types();
  for (const Case& c : cases) {
    base::Expected<LevelMap> map = ParseLevelText(Level(c.layers, c.start, c.exit));
    ASSERT_TRUE(map.ok()) << map.error();
    const std::vector<std::string> problems = CheckLevel(*map, *types);
    ASSERT_FALSE(problems.empty()) << c.problem;
    EXPECT_EQ(problems[0], c.problem);
  }
}

}  // namespace
}  // namespace zandrel::world
