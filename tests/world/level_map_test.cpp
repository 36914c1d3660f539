#include "world/level_map.h"

#include <gtest/gtest.h>

#include "world/world.h"

namespace zandrel::world {
namespace {

class LevelMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world_.Map.SetLevelSize(4, 3, 2));
    world_.Types[20].Lingot = true;
    world_.Types[21].Lingot = true;
  }
  World world_;
  LevelMap& map_ = world_.Map;
};

TEST_F(LevelMapTest, CellsOutsideTheLevelReadZeroAndIgnoreWrites) {
  for (int x = 0; x < 4; ++x) {
    for (int y = 0; y < 3; ++y) {
      for (int z = 0; z < 2; ++z) {
        map_.SetCell(x, y, z, 20);
        map_.SetLight(x, y, z, 7);
      }
    }
  }
  ASSERT_EQ(world_.Types[20].IngotCount, 24);
  struct Case {
    int x, y, z;
  };
  for (const Case& c : {Case{-1, 0, 0}, Case{4, 0, 0}, Case{0, -1, 0}, Case{0, 3, 0}, Case{0, 0, -1}, Case{0, 0, 2},
                        Case{INT32_MIN, 0, 0}, Case{INT32_MAX, INT32_MAX, INT32_MAX}}) {
    EXPECT_EQ(map_.GetCell(c.x, c.y, c.z), 0) << c.x << "," << c.y << "," << c.z;
    EXPECT_EQ(map_.GetLight(c.x, c.y, c.z), 0);
    map_.SetCell(c.x, c.y, c.z, 21);
    map_.SetLight(c.x, c.y, c.z, 9);
  }
  EXPECT_EQ(world_.Types[20].IngotCount, 24);
  EXPECT_EQ(world_.Types[21].IngotCount, 0);
  for (std::uint8_t b : map_.ObjectGrid()) EXPECT_EQ(b, 20);
  for (std::uint8_t b : map_.LightGrid()) EXPECT_EQ(b, 7);
}

TEST_F(LevelMapTest, GridsAreStoredXFastestThenYThenZ) {
  map_.SetCell(3, 2, 1, 9);
  map_.SetLight(1, 2, 0, 200);
  EXPECT_EQ(map_.ObjectGrid()[3 + 4 * 2 + 4 * 3 * 1], 9);
  EXPECT_EQ(map_.LightGrid()[1 + 4 * 2], 200);
  EXPECT_EQ(map_.GetCell(3, 2, 1), 9);
  EXPECT_EQ(map_.GetLight(1, 2, 0), 200);
}

TEST_F(LevelMapTest, SetCellKeepsIngotCountsExact) {
  struct Step {
    int x;
    std::uint8_t code;
    std::int32_t count20, count21;
  };
  for (const Step& s : {Step{0, 20, 1, 0}, Step{1, 20, 2, 0}, Step{1, 20, 2, 0},  // same code again
                        Step{0, 0, 1, 0}, Step{0, 0, 1, 0},                       // empty stays empty
                        Step{1, 21, 0, 1}, Step{2, 5, 0, 1}, Step{1, 20, 1, 0}}) {
    map_.SetCell(s.x, 0, 0, s.code);
    EXPECT_EQ(world_.Types[20].IngotCount, s.count20) << "cell " << s.x << " <- " << int{s.code};
    EXPECT_EQ(world_.Types[21].IngotCount, s.count21);
  }
  world_.Types[20].IngotCount = -50;
  map_.CountIngots();
  EXPECT_EQ(world_.Types[20].IngotCount, 1);
}

TEST(LevelMap, SetLevelSizeRejectsImpossibleSizesAndLeavesAnEmptyMap) {
  LevelMap map;
  struct Case {
    std::int32_t x, y, z;
    bool ok;
  };
  for (const Case& c :
       {Case{1, 1, 1, true}, Case{0, 5, 5, false}, Case{5, -1, 5, false}, Case{INT32_MAX, INT32_MAX, INT32_MAX, false},
        Case{65536, 65536, 1, false}, Case{20, 20, 20, true}}) {
    EXPECT_EQ(map.SetLevelSize(c.x, c.y, c.z), c.ok) << c.x << "x" << c.y << "x" << c.z;
    const std::size_t expected = c.ok ? static_cast<std::size_t>(c.x) * c.y * c.z : 0;
    EXPECT_EQ(map.CellCount(), expected);
    EXPECT_EQ(map.ObjectGrid().size(), expected);
    EXPECT_EQ(map.LightGrid().size(), expected);
    EXPECT_EQ(map.SizeX(), c.ok ? c.x : 0);
    EXPECT_EQ(map.GetCell(0, 0, 0), 0);
  }
}

TEST(LevelMap, WorldCoordinatesTruncateTowardZero) {
  struct Case {
    float coordinate;
    std::int32_t cell;
  };
  for (const Case& c : {Case{0, 0}, Case{511.9f, 0}, Case{512, 1}, Case{-300, 0}, Case{-511, 0}, Case{-512, -1},
                        Case{1e30f, INT32_MAX}, Case{-1e30f, INT32_MIN}}) {
    EXPECT_EQ(CellOf(c.coordinate), c.cell) << c.coordinate;
  }
  EXPECT_EQ(CellCentre(0), 256);
  EXPECT_EQ(CellCentre(3), 1792);
  EXPECT_EQ(CellCentre(-1), -256);
}

TEST(LevelMap, EmptyMusicCellsAreUnused) {
  EXPECT_FALSE(MusicCell{}.Used());
  EXPECT_FALSE((MusicCell{kEmptyMusicCell, 1, 2, 3}.Used()));
  EXPECT_TRUE((MusicCell{0, 0, 0, 0}.Used()));
}

}  // namespace
}  // namespace zandrel::world
