#include "engine/picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/pcx_writer.h"
#include "tests/support/recording_backend.h"
#include "tests/support/temp_dir.h"

namespace zandrel::engine {
namespace {

class PictureTest : public ::testing::Test {
 protected:
  std::uint16_t Colour(std::uint8_t index) const {
    return PictureColour(palette_[index * 3u], palette_[index * 3u + 1], palette_[index * 3u + 2]);
  }
  const Picture& Slot(int slot) const { return engine_.Pictures[static_cast<std::size_t>(slot)]; }

  test::TempDir dir_;
  test::PcxPalette palette_ = test::RampPalette();
  test::RecordingBackend backend_;
  Engine engine_{backend_};
};

TEST_F(PictureTest, LoadsAnEvenWidthAndRefusesAnOddOne) {
  std::vector<std::uint8_t> indices(320 * 2, 0);
  indices[1] = 9;
  indices[320 + 319] = 200;
  dir_.Write("INTERF/BARRE.PCX", test::EncodePcx(320, 2, indices, palette_));
  ASSERT_TRUE(LoadPicture(engine_, 6, "INTERF\\BARRE.PCX", dir_.path()));
  const Picture& bar = Slot(6);
  EXPECT_EQ(bar.Width, 320);
  EXPECT_EQ(bar.Height, 2);
  // Index 0 is transparent; the others are opaque and not mirrored.
  EXPECT_EQ(bar.Mask[0], 0);
  EXPECT_EQ(bar.Pixels[0], Colour(0));
  EXPECT_EQ(bar.Mask[1], 1);
  EXPECT_EQ(bar.Pixels[1], Colour(9));
  EXPECT_EQ(bar.Pixels[320 + 319], Colour(200));
  EXPECT_EQ(Colour(200), 25 << 11 | 6 << 6 | 12);  // (200, 55, 100): bit 5 stays clear

  dir_.Write("INTERF/WIDE.PCX", test::EncodePcx(321, 2, std::vector<std::uint8_t>(321 * 2, 1), palette_));
  const base::Status wide = LoadPicture(engine_, 6, "INTERF\\WIDE.PCX", dir_.path());
  ASSERT_FALSE(wide.ok());
  EXPECT_EQ(wide.error(), "G3D: The image INTERF\\WIDE.PCX must have an odd width");
  EXPECT_EQ(Slot(6).Width, 320);  // the slot keeps its picture
}

TEST_F(PictureTest, RefusesMissingFilesAndSlotsOutsideTheTable) {
  const base::Status missing = LoadPicture(engine_, 1, "INTERF\\ZANDREL.PCX", dir_.path());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "G3D: The file INTERF\\ZANDREL.PCX is missing");

  dir_.Write("P.PCX", test::EncodePcx(2, 1, std::vector<std::uint8_t>{1, 2}, palette_));
  EXPECT_FALSE(LoadPicture(engine_, -1, "P.PCX", dir_.path()));
  EXPECT_FALSE(LoadPicture(engine_, kPictureSlotCount, "P.PCX", dir_.path()));
  EXPECT_TRUE(LoadPicture(engine_, kPictureSlotCount - 1, "P.PCX", dir_.path()));
}

TEST_F(PictureTest, CutsTheGlyphAOfTheSmallFont) {
  // A sheet of 34 glyphs, 3 x 7 each, 4 pixels apart: glyph 33 (character 65) is an "A"
  // of index 9 at x = 132; the neighbouring columns are filled with index 5.
  const char* const a[7] = {".#.", "#.#", "#.#", "###", "#.#", "#.#", "..."};
  const int width = 34 * 4;
  std::vector<std::uint8_t> sheet(width * 7, 0);
  for (int y = 0; y < 7; ++y) {
    for (int x = 128; x < 132; ++x) sheet[y * width + x] = 5;
    sheet[y * width + 135] = 5;
    for (int x = 0; x < 3; ++x) sheet[y * width + 132 + x] = a[y][x] == '#' ? 9 : 0;
  }
  dir_.Write("INTERF/SMALFONT.PCX", test::EncodePcx(width, 7, sheet, palette_));
  ASSERT_TRUE(LoadPicture(engine_, 0, "INTERF\\SMALFONT.PCX", dir_.path()));

  const int character = 'A';
  CopyPictureRegion(engine_, 0, 4 * (character - 32), 0, character + 18, 7, 3);
  const Picture& glyph = Slot(83);
  ASSERT_EQ(glyph.Width, 3);
  ASSERT_EQ(glyph.Height, 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 3; ++x) {
      const std::size_t at = static_cast<std::size_t>(y * 3 + x);
      const bool ink = a[y][x] == '#';
      EXPECT_EQ(glyph.Mask[at], ink ? 1 : 0) << x << "," << y;
      EXPECT_EQ(glyph.Pixels[at], ink ? Colour(9) : Colour(0)) << x << "," << y;
    }
  }
}

TEST_F(PictureTest, ARegionPartlyOutsideTheSourceIsTransparentThere) {
  Picture source;
  source.Width = 3;
  source.Height = 2;
  source.Pixels = {1, 2, 3, 4, 5, 6};
  source.Mask = {1, 1, 0, 1, 1, 1};
  engine_.Pictures[20] = source;

  CopyPictureRegion(engine_, 20, 1, -1, 21, 4, 3);  // 3 wide, 4 high, from (1, -1)
  const Picture& region = Slot(21);
  ASSERT_EQ(region.Width, 3);
  ASSERT_EQ(region.Height, 4);
  EXPECT_EQ(region.Pixels, (std::vector<std::uint16_t>{0, 0, 0, 2, 3, 0, 5, 6, 0, 0, 0, 0}));
  EXPECT_EQ(region.Mask, (std::vector<std::uint8_t>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0}));

  // A region cut from itself reads the source before replacing it.
  CopyPictureRegion(engine_, 20, -2, 0, 20, 1, 3);
  EXPECT_EQ(Slot(20).Pixels, (std::vector<std::uint16_t>{0, 0, 1}));

  // An empty source, a slot outside the table or an empty size change nothing.
  CopyPictureRegion(engine_, 22, 0, 0, 21, 2, 2);
  CopyPictureRegion(engine_, 21, 0, 0, kPictureSlotCount, 2, 2);
  CopyPictureRegion(engine_, 21, 0, 0, 23, 0, 2);
  EXPECT_EQ(Slot(21).Width, 3);
  EXPECT_TRUE(Slot(23).Empty());
}

}  // namespace
}  // namespace zandrel::engine
