#include "engine/texture_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/pcx_writer.h"
#include "tests/support/recording_backend.h"
#include "tests/support/temp_dir.h"

namespace zandrel::engine {
namespace {

TEST(TextureList, NormalisesLines) {
  struct Case {
    std::string line;
    std::string expected;
  };
  const Case cases[] = {
      {" 12 = wall.pcx\r", "12=WALL.PCX"},
      {"\t5 = 7 - 10 ", "5=7-10"},
      {"#images", "#IMAGES"},
      {"Tex\\Sol_2.pcx", "TEX\\SOL_2.PCX"},
      {std::string(250, ' ') + "1=abcdefgh", "1=ABC"},  // only the first 255 characters count
  };
  for (const Case& c : cases) EXPECT_EQ(NormaliseTextureListLine(c.line), c.expected) << c.line;
}

TEST(TextureList, ReadsTheSectionsAndSkipsBadLines) {
  const TextureListEntries entries = ParseTextureList(
      "Texture list of the test bank\r\n"  // 1
      "3=PREAMBLE.PCX\n"                   // 2: still the preamble
      "#TEXTURES\n"                        // 3: still the preamble
      " # Images \r\n"                     // 4
      "\n"                                 // 5
      "12 = wall.pcx\r\n"                  // 6
      "wall.pcx\n"                         // 7: no "="
      "x=floor.pcx\n"                      // 8
      "40000=floor.pcx\n"                  // 9
      "13=\n"                              // 10
      "0=tex\\floor.pcx\n"                 // 11
      "#TEXTURES\n"                        // 12
      "5 = 7 - 10\n"                       // 13
      "\t\n"                               // 14
      "6=7\n"                              // 15: no "-"
      "7=-3-4\n"                           // 16
      "8=1-32768\n"                        // 17
      "9=1-2-3\n"                          // 18
      "#IMAGES\n"                          // 19: no "="
      "32767=10-7");                       // 20: no line end
  ASSERT_EQ(entries.Images.size(), 2u);
  EXPECT_EQ(entries.Images[0].Number, 12);
  EXPECT_EQ(entries.Images[0].File, "WALL.PCX");
  EXPECT_EQ(entries.Images[1].Number, 0);
  EXPECT_EQ(entries.Images[1].File, "TEX\\FLOOR.PCX");
  ASSERT_EQ(entries.Textures.size(), 2u);
  EXPECT_EQ(entries.Textures[0].Number, 5);
  EXPECT_EQ(entries.Textures[0].First, 7);
  EXPECT_EQ(entries.Textures[0].Last, 10);
  EXPECT_EQ(entries.Textures[1].Number, 32767);
  EXPECT_EQ(entries.Textures[1].First, 10);
  EXPECT_EQ(entries.Textures[1].Last, 7);
  std::vector<std::int32_t> skipped;
  for (const TextureListProblem& problem : entries.Skipped) skipped.push_back(problem.Line);
  EXPECT_EQ(skipped, (std::vector<std::int32_t>{7, 8, 9, 10, 15, 16, 17, 18, 19}));
}

TEST(TextureList, WithoutAnImagesLineEverythingIsPreamble) {
  const TextureListEntries entries = ParseTextureList("1=A.PCX\n#TEXTURES\n1=1-2\n");
  EXPECT_TRUE(entries.Images.empty());
  EXPECT_TRUE(entries.Textures.empty());
  EXPECT_TRUE(entries.Skipped.empty());
}

class LoadTextureListTest : public ::testing::Test {
 protected:
  // A 2 x 2 image of one colour index whose palette entry 1 tells the images apart.
  void WriteImage(const std::string& name, std::uint8_t tag) {
    test::PcxPalette palette = test::RampPalette();
    palette[3] = tag;
    const std::vector<std::uint8_t> indices(4, tag);
    dir_.Write(name, test::EncodePcx(2, 2, indices, palette));
  }

  test::TempDir dir_;
  test::RecordingBackend backend_;
  Engine engine_{backend_};
  RenderView view_;
};

TEST_F(LoadTextureListTest, StoresEveryImageWithTheFirstPaletteAsViewPalette) {
  WriteImage("WALL.PCX", 12);
  WriteImage("TEX/Floor.pcx", 3);
  dir_.Write("Textures.txt",
             "#IMAGES\r\n"
             "12 = wall.pcx\r\n"
             "3=tex\\floor.pcx\r\n"
             "#TEXTURES\r\n"
             "5=12-12\r\n"
             "40=3-12\r\n");
  ASSERT_TRUE(LoadTextureList(engine_, view_, "textures.txt", dir_.path()));

  EXPECT_EQ(backend_.Begins, 1);
  ASSERT_EQ(backend_.Stored.size(), 2u);
  EXPECT_EQ(backend_.Stored[0].Number, 12);
  EXPECT_TRUE(backend_.Stored[0].First);
  EXPECT_EQ(backend_.Stored[0].Image.Indices, std::vector<std::uint8_t>(4, 12));
  EXPECT_EQ(backend_.Stored[1].Number, 3);
  EXPECT_FALSE(backend_.Stored[1].First);
  // The view palette is the first image's already when that image is stored, and a later
  // image does not change it.
  for (const auto& stored : backend_.Stored) {
    EXPECT_EQ(stored.ViewPalette.Red[1], 12);
    EXPECT_EQ(stored.ViewPalette.Green[1], 254);
    EXPECT_EQ(stored.ViewPalette.Blue[200], 100);
  }
  EXPECT_EQ(view_.ViewPalette.Red[1], 12);

  EXPECT_EQ(view_.HighestTexture, 40);
  EXPECT_EQ(view_.Textures[5].First, 12);
  EXPECT_EQ(view_.Textures[5].Last, 12);
  EXPECT_EQ(view_.Textures[40].First, 3);
  EXPECT_EQ(view_.Textures[40].Last, 12);
  EXPECT_EQ(view_.Textures[40].Current, 3);
}

TEST_F(LoadTextureListTest, ALaterListReplacesTheTexturesOfTheEarlierOne) {
  WriteImage("A.PCX", 1);
  dir_.Write("FIRST.TXT", "#IMAGES\n1=A.PCX\n#TEXTURES\n50=1-1\n9=1-1\n");
  dir_.Write("SECOND.TXT", "#IMAGES\n2=A.PCX\n#TEXTURES\n");
  ASSERT_TRUE(LoadTextureList(engine_, view_, "FIRST.TXT", dir_.path()));
  ASSERT_TRUE(LoadTextureList(engine_, view_, "SECOND.TXT", dir_.path()));
  EXPECT_EQ(backend_.Begins, 2);
  ASSERT_EQ(backend_.Stored.size(), 1u);
  EXPECT_EQ(backend_.Stored[0].Number, 2);
  EXPECT_TRUE(backend_.Stored[0].First);
  EXPECT_EQ(view_.HighestTexture, 0);
  EXPECT_EQ(view_.Textures[9].First, 0);
  EXPECT_EQ(view_.Textures[50].Current, 0);
}

TEST_F(LoadTextureListTest, ReportsMissingFilesAndSkippedLines) {
  const base::Status noList = LoadTextureList(engine_, view_, "TEXTURES.TXT", dir_.path());
  ASSERT_FALSE(noList.ok());
  EXPECT_EQ(noList.error(), "G3D: The file TEXTURES.TXT is missing");
  EXPECT_EQ(backend_.Begins, 0);

  WriteImage("A.PCX", 1);
  dir_.Write("TEXTURES.TXT", "#IMAGES\n1=a.pcx\nbroken\n2 = gone.pcx\n");
  ::testing::internal::CaptureStderr();
  const base::Status noImage = LoadTextureList(engine_, view_, "TEXTURES.TXT", dir_.path());
  const std::string report = ::testing::internal::GetCapturedStderr();
  ASSERT_FALSE(noImage.ok());
  EXPECT_EQ(noImage.error(), "G3D: The file GONE.PCX is missing");
  EXPECT_NE(report.find("TEXTURES.TXT line 3"), std::string::npos) << report;

  dir_.Write("BAD.PCX", "not a picture");
  dir_.Write("TEXTURES.TXT", "#IMAGES\n1=BAD.PCX\n");
  const base::Status damaged = LoadTextureList(engine_, view_, "TEXTURES.TXT", dir_.path());
  ASSERT_FALSE(damaged.ok());
  EXPECT_NE(damaged.error().find("BAD.PCX"), std::string::npos);
}

TEST(TextureAnimation, StillForwardAndBackwardCycles) {
  struct Case {
    std::int32_t first, last;
    std::vector<std::int32_t> sequence;  // Current after each step
  };
  const Case cases[] = {
      {7, 7, {7, 7, 7}},
      {7, 10, {8, 9, 10, 7, 8}},
      {10, 7, {9, 8, 7, 10, 9}},
  };
  for (const Case& c : cases) {
    RenderView view;
    view.Textures[5] = {c.first, c.last, c.first};
    view.Textures[6] = {1, 3, 1};  // above the highest texture: left alone
    view.HighestTexture = 5;
    std::vector<std::int32_t> seen;
    for (std::size_t i = 0; i < c.sequence.size(); ++i) {
      StepTextureAnimation(view);
      seen.push_back(view.Textures[5].Current);
    }
    EXPECT_EQ(seen, c.sequence) << c.first << "-" << c.last;
    EXPECT_EQ(view.Textures[6].Current, 1);
  }
}

}  // namespace
}  // namespace zandrel::engine
