#include "game/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/screens.h"
#include "platform/glide/glide.h"
#include "tests/game/held_controls.h"
#include "tests/support/temp_dir.h"
#include "world/level_file.h"
#include "world/level_text.h"

namespace zandrel::game {
namespace {

TEST(InputScript, HoldsControlsOverFrameRanges) {
  base::Expected<std::vector<ScriptLine>> script = ParseInputScript(
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
    input::ControlFlags flags{};
    controls.ReadControls(flags);
    EXPECT_EQ(flags[input::kUp], c.up) << c.frame;
    EXPECT_EQ(flags[input::kButton1], c.jump) << c.frame;
    EXPECT_EQ(controls.KeyDown(input::vk::F9), c.f9) << c.frame;
  }
}

TEST(InputScript, MistakesNameTheirLine) {
  for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
           {"0 5\n", "input script line 1: expected FROM TO CONTROL[+CONTROL...]"},
           {"\n5 2 up\n", "input script line 2: frames must be 0 <= FROM <= TO"},
           {"0 1 up+fly\n", "input script line 1: unknown control 'fly'"},
           {"x 1 up\n", "input script line 1: frames must be 0 <= FROM <= TO"}}) {
    base::Expected<std::vector<ScriptLine>> script = ParseInputScript(text);
    ASSERT_FALSE(script.ok()) << text;
    EXPECT_EQ(script.error(), error);
  }
}

TEST(HeadlessOptions, ReadsTheContract) {
  base::Expected<HeadlessOptions> options = ParseHeadlessOptions(
      {"--level-index", "3", "--frames", "500", "--frame-ms", "10", "--cells", "1,2,3:4,5,6", "--lives", "5"});
  ASSERT_TRUE(options.ok()) << options.error();
  EXPECT_EQ(options->LevelIndex, 3);
  EXPECT_EQ(options->Frames, 500);
  EXPECT_EQ(options->FrameMs, 10);
  EXPECT_EQ(options->Lives, 5);
  EXPECT_EQ(options->Cells, (std::array<std::int32_t, 6>{1, 2, 3, 4, 5, 6}));
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--frames", "10"},
                                             {"--level", "a.lev", "--level-index", "1"},
                                             {"--level", "a.lev", "--frames"},
                                             {"--level", "a.lev", "--frame-ms", "0"},
                                             {"--level", "a.lev", "--cells", "1,2:3"},
                                             {"--level", "a", "--x", "1"}}) {
    EXPECT_FALSE(ParseHeadlessOptions(bad).ok()) << bad[0];
  }
}

TEST(HeadlessOptions, NetworkRunsHostOrJoin) {
  base::Expected<HeadlessOptions> host =
      ParseHeadlessOptions({"--name", "Ann", "--host", "--port", "40000", "--players", "3", "--frames", "9"});
  ASSERT_TRUE(host.ok()) << host.error();
  ASSERT_TRUE(host->Network);
  EXPECT_TRUE(host->Network->Host);
  EXPECT_EQ(host->Network->Players, 3);
  EXPECT_EQ(host->Network->Nickname, "Ann");
  EXPECT_EQ(host->Port, 40000);
  EXPECT_EQ(host->LevelIndex, 0) << "the first level, as the start message says";
  base::Expected<HeadlessOptions> join = ParseHeadlessOptions({"--join", "127.0.0.1:40000", "--level-index", "2"});
  ASSERT_TRUE(join.ok()) << join.error();
  EXPECT_EQ(join->Network->Address, "127.0.0.1:40000");
  EXPECT_EQ(join->Network->Nickname, "Player");
  EXPECT_EQ(join->LevelIndex, 2);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--host", "--join", "127.0.0.1"},
                                             {"--join", "127.0.0.1", "--host"},
                                             {"--join", "127.0.0.1", "--players", "2"},
                                             {"--host", "--players", "5"},
                                             {"--host", "--port", "65535"},
                                             {"--name", "Ann"},
                                             {"--level-index", "0", "--port", "40000"}}) {
    EXPECT_FALSE(ParseHeadlessOptions(bad).ok()) << bad[0] << " " << bad[1];
  }
}

TEST(HeadlessOptions, CellsBoxMustBeWellFormedAndInOrder) {
  for (const char* box : {"1,2,3:4,5", "1,2,3:4,5,6,7", "1,2,3;4,5,6", "1;2,3:4,5,6", "a,2,3:4,5,6", "1,2,3:4,5,6x",
                          "1,2,3:4,5,6 ", "", "99999999999,0,0:0,0,0", "2,0,0:1,0,0", "0,2,0:0,1,0", "0,0,2:0,0,1",
                          "0,0,0:2147483647,2147483647,2147483647"}) {
    base::Expected<HeadlessOptions> options = ParseHeadlessOptions({"--level-index", "0", "--cells", box});
    ASSERT_FALSE(options.ok()) << box;
    EXPECT_EQ(options.error(), std::string("bad value for --cells: ") + box);
  }
  for (const char* box : {"1,1,1:1,1,1", "-2,0,0:-1,0,0", "0,0,0:255,255,255"}) {
    EXPECT_TRUE(ParseHeadlessOptions({"--level-index", "0", "--cells", box}).ok()) << box;
  }
}

// A 4 x 3 x 3 level of earth on stone; the hero starts above it facing +x and digs the
// cell ahead of his feet, (2, 1, 1).
constexpr const char* kDiggingLevel = R"(zandrel-level: 1
bank: STANDARD.BNK
size: 4 3 3
start: 1 2 1
start_heading: 8192
exit: 3 2 2
cell . = 0
cell # = 1
cell E = 7
cell L = 13
cell T = 14
cell $ = 20
layer 0
####
####
####
layer 1
EEEE
EEEE
L$TE
layer 2
....
....
....
)";

// The level text as level file `name` in the folder; empty, with a failure, when it does
// not parse.
std::string WrittenLevel(const test::TempDir& dir, std::string_view name, const std::string& text) {
  base::Expected<world::LevelMap> map = world::ParseLevelText(text);
  if (!map.ok()) {
    ADD_FAILURE() << map.error();
    return {};
  }
  const std::string level = (dir / name).string();
  EXPECT_TRUE(world::WriteLevel(*map, level, {}));
  return level;
}

// The game's back end, started on a board without a screen; it outlives the runs it plays.
struct NullDisplay {
  NullDisplay() { EXPECT_TRUE(display.StartEngine()); }

  // Plays `frames` frames from the start of one level file.
  base::Expected<HeadlessRun> Play(const std::string& level, std::int64_t frames) {
    HeadlessOptions options;
    options.Level = level;
    options.Frames = frames;
    options.Data = ZANDREL_DATA;
    return PlayHeadless(options, display);
  }

  glide::NullGlide board;
  engine::glide::GlideBackend display{board};
};

TEST(HeadlessRun, CellsHoldTheBoxAfterTheRunXFastest) {
  test::TempDir dir;
  const std::string level = WrittenLevel(dir, "dig.lev", kDiggingLevel);
  ASSERT_FALSE(level.empty());
  struct Case {
    const char* box;
    std::vector<int> cells;
  };
  const Case cases[] = {
      {"1,0,1:2,1,2", {1, 1, 7, 0, 1, 1, 20, 14}},  // x, then y, then z
      {"0,1,1:3,1,1", {7, 7, 0, 7}},
      {"2,1,1:2,1,1", {0}},
      {"3,1,2:4,1,2", {7, 0}},  // beyond the level: code 0
  };
  for (const Case& c : cases) {
    base::Expected<HeadlessOptions> options = ParseHeadlessOptions(
        {"--level", level, "--frames", "60", "--input", dir.Write("dig.txt", "40 40 action\n").string(), "--json",
         (dir / "out.json").string(), "--data", ZANDREL_DATA, "--cells", c.box});
    ASSERT_TRUE(options.ok()) << options.error();
    NullDisplay null;
    ASSERT_EQ(RunHeadless(*options, null.display), 0) << c.box;
    std::ifstream in(dir / "out.json");
    const nlohmann::json summary = nlohmann::json::parse(in);
    EXPECT_EQ(summary["cells"].get<std::vector<int>>(), c.cells) << c.box;
    const nlohmann::json& events = summary["events"];
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [](const nlohmann::json& e) { return e["type"] == "dig"; }))
        << c.box;
  }
}

TEST(HeadlessRun, LevelFromOutsideTheListIsTheOneRestarted) {
  test::TempDir dir;
  std::string text = kDiggingLevel;
  text.replace(text.find("start: 1 2 1"), 12, "start: 0 1 2");  // on the lamp...
  text.replace(text.find("cell L = 13"), 11, "cell L = 11");    // ...made spikes
  const std::string level = WrittenLevel(dir, "deadly.lev", text);
  ASSERT_FALSE(level.empty());
  NullDisplay null;
  base::Expected<HeadlessRun> run = null.Play(level, 300);
  ASSERT_TRUE(run.ok()) << run.error();
  std::vector<std::string> started;
  for (const GameEvent& e : run->Played->Events) {
    if (e.Type == EventType::LevelStart) started.push_back(e.Text);
  }
  ASSERT_GE(started.size(), 2u) << "a death and a restart";
  for (const std::string& file : started) EXPECT_TRUE(std::filesystem::equivalent(file, level)) << file;
}

TEST(HeadlessRun, ALevelThatCannotBeReadFailsTheRun) {
  test::TempDir dir;
  const std::string damaged = dir.Write("damaged.lev", "LEV").string();
  for (const std::string& level : {(dir / "missing.lev").string(), damaged}) {
    NullDisplay null;
    base::Expected<HeadlessRun> run = null.Play(level, 5);
    ASSERT_FALSE(run.ok()) << level;
    EXPECT_EQ(run.error(), "The file " + level + " is missing or invalid.");
  }
}

TEST(OnlyLevel, PlaysTheFileAloneAndLeavesPlayAtItsExit) {
  test::TempDir dir;
  std::string text = kDiggingLevel;
  text.replace(text.find("exit: "), text.find('\n', text.find("exit: ")) - text.find("exit: "), "exit: 1 2 1");
  const std::string level = WrittenLevel(dir, "short.lev", text);
  ASSERT_FALSE(level.empty());

  NullDisplay null;
  engine::glide::GlideBackend& display = null.display;
  HeldControls input;
  SilentSounds sounds;
  SilentMusic music;
  win::ManualClock clock(1000);
  Game game(GameServices{display, input, sounds, music, clock, ZANDREL_DATA});
  display.OpenView(640, 480, *game.View);
  ASSERT_TRUE(GameStartup(game, Settings{}));
  game.Frame.GameReady = true;
  const std::vector<std::string> shipped = game.LevelList;

  EXPECT_FALSE(StartOnlyLevel(game, (dir / "none.lev").string()).ok());
  EXPECT_EQ(game.LevelList, shipped) << "a level that cannot be read changes nothing";

  ASSERT_TRUE(StartOnlyLevel(game, level).ok());
  EXPECT_EQ(game.LevelList, std::vector<std::string>{level});
  EXPECT_EQ(game.Frame.CurrentScreen, Screen::Play);
  int frames = 0;
  for (; game.Frame.CurrentScreen == Screen::Play && frames < 200; ++frames) {
    clock.Advance(20);
    FrameTick(game);
  }
  EXPECT_LT(frames, 200) << "the start is the exit: play ends after the fade";
  EXPECT_NE(game.Frame.CurrentScreen, Screen::Play);
}

}  // namespace
}  // namespace zandrel::game
