#include "world/sentries.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/random.h"
#include "world/world.h"
#include "world/world_sounds.h"

namespace zandrel::world {
namespace {

enum Code : std::uint8_t { kAir = 0, kCube = 1, kLadder = 2, kIngot = 3 };

// Sounds stand for themselves only: two distinct handles the recorder can tell apart.
// Two distinct sounds that are never played, only told apart.
SoundHandle Tag() {
  static SoundHandle next = 0;
  return next++;
}

struct Played {
  SoundHandle Sound;
  std::int32_t X, Y, Z, Volume;
  std::uint32_t At;
};

class RecordingSounds final : public WorldSounds {
 public:
  explicit RecordingSounds(const World& world) : world_(world) {}
  void PlayAt(SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    played.push_back({sound, x, y, z, volume, world_.Now});
  }
  std::vector<Played> played;

 private:
  const World& world_;
};

// A 12 x 8 x 12 level with a floor and one sentry in the middle of cell (2, 1, 2), facing +z.
class SentriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ObjectTypes& types = world_->Types;
    types[kCube].Empty = false;
    types[kCube].Collision = true;
    types[kCube].Bounds = {0, 511, 0, 0, 511, 511, 511, 511, 511};
    types[kLadder].Empty = false;
    types[kLadder].Ladder = true;
    types[kIngot].Empty = false;
    types[kIngot].Lingot = true;
    LevelMap& map = world_->Map;
    ASSERT_TRUE(map.SetLevelSize(12, 8, 12));
    for (int x = 0; x < 12; ++x) {
      for (int z = 0; z < 12; ++z) map.SetCell(x, 0, z, kCube);
    }
    map.SentryCount = 1;
    map.RandomSeed = 4242;
    map.Sentries[0].X = 1280;
    map.Sentries[0].Y = 768;
    map.Sentries[0].Z = 1280;
    map.Sentries[0].Heading = 0;
    world_->Bank.SentrySeenSound = Tag();
    world_->Bank.SentryLostSound = Tag();
    world_->FrameTime = 90;  // one unit of TimeScaled
  }

  Sentry& sentry() { return world_->Map.Sentries[0]; }

  void PutPlayerIn(int cx, int cy, int cz) {
    PlayerSlot& player = world_->Players[0];
    player.X = static_cast<float>(CellCentre(cx));
    player.Y = static_cast<float>(cy * kCellSize + 240);
    player.Z = static_cast<float>(CellCentre(cz));
  }

  void Frame(std::uint32_t now) {
    world_->Now = now;
    UpdateSentries(*world_, sounds_);
  }

  std::unique_ptr<World> world_ = std::make_unique<World>();
  RecordingSounds sounds_{*world_};
};

TEST(DirectionTo, HeadingFromZTowardXAndPitchUp) {
  struct Case {
    const char* what;
    Point target;
    float heading, pitch;
  };
  const Case cases[] = {
      {"ahead along +z", {0, 0, 100}, 0, 0},       {"along +x", {100, 0, 0}, 8192, 0},
      {"along -x", {-100, 0, 0}, 24576, 0},        {"along -z", {0, 0, -100}, 16384, 0},
      {"+x +z", {100, 0, 100}, 4096, 0},           {"+x -z", {100, 0, -100}, 12288, 0},
      {"-x -z", {-100, 0, -100}, 20480, 0},        {"-x +z", {-100, 0, 100}, 28672, 0},
      {"45 degrees up", {0, 100, 100}, 0, 4096},   {"45 degrees down", {0, -100, 100}, 0, 28672},
      {"straight above", {0, 100, 0}, 8192, 8192}, {"straight below looks up too", {0, -100, 0}, 8192, 8192},
  };
  for (const Case& c : cases) {
    const Direction d = DirectionTo({c.target.X + 10, c.target.Y + 20, c.target.Z + 30}, {10, 20, 30});
    EXPECT_NEAR(d.Heading, c.heading, 0.5f) << c.what;
    EXPECT_NEAR(d.Pitch, c.pitch, 0.5f) << c.what;
  }
}

TEST_F(SentriesTest, LineOfSightPassesEmptyLadderAndIngotCellsOnly) {
  LevelMap& map = world_->Map;
  struct Case {
    const char* what;
    CellIndex to;
    std::uint8_t between;  // code of the cells (3..4, 1, 2) on the way
    bool seen;
  };
  const Case cases[] = {
      {"the same cell", {2, 1, 2}, kAir, true},           {"three cells of air", {5, 1, 2}, kAir, true},
      {"a wall between", {5, 1, 2}, kCube, false},        {"a ladder between", {5, 1, 2}, kLadder, true},
      {"an ingot between", {5, 1, 2}, kIngot, true},      {"a wall in the next cell", {3, 1, 2}, kCube, true},
      {"a wall two cells away", {4, 1, 2}, kCube, false}, {"seven cells of air", {9, 1, 2}, kAir, true},
      {"eight cells away", {10, 1, 2}, kAir, false},      {"eight cells away upwards", {2, 9, 2}, kAir, false},
      {"far away", {-2000000000, 1, 2}, kAir, false},
  };
  for (const Case& c : cases) {
    map.SetCell(3, 1, 2, c.between);
    map.SetCell(4, 1, 2, c.between);
    EXPECT_EQ(LineOfSight(*world_, {2, 1, 2}, c.to), c.seen) << c.what;
  }
  map.SetCell(3, 1, 2, kAir);
  map.SetCell(4, 1, 2, kAir);
  // On a slant the cells nearest the line are walked: (3, 2), (4, 2) from (2, 1) to (5, 3)
  // along x and z. A wall beside the line does not matter, one on it does.
  map.SetCell(3, 1, 1, kCube);
  EXPECT_TRUE(LineOfSight(*world_, {2, 1, 1}, {5, 1, 3}));
  map.SetCell(4, 1, 2, kCube);
  EXPECT_FALSE(LineOfSight(*world_, {2, 1, 1}, {5, 1, 3}));
}

TEST_F(SentriesTest, SentrySeesWithinItsFieldOfView) {
  InitSentries(*world_);
  struct Case {
    const char* what;
    float heading;  // the negated direction it faces
    CellIndex player;
    bool seen;
  };
  const Case cases[] = {
      {"ahead", 0, {2, 1, 5}, true},
      {"to the side", 0, {5, 1, 2}, false},
      {"to the side, facing it", -8192, {5, 1, 2}, true},
      {"behind", 0, {2, 1, 0}, false},
      {"45 degrees off", 0, {5, 1, 5}, true},
      {"56 degrees off", 0, {5, 1, 4}, false},
      {"72 degrees up", 0, {2, 4, 3}, true},
      {"76 degrees up", 0, {2, 5, 3}, false},
      {"straight above", 0, {2, 3, 2}, false},
      {"next cell, even behind a wall", 0, {2, 1, 3}, true},
      {"eight cells ahead", 0, {2, 1, 10}, false},
  };
  for (const Case& c : cases) {
    sentry().Heading = c.heading;
    world_->Map.SetCell(2, 1, 3, c.player.Z == 3 && c.player.Y == 1 ? kCube : kAir);
    EXPECT_EQ(SentrySees(*world_, sentry(), c.player), c.seen) << c.what;
  }
  world_->Map.SetCell(2, 1, 3, kCube);
  EXPECT_FALSE(SentrySees(*world_, sentry(), {2, 1, 5})) << "behind a wall";
}

TEST_F(SentriesTest, InitSeedsTheGeneratorAndReadiesTheSentries) {
  world_->Map.SentryCount = 2;
  Sentry& s = world_->Map.Sentries[1];
  s.X = 3000;
  s.Y = 1000;
  s.Z = 600;
  s.Heading = 1234;
  s.State = kSearching;
  s.Quarry = 1;
  world_->Random.Next(100);
  world_->Now = 5000;
  InitSentries(*world_);
  EXPECT_EQ(world_->Random.State(), 4242u);
  EXPECT_EQ(s.State, kChasing);
  EXPECT_EQ(s.HeadingTarget, 1234);
  EXPECT_EQ(s.GoalX, 3000);
  EXPECT_EQ(s.GoalY, 1000);
  EXPECT_EQ(s.GoalZ, 600);
  EXPECT_EQ(s.CellX, 5);
  EXPECT_EQ(s.CellY, 1);
  EXPECT_EQ(s.CellZ, 1);
  EXPECT_EQ(s.Speed, kSentrySpeed);
  EXPECT_EQ(s.Width, kSentryWidth);
  EXPECT_EQ(s.HalfHeight, kSentryHalfHeight);
  EXPECT_EQ(s.LastCry, 1);
  EXPECT_EQ(s.CryTime, 7000u);
  EXPECT_EQ(s.Quarry, 1);
}

TEST_F(SentriesTest, NoSentriesMeansNoSentryCode) {
  world_->Map.SentryCount = 0;
  InitSentries(*world_);
  const Sentry before = sentry();
  PutPlayerIn(2, 1, 5);
  for (std::uint32_t now = 0; now < 10000; now += 90) Frame(now);
  EXPECT_EQ(world_->Random.State(), 4242u);
  EXPECT_EQ(sentry().Z, before.Z);
  EXPECT_TRUE(sounds_.played.empty());
}

TEST_F(SentriesTest, ChaseThenLostThenSearchingThenRoamingDrawFromTheLevelsGenerator) {
  InitSentries(*world_);
  base::Random replica(4242);
  PutPlayerIn(2, 1, 5);
  Frame(100);
  ASSERT_EQ(sentry().State, kChasing);
  EXPECT_EQ(sentry().GoalZ, world_->Players[0].Z) << "flies to its quarry";
  EXPECT_NEAR(sentry().Heading, 0, 0.5f) << "faces it";

  PutPlayerIn(11, 1, 11);  // too far to be seen from anywhere on the way
  std::uint32_t now = 100;
  Frame(now += 90);
  // The step toward the quarry, 1536 ahead and 16 below, was taken while still chasing:
  // one and a half times its speed along its largest component.
  EXPECT_NEAR(sentry().Z - 1280, 60 * 307.2f / 308.2f, 0.01f);
  ASSERT_EQ(sentry().State, kLost);
  int lostFrames = 1;
  while (sentry().State == kLost && lostFrames < 200) {
    Frame(now += 90);
    ++lostFrames;
  }
  ASSERT_EQ(sentry().State, kSearching);
  EXPECT_NEAR(sentry().Z, 2816, 50) << "it went on to where it lost its quarry";
  replica.Next(1);

  // Searching: each frame it turns a little further and draws below 50; 20 means roaming.
  int searchFrames = 0;
  while (replica.Next(50) != 20) ++searchFrames;
  const float headingTarget = sentry().HeadingTarget;
  for (int frame = 0; frame <= searchFrames; ++frame) {
    ASSERT_EQ(sentry().State, kSearching) << "frame " << frame;
    Frame(now += 90);
  }
  EXPECT_EQ(sentry().State, kRoaming);
  EXPECT_EQ(sentry().HeadingTarget, headingTarget + 800.0f * static_cast<float>(searchFrames + 1));
  EXPECT_EQ(sentry().GoalX, sentry().X);

  Frame(now += 90);
  const float goalX = static_cast<float>(replica.Next(12) * 512);
  const float goalY = static_cast<float>(replica.Next(8) * 512);
  const float goalZ = static_cast<float>(replica.Next(12) * 512);
  EXPECT_EQ(sentry().State, kRoaming);
  EXPECT_EQ(sentry().GoalX, goalX);
  EXPECT_EQ(sentry().GoalY, goalY);
  EXPECT_EQ(sentry().GoalZ, goalZ);
  EXPECT_EQ(world_->Random.State(), replica.State()) << "every draw came from the level's generator";
  const Direction toGoal = DirectionTo({goalX, goalY, goalZ}, {sentry().X, sentry().Y, sentry().Z});
  EXPECT_EQ(sentry().HeadingTarget, -toGoal.Heading);
  EXPECT_TRUE(sounds_.played.empty()) << "the first cry comes after 3000 ms";
}

TEST_F(SentriesTest, SameSeedAndInputsGiveTheSameRun) {
  struct Step {
    float x, y, z;
    std::int32_t state;
  };
  const Sentry placement = sentry();
  const auto run = [&](std::int32_t seed) {
    world_->Map.Sentries[0] = placement;
    world_->Map.RandomSeed = seed;
    world_->Now = 0;
    InitSentries(*world_);
    std::vector<Step> steps;
    for (int frame = 0; frame < 600; ++frame) {
      // The player stands in view for a while, then far away.
      if (frame == 0) PutPlayerIn(2, 1, 5);
      if (frame == 3) PutPlayerIn(11, 1, 11);
      Frame(static_cast<std::uint32_t>(frame) * 90);
      steps.push_back({sentry().X, sentry().Y, sentry().Z, sentry().State});
    }
    return steps;
  };
  const auto same = [](const std::vector<Step>& a, const std::vector<Step>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z || a[i].state != b[i].state) return false;
    }
    return true;
  };
  const std::vector<Step> first = run(4242);
  EXPECT_TRUE(same(first, run(4242)));
  EXPECT_FALSE(same(first, run(77))) << "the seed drives the search and the roaming";
}

TEST_F(SentriesTest, CriesAreHeldBackAtTheStartAndSpacedBySeconds) {
  InitSentries(*world_);
  sentry().Speed = 0;  // holds still, so only the player's place decides what it sees
  struct Step {
    std::uint32_t now;
    bool inFront;  // else behind it
    std::int32_t state;
  };
  const Step steps[] = {
      {100, true, kChasing},     // already chasing: no cry
      {200, false, kSearching},  // lost, but its last cry counts as "lost": none; it arrives at once
      {1000, true, kChasing},    // seen again, before its first cry time
      {1100, false, kSearching}, {2500, true, kChasing},  // seen again, but within 3000 ms of the start
      {2600, false, kSearching}, {3100, true, kChasing},  // the "seen" cry
      {3600, false, kSearching},                          // too soon for the "lost" cry
      {3900, true, kChasing},                             // its last cry was "seen": none
      {4200, false, kSearching},                          // the "lost" cry
      {4300, true, kChasing},                             // too soon
      {4400, false, kSearching}, {5300, true, kChasing},  // the "seen" cry
  };
  for (const Step& s : steps) {
    if (s.inFront) {
      PutPlayerIn(2, 1, 5);
    } else {
      PutPlayerIn(2, 1, 0);
    }
    Frame(s.now);
    EXPECT_EQ(sentry().State, s.state) << "at " << s.now;
  }
  ASSERT_EQ(sounds_.played.size(), 3u);
  const SoundHandle seen = world_->Bank.SentrySeenSound;
  const SoundHandle lost = world_->Bank.SentryLostSound;
  const std::pair<SoundHandle, std::uint32_t> expected[] = {{seen, 3100}, {lost, 4200}, {seen, 5300}};
  for (std::size_t i = 0; i < 3; ++i) {
    const Played& p = sounds_.played[i];
    EXPECT_EQ(p.Sound, expected[i].first) << i;
    EXPECT_EQ(p.At, expected[i].second) << i;
    EXPECT_EQ(p.X, 1280);
    EXPECT_EQ(p.Y, 768);
    EXPECT_EQ(p.Z, 1280);
    EXPECT_EQ(p.Volume, 255);
  }
  EXPECT_EQ(sentry().LastCry, 0);
  EXPECT_EQ(sentry().Quarry, 0);
}

TEST_F(SentriesTest, EachPlayerSlotActsOnTheStateTheSlotBeforeLeft) {
  world_->LastSlot = 1;
  const auto place = [&](int slot, int cz) {
    PlayerSlot& player = world_->Players[static_cast<std::size_t>(slot)];
    player.X = 1280;
    player.Y = 752;
    player.Z = static_cast<float>(CellCentre(cz));
  };
  struct Case {
    const char* what;
    int slot0Cell, slot1Cell;  // z cells; 5 is in view, 11 too far
    std::int32_t state, quarry;
  };
  const Case cases[] = {
      {"the second player is seen: the chase is his", 11, 5, kChasing, 1},
      // Lost, and already at its goal, it starts searching in the same frame.
      {"the second player is not seen: the chase is dropped", 5, 11, kSearching, 0},
  };
  for (const Case& c : cases) {
    world_->Now = 0;
    InitSentries(*world_);
    sentry().Speed = 0;
    sentry().State = kSearching;
    sentry().Quarry = 3;
    place(0, c.slot0Cell);
    place(1, c.slot1Cell);
    Frame(5000);
    EXPECT_EQ(sentry().State, c.state) << c.what;
    EXPECT_EQ(sentry().Quarry, c.quarry) << c.what;
    ASSERT_EQ(sounds_.played.size(), 1u) << c.what;
    EXPECT_EQ(sounds_.played[0].Sound, world_->Bank.SentrySeenSound) << c.what;
    sounds_.played.clear();
  }
}

}  // namespace
}  // namespace zandrel::world
