#include "world/level_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/win/clock.h"
#include "platform/win/files.h"
#include "tests/support/recording_backend.h"
#include "tests/support/sample_level.h"
#include "tests/support/temp_dir.h"
#include "world/world.h"

namespace zandrel::world {
namespace {

std::int32_t IntAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}
float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  float v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}
void PutInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t v) { std::memcpy(bytes.data() + at, &v, 4); }

TEST(LevelFile, TheSmallestLevelIs4915Bytes) {
  LevelMap map;
  ASSERT_TRUE(map.SetLevelSize(1, 1, 1));
  map.SetCell(0, 0, 0, 7);
  map.SetLight(0, 0, 0, 128);
  const std::vector<std::uint8_t> bytes = SerializeLevel(map);
  ASSERT_EQ(bytes.size(), 4915u);
  EXPECT_EQ(bytes[296], 7);
  EXPECT_EQ(bytes[297], 128);
  EXPECT_EQ(IntAt(bytes, 4907), 0);  // sentry count at 4905 + 2
  base::Expected<LevelMap> back = ParseLevel(bytes, "x");
  ASSERT_TRUE(back.ok());
  test::ExpectSameLevel(map, *back);
}

TEST(LevelFile, FieldsSitAtTheirOffsets) {
  LevelMap map = test::SampleLevel();
  map.SentryCount = 3;
  map.Sentries[2] = Sentry{};
  map.Sentries[2].X = 99.5f;
  const std::vector<std::uint8_t> bytes = SerializeLevel(map);
  const std::size_t n = 5 * 3 * 4;
  ASSERT_EQ(bytes.size(), 4913 + 2 * n + 3 * 16);
  EXPECT_EQ(bytes[0], 12);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 13), "STANDARD.BNK");
  EXPECT_EQ(IntAt(bytes, 256), 5);
  EXPECT_EQ(IntAt(bytes, 264), 4);
  EXPECT_EQ(IntAt(bytes, 280), -8192);
  EXPECT_EQ(IntAt(bytes, 292), 3);
  EXPECT_EQ(IntAt(bytes, 296 + 2 * n + 7 * 16 + 12), 5);  // music cell 7's number
  EXPECT_EQ(IntAt(bytes, 296 + 2 * n + 1 * 16), kEmptyMusicCell);
  EXPECT_EQ(bytes[4392 + 2 * n], map.LevelName.size());
  EXPECT_EQ(bytes[4904 + 2 * n], 1);
  EXPECT_EQ(IntAt(bytes, 4909 + 2 * n), 4242);
  EXPECT_EQ(FloatAt(bytes, 4913 + 2 * n), 1280.0f);
  EXPECT_EQ(FloatAt(bytes, 4929 + 2 * n + 12), 8192.0f);
  EXPECT_EQ(FloatAt(bytes, 4945 + 2 * n), 99.5f);
}

TEST(LevelFile, WriteThenReadGivesTheSameLevel) {
  test::TempDir dir;
  const LevelMap map = test::SampleLevel();
  ASSERT_TRUE(WriteLevel(map, "LEVEL\\001.lev", dir.path()));
  base::Expected<LevelMap> back = LoadLevelFile("level/001.LEV", dir.path());
  ASSERT_TRUE(back.ok()) << back.error();
  test::ExpectSameLevel(map, *back);
  ASSERT_TRUE(WriteLevel(*back, "LEVEL\\002.lev", dir.path()));
  EXPECT_EQ(win::ReadWholeFile(dir / "LEVEL/001.lev", 1 << 20), win::ReadWholeFile(dir / "LEVEL/002.lev", 1 << 20));
}

TEST(LevelFile, SavingASmallLevelOverALargeFileLeavesOnlyTheSmallLevel) {
  test::TempDir dir;
  LevelMap big = test::SampleLevel();
  ASSERT_TRUE(big.SetLevelSize(30, 30, 30));
  ASSERT_TRUE(WriteLevel(big, "x.lev", dir.path()));
  const LevelMap small = test::SampleLevel();
  ASSERT_TRUE(WriteLevel(small, "x.lev", dir.path()));
  EXPECT_EQ(std::filesystem::file_size(dir / "x.lev"), SerializeLevel(small).size());
  base::Expected<LevelMap> back = LoadLevelFile("x.lev", dir.path());
  ASSERT_TRUE(back.ok());
  test::ExpectSameLevel(small, *back);
}

TEST(LevelFile, BytesAfterTheLastPlacementAreIgnored) {
  std::vector<std::uint8_t> bytes = SerializeLevel(test::SampleLevel());
  bytes.resize(bytes.size() + 1000, 0xAB);
  base::Expected<LevelMap> back = ParseLevel(bytes, "x");
  ASSERT_TRUE(back.ok());
  test::ExpectSameLevel(test::SampleLevel(), *back);
}

TEST(LevelFile, DamagedFilesAreRejectedWithTheMissingFileMessage) {
  const std::vector<std::uint8_t> good = SerializeLevel(test::SampleLevel());
  const std::size_t n = 5 * 3 * 4;
  const std::size_t countAt = 4905 + 2 * n;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  auto with = [&](std::size_t at, std::int32_t v) {
    std::vector<std::uint8_t> b = good;
    PutInt(b, at, v);
    return b;
  };
  auto cut = [&](std::size_t size) {
    return std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<long>(size));
  };
  for (const Case& c : {Case{"empty", {}}, Case{"header cut", cut(295)}, Case{"zero x", with(256, 0)},
                        Case{"negative y", with(260, -3)}, Case{"huge sizes", with(264, 1 << 30)},
                        Case{"all sizes huge",
                             [&] {
                               std::vector<std::uint8_t> b = with(256, INT32_MAX);
                               PutInt(b, 260, INT32_MAX);
                               PutInt(b, 264, INT32_MAX);
                               return b;
                             }()},
                        Case{"grids cut", cut(296 + n)}, Case{"tables cut", cut(4913 + 2 * n - 1)},
                        Case{"negative sentry count", with(countAt, -1)}, Case{"256 sentries", with(countAt, 256)},
                        Case{"last placement cut", cut(good.size() - 1)}}) {
    base::Expected<LevelMap> result = ParseLevel(c.bytes, "LEVEL\\bad.lev");
    ASSERT_FALSE(result.ok()) << c.what;
    EXPECT_EQ(result.error(), "The file LEVEL\\bad.lev is missing or invalid.") << c.what;
  }
}

TEST(LevelFile, LoadingReadsNoMoreThanTheLevelCanUse) {
  test::TempDir dir;
  std::vector<std::uint8_t> bytes = SerializeLevel(test::SampleLevel());
  bytes.resize(bytes.size() + (8u << 20), 0);  // a long tail is never read
  std::ofstream(dir / "tail.lev", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  base::Expected<LevelMap> back = LoadLevelFile("tail.lev", dir.path());
  ASSERT_TRUE(back.ok());
  test::ExpectSameLevel(test::SampleLevel(), *back);
}

class ReadLevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.Types[20].Lingot = true;
    // The level's bank counts as loaded already, so no bank files are needed here.
    world_.Bank.LoadedName = "standard.bnk";
    world_.Bank.LoadedQuality = "HIGH";
    ASSERT_TRUE(WriteLevel(test::SampleLevel(), "LEVEL\\001.lev", dir_.path()));
  }

  base::Expected<bool> Read(const char* name) {
    BankServices services{devices_, clock_, dir_.path()};
    return ReadLevel(world_, services, name, TextureQuality::High);
  }

  test::TempDir dir_;
  World world_;
  NoDevices devices_;
  win::ManualClock clock_;
};

TEST_F(ReadLevelTest, StartsTheLevelAndDoesSoAgainIdentically) {
  world_.Players[2].Dead = true;
  world_.Players[1].VerticalSpeed = -30;
  world_.TimeLimitOn = true;
  world_.CurrentMusicCell = 4;
  ASSERT_TRUE(Read("LEVEL\\001.lev").value());
  test::ExpectSameLevel(test::SampleLevel(), world_.Map);
  EXPECT_EQ(world_.Types[20].IngotCount, 2);
  for (const PlayerSlot& slot : world_.Players) {
    EXPECT_EQ(slot.X, 1 * 512 + 256);
    EXPECT_EQ(slot.Y, 1 * 512 + 480);
    EXPECT_EQ(slot.Z, 2 * 512 + 256);
    EXPECT_EQ(slot.CamY, slot.Y);
    EXPECT_EQ(slot.Heading, -8192);
    EXPECT_FALSE(slot.Dead);
    EXPECT_EQ(slot.VerticalSpeed, 0);
    EXPECT_EQ(std::tie(slot.Width, slot.Height, slot.StepHeight), std::tuple(260, 480, 256));
    EXPECT_EQ(slot.LightRadius, 5000.0f);
    EXPECT_EQ(std::tie(slot.WalkSpeed, slot.TurnSpeed), std::tuple(50, 900));
  }
  EXPECT_FALSE(world_.TimeLimitOn);
  EXPECT_EQ(world_.CurrentMusicCell, -1);
  const int first = world_.Random.Next(1000000);

  world_.Map.SetCell(4, 1, 3, 0);  // an ingot taken
  ASSERT_TRUE(Read("LEVEL\\001.lev").value());
  EXPECT_EQ(world_.Types[20].IngotCount, 2);
  EXPECT_EQ(world_.Random.Next(1000000), first);
}

TEST_F(ReadLevelTest, AMissingOrDamagedFileChangesNothing) {
  ASSERT_TRUE(Read("LEVEL\\001.lev").value());
  world_.Players[0].X = 5;
  dir_.Write("LEVEL/002.lev", "too short");
  for (const char* name : {"LEVEL\\404.lev", "LEVEL\\002.lev"}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Read(name).value());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(std::string("The file ") + name + " is missing or invalid."), std::string::npos) << err;
    test::ExpectSameLevel(test::SampleLevel(), world_.Map);
    EXPECT_EQ(world_.Players[0].X, 5);
  }
}

}  // namespace
}  // namespace zandrel::world
