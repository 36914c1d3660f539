#include "tests/support/sample_level.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zandrel::test {

world::LevelMap SampleLevel() {
  world::LevelMap map;
  EXPECT_TRUE(map.SetLevelSize(5, 3, 4));
  std::fill(map.LightGrid().begin(), map.LightGrid().end(), world::kNeutralLight);
  for (int x = 0; x < 5; ++x) {
    for (int z = 0; z < 4; ++z) map.SetCell(x, 0, z, 1);
  }
  map.SetCell(0, 1, 0, 2);
  map.SetCell(4, 1, 3, 20);
  map.SetCell(2, 2, 1, 20);
  map.SetCell(3, 1, 2, 255);
  map.SetLight(1, 1, 1, 200);
  map.SetLight(4, 2, 3, 0);
  map.BankName = "STANDARD.BNK";
  map.StartX = 1;
  map.StartY = 1;
  map.StartZ = 2;
  map.StartHeading = -8192;
  map.ExitX = 4;
  map.ExitY = 1;
  map.ExitZ = 3;
  map.MusicCells[0] = {2, 1, 2, 3};
  map.MusicCells[7] = {3, 1, 1, 5};
  map.LevelName = "Ch\xE2teau  d'or";  // Windows-1252: a circumflex
  map.Author = "\xC9quipe Zandrel";
  map.Outside = 1;
  map.RandomSeed = 4242;
  map.SentryCount = 2;
  map.Sentries[0].X = 1280.0f;
  map.Sentries[0].Y = 768.0f;
  map.Sentries[0].Z = 1792.0f;
  map.Sentries[0].Heading = -12345.5f;
  map.Sentries[1].X = 0.1f;
  map.Sentries[1].Y = 1e-7f;
  map.Sentries[1].Z = -3.25f;
  map.Sentries[1].Heading = 8192.0f;
  return map;
}

void ExpectSameLevel(const world::LevelMap& a, const world::LevelMap& b) {
  EXPECT_EQ(a.BankName, b.BankName);
  EXPECT_EQ(a.SizeX(), b.SizeX());
  EXPECT_EQ(a.SizeY(), b.SizeY());
  EXPECT_EQ(a.SizeZ(), b.SizeZ());
  EXPECT_EQ(std::tie(a.StartX, a.StartY, a.StartZ, a.StartHeading),
            std::tie(b.StartX, b.StartY, b.StartZ, b.StartHeading));
  EXPECT_EQ(std::tie(a.ExitX, a.ExitY, a.ExitZ), std::tie(b.ExitX, b.ExitY, b.ExitZ));
  EXPECT_TRUE(std::ranges::equal(a.ObjectGrid(), b.ObjectGrid()));
  EXPECT_TRUE(std::ranges::equal(a.LightGrid(), b.LightGrid()));
  EXPECT_EQ(a.MusicCells, b.MusicCells);
  EXPECT_EQ(a.LevelName, b.LevelName);
  EXPECT_EQ(a.Author, b.Author);
  EXPECT_EQ(a.Outside, b.Outside);
  EXPECT_EQ(a.SentryCount, b.SentryCount);
  EXPECT_EQ(a.RandomSeed, b.RandomSeed);
  for (std::int32_t i = 0; i < std::min(a.SentryCount, b.SentryCount); ++i) {
    const world::Sentry& s = a.Sentries[static_cast<std::size_t>(i)];
    const world::Sentry& t = b.Sentries[static_cast<std::size_t>(i)];
    EXPECT_EQ(std::tie(s.X, s.Y, s.Z, s.Heading), std::tie(t.X, t.Y, t.Z, t.Heading)) << "sentry " << i;
  }
}

}  // namespace zandrel::test
