#include "world/behaviour.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "tests/support/allocation_count.h"

namespace zandrel::world {
namespace {

// A handle that stands for a loaded sound: never played, only compared.
SoundHandle StandInSound() {
  static SoundHandle next = 0;
  return next++;
}

struct Played {
  SoundHandle Sound = kNoSound;
  std::int32_t X = 0, Y = 0, Z = 0, Volume = 0;
  friend bool operator==(const Played&, const Played&) = default;
};

class RecordingSounds final : public WorldSounds {
 public:
  void PlayAt(SoundHandle sound, std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t volume) override {
    Log.push_back({sound, x, y, z, volume});
  }
  std::vector<Played> Log;
};

// A one-vertex mesh whose vertex lies at x: enough to see which frame or blend it shows.
engine::Mesh Marker(std::int32_t x) {
  engine::Mesh mesh;
  mesh.X = {x};
  mesh.Y = {0};
  mesh.Z = {0};
  mesh.Faces = {engine::MeshFace{}};
  return mesh;
}

constexpr std::int32_t C(std::int32_t cell) { return cell * 512 + 256; }

// A 6 x 4 x 6 level with a floor of wall cubes (code 1) in row 0; the frame clock runs
// 90 ms a frame so that a speed per 90 ms is the step of one frame.
class BehaviourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world_.Map.SetLevelSize(6, 4, 6));
    Define(1);
    for (int x = 0; x < 6; ++x) {
      for (int z = 0; z < 6; ++z) world_.Map.SetCell(x, 0, z, 1);
    }
    world_.FrameTime = 90;
    world_.Now = 1000;
    world_.Tables.LastTextureStep = 1000;
  }

  // A solid cube type.
  ObjectType& Define(int code) {
    ObjectType& type = world_.Types[static_cast<std::size_t>(code)];
    type.Empty = false;
    type.Cube = true;
    type.Collision = true;
    type.Bounds = Box{0, 511, 0, 0, 511, 511, 511, 511, 511};
    type.ActionVolume = 200 + code % 50;
    return type;
  }
  // A mesh type whose frames are markers at the given x values.
  ObjectType& DefineFrames(int code, std::initializer_list<std::int32_t> xs, float speed) {
    ObjectType& type = Define(code);
    type.Cube = false;
    type.MeshCount = 0;
    for (std::int32_t x : xs) type.Meshes[static_cast<std::size_t>(type.MeshCount++)] = Marker(x);
    type.Speed = speed;
    return type;
  }
  SoundHandle GiveSound(int code) {
    world_.Types[static_cast<std::size_t>(code)].ActionSound = StandInSound();
    return world_.Types[static_cast<std::size_t>(code)].ActionSound;
  }
  void Frame() {
    world_.Now += static_cast<std::uint32_t>(world_.FrameTime);
    UpdateWorld(world_, view_, sounds_);
  }
  int AnimationsInUse() const {
    int n = 0;
    for (const CellAnimation& a : world_.Tables.Animations) n += a.InUse ? 1 : 0;
    return n;
  }
  std::uint8_t Cell(int x, int y, int z) const { return world_.Map.GetCell(x, y, z); }

  World world_;
  engine::RenderView view_;
  RecordingSounds sounds_;
};

// Door 10 opens through animation type 40 (two frames, half a frame per 90 ms) into 11.
class DoorTest : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    ObjectType& door = Define(10);
    door.Door = true;
    door.AnimDoor = 40;
    door.DoorOpen = 11;
    Define(11).Collision = false;
    DefineFrames(40, {0, 10}, 0.5f);
    doorSound_ = GiveSound(40);
    for (auto [x, y, z] : kDoors) world_.Map.SetCell(x, y, z, 10);
  }
  struct At {
    int x, y, z;
  };
  // In scan order: x outermost, then y, then z.
  static constexpr At kDoors[] = {{1, 1, 4}, {2, 1, 0}, {2, 2, 3}};
  SoundHandle doorSound_ = kNoSound;
};

TEST_F(DoorTest, CodesThatAreNotDoorsOpenNothing) {
  for (std::int32_t code : {1, 11, 40, 0, -1, 266}) {
    OpenDoors(world_, sounds_, code);
    EXPECT_EQ(AnimationsInUse(), 0) << code;
  }
  for (auto [x, y, z] : kDoors) EXPECT_EQ(Cell(x, y, z), 10);
  EXPECT_TRUE(sounds_.Log.empty());
  EXPECT_TRUE(world_.OpenedDoors.empty());
}

TEST_F(DoorTest, EveryDoorOfTheCodeAnimatesAtOnceAndEndsOpen) {
  world_.Map.SetCell(3, 1, 3, 12);  // another code is left alone
  OpenDoors(world_, sounds_, 10);

  ASSERT_EQ(AnimationsInUse(), 3);
  const auto& slots = world_.Tables.Animations;
  for (int i = 0; i < 3; ++i) {
    const auto [x, y, z] = kDoors[i];
    EXPECT_EQ(Cell(x, y, z), 0) << "an animating cell is empty";
    const CellAnimation& a = slots[static_cast<std::size_t>(kTableSize - 1 - i)];  // highest free slot first
    EXPECT_TRUE(a.InUse);
    EXPECT_EQ(a.X, C(x));
    EXPECT_EQ(a.Y, C(y));
    EXPECT_EQ(a.Z, C(z));
    EXPECT_EQ(a.AnimType, 40);
    EXPECT_EQ(a.FinalCode, 11);
    EXPECT_EQ(a.Pos, 1.0f);
    EXPECT_EQ(a.WorkMesh.X, std::vector<std::int32_t>{0});
    EXPECT_EQ(sounds_.Log[static_cast<std::size_t>(i)], (Played{doorSound_, C(x), C(y), C(z), 240}));
  }
  EXPECT_EQ(sounds_.Log.size(), 3u);
  EXPECT_EQ(Cell(3, 1, 3), 12);

  Frame();  // position 1.5: halfway from frame 0 to frame 1
  EXPECT_EQ(AnimationsInUse(), 3);
  EXPECT_EQ(world_.Tables.Animations[kTableSize - 1].WorkMesh.X, std::vector<std::int32_t>{5});
  for (auto [x, y, z] : kDoors) EXPECT_EQ(Cell(x, y, z), 0);

  Frame();  // position 2: past the last frame
  EXPECT_EQ(AnimationsInUse(), 0);
  for (auto [x, y, z] : kDoors) EXPECT_EQ(Cell(x, y, z), 11);
}

TEST_F(DoorTest, ThrowingOneLeverThrowsEveryLeverOfItsCodeAndOpensItsDoors) {
  ObjectType& lever = Define(30);
  lever.Lever = true;
  lever.LeverAnim = 41;
  lever.LeverOpen = 32;
  lever.LeverDoor = 10;
  Define(31).Lever = true;  // a lever of another code
  Define(32);
  DefineFrames(41, {0}, 0.5f);
  world_.Map.SetCell(0, 1, 0, 30);
  world_.Map.SetCell(5, 3, 5, 30);
  world_.Map.SetCell(4, 1, 1, 31);

  ThrowLever(world_, sounds_, 3, 1, 3);  // an empty cell: nothing
  ThrowLever(world_, sounds_, 0, 0, 0);  // a wall: nothing
  EXPECT_EQ(AnimationsInUse(), 0);

  ThrowLever(world_, sounds_, 5, 3, 5);
  EXPECT_EQ(AnimationsInUse(), 5);                               // two levers, three doors
  EXPECT_EQ(world_.OpenedDoors, std::vector<std::int32_t>{10});  // reported to the play frame
  EXPECT_EQ(Cell(0, 1, 0), 0);
  EXPECT_EQ(Cell(5, 3, 5), 0);
  EXPECT_EQ(Cell(4, 1, 1), 31);
  EXPECT_EQ(world_.Tables.Animations[kTableSize - 1].AnimType, 41);  // levers before doors
  EXPECT_EQ(world_.Tables.Animations[kTableSize - 3].AnimType, 40);

  Frame();  // the one-frame lever animation ends at once
  EXPECT_EQ(Cell(0, 1, 0), 32);
  EXPECT_EQ(Cell(5, 3, 5), 32);
  Frame();
  EXPECT_EQ(AnimationsInUse(), 0);
  for (auto [x, y, z] : kDoors) EXPECT_EQ(Cell(x, y, z), 11);
}

TEST_F(BehaviourTest, StartCellAnimationTakesTheHighestFreeSlotAndSetsTheCellWhenNoneIsFree) {
  DefineFrames(40, {0, 10}, 0.5f);
  const SoundHandle sound = GiveSound(40);
  auto& slots = world_.Tables.Animations;
  for (CellAnimation& a : slots) a.InUse = true;
  slots[7].InUse = false;
  slots[100].InUse = false;

  StartCellAnimation(world_, sounds_, 2, 1, 2, 9, 40);
  EXPECT_TRUE(slots[100].InUse);
  EXPECT_FALSE(slots[7].InUse);
  EXPECT_EQ(Cell(2, 1, 2), 0);
  StartCellAnimation(world_, sounds_, 3, 1, 2, 9, 40);
  EXPECT_TRUE(slots[7].InUse);
  EXPECT_EQ(sounds_.Log.size(), 2u);

  StartCellAnimation(world_, sounds_, 4, 1, 2, 9, 40);  // all 257 taken
  EXPECT_EQ(Cell(4, 1, 2), 9);
  EXPECT_EQ(sounds_.Log.size(), 2u) << "a change without animation is silent";
  EXPECT_EQ(sounds_.Log[0], (Played{sound, C(2), C(1), C(2), 240}));
}

TEST_F(BehaviourTest, AnimationWithoutFramesEndsAtTheNextUpdate) {
  Define(42);  // a cube: no frames
  StartCellAnimation(world_, sounds_, 2, 1, 2, 9, 42);
  EXPECT_EQ(world_.Tables.Animations[kTableSize - 1].Pos, 0.0f);
  EXPECT_EQ(Cell(2, 1, 2), 0);
  Frame();
  EXPECT_EQ(AnimationsInUse(), 0);
  EXPECT_EQ(Cell(2, 1, 2), 9);
}

// Block 50 is dug through animation 51 and, being Recover, closes through animation 52.
class DigTest : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    ObjectType& block = Define(50);
    block.Dig = true;
    block.Recover = true;
    block.DigAnim = 51;
    block.RecoverAnim = 52;
    ObjectType& once = Define(53);  // dug away for good
    once.Dig = true;
    once.DigAnim = 51;
    DefineFrames(51, {0}, 0.5f);
    DefineFrames(52, {0, 10}, 0.5f);
    digSound_ = GiveSound(51);
    recoverSound_ = GiveSound(52);
    world_.Map.SetCell(2, 1, 2, 50);
    world_.Map.SetCell(3, 1, 2, 53);
  }
  SoundHandle digSound_ = kNoSound;
  SoundHandle recoverSound_ = kNoSound;
};

TEST_F(DigTest, RecoverBlockClosesAfterItsDelayWithItsRecoverAnimation) {
  ASSERT_TRUE(Dig(world_, sounds_, 2, 1, 2, 10000));
  ASSERT_EQ(world_.Tables.LastHole, 0);
  const Hole& hole = world_.Tables.Holes[0];
  EXPECT_EQ(hole.X, C(2));
  EXPECT_EQ(hole.Y, C(1));
  EXPECT_EQ(hole.Code, 50);
  EXPECT_EQ(hole.DigTime, 1000u);
  const Played dug{digSound_, C(2), C(1), C(2), 201};
  EXPECT_EQ(sounds_.Log, (std::vector<Played>{dug, dug})) << "once for the dig, once for its animation";
  EXPECT_EQ(Cell(2, 1, 2), 0);

  world_.Now = 10910;
  Frame();  // 10000 ms after the dig: not yet
  EXPECT_EQ(world_.Tables.LastHole, 0);
  EXPECT_EQ(Cell(2, 1, 2), 0);
  EXPECT_EQ(AnimationsInUse(), 0);

  sounds_.Log.clear();
  world_.FrameTime = 1;
  Frame();
  EXPECT_EQ(world_.Tables.LastHole, -1);
  ASSERT_EQ(AnimationsInUse(), 1);
  EXPECT_EQ(world_.Tables.Animations[kTableSize - 1].AnimType, 52);
  EXPECT_EQ(Cell(2, 1, 2), 0);
  const Played closing{recoverSound_, C(2), C(1), C(2), 202};
  EXPECT_EQ(sounds_.Log, (std::vector<Played>{closing, closing}));

  world_.FrameTime = 180;
  Frame();
  EXPECT_EQ(AnimationsInUse(), 0);
  EXPECT_EQ(Cell(2, 1, 2), 50);
}

TEST_F(DigTest, HoleFilledMeanwhileIsForgotten) {
  ASSERT_TRUE(Dig(world_, sounds_, 2, 1, 2, 10000));
  Frame();
  world_.Map.SetCell(2, 1, 2, 1);  // a block landed in it
  sounds_.Log.clear();
  world_.Now += 20000;
  Frame();
  EXPECT_EQ(world_.Tables.LastHole, -1);
  EXPECT_EQ(Cell(2, 1, 2), 1);
  EXPECT_EQ(AnimationsInUse(), 0);
  EXPECT_TRUE(sounds_.Log.empty());
}

TEST_F(DigTest, BlockWithoutRecoverNeverCloses) {
  ASSERT_TRUE(Dig(world_, sounds_, 3, 1, 2, 10000));
  EXPECT_EQ(world_.Tables.LastHole, -1);
  world_.Now += 1000000;
  Frame();
  Frame();
  EXPECT_EQ(Cell(3, 1, 2), 0);
}

TEST_F(DigTest, DigRefusals) {
  struct Case {
    const char* what;
    int x;
    std::uint8_t above;
    std::int32_t lastHole;
  };
  for (const Case& c : {Case{"not a Dig type", 1, 0, -1}, Case{"something above", 2, 1, -1},
                        Case{"hole table full", 2, 0, kTableSize - 1}}) {
    world_.Map.SetCell(1, 1, 2, 1);
    world_.Map.SetCell(2, 1, 2, 50);
    world_.Map.SetCell(c.x, 2, 2, c.above);
    world_.Tables.LastHole = c.lastHole;
    EXPECT_FALSE(Dig(world_, sounds_, c.x, 1, 2, 10000)) << c.what;
    EXPECT_EQ(world_.Tables.LastHole, c.lastHole) << c.what;
    EXPECT_NE(Cell(c.x, 1, 2), 0) << c.what;
    EXPECT_EQ(AnimationsInUse(), 0) << c.what;
  }
  EXPECT_TRUE(sounds_.Log.empty());
  world_.Tables.LastHole = kTableSize - 2;  // one place left
  EXPECT_TRUE(Dig(world_, sounds_, 2, 1, 2, 10000));
  EXPECT_EQ(world_.Tables.LastHole, kTableSize - 1);
}

// Block 60 can be pushed; 61 is a wall that cannot.
class PushTest : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    Define(60).CanPush = true;
    pushSound_ = GiveSound(60);
    Define(61);
  }
  SoundHandle pushSound_ = kNoSound;
};

TEST_F(PushTest, PushRefusals) {
  struct Case {
    const char* what;
    std::uint8_t code, above;
    std::int32_t lastBlock;
    bool pushed;
  };
  for (const Case& c :
       {Case{"not pushable", 61, 0, -1, false}, Case{"a pushable block on it", 60, 60, -1, false},
        Case{"block table full", 60, 0, kTableSize - 1, false}, Case{"a wall on it", 60, 61, -1, true}}) {
    world_.Map.SetCell(2, 1, 2, c.code);
    world_.Map.SetCell(2, 2, 2, c.above);
    world_.Tables.LastBlock = c.lastBlock;
    EXPECT_EQ(Push(world_, sounds_, 2, 1, 2, 0), c.pushed) << c.what;
    EXPECT_EQ(world_.Tables.LastBlock, c.pushed ? c.lastBlock + 1 : c.lastBlock) << c.what;
    EXPECT_EQ(Cell(2, 1, 2), c.pushed ? 0 : c.code) << c.what;
  }
  EXPECT_EQ(sounds_.Log, (std::vector<Played>{{pushSound_, C(2), C(1), C(2), 210}}));
}

TEST_F(PushTest, HeadingChoosesTheNearestAxis) {
  struct Case {
    std::int32_t heading;
    float speedX, speedZ;
  };
  for (const Case& c :
       {Case{0, 0, 84}, Case{8192, 84, 0}, Case{16384, 0, -84}, Case{24576, -84, 0}, Case{4000, 0, 84},
        Case{4200, 84, 0}, Case{-4200, -84, 0}, Case{4096, 0, 84}, Case{12000, 84, 0}, Case{13000, 0, -84}}) {
    world_.Map.SetCell(2, 1, 2, 60);
    world_.Tables.LastBlock = -1;
    ASSERT_TRUE(Push(world_, sounds_, 2, 1, 2, c.heading));
    const SlidingBlock& block = world_.Tables.Blocks[0];
    EXPECT_EQ(block.SpeedX, c.speedX) << c.heading;
    EXPECT_EQ(block.SpeedY, 0.0f) << c.heading;
    EXPECT_EQ(block.SpeedZ, c.speedZ) << c.heading;
    EXPECT_EQ(block.X, C(2));
    EXPECT_EQ(block.Y, C(1));
    EXPECT_EQ(block.Z, C(2));
    EXPECT_EQ(block.Code, 60);
  }
}

// One frame of a sliding block: its speeds before the frame and its position after.
struct BlockFrame {
  float speedX, speedY, x, y;
};

// Runs frames until the block stops (at most 60), recording each frame but the last.
std::vector<BlockFrame> SlideUntilStopped(World& world, engine::RenderView& view, WorldSounds& sounds) {
  std::vector<BlockFrame> frames;
  for (int n = 0; n < 60 && world.Tables.LastBlock >= 0; ++n) {
    const SlidingBlock before = world.Tables.Blocks[0];
    world.Now += static_cast<std::uint32_t>(world.FrameTime);
    UpdateWorld(world, view, sounds);
    if (world.Tables.LastBlock < 0) break;
    frames.push_back({before.SpeedX, before.SpeedY, world.Tables.Blocks[0].X, world.Tables.Blocks[0].Y});
  }
  return frames;
}

TEST_F(PushTest, PushedBlockSlowsByASeventhAndSettlesWhereItStops) {
  world_.Map.SetCell(1, 1, 2, 60);
  ASSERT_TRUE(Push(world_, sounds_, 1, 1, 2, 8192));
  const std::vector<BlockFrame> frames = SlideUntilStopped(world_, view_, sounds_);
  ASSERT_EQ(world_.Tables.LastBlock, -1);
  ASSERT_GE(frames.size(), 10u);
  float x = C(1);
  float speedX = 84;
  for (const BlockFrame& f : frames) {
    EXPECT_NEAR(f.speedX, speedX, 0.01f);
    EXPECT_NEAR(f.x, x + speedX, 0.01f) << "a whole speed per 90 ms";
    EXPECT_GE(f.x - x, 10.0f);
    EXPECT_GT(f.y, 512.0f) << "rests on the floor";
    EXPECT_LT(f.y, 768.5f);
    x = f.x;
    speedX -= speedX / 7;
  }
  EXPECT_LT(speedX, 10.0f) << "stopped by the first step under 10 units";
  EXPECT_EQ(Cell(1, 1, 2), 0);
  const int settled = CellOf(x + speedX);
  EXPECT_EQ(settled, 2);
  EXPECT_EQ(Cell(settled, 1, 2), 60);
}

TEST_F(PushTest, BlockPushedOffALedgeFallsAt28Per90MsAndLandsInTheCellBelow) {
  world_.Map.SetCell(1, 1, 2, 61);  // the ledge
  world_.Map.SetCell(1, 2, 2, 60);
  ASSERT_TRUE(Push(world_, sounds_, 1, 2, 2, 8192));
  const std::vector<BlockFrame> frames = SlideUntilStopped(world_, view_, sounds_);
  ASSERT_EQ(world_.Tables.LastBlock, -1);
  // Once off the ledge every frame falls 28 per 90 ms faster than the one before (the
  // first frames settle 2 units onto the ledge).
  std::vector<float> fall;
  for (std::size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].y < frames[i - 1].y - 4) fall.push_back(frames[i].speedY);
  }
  ASSERT_GE(fall.size(), 3u);
  EXPECT_EQ(fall[0], -28.0f);
  for (std::size_t i = 0; i + 1 < fall.size(); ++i) EXPECT_NEAR(fall[i + 1], fall[i] - 28, 0.01f) << i;
  EXPECT_EQ(Cell(1, 2, 2), 0);
  EXPECT_EQ(Cell(2, 2, 2), 0);
  EXPECT_EQ(Cell(2, 1, 2), 60);
}

// Sensors 70 open door 75 once every one of them carries a key block 71.
class SensorTest : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    ObjectType& sensor = Define(70);
    sensor.BlockSensor = true;
    sensor.BlockSensorDoor = 75;
    sensorSound_ = GiveSound(70);
    ObjectType& key = Define(71);
    key.BlockKey = true;
    key.BlockKeySensor = 70;
    key.CanPush = true;
    ObjectType& wrongKey = Define(72);
    wrongKey.BlockKey = true;
    wrongKey.BlockKeySensor = 73;
    ObjectType& door = Define(75);
    door.Door = true;
    door.AnimDoor = 75;  // no frames: open at the end of the update
    door.DoorOpen = 76;
    Define(76);
    world_.Map.SetCell(1, 1, 1, 70);
    world_.Map.SetCell(4, 1, 1, 70);
    world_.Map.SetCell(3, 2, 5, 75);
  }
  // A block of the code coming to rest in the cell: a slide that moves no more.
  void Land(std::uint8_t code, int x, int y, int z) {
    ObjectTables& tables = world_.Tables;
    tables.Blocks[static_cast<std::size_t>(++tables.LastBlock)] =
        SlidingBlock{static_cast<float>(C(x)), static_cast<float>(C(y)), static_cast<float>(C(z)), 0, 0, 0, code};
    Frame();
    ASSERT_EQ(tables.LastBlock, -1);
    ASSERT_EQ(Cell(x, y, z), code);
  }
  SoundHandle sensorSound_ = kNoSound;
};

TEST_F(SensorTest, DoorOpensOnlyWhenEverySensorCarriesItsKeyBlock) {
  Land(71, 1, 2, 1);
  EXPECT_EQ(sounds_.Log, (std::vector<Played>{{sensorSound_, C(1), C(2), C(1), 220}}));
  Land(72, 4, 2, 1);  // a key block of another sensor
  Land(71, 2, 2, 1);  // a key block beside a sensor
  EXPECT_EQ(sounds_.Log.size(), 1u);
  EXPECT_EQ(AnimationsInUse(), 0);
  EXPECT_EQ(Cell(3, 2, 5), 75);
  EXPECT_TRUE(world_.OpenedDoors.empty());

  world_.Map.SetCell(4, 2, 1, 0);
  Land(71, 4, 2, 1);
  EXPECT_EQ(sounds_.Log.size(), 2u);
  EXPECT_EQ(Cell(3, 2, 5), 76);
  EXPECT_EQ(world_.OpenedDoors, std::vector<std::int32_t>{75});
}

// Frames of a type's animation at half a frame per 90 ms over three frames: its display
// mesh and its collision box, blended (Morph) or switched.
TEST_F(BehaviourTest, TypeAnimationPositionAndBlending) {
  ObjectType& morph = DefineFrames(80, {0, 100, 200}, 0.5f);
  morph.Morph = true;
  morph.AnimateCollision = true;
  ObjectType& steps = DefineFrames(81, {0, 100, 200}, 0.5f);
  steps.AnimateCollision = true;
  for (ObjectType* type : {&morph, &steps}) {
    type->FrameBounds[0].Xmax = 0;
    type->FrameBounds[1].Xmax = 103;
    type->FrameBounds[2].Xmax = 203;
  }
  ObjectType& still = DefineFrames(82, {7, 8}, 0.5f);  // keeps its box
  const Box stillBox = still.Bounds;

  struct Step {
    float pos, prev;
    std::int32_t morphX, morphXmax, stepX, stepXmax;
  };
  const Step timeline[] = {
      {0.5f, 0.0f, 0, 0, 0, 0},         {1.0f, 0.5f, 0, 0, 100, 103},     {1.5f, 0.5f, 50, 51, 100, 103},
      {2.0f, 1.5f, 100, 103, 200, 203}, {2.5f, 1.5f, 150, 153, 200, 203}, {0.0f, 2.5f, 200, 203, 0, 0},
      {0.5f, 2.5f, 100, 102, 0, 0},  // 203 + trunc(-203 / 2): toward zero
  };
  for (const Step& s : timeline) {
    Frame();
    EXPECT_EQ(morph.AnimPos, s.pos);
    EXPECT_EQ(morph.AnimPrev, s.prev) << s.pos;
    EXPECT_EQ(morph.DisplayMesh.X, std::vector<std::int32_t>{s.morphX}) << s.pos;
    EXPECT_EQ(morph.Bounds.Xmax, s.morphXmax) << s.pos;
    EXPECT_EQ(steps.DisplayMesh.X, std::vector<std::int32_t>{s.stepX}) << s.pos;
    EXPECT_EQ(steps.Bounds.Xmax, s.stepXmax) << s.pos;
  }
  EXPECT_EQ(still.Bounds, stillBox);
}

TEST_F(BehaviourTest, LoopSoundFallsDueAfterItsDurationAndTexturesStepEvery66Ms) {
  ObjectType& loud = Define(90);
  loud.LoopSound = StandInSound();
  loud.LoopDuration = 200;
  loud.LoopTime = 1000;
  ObjectType& quiet = Define(91);  // no loop sound: never due
  quiet.LoopDuration = 0;
  quiet.LoopDue = true;
  view_.HighestTexture = 0;
  view_.Textures[0] = engine::TextureSlot{0, 9, 0};

  world_.FrameTime = 30;
  struct Step {
    std::uint32_t now;
    bool due;
    std::int32_t image;
  };
  for (const Step& s :
       {Step{1030, false, 0}, Step{1060, false, 0}, Step{1090, false, 1}, Step{1120, false, 1}, Step{1150, false, 1},
        Step{1180, false, 2}, Step{1200, false, 2}, Step{1230, true, 2}, Step{1260, false, 3}, Step{1431, true, 4}}) {
    world_.Now = s.now;
    UpdateWorld(world_, view_, sounds_);
    EXPECT_EQ(loud.LoopDue, s.due) << s.now;
    EXPECT_FALSE(quiet.LoopDue);
    EXPECT_EQ(view_.Textures[0].Current, s.image) << s.now;
  }
}

TEST_F(BehaviourTest, BlendPosesFromTheLastPoseOverAnimationTime) {
  world_.LastSlot = 1;
  for (PlayerSlot& slot : world_.Players) {
    for (std::int32_t n = 0; n < 11; ++n) slot.Poses[static_cast<std::size_t>(n)] = Marker(1000 * n);
  }
  PlayerSlot& hero = world_.Players[0];
  hero.AnimationTime = 200;
  struct Step {
    std::uint32_t now;
    std::int32_t animation, time, x;
  };
  for (const Step& s : {
           Step{1000, 0, 200, 0},                               // settled on pose 0
           Step{1050, 1, 200, 0},                               // the blend toward pose 1 starts
           Step{1100, 1, 200, 250},                             // a quarter of the way
           Step{1250, 1, 200, 1000},                            // there
           Step{1300, 5, 100, 1000}, Step{1350, 5, 100, 3000},  // halfway from pose 1 to pose 5
           Step{1360, 2, 100, 5000},                            // changed mid-blend: starts again from pose 5
           Step{1410, 2, 100, 3500}, Step{1420, 7, 0, 7000},    // no blend time: at once
           Step{1500, 11, 100, 7000},                           // no such pose: the mesh is left as it was
       }) {
    world_.Now = s.now;
    hero.Animation = s.animation;
    hero.AnimationTime = s.time;
    world_.Players[1].Animation = 3;
    BlendPoses(world_);
    EXPECT_EQ(hero.WorkingMesh.X, std::vector<std::int32_t>{s.x}) << s.now;
  }
  EXPECT_EQ(world_.Players[1].WorkingMesh.X, std::vector<std::int32_t>{3000});
  EXPECT_TRUE(world_.Players[2].WorkingMesh.Empty()) << "beyond LastSlot";
}

TEST_F(BehaviourTest, FramesAllocateNothingOnceTheWorkingMeshesExist) {
  DefineFrames(80, {0, 100, 200}, 0.3f).Morph = true;
  DefineFrames(81, {0, 100, 200}, 0.3f);
  DefineFrames(82, {0, 10, 20, 30}, 0.2f);
  StartCellAnimation(world_, sounds_, 2, 1, 2, 5, 82);
  ObjectType& block = Define(60);
  block.CanPush = true;
  world_.Map.SetCell(1, 1, 4, 60);
  ASSERT_TRUE(Push(world_, sounds_, 1, 1, 4, 8192));
  ObjectType& dug = Define(50);
  dug.Dig = true;
  dug.Recover = true;
  world_.Map.SetCell(4, 1, 1, 50);
  ASSERT_TRUE(Dig(world_, sounds_, 4, 1, 1, 100000));
  view_.Textures[0] = engine::TextureSlot{0, 3, 0};
  world_.LastSlot = 3;
  for (PlayerSlot& slot : world_.Players) {
    for (std::int32_t n = 0; n < 11; ++n) slot.Poses[static_cast<std::size_t>(n)] = Marker(n);
    slot.AnimationTime = 200;
  }
  Frame();
  BlendPoses(world_);

  const long before = test::AllocationCount();
  for (int n = 0; n < 6; ++n) {
    world_.Players[0].Animation = n % 4;
    Frame();
    BlendPoses(world_);
  }
  EXPECT_EQ(test::AllocationCount() - before, 0);
  EXPECT_EQ(world_.Tables.LastBlock, 0) << "still sliding";
  EXPECT_EQ(AnimationsInUse(), 1) << "still animating";
  EXPECT_EQ(world_.Tables.LastHole, 0);
}

}  // namespace
}  // namespace zandrel::world
