#include "world/movement.h"

#include <gtest/gtest.h>

#include <memory>

#include "world/world.h"

namespace zandrel::world {
namespace {

// Body sizes of the hero and of a sentry.
constexpr std::int32_t kHeroStep = 256, kHeroHeight = 480, kHeroWidth = 260;
constexpr std::int32_t kSentryStep = 0, kSentryHeight = 480, kSentryWidth = 130;
// The hero standing on the floor of row 0: feet one unit above its top.
constexpr float kStanding = 752;

Box FlatBox(std::int32_t top) { return {0, 511, 0, 0, 511, top, top, top, top}; }

Box SlopedBox(std::int32_t y1, std::int32_t y2, std::int32_t y3, std::int32_t y4) {
  return {0, 511, 0, 0, 511, y1, y2, y3, y4};
}

enum Code : std::uint8_t {
  kAir = 0,
  kCube = 1,
  kLadder = 2,
  kLowStep = 3,   // top 200
  kHighStep = 4,  // top 300
  kThinWall = 5,  // x 200..210 only
  kRamp = 6,      // rises along x from 0 to 511
  kThinSlab = 7,  // y 0..10 only
  kTinyStep = 8,  // top 20
  kSliver = 9,    // top 1
  kPlaneX = 10,   // no extent along x: a plane at local x 256
  kPlaneZ = 11,   // no extent along z: a plane at local z 256
};

ObjectType SolidType(const Box& box) {
  ObjectType type;
  type.Empty = false;
  type.Collision = true;
  type.Bounds = box;
  return type;
}

// An 8 x 4 x 8 level with a floor of cubes in row 0.
class MovementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ObjectTypes& types = world_->Types;
    types[kCube] = SolidType(FlatBox(511));
    types[kLadder] = SolidType(FlatBox(511));
    types[kLadder].Collision = false;
    types[kLadder].Ladder = true;
    types[kLowStep] = SolidType(FlatBox(200));
    types[kHighStep] = SolidType(FlatBox(300));
    types[kThinWall] = SolidType({200, 210, 0, 0, 511, 511, 511, 511, 511});
    types[kRamp] = SolidType(SlopedBox(0, 511, 511, 0));
    types[kThinSlab] = SolidType(FlatBox(10));
    types[kTinyStep] = SolidType(FlatBox(20));
    types[kSliver] = SolidType(FlatBox(1));
    types[kPlaneX] = SolidType({256, 256, 0, 0, 511, 511, 511, 511, 511});
    types[kPlaneZ] = SolidType({0, 511, 0, 256, 256, 511, 511, 511, 511});
    ASSERT_TRUE(map().SetLevelSize(8, 4, 8));
    Fill(kCube, 0, 0, 0, 7, 0, 7);
  }

  LevelMap& map() { return world_->Map; }

  void Fill(std::uint8_t code, int x0, int y0, int z0, int x1, int y1, int z1) {
    for (int x = x0; x <= x1; ++x) {
      for (int y = y0; y <= y1; ++y) {
        for (int z = z0; z <= z1; ++z) map().SetCell(x, y, z, code);
      }
    }
  }

  bool MoveHero(float& x, float& y, float& z, float dx, float dy, float dz) {
    return MoveBody(*world_, x, y, z, kHeroStep, kHeroHeight, kHeroWidth, dx, dy, dz);
  }

  std::unique_ptr<World> world_ = std::make_unique<World>();
};

TEST(TopHeight, InterpolatesTheFourCornersTruncatingTowardZero) {
  struct Case {
    const char* what;
    Box box;
    std::int32_t lz, lx, top;
  };
  const Case cases[] = {
      {"flat cube", FlatBox(511), 300, 17, 511},
      {"ramp along x, low edge", SlopedBox(0, 511, 511, 0), 100, 0, 0},
      {"ramp along x, middle", SlopedBox(0, 511, 511, 0), 100, 256, 256},
      {"ramp along x, high edge", SlopedBox(0, 511, 511, 0), 100, 511, 511},
      {"ramp along z, middle", SlopedBox(0, 0, 400, 400), 256, 300, 200},  // 200.39
      {"ramp along z, far edge", SlopedBox(0, 0, 400, 400), 511, 0, 400},
      {"descending ramp", SlopedBox(100, 0, 0, 100), 0, 1, 99},  // 99.8
      // -1/3 truncates to 0 where rounding down would give -1.
      {"before the box", {0, 3, 0, 0, 511, 0, 1, 1, 0}, 0, -1, 0},
      // The edge heights are truncated before x interpolates them: e = trunc(2/3) = 0.
      {"edges truncated first", {0, 1, 0, 0, 3, 0, 0, 1, 0}, 2, 2, 0},
      {"flat along x: its Xmin edge", {100, 100, 0, 0, 511, 0, 500, 500, 300}, 511, 400, 300},
      {"flat along z: its Zmin edge", {0, 200, 0, 50, 50, 100, 300, 900, 900}, 7, 100, 200},
      {"flat along both", {5, 5, 0, 9, 9, 42, 300, 300, 300}, 0, 0, 42},
  };
  for (const Case& c : cases) {
    ObjectType type;
    type.Bounds = c.box;
    EXPECT_EQ(TopHeight(type, c.lz, c.lx), c.top) << c.what;
  }
}

TEST_F(MovementTest, PointTestsLookAtTheBoxOfTheCell) {
  Fill(kCube, 1, 1, 1, 1, 1, 1);
  map().SetCell(2, 1, 1, kLowStep);
  world_->Types[kLowStep].Bounds = {100, 400, 0, 100, 400, 200, 200, 200, 200};
  map().SetCell(3, 1, 1, kLadder);
  struct Case {
    const char* what;
    Point p;
    std::int32_t step;
    bool solid, lowered, shape;
  };
  const Case cases[] = {
      {"cube, low corner", {512, 512, 512}, 100, true, true, true},
      {"cube, high corner", {1023.9f, 1023.9f, 1023.9f}, 100, true, false, true},
      {"before the box along x", {1024 + 99, 600, 512 + 200}, 0, false, false, false},
      {"on the box's top", {1024 + 100, 512 + 200, 512 + 400}, 0, true, true, true},
      {"above the box's top", {1024 + 100, 512 + 201, 512 + 200}, 0, false, false, false},
      {"top lowered by the step", {1024 + 200, 512 + 100, 512 + 200}, 100, true, true, true},
      {"above the lowered top", {1024 + 200, 512 + 101, 512 + 200}, 100, true, false, true},
      {"beyond the box along z", {1024 + 200, 600, 512 + 401}, 0, false, false, false},
      {"a ladder is a shape without collision", {1536 + 10, 600, 600}, 0, false, false, true},
      {"air", {2048 + 10, 600, 600}, 0, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SolidAt(*world_, c.p), c.solid) << c.what;
    EXPECT_EQ(SolidAtLowered(*world_, c.p, c.step), c.lowered) << c.what;
    EXPECT_EQ(InsideShape(*world_, c.p), c.shape) << c.what;
  }
}

TEST_F(MovementTest, PointsOutsideTheLevelFindCodeZeroOnlyJustBeyondTheLastCell) {
  world_->Types[kAir] = SolidType(FlatBox(511));  // makes code 0 visible to the tests
  struct Case {
    const char* what;
    Point p;
    bool inside;
  };
  const Case cases[] = {
      {"index equal to the size on x", {8 * 512 + 10, 600, 600}, true},
      {"index equal to the size on y", {600, 4 * 512 + 10, 600}, true},
      {"index equal to the size on z", {600, 600, 8 * 512 + 10}, true},
      {"index beyond the size", {9 * 512 + 10, 600, 600}, false},
      {"negative index", {-600, 600, 600}, false},
      {"-300 is cell 0 at local -300, before the box", {-300, 600, 600}, false},
      {"far away", {1e30f, 600, 600}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SolidAt(*world_, c.p), c.inside) << c.what;
    EXPECT_EQ(InsideShape(*world_, c.p), c.inside) << c.what;
  }
}

TEST_F(MovementTest, FallingBodyLandsOneUnitAboveTheTopAndStaysThere) {
  float x = 1280, y = 1500, z = 1280;
  EXPECT_FALSE(MoveHero(x, y, z, 0, -100, 0));
  EXPECT_EQ(y, 1400);
  EXPECT_FALSE(MoveHero(x, y, z, 0, -500, 0));
  EXPECT_EQ(y, 900);
  EXPECT_TRUE(MoveHero(x, y, z, 0, -500, 0));
  EXPECT_EQ(y, kStanding);  // 511 + 240 + 1
  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_TRUE(MoveHero(x, y, z, 0, -2.6f, 0));
    EXPECT_EQ(y, kStanding);
  }
  EXPECT_EQ(x, 1280);
  EXPECT_EQ(z, 1280);
}

TEST_F(MovementTest, FastFallDoesNotPassThroughAThinSlab) {
  Fill(kThinSlab, 0, 2, 0, 7, 2, 7);
  // The feet are 236 above the slab's 10-unit top; a fall of 500 would carry them past it.
  float x = 1280, y = 1500, z = 1280;
  EXPECT_TRUE(MoveHero(x, y, z, 0, -500, 0));
  EXPECT_EQ(y, 1024 + 10 + 241);
}

TEST_F(MovementTest, HeadBumpsIntoTheCeiling) {
  Fill(kCube, 0, 2, 0, 7, 2, 7);
  float x = 1280, y = kStanding, z = 1280;
  EXPECT_TRUE(MoveHero(x, y, z, 0, 100, 0));
  EXPECT_EQ(y, 1024 - 240 - 1);  // the head one unit below the ceiling's bottom
}

TEST_F(MovementTest, WalkingIntoAWallStopsAtItsFace) {
  // A pillar of cubes in the middle of the level; the hero walks at it from each side.
  Fill(kCube, 4, 1, 4, 4, 2, 4);
  struct Case {
    const char* what;
    float x, z, dx, dz;
  };
  const Case cases[] = {
      {"+x", 1792, 2304, 10, 0},
      {"-x", 2816, 2304, -10, 0},
      {"+z", 2304, 1792, 0, 10},
      {"-z", 2304, 2816, 0, -10},
  };
  for (const Case& c : cases) {
    float x = c.x, y = kStanding, z = c.z;
    for (int frame = 0; frame < 40; ++frame) MoveHero(x, y, z, c.dx, -2, c.dz);
    // The leading face ends within one step of the wall and never in it.
    const float face = c.dx > 0 ? x + 130 : c.dx < 0 ? x - 130 : c.dz > 0 ? z + 130 : z - 130;
    const float wall = c.dx > 0 || c.dz > 0 ? 2048 : 2560;
    EXPECT_LE(std::abs(face - wall), 11) << c.what;
    EXPECT_FALSE(SolidAt(*world_, {c.dx != 0 ? face : x, y, c.dz != 0 ? face : z})) << c.what;
    const float before = c.dx != 0 ? x : z;
    MoveHero(x, y, z, c.dx, -2, c.dz);
    EXPECT_EQ(c.dx != 0 ? x : z, before) << c.what << ": a blocked axis does not move";
    EXPECT_EQ(y, kStanding) << c.what;
  }
}

TEST_F(MovementTest, LowBoxesAreSteppedOntoHighOnesBlock) {
  struct Case {
    const char* what;
    std::uint8_t code;
    std::int32_t step, height, width;
    bool climbs;
    float top;  // world height of the box's top
  };
  const Case cases[] = {
      {"hero, 200 above the feet", kLowStep, kHeroStep, kHeroHeight, kHeroWidth, true, 712},
      {"hero, 300 above the feet", kHighStep, kHeroStep, kHeroHeight, kHeroWidth, false, 812},
      {"hero, a full cube", kCube, kHeroStep, kHeroHeight, kHeroWidth, false, 1023},
      {"sentry, 20 above the feet", kTinyStep, kSentryStep, kSentryHeight, kSentryWidth, false, 532},
      {"sentry, 1 above the feet", kSliver, kSentryStep, kSentryHeight, kSentryWidth, false, 513},
      {"sentry, 300 above the feet", kHighStep, kSentryStep, kSentryHeight, kSentryWidth, false, 812},
  };
  for (const Case& c : cases) {
    Fill(c.code, 4, 1, 0, 7, 1, 7);
    const float half = static_cast<float>(c.width / 2);
    float x = 1792, y = kStanding, z = 2304;
    for (int frame = 0; frame < 20; ++frame) {
      MoveBody(*world_, x, y, z, c.step, c.height, c.width, 30, -2.6f, 0);
    }
    if (c.climbs) {
      EXPECT_GT(x - half, 2048) << c.what << ": the whole body is on the box";
      EXPECT_NEAR(y - c.height / 2, c.top, 1) << c.what << ": feet on its top";
    } else {
      EXPECT_LT(x + half, 2048) << c.what;
      EXPECT_EQ(y, kStanding) << c.what;
    }
    Fill(kAir, 4, 1, 0, 7, 1, 7);
  }
}

TEST_F(MovementTest, BoxWithoutExtentStillStopsABody) {
  // A box whose Xmin equals its Xmax (or Zmin its Zmax) is a plane: its height is that of
  // its low edge, and a body walking at it stops against it.
  struct Case {
    const char* what;
    std::uint8_t code;
    float dx, dz;
  };
  for (const Case& c : {Case{"plane across x", kPlaneX, 10, 0}, Case{"plane across z", kPlaneZ, 0, 10}}) {
    // The plane at world 1536 + 256 along the walk, across the whole level.
    if (c.dx != 0) {
      Fill(c.code, 3, 1, 0, 3, 2, 7);
    } else {
      Fill(c.code, 0, 1, 3, 7, 2, 3);
    }
    for (std::int32_t height : {kHeroHeight, kSentryHeight}) {
      float x = c.dx != 0 ? 1280 : 2304, y = kStanding, z = c.dz != 0 ? 1280 : 2304;
      for (int frame = 0; frame < 60; ++frame) {
        MoveBody(*world_, x, y, z, height == kHeroHeight ? kHeroStep : kSentryStep, height, kHeroWidth, c.dx, -2, c.dz);
      }
      const float face = (c.dx != 0 ? x : z) + 130;
      EXPECT_LE(face, 1792) << c.what;
      EXPECT_GE(face, 1792 - 10) << c.what;
      EXPECT_EQ(y, kStanding) << c.what;
    }
    EXPECT_EQ(TopHeight(world_->Types[c.code], 100, 100), 511) << c.what;
    Fill(kAir, 0, 1, 0, 7, 2, 7);
  }
}

TEST_F(MovementTest, BlockedAxisLetsTheOtherSlideAlongTheWall) {
  Fill(kCube, 4, 1, 0, 4, 2, 7);  // a wall across the level at x = 2048
  float x = 2048 - 130 - 10, y = kStanding, z = 1280;
  MoveHero(x, y, z, 30, -2, 30);
  EXPECT_EQ(x, 2048 - 130 - 10);
  EXPECT_EQ(z, 1310);
  x = 2048 + 512 + 130 + 10;
  MoveHero(x, y, z, -30, -2, -30);
  EXPECT_EQ(x, 2048 + 512 + 130 + 10);
  EXPECT_EQ(z, 1280);
}

TEST_F(MovementTest, LargeDisplacementDoesNotTunnelThroughAThinWall) {
  Fill(kThinWall, 3, 1, 0, 3, 2, 7);  // solid at world x 1736..1746
  struct Case {
    const char* what;
    float x, dx;
  };
  const Case cases[] = {
      {"from the cell before, +x", 1024 + 400, 300},
      {"from the same cell, +x", 1536 + 50, 500},
      {"from the cell after, -x", 2048 + 100, -400},
      {"from the same cell, -x", 1536 + 500, -400},
  };
  for (const Case& c : cases) {
    float x = c.x, y = kStanding, z = 1280;
    MoveHero(x, y, z, c.dx, -2, 0);
    if (c.dx > 0) {
      EXPECT_LT(x + 130, 1736) << c.what;
    } else {
      EXPECT_GT(x - 130, 1746) << c.what;
    }
  }
  // Without the wall the same moves go the whole way.
  Fill(kAir, 3, 1, 0, 3, 2, 7);
  for (const Case& c : cases) {
    float x = c.x, y = kStanding, z = 1280;
    MoveHero(x, y, z, c.dx, -2, 0);
    EXPECT_EQ(x, c.x + c.dx) << c.what;
  }
}

TEST_F(MovementTest, DisplacementsAndPositionsStayWithinTheLevel) {
  Fill(kAir, 0, 0, 0, 7, 0, 7);
  struct Case {
    const char* what;
    float x, y, z, dx, dy, dz;
    float toX, toY, toZ;
    bool hit;
  };
  const Case cases[] = {
      {"a move of 1000 goes 510", 1000, 1000, 1000, 1000, 0, 0, 1510, 1000, 1000, false},
      {"and -1000 likewise", 3000, 1000, 1000, 0, -1000, -1000, 3000, 490, 490, false},
      {"x stops at 0", 100, 1000, 1000, -300, 0, 0, 0, 1000, 1000, false},
      {"x stops at the far side", 4000, 1000, 1000, 300, 0, 0, 4096, 1000, 1000, false},
      {"z stops at 0", 1000, 1000, 100, 0, 0, -300, 1000, 1000, 0, false},
      {"z stops at the far side", 1000, 1000, 4000, 0, 0, 300, 1000, 1000, 4096, false},
      {"y never below 256", 1000, 400, 1000, 0, -300, 0, 1000, 256, 1000, true},
      {"y never above the top", 1000, 1900, 1000, 0, 300, 0, 1000, 2048, 1000, true},
  };
  for (const Case& c : cases) {
    float x = c.x, y = c.y, z = c.z;
    EXPECT_EQ(MoveHero(x, y, z, c.dx, c.dy, c.dz), c.hit) << c.what;
    EXPECT_EQ(x, c.toX) << c.what;
    EXPECT_EQ(y, c.toY) << c.what;
    EXPECT_EQ(z, c.toZ) << c.what;
  }
}

TEST_F(MovementTest, RampsAreFollowedUpAndDown) {
  // Ground, then a ramp rising along x from the floor to the top of a block beyond it.
  Fill(kRamp, 3, 1, 0, 3, 1, 7);
  Fill(kCube, 4, 1, 0, 7, 1, 7);
  const auto feetAbove = [](float x) {
    // The ramp's surface under the body's far edge probe, which carries it.
    const float edge = x + 129;
    if (edge < 1536) return 512.0f;
    if (edge >= 2048) return 1024.0f;
    return 512.0f + (edge - 1536);
  };
  float x = 1280, y = kStanding, z = 1280;
  for (int frame = 0; frame < 80 && x < 2400; ++frame) {
    MoveHero(x, y, z, 20, -8, 0);
    const float feet = y - 240;
    EXPECT_GE(feet, feetAbove(x) - 30) << "going up at x " << x;
    EXPECT_LE(feet, feetAbove(x) + 30) << "going up at x " << x;
  }
  EXPECT_GE(x, 2400);
  EXPECT_NEAR(y, 512 + 511 + 241, 1);
  for (int frame = 0; frame < 80 && x > 1280; ++frame) {
    MoveHero(x, y, z, -20, -30, 0);
    const float feet = y - 240;
    EXPECT_GE(feet, feetAbove(x) - 30) << "going down at x " << x;
    EXPECT_LE(feet, feetAbove(x) + 30) << "going down at x " << x;
  }
  EXPECT_LE(x, 1280);
  EXPECT_EQ(y, kStanding);
}

}  // namespace
}  // namespace zandrel::world
