#include "world/level_text.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include "tests/support/sample_level.h"

namespace zandrel::world {
namespace {

// The most memory this process has held, in bytes.
std::int64_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return std::int64_t{usage.ru_maxrss} * 1024;
}

TEST(LevelText, DumpThenParseGivesTheSameLevel) {
  const LevelMap map = test::SampleLevel();
  const std::string text = DumpLevelText(map);
  base::Expected<LevelMap> back = ParseLevelText(text);
  ASSERT_TRUE(back.ok()) << back.error() << "\n" << text;
  test::ExpectSameLevel(map, *back);
  EXPECT_EQ(DumpLevelText(*back), text);
}

TEST(LevelText, OddValuesSurviveTheRoundTrip) {
  LevelMap map = test::SampleLevel();
  map.LevelName = std::string(" back\\slash\ttab \x81\x7F ") + std::string(200, 'x');
  map.Author = "";
  map.BankName = std::string(255, 'B');
  map.Outside = 7;
  map.MusicCells[200] = {kEmptyMusicCell, 4, 5, 6};  // an emptied entry keeps its stale fields
  map.Sentries[0].Heading = -0.0f;
  map.SentryCount = kMaxSentries;
  base::Expected<LevelMap> back = ParseLevelText(DumpLevelText(map));
  ASSERT_TRUE(back.ok()) << back.error();
  test::ExpectSameLevel(map, *back);
}

TEST(LevelText, ManyDistinctCodesUseHexCells) {
  LevelMap map;
  ASSERT_TRUE(map.SetLevelSize(16, 2, 8));
  for (std::size_t i = 0; i < map.CellCount(); ++i) {
    map.ObjectGrid()[i] = static_cast<std::uint8_t>(i);
    map.LightGrid()[i] = static_cast<std::uint8_t>(255 - i);
  }
  const std::string text = DumpLevelText(map);
  EXPECT_NE(text.find("cells: hex"), std::string::npos);
  base::Expected<LevelMap> back = ParseLevelText(text);
  ASSERT_TRUE(back.ok()) << back.error();
  test::ExpectSameLevel(map, *back);
}

constexpr const char* kHandWritten = R"(; a small room
zandrel-level: 1
name: Caf\xE9 é
size: 4 2 3
start: 1 1 1
exit: 2 1 1
light: 100
light: 3 1 2 255
cell . = 0
cell # = 1
cell $ = 20
music: 1 1 1 2
music 9: 2 1 1 3
music: 3 1 1 4
sentry: 1280 768 1280 -8192
layer 1
....
.$..
...$
layer 0
####
####
####
)";

TEST(LevelText, ReadsAHandWrittenLevel) {
  base::Expected<LevelMap> map = ParseLevelText(kHandWritten);
  ASSERT_TRUE(map.ok()) << map.error();
  EXPECT_EQ(map->LevelName, "Caf\xE9 \xE9");
  EXPECT_EQ(map->BankName, "");
  EXPECT_EQ(map->GetCell(1, 1, 1), 20);
  EXPECT_EQ(map->GetCell(3, 1, 2), 20);
  EXPECT_EQ(map->GetCell(2, 0, 2), 1);
  EXPECT_EQ(map->GetLight(0, 0, 0), 100);
  EXPECT_EQ(map->GetLight(3, 1, 2), 255);
  EXPECT_EQ(map->MusicCells[0], (MusicCell{1, 1, 1, 2}));
  EXPECT_EQ(map->MusicCells[9], (MusicCell{2, 1, 1, 3}));
  EXPECT_EQ(map->MusicCells[10], (MusicCell{3, 1, 1, 4}));
  EXPECT_FALSE(map->MusicCells[1].Used());
  EXPECT_EQ(map->SentryCount, 1);
  EXPECT_EQ(map->Sentries[0].Heading, -8192.0f);
}

TEST(LevelText, MistakesNameTheirLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const std::string rows = "layer 0\n..\n";
  for (const Case& c : {
           Case{"cell . = 0\nlayer 0\n..\n", "line 2: 'size' must come before the layers"},
           Case{"size: 2 1 1\ncell . = 0\n", "line 2: layer 0 is missing"},
           Case{"size: 2 1 1\ncell . = 0\nlayer 0\n...\n", "line 4: row has 3 characters, expected 2"},
           Case{"size: 2 1 1\ncell . = 0\nlayer 0\n.x\n", "line 4: 'x' is not in the legend"},
           Case{"size: 2 1 1\nlayer 0\n", "line 2: layer 0 has too few rows"},
           Case{"size: 2 1 1\nsize: 2 1 1\n", "line 2: 'size' given twice"},
           Case{"size: 2 0 1\n", "line 1: sizes must be at least 1"},
           Case{"size: 2 1\n", "line 1: expected 3 whole number(s)"},
           Case{"seed: 99999999999\n", "line 1: not a 32-bit whole number: 99999999999"},
           Case{"colour: red\n", "line 1: unknown key 'colour'"},
           Case{"just words\n", "line 1: expected 'key: value'"},
           Case{"cell .. = 0\n", "line 1: a legend line is 'cell C = CODE'"},
           Case{"cell . = 256\n", "line 1: object codes are 0..255"},
           Case{"size: 2 1 1\ncell . = 0\nlight: 5 0 0 1\nlayer 0\n..\n", "line 3: light cell is outside the level"},
           Case{"light: 256\n", "line 1: light must be 0..255"},
           Case{"music 256: 0 0 0 0\n", "line 1: music slot must be 0..255"},
           Case{"music 255: 0 0 0 0\nmusic: 1 1 1 1\n", "line 2: more than 256 music cells"},
           Case{"name: a\\qb\n", "line 1: a backslash must start"},
           Case{"name: \xC4\x81\n", "line 1: text is not UTF-8"},
           Case{"sentry: 1 2 three 4\n", "line 1: not a number: three"},
           Case{"zandrel-level: 2\n", "line 1: unknown format version 2"},
           Case{"size: 2 1 1\ncells: hex\nlayer 0\n00zz\n", "line 4: cells are two hex digits each"},
       }) {
    base::Expected<LevelMap> map = ParseLevelText(c.text);
    ASSERT_FALSE(map.ok()) << c.text;
    EXPECT_EQ(map.error().rfind(c.error, 0), 0u) << map.error();
  }
  std::string many = "size: 1 1 1\n";
  for (int i = 0; i < 256; ++i) many += "sentry: 0 0 0 0\n";
  base::Expected<LevelMap> crowded = ParseLevelText(many);
  ASSERT_FALSE(crowded.ok());
  EXPECT_EQ(crowded.error(), "line 257: more than 255 sentries");
}

TEST(LevelText, SizesTakeNoMoreMemoryThanTheRowsGiven) {
  struct Case {
    const char* text;
    const char* error;
  };
  // 2^27 cells claimed in a few bytes: layers up or cells along a row.
  for (const Case& c : {
           Case{"size: 1 134217728 1\ncell . = 0\nlayer 0\n.\n", "line 4: layer 1 is missing"},
           Case{"size: 134217728 1 1\ncell . = 0\nlayer 0\n.\n", "line 4: row has 1 characters, expected 134217728"},
       }) {
    const std::int64_t before = PeakResidentBytes();
    base::Expected<LevelMap> map = ParseLevelText(c.text);
    ASSERT_FALSE(map.ok()) << c.text;
    EXPECT_EQ(map.error(), c.error);
    EXPECT_LT(PeakResidentBytes() - before, std::int64_t{64} << 20) << c.text;
  }
}

}  // namespace
}  // namespace zandrel::world
