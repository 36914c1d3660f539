#include "game/headless.h"

#include <gtest/gtest.h>

namespace zandrel::game {
namespace {

TEST(InputScript, HoldsControlsOverFrameRanges) {
  win::Expected<std::vector<ScriptLine>> script = ParseInputScript(
      "# walk, then jump while walking\n"
      "0 9 up\n"
      "5 5 up+jump   # one frame\n"
      "\n"
      "12 12 f9+kp_plus\n");
  ASSERT_TRUE(script.ok()) << script.error();
  ScriptedControls controls(std::move(*script));
  struct Case {
    std::int64_t frame;
    bool up, jump, f9;
  };
  for (const Case& c : {Case{0, true, false, false}, Case{5, true, true, false}, Case{9, true, false, false},
                        Case{10, false, false, false}, Case{12, false, false, true}}) {
    controls.SetFrame(c.frame);
    ControlFlags flags{};
    controls.ReadControls(flags);
    EXPECT_EQ(flags[kUp], c.up) << c.frame;
    EXPECT_EQ(flags[kButton1], c.jump) << c.frame;
    EXPECT_EQ(controls.KeyDown(kKeyF9), c.f9) << c.frame;
  }
}

TEST(InputScript, MistakesNameTheirLine) {
  for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
           {"0 5\n", "input script line 1: expected FROM TO CONTROL[+CONTROL...]"},
           {"\n5 2 up\n", "input script line 2: frames must be 0 <= FROM <= TO"},
           {"0 1 up+fly\n", "input script line 1: unknown control 'fly'"},
           {"x 1 up\n", "input script line 1: frames must be 0 <= FROM <= TO"}}) {
    win::Expected<std::vector<ScriptLine>> script = ParseInputScript(text);
    ASSERT_FALSE(script.ok()) << text;
    EXPECT_EQ(script.error(), error);
  }
}

TEST(HeadlessOptions, ReadsTheContract) {
  win::Expected<HeadlessOptions> options = ParseHeadlessOptions(
      {"--level-index", "3", "--frames", "500", "--frame-ms", "10", "--cells", "1,2,3:4,5,6", "--lives", "5"});
  ASSERT_TRUE(options.ok()) << options.error();
  EXPECT_EQ(options->LevelIndex, 3);
  EXPECT_EQ(options->Frames, 500);
  EXPECT_EQ(options->FrameMs, 10);
  EXPECT_EQ(options->Lives, 5);
  EXPECT_EQ(options->Cells, (std::array<std::int32_t, 6>{1, 2, 3, 4, 5, 6}));
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--frames", "10"}, {"--level", "a.lev", "--level-index", "1"}, {"--level", "a.lev", "--frames"},
           {"--level", "a.lev", "--frame-ms", "0"}, {"--level", "a.lev", "--cells", "1,2:3"}, {"--level", "a", "--x", "1"}}) {
    EXPECT_FALSE(ParseHeadlessOptions(bad).ok()) << bad[0];
  }
}

}  // namespace
}  // namespace zandrel::game
