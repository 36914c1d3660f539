// The play frame and the hero's controls on tiny levels written by the test, played on the
// null board with the clock stepped 90 ms a frame, so that every rate per 90 ms is the
// change of one frame.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/glide/glide_backend.h"
#include "game/game.h"
#include "game/headless.h"
#include "game/hero_controls.h"
#include "game/screens.h"
#include "platform/glide/glide.h"
#include "tests/game/held_controls.h"
#include "tests/support/temp_dir.h"
#include "world/behaviour.h"
#include "world/level_file.h"
#include "world/level_text.h"
#include "world/sentries.h"

namespace zandrel::game {
namespace {

// Codes of the standard bank the levels below are drawn with.
enum Code : std::uint8_t {
  kAir = 0,
  kWall = 1,
  kEarth = 7,  // dug away, closes again
  kLadder = 9,
  kSpikes = 11,
  kLamp = 13,
  kHourglass = 14,
  kIngot = 20,  // its last pickup opens the gold doors
  kGoldDoor = 21,
};

constexpr const char* kLegend =
    "zandrel-level: 1\n"
    "bank: STANDARD.BNK\n"
    "light: 128\n"
    "cell . = 0\n"
    "cell # = 1\n"
    "cell E = 7\n"
    "cell H = 9\n"
    "cell ^ = 11\n"
    "cell L = 13\n"
    "cell T = 14\n"
    "cell $ = 20\n"
    "cell D = 21\n";

// A room of 5 x 4 x 5 cells on a floor of stone, with what the test adds in row 1.
std::string Room(const std::string& start, const std::string& row1, const std::string& extra = "",
                 const std::string& exit = "4 3 4") {
  return "size: 5 4 5\nstart: " + start + "\nexit: " + exit + "\nseed: 77\n" + extra +
         "layer 0\n#####\n#####\n#####\n#####\n#####\n"
         "layer 1\n" +
         row1 +
         "layer 2\n.....\n.....\n.....\n.....\n.....\n"
         "layer 3\n.....\n.....\n.....\n.....\n.....\n";
}
constexpr const char* kEmptyRow = ".....\n.....\n.....\n.....\n.....\n";

// Remembers which sound played; the sounds of the hero are stand-in handles.
class RecordingSounds final : public GameSounds {
 public:
  void PlayAt(world::SoundHandle sound, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
    played.push_back(sound);
  }
  world::SoundHandle LoadSound(std::string_view) override { return world::kNoSound; }
  void LoadInterfaceSounds() override {}
  void PlayInterface(InterfaceSound) override {}
  void UpdateSounds(const engine::Camera&) override {}
  void StopAllSounds() override {}
  std::vector<world::SoundHandle> played;
};

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(display_.StartEngine());
    display_.OpenView(640, 480, *game_.View);
    ASSERT_TRUE(GameStartup(game_, Settings{})) << "data tree " << ZANDREL_DATA;
    ResetFrameClock(game_);
    game_.Frame.GameReady = true;
  }

  // Writes the level and starts it as the only level of the list.
  void Play(const std::string& text) {
    base::Expected<world::LevelMap> map = world::ParseLevelText(kLegend + text);
    ASSERT_TRUE(map.ok()) << map.error();
    file_ = (dir_ / "test.lev").string();
    ASSERT_TRUE(world::WriteLevel(*map, file_, {}));
    game_.LevelList = {file_};
    hero().LevelIndex = 0;
    StartLevel(game_, file_);
    ASSERT_EQ(game_.Frame.CurrentScreen, Screen::Play);
    for (world::PlayerSlot& slot : world().Players) {
      slot.StepSound = step_;
      slot.HurtSound = hurt_;
      slot.DeathSound = death_;
    }
  }

  void Frames(int count) {
    for (int i = 0; i < count; ++i) {
      clock_.Advance(90);
      FrameTick(game_);
    }
  }
  // Runs frames until the condition holds (at most `limit`); answers the frames run.
  template <typename Condition>
  int FramesUntil(Condition done, int limit = 400) {
    int frames = 0;
    while (!done() && frames < limit) {
      Frames(1);
      ++frames;
    }
    return frames;
  }

  world::World& world() { return *game_.World; }
  world::PlayerSlot& hero() { return game_.Hero(); }
  std::vector<std::string> EventsOf(EventType type) const {
    std::vector<std::string> found;
    for (const GameEvent& e : game_.Events) {
      if (e.Type == type) found.push_back(type == EventType::Notice ? e.Text : std::to_string(e.Value));
    }
    return found;
  }

  test::TempDir dir_;
  std::string file_;
  glide::NullGlide board_;
  engine::glide::GlideBackend display_{board_};
  HeldControls input_;
  RecordingSounds sounds_;
  SilentMusic music_;
  win::ManualClock clock_{100000};
  Game game_{GameServices{display_, input_, sounds_, music_, clock_, ZANDREL_DATA}};
  world::SoundHandle step_ = 1001, hurt_ = 1002, death_ = 1003;
};

// The hero standing on the floor of row 0.
constexpr float kStanding = 752;

TEST_F(PlayTest, LandingSpeedDecidesBetweenSilenceAStepAndAStun) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow)));
  struct Case {
    const char* what;
    float speed;  // when the hero lands, after this frame's gravity
    bool step, stunned;
  };
  for (const Case& c : {Case{"-50: silent", -50, false, false}, Case{"-51: a step", -51, true, false},
                        Case{"-200: a step", -200, true, false}, Case{"-250: stunned", -250, false, true}}) {
    Frames(10);
    ASSERT_EQ(hero().Y, kStanding) << c.what;
    ASSERT_EQ(hero().ActionTimer, 0) << c.what;
    hero().Y = kStanding + 8;
    hero().VerticalSpeed = c.speed + 24;  // a frame's gravity is 24
    sounds_.played.clear();
    Frames(1);
    EXPECT_EQ(hero().Y, kStanding) << c.what;
    EXPECT_EQ(hero().VerticalSpeed, 0) << c.what;
    EXPECT_EQ(hero().Landed, true) << c.what;
    std::vector<world::SoundHandle> expected;
    if (c.step) expected.push_back(step_);
    if (c.stunned) expected.push_back(hurt_);
    EXPECT_EQ(sounds_.played, expected) << c.what;
    EXPECT_EQ(hero().ActionTimer, c.stunned ? 250 : 0) << c.what;
    if (c.stunned) {
      EXPECT_EQ(hero().Animation, 6) << c.what;
      EXPECT_EQ(hero().AnimationTime, 300) << c.what;
    }
  }

  // The stun holds the controls back for 250 ms: three frames of 90 ms, then he walks.
  input_.held[input::kUp] = true;
  const float z = hero().Z;
  Frames(3);
  EXPECT_EQ(hero().Z, z);
  EXPECT_EQ(hero().ActionTimer, 0);
  Frames(1);
  EXPECT_GT(hero().Z, z);
}

TEST_F(PlayTest, ThreeLivesGiveFourAttemptsThenTheTitle) {
  struct Case {
    const char* what;
    const char* start;
    bool waitForTheFade;  // walks into the spikes ahead once the level's fade-in has ended
    std::vector<std::string> livesLost;
  };
  const Case cases[] = {
      {"walking into spikes", "2 1 1", true, {"2", "1", "0"}},
      // Each death comes while the fade-in runs, which refuses the fade-out of the last one:
      // the count goes below 0, and the title follows all the same.
      {"starting on spikes", "2 1 2", false, {"2", "1", "0", "-1"}},
  };
  for (const Case& c : cases) {
    ASSERT_NO_FATAL_FAILURE(Play(Room(c.start, ".....\n.....\n..^..\n.....\n.....\n")));
    game_.Events.clear();
    game_.Frame.EndAction = EndAction::Nothing;
    hero().Lives = 3;
    int frames = 0;
    for (; game_.Frame.CurrentScreen != Screen::Title && frames < 1000; ++frames) {
      input_.held[input::kUp] = c.waitForTheFade && !game_.Frame.FadeActive;
      Frames(1);
    }
    input_.held = {};
    EXPECT_LT(frames, 1000) << c.what;
    EXPECT_EQ(EventsOf(EventType::Death).size(), 4u) << c.what;
    EXPECT_EQ(EventsOf(EventType::LevelStart).size(), 3u) << c.what << ": three restarts";
    EXPECT_EQ(EventsOf(EventType::LifeLost), c.livesLost) << c.what;
    EXPECT_EQ(EventsOf(EventType::Notice), (std::vector<std::string>{"2 LIVES LEFT", "1 LIVES LEFT", "0 LIVES LEFT"}))
        << c.what;
    EXPECT_EQ(game_.Frame.EndAction, EndAction::ToTitle) << c.what;
  }
}

TEST_F(PlayTest, ExitReachedDuringTheFadeIsTakenOnceTheFadeHasEnded) {
  // The hero starts in the exit cell while the level's fade-in runs.
  ASSERT_NO_FATAL_FAILURE(Play(Room("4 1 4", kEmptyRow, "", "4 1 4")));
  ASSERT_TRUE(game_.Frame.FadeActive);
  std::int64_t fadeEnded = -1;
  while (EventsOf(EventType::ExitReached).empty() && game_.FrameNumber < 100) {
    if (!game_.Frame.FadeActive && fadeEnded < 0) fadeEnded = game_.FrameNumber;
    Frames(1);
  }
  ASSERT_EQ(EventsOf(EventType::ExitReached).size(), 1u);
  const auto exit = std::find_if(game_.Events.begin(), game_.Events.end(),
                                 [](const GameEvent& e) { return e.Type == EventType::ExitReached; });
  EXPECT_GT(fadeEnded, 0);
  EXPECT_EQ(exit->Frame, fadeEnded) << "the first frame after the fade-in";
  // The fade-out is running now: standing in the exit takes it once only.
  Frames(5);
  EXPECT_EQ(EventsOf(EventType::ExitReached).size(), 1u);
  // That was the last level: the credits follow.
  EXPECT_LT(FramesUntil([&] { return game_.Frame.CurrentScreen == Screen::Credits; }), 100);
}

TEST_F(PlayTest, OpenMenuFreezesSentriesGravityTimeAndMotionButNotAnimations) {
  // An hourglass where the hero starts; a sentry three cells ahead of him, facing him.
  ASSERT_NO_FATAL_FAILURE(Play(Room("1 1 0", ".T...\n.....\n.....\n.....\n.....\n", "sentry: 768 768 1792 -16384\n")));
  Frames(2);
  ASSERT_TRUE(world().TimeLimitOn);
  const world::Sentry& sentry = world().Map.Sentries[0];
  ASSERT_EQ(sentry.State, world::kChasing);
  hero().Y = 1500;
  hero().VerticalSpeed = -10;
  hero().VelX = 40;
  input_.held[input::kButton4] = true;
  Frames(1);
  input_.held[input::kButton4] = false;
  ASSERT_TRUE(game_.Menu.MenuOpen);

  const world::Sentry frozen = sentry;
  const world::PlayerSlot before = hero();
  const std::int32_t timeLeft = world().TimeLeft;
  const float ingotFrame = world().Types[kIngot].AnimPos;
  const std::int64_t drawn = game_.FrameNumber;
  Frames(5);
  EXPECT_EQ(std::tie(sentry.X, sentry.Y, sentry.Z, sentry.Heading),
            std::tie(frozen.X, frozen.Y, frozen.Z, frozen.Heading));
  EXPECT_EQ(std::tie(hero().X, hero().Y, hero().Z), std::tie(before.X, before.Y, before.Z));
  EXPECT_EQ(hero().VerticalSpeed, before.VerticalSpeed);
  EXPECT_EQ(hero().VelX, before.VelX);
  EXPECT_EQ(world().TimeLeft, timeLeft);
  EXPECT_NE(world().Types[kIngot].AnimPos, ingotFrame) << "the objects keep turning";
  EXPECT_EQ(game_.FrameNumber, drawn + 5);

  input_.held[input::kButton4] = true;
  Frames(1);
  input_.held[input::kButton4] = false;
  ASSERT_FALSE(game_.Menu.MenuOpen);
  Frames(1);
  EXPECT_NE(sentry.Z, frozen.Z);
  EXPECT_LT(hero().Y, before.Y);
  EXPECT_GT(hero().X, before.X);
  EXPECT_LT(world().TimeLeft, timeLeft);
}

TEST_F(PlayTest, MenuActsOnPressesWhateverTheHoldAndTheFrameRate) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow)));
  const auto hold = [&](std::size_t control, int ms, int frameMs = 20) {
    input_.held[control] = true;
    for (int t = 0; t < ms; t += frameMs) {
      clock_.Advance(static_cast<std::uint32_t>(frameMs));
      FrameTick(game_);
    }
    input_.held[control] = false;
    clock_.Advance(static_cast<std::uint32_t>(frameMs));
    FrameTick(game_);
  };
  for (const int ms : {20, 40, 60, 100, 120, 160}) {
    hold(input::kButton4, ms);
    EXPECT_TRUE(game_.Menu.MenuOpen) << "Escape held " << ms << " ms opens the menu";
    hold(input::kButton4, ms);
    EXPECT_FALSE(game_.Menu.MenuOpen) << "a new press closes it";
  }
  hold(input::kButton4, 40);
  ASSERT_TRUE(game_.Menu.MenuOpen);
  struct Step {
    int ms, frameMs, moves;
  };
  for (const Step s : {Step{40, 20, 1}, Step{80, 20, 1}, Step{120, 20, 1}, Step{120, 7, 1}, Step{399, 20, 1},
                       Step{420, 20, 2}, Step{600, 20, 3}, Step{600, 7, 3}, Step{900, 20, 5}}) {
    game_.Menu.MenuChoice = 0;
    hold(input::kDown, s.ms, s.frameMs);
    EXPECT_EQ(game_.Menu.MenuChoice, s.moves) << "Down held " << s.ms << " ms at " << s.frameMs << " ms a frame";
  }
  game_.Menu.MenuChoice = 3;  // change the view: the menu stays open
  const float view = hero().View;
  hold(input::kButton1, 300);
  EXPECT_EQ(hero().View, view + world::kCellSize) << "a held button acts once";
}

TEST_F(PlayTest, UpAndDownHeldTogetherBothApplyAndTheHeroStands) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow)));
  Frames(5);
  const float x = hero().X, z = hero().Z;
  input_.held[input::kUp] = input_.held[input::kDown] = true;
  Frames(10);
  EXPECT_FLOAT_EQ(hero().X, x);
  EXPECT_FLOAT_EQ(hero().Z, z);
}

TEST_F(PlayTest, AFadeThatRunsRefusesANewOneAndTheClockRunsOn) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow)));
  ASSERT_TRUE(game_.Frame.FadeActive) << "the level's fade-in";
  const std::int32_t step = game_.Frame.FadeStep;
  const std::uint32_t lastTick = game_.Frame.LastTick;
  clock_.Advance(30);
  StartFade(game_, +1);
  EXPECT_EQ(game_.Frame.FadeStep, step);
  EXPECT_EQ(game_.Frame.LastTick, lastTick);
}

TEST_F(PlayTest, SavingFromTheMenuSaysWhetherItWorked) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow)));
  game_.Services.DataFolder = dir_.path();  // no settings file beside it: the user's folder takes it
  struct Case {
    const char* what;
    bool configFolderUsable;
    const char* notice;
  };
  for (const Case c : {Case{"saved", true, "GAME SAVED"}, Case{"refused", false, "SAVE FAILED"}}) {
    // A file where the configuration folder should be cannot hold a settings file.
    const std::filesystem::path config = c.configFolderUsable ? dir_ / "config" : dir_.Write("not-a-folder", "");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    input_.held[input::kButton4] = true;
    Frames(1);
    input_.held[input::kButton4] = false;
    Frames(1);
    ASSERT_TRUE(game_.Menu.MenuOpen) << c.what;
    game_.Menu.MenuChoice = 2;
    input_.held[input::kButton1] = true;
    Frames(1);
    input_.held[input::kButton1] = false;
    Frames(1);
    EXPECT_FALSE(game_.Menu.MenuOpen) << c.what;
    EXPECT_EQ(EventsOf(EventType::Notice).back(), c.notice) << c.what;
  }
  ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(PlayTest, LadderIsGrabbedOnTheFaceTheHeroTurnsTo) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("0 1 0", ".....\n.....\n..H..\n.....\n.....\n")));
  // The ladder's cell spans 1024..1535 on x and z.
  const world::Box alongX{0, 511, 0, 200, 300, 511, 511, 511, 511};
  const world::Box alongZ{200, 300, 0, 0, 511, 511, 511, 511, 511};
  struct Case {
    const char* what;
    world::Box box;
    float heading, x, z;
    bool grabbed;
    float toX, toZ, toHeading, offsetX, offsetZ;
  };
  const Case cases[] = {
      {"along x, facing +z", alongX, 0, 1100, 1030, true, 1279, 1224 - 130, 0, 0, 130},
      {"along x, mostly +z", alongX, 3000, 1100, 1030, true, 1279, 1224 - 130, 0, 0, 130},
      {"along x, facing -z", alongX, 16384, 1100, 1500, true, 1279, 1324 + 130, 16384, 0, -130},
      {"along x, beyond the stand line", alongX, 0, 1100, 1200, false, 0, 0, 0, 0, 0},
      {"along x, facing +x: beyond its x face", alongX, 8192, 1030, 1100, false, 0, 0, 0, 0, 0},
      {"along z, facing +x", alongZ, 8192, 1030, 1100, true, 1224 - 130, 1279, 8192, 130, 0},
      {"along z, facing -x", alongZ, 24576, 1500, 1100, true, 1324 + 130, 1279, 24576, -130, 0},
      {"along z, facing +z: its -x face", alongZ, 0, 1500, 1100, true, 1324 + 130, 1279, 24576, -130, 0},
  };
  input_.held = {};
  for (const Case& c : cases) {
    world().Types[kLadder].Bounds = c.box;
    world::PlayerSlot& h = hero();
    h.X = c.x;
    h.Y = 752;
    h.Z = c.z;
    h.Heading = c.heading;
    h.Climbing = false;
    h.LadderOffsetX = h.LadderOffsetZ = 0;
    h.Controls = {};
    h.Controls[input::kUp] = true;
    world().FrameTime = 90;
    HeroControls(game_);
    EXPECT_EQ(h.Climbing, c.grabbed) << c.what;
    if (!c.grabbed) {
      EXPECT_EQ(h.Heading, c.heading) << c.what;
      continue;
    }
    EXPECT_EQ(h.X, c.toX) << c.what;
    EXPECT_EQ(h.Z, c.toZ) << c.what;
    EXPECT_EQ(h.Heading, c.toHeading) << c.what;
    EXPECT_EQ(h.LadderHeading, static_cast<std::int32_t>(c.toHeading)) << c.what;
    EXPECT_EQ(h.LadderOffsetX, c.offsetX) << c.what;
    EXPECT_EQ(h.LadderOffsetZ, c.offsetZ) << c.what;
    EXPECT_EQ(h.VelX, 0) << c.what;
    EXPECT_EQ(h.VelZ, 0) << c.what;
  }
  // Up climbs; looking up while climbing lets go of the ladder.
  ASSERT_TRUE(hero().Climbing);
  HeroControls(game_);
  EXPECT_TRUE(hero().Climbing);
  hero().Controls[input::kButton2] = true;
  HeroControls(game_);
  EXPECT_FALSE(hero().Climbing);
}

TEST_F(PlayTest, PickupsToggleTheLampAndTheLastIngotOpensItsDoors) {
  ASSERT_NO_FATAL_FAILURE(Play(Room("0 1 0", ".L.L.\n.....\n.$.$.\n.....\n..D..\n")));
  world().FrameTime = 90;
  const auto takeAt = [&](int x, int z) {
    hero().X = static_cast<float>(world::CellCentre(x));
    hero().Y = kStanding;
    hero().Z = static_cast<float>(world::CellCentre(z));
    hero().Controls = {};
    HeroControls(game_);
    EXPECT_EQ(world().Map.GetCell(x, 1, z), kAir) << "taken from " << x << "," << z;
  };
  const world::ObjectType& ingot = world().Types[kIngot];
  ASSERT_EQ(ingot.IngotCount, 2);

  takeAt(1, 0);
  EXPECT_EQ(hero().LightTarget, 2000);
  takeAt(3, 0);
  EXPECT_EQ(hero().LightTarget, 5000) << "a second lamp gives the first radius back";

  takeAt(1, 2);
  EXPECT_EQ(ingot.IngotCount, 1);
  EXPECT_EQ(world().Map.GetCell(2, 1, 4), kGoldDoor);
  EXPECT_TRUE(EventsOf(EventType::DoorOpen).empty());
  takeAt(3, 2);
  EXPECT_EQ(ingot.IngotCount, 0);
  EXPECT_EQ(world().Map.GetCell(2, 1, 4), kAir) << "the door opens at once";
  EXPECT_EQ(world().OpenedDoors, std::vector<std::int32_t>{kGoldDoor});
  EXPECT_EQ(EventsOf(EventType::Pickup).size(), 4u);
  Frames(40);
  EXPECT_EQ(world().Map.GetCell(2, 1, 4), kAir) << "and stays open";
  EXPECT_EQ(EventsOf(EventType::DoorOpen), std::vector<std::string>{std::to_string(kGoldDoor)}) << "reported once";
}

TEST_F(PlayTest, DugEarthClosesAfterTenSecondsAndKillsTheHeroInside) {
  // The hero stands on a block of earth and digs it away under his feet.
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 2 2", ".....\n.....\n..E..\n.....\n.....\n")));
  Frames(10);
  ASSERT_EQ(hero().Y, kStanding + 512);
  ASSERT_TRUE(world::Dig(world(), sounds_, 2, 1, 2, 10000));
  const std::uint32_t dug = world().Now;
  FramesUntil([&] { return world().Now - dug >= 10000; });
  EXPECT_EQ(hero().Y, kStanding) << "he fell into the hole";
  EXPECT_FALSE(hero().Dead);
  EXPECT_EQ(world().Map.GetCell(2, 1, 2), kAir);
  FramesUntil([&] { return hero().Dead; }, 40);
  EXPECT_TRUE(hero().Dead);
  EXPECT_EQ(world().Map.GetCell(2, 1, 2), kEarth);
  EXPECT_GT(world().Now - dug, 10000u);
}

TEST_F(PlayTest, ReloadingALevelRepeatsTheSameSentryRun) {
  // Sentries shut in beyond a wall roam the level by its random generator.
  std::string level =
      "size: 8 3 8\nstart: 0 1 0\nexit: 7 1 7\nseed: 31\n"
      "sentry: 2300 768 300 0\nsentry: 3000 1300 2200 8000\nsentry: 3800 800 3500 -9000\nlayer 0\n";
  for (int z = 0; z < 8; ++z) level += "########\n";
  for (int y = 1; y < 3; ++y) {
    level += "layer " + std::to_string(y) + "\n";
    for (int z = 0; z < 8; ++z) level += "...#....\n";
  }
  struct Step {
    float x, y, z;
    std::int32_t state;
    bool operator==(const Step&) const = default;
  };
  const auto run = [&] {
    std::vector<Step> steps;
    for (int frame = 0; frame < 300; ++frame) {
      Frames(1);
      for (std::int32_t i = 0; i < world().Map.SentryCount; ++i) {
        const world::Sentry& s = world().Map.Sentries[static_cast<std::size_t>(i)];
        steps.push_back({s.X, s.Y, s.Z, s.State});
      }
    }
    return steps;
  };
  ASSERT_NO_FATAL_FAILURE(Play(level));
  const std::vector<Step> first = run();
  world().Random.Next(1000);  // whatever was drawn in between
  StartLevel(game_, file_);
  const std::vector<Step> second = run();
  EXPECT_TRUE(first == second);
  bool roamed = false;
  for (const Step& s : first) roamed = roamed || s.state == world::kRoaming;
  EXPECT_TRUE(roamed) << "the run went as far as the random goals";
  EXPECT_TRUE(EventsOf(EventType::Death).empty());
}

// Whatever its start cell, a level starts and plays: the hero ends up inside the level's
// box, through the play screen and through the headless runner alike.
TEST_F(PlayTest, StartOutsideTheMapOrInsideAWallStillPlays) {
  struct Case {
    const char* what;
    const char* start;
  };
  const Case cases[] = {
      {"beyond x", "40 1 2"},
      {"below the level", "2 -3 2"},
      {"above the level", "2 9 2"},
      {"far away", "-2000000 9000000 2000000000"},
      {"at the ends of the range", "2147483647 -2147483648 2147483647"},
      {"inside the floor", "2 0 2"},
      {"inside a pillar", "1 1 1"},
  };
  const auto expectInside = [](const world::PlayerSlot& h, const char* what) {
    EXPECT_GE(h.X, 0) << what;
    EXPECT_LE(h.X, 5 * 512) << what;
    EXPECT_GE(h.Y, 256) << what;
    EXPECT_LE(h.Y, 4 * 512) << what;
    EXPECT_GE(h.Z, 0) << what;
    EXPECT_LE(h.Z, 5 * 512) << what;
  };
  for (const Case& c : cases) {
    ASSERT_NO_FATAL_FAILURE(Play(Room(c.start, ".....\n.#...\n.....\n.....\n.....\n")));
    input_.held = {};
    input_.held[input::kUp] = true;
    input_.held[input::kRight] = true;
    Frames(40);
    EXPECT_EQ(game_.Frame.CurrentScreen, Screen::Play) << c.what;
    expectInside(hero(), c.what);

    glide::NullGlide board;
    engine::glide::GlideBackend display(board);
    ASSERT_TRUE(display.StartEngine());
    HeadlessOptions options;
    options.Level = file_;
    options.Frames = 40;
    options.Data = ZANDREL_DATA;
    base::Expected<HeadlessRun> run = PlayHeadless(options, display);
    ASSERT_TRUE(run.ok()) << c.what << ": " << run.error();
    EXPECT_EQ(run->Frames, 40) << c.what;
    expectInside(run->Played->Hero(), c.what);
  }
}

TEST_F(PlayTest, FullSentryTablePlays) {
  std::string sentries;
  for (int i = 0; i < world::kMaxSentries; ++i) {
    sentries += "sentry: " + std::to_string(300 + i * 7) + " 900 " + std::to_string(2400 - i * 5) + " " +
                std::to_string(i * 128) + "\n";
  }
  ASSERT_NO_FATAL_FAILURE(Play(Room("2 1 2", kEmptyRow, sentries)));
  ASSERT_EQ(world().Map.SentryCount, world::kMaxSentries);
  hero().Lives = 99;
  Frames(60);
  EXPECT_EQ(game_.Frame.CurrentScreen, Screen::Play);
}

}  // namespace
}  // namespace zandrel::game
