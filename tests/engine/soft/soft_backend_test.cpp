#include "engine/soft/soft_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/palette.h"
#include "tests/engine/soft/soft_view.h"

namespace zandrel::engine::soft {
namespace {

using test::TestView;

TEST(SoftBackend, OpenViewSetsTheProjectionFromTheSize) {
  const struct {
    int width, height;
    int centreX, centreY, viewShift, spanLength;
  } cases[] = {
      {160, 100, 80, 50, 6, 16},   {320, 200, 160, 100, 7, 32}, {640, 480, 320, 240, 8, 64},
      {800, 600, 400, 300, 8, 64}, {161, 10, 80, 5, 7, 32},     {240, 10, 120, 5, 7, 32},
      {321, 10, 160, 5, 8, 64},    {480, 11, 240, 5, 8, 64},    {1920, 1080, 960, 540, 8, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    SoftBackend backend;
    RenderView view;
    backend.OpenView(c.width, c.height, view);
    EXPECT_EQ(view.Screen.Width, c.width);
    EXPECT_EQ(view.Screen.Height, c.height);
    EXPECT_EQ(view.Screen.Pixels.size(), static_cast<std::size_t>(c.width * c.height));
    EXPECT_EQ(view.CentreX, c.centreX);
    EXPECT_EQ(view.CentreY, c.centreY);
    EXPECT_EQ(view.ViewShift, c.viewShift);
    EXPECT_EQ(view.SpanLength, c.spanLength);
    EXPECT_EQ(view.RightLimit, c.centreX * 2 - 1);
    EXPECT_EQ(view.BottomLimit, c.centreY * 2 - 1);
    EXPECT_EQ(view.NearDepth, 10);
    EXPECT_EQ(view.FarDistance, 10000);
    EXPECT_TRUE(view.Rules.ClipNearPlane && view.Rules.SquaredDepthKey && view.Rules.OnePass);
    EXPECT_EQ(view.Polygons.size(), static_cast<std::size_t>(kPolygonCapacity));
    EXPECT_EQ(view.Sort.size(), static_cast<std::size_t>(kPolygonCapacity));
    EXPECT_EQ(view.ShadingTables.size(), 65536u);  // drawable before any fog arrives
  }
}

TEST(SoftBackend, ReopeningKeepsTheFarDistanceAndEmptiesTheList) {
  SoftBackend backend;
  RenderView view;
  view.FarDistance = 24576;
  backend.OpenView(320, 200, view);
  view.PolygonCount = 12;
  view.Polygons[3].Kind = 9;
  backend.OpenView(640, 480, view);
  EXPECT_EQ(view.FarDistance, 24576);
  EXPECT_EQ(view.PolygonCount, 0);
  EXPECT_EQ(view.Polygons[3].Kind, 0);
  EXPECT_EQ(view.Screen.Pixels.size(), 640u * 480u);
}

TEST(SoftBackend, SizesAreHeldToTheSupportedRange) {
  SoftBackend backend;
  RenderView view;
  backend.OpenView(-5, 0, view);
  EXPECT_EQ(view.Screen.Width, 1);
  EXPECT_EQ(view.Screen.Height, 1);
  EXPECT_EQ(view.RightLimit, 0);
  backend.OpenView(100000, 3, view);
  EXPECT_EQ(view.Screen.Width, SoftBackend::kMaxViewSide);
  EXPECT_EQ(view.RightLimit, SoftBackend::kMaxViewSide - 1);
}

TEST(SoftBackend, ClearViewFillsTheScreen) {
  TestView t(13, 7);
  t.backend.ClearView(201, *t.view);
  EXPECT_TRUE(
      std::all_of(t.view->Screen.Pixels.begin(), t.view->Screen.Pixels.end(), [](std::uint8_t p) { return p == 201; }));
}

// An image of that size filled by `pixel(x, y)`, with its own palette.
template <class F>
PcxImage MakeImage(int width, int height, F pixel) {
  PcxImage image;
  image.Width = width;
  image.Height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.Indices.push_back(static_cast<std::uint8_t>(pixel(x, y)));
  }
  return image;
}

TEST(SoftBackend, TheFirstImageKeepsItsIndicesAndLaterOnesAreRemapped) {
  TestView t(16, 12);
  Palette& view = t.view->ViewPalette;
  view = Palette{};
  for (std::size_t i = 0; i < 256; ++i) view.Red[i] = static_cast<std::uint8_t>(i);
  view.Green[3] = view.Green[200] = 99;  // entries 3 and 200 are the same colour
  view.Red[3] = view.Red[200] = 50;
  PcxImage image = MakeImage(128, 128, [](int x, int) { return x < 4 ? x : 255; });
  image.Palette[0 * 3] = 50, image.Palette[0 * 3 + 1] = 99;  // like entry 200, but index 0
  image.Palette[1 * 3] = 50, image.Palette[1 * 3 + 1] = 99;  // a tie: the higher index
  image.Palette[2 * 3] = 254;                                // exactly entry 254
  image.Palette[3 * 3] = 255;                                // entry 255 is never matched
  image.Palette[255 * 3] = 17;

  t.backend.StoreTextureImage(4, image, true, *t.view);
  t.backend.StoreTextureImage(5, image, false, *t.view);
  const ImageBlock& kept = *t.view->ImageBlocks[4];
  const ImageBlock& remapped = *t.view->ImageBlocks[5];
  const std::uint8_t keptRow[] = {0, 1, 2, 3, 255};
  const std::uint8_t remappedRow[] = {0, 200, 254, 254, 17};
  for (std::size_t x = 0; x < 5; ++x) {
    EXPECT_EQ(kept[x], keptRow[x]) << x;
    EXPECT_EQ(remapped[x], remappedRow[x]) << x;
    EXPECT_EQ(remapped[127 * 128 + x], remappedRow[x]) << x;
  }
}

TEST(SoftBackend, ImagesOfOtherSizesAreResampledToTheBlock) {
  TestView t(16, 12);
  t.backend.StoreTextureImage(1, MakeImage(2, 2, [](int x, int y) { return 1 + x + 2 * y; }), true, *t.view);
  t.backend.StoreTextureImage(2, MakeImage(256, 64, [](int x, int y) { return x == 2 && y == 0 ? 9 : 1; }), true,
                              *t.view);
  const ImageBlock& small = *t.view->ImageBlocks[1];
  EXPECT_EQ(small[0], 1);
  EXPECT_EQ(small[63], 1);
  EXPECT_EQ(small[64], 2);
  EXPECT_EQ(small[63 * 128 + 127], 2);
  EXPECT_EQ(small[64 * 128], 3);
  EXPECT_EQ(small[127 * 128 + 127], 4);
  const ImageBlock& wide = *t.view->ImageBlocks[2];
  EXPECT_EQ(wide[1], 9);                                  // block column 1 is image column 2, block row 0 image row 0
  EXPECT_EQ(wide[2 * 128 + 1], 1);                        // block row 2 is image row 1
  EXPECT_EQ(std::count(wide.begin(), wide.end(), 9), 2);  // block rows 0 and 1 read image row 0
}

TEST(SoftBackend, BadImagesAndSlotsAreRefused) {
  TestView t(16, 12);
  const PcxImage good = MakeImage(128, 128, [](int, int) { return 3; });
  for (const int slot : {-1, kImageSlotCount, 1 << 30}) t.backend.StoreTextureImage(slot, good, true, *t.view);
  EXPECT_TRUE(std::none_of(t.view->ImageBlocks.begin(), t.view->ImageBlocks.end(), [](const auto& b) { return !!b; }));

  t.backend.StoreTextureImage(7, good, true, *t.view);
  PcxImage shortImage = good;
  shortImage.Indices.pop_back();
  PcxImage noWidth = good;
  noWidth.Width = 0;
  PcxImage negative = good;
  negative.Width = negative.Height = -128;
  for (const PcxImage* bad : {&shortImage, &noWidth, &negative}) {
    t.backend.StoreTextureImage(7, good, true, *t.view);
    t.backend.StoreTextureImage(7, *bad, false, *t.view);
    EXPECT_EQ(t.view->ImageBlocks[7], nullptr);
  }
}

TEST(SoftBackend, BeginTextureImagesFreesEveryBlock) {
  TestView t(16, 12);
  const PcxImage image = MakeImage(128, 128, [](int, int) { return 3; });
  for (const int slot : {0, 100, kImageSlotCount - 1}) t.backend.StoreTextureImage(slot, image, true, *t.view);
  EXPECT_NE(t.view->ImageBlocks[kImageSlotCount - 1], nullptr);
  t.backend.BeginTextureImages(*t.view);
  EXPECT_TRUE(std::none_of(t.view->ImageBlocks.begin(), t.view->ImageBlocks.end(), [](const auto& b) { return !!b; }));
}

TEST(SoftBackend, ShadingTablesRunFromTheFogToThePalette) {
  TestView t(16, 12);
  t.view->FogRed = 90, t.view->FogGreen = 30, t.view->FogBlue = 160;
  t.backend.FogChanged(*t.view);
  const std::vector<std::uint8_t>& tables = t.view->ShadingTables;
  ASSERT_EQ(tables.size(), 65536u);
  const std::uint8_t fog = NearestColour(t.view->ViewPalette, 90, 30, 160, 1, 254);
  for (std::size_t c = 0; c < 256; ++c) {
    EXPECT_EQ(tables[c], c == 0 ? 0 : fog) << c;
    EXPECT_EQ(tables[128 * 256 + c] == 0, c == 0) << c;
  }
  for (std::size_t row = 0; row < 256; ++row) EXPECT_EQ(tables[row * 256], 0) << row;

  // With a black fog, row 255 (each channel x 255 / 256) is the palette itself.
  t.view->FogRed = t.view->FogGreen = t.view->FogBlue = 0;
  t.backend.FogChanged(*t.view);
  for (std::size_t c = 1; c < 255; ++c) EXPECT_EQ(tables[255 * 256 + c], c) << c;
  EXPECT_NE(tables[255 * 256 + 255], 255);  // entry 255 is never matched
}

TEST(SoftBackend, ShadingTruncatesTowardZero) {
  TestView t(16, 12);
  Palette& p = t.view->ViewPalette;
  p = Palette{};
  p.Red[1] = p.Green[1] = p.Blue[1] = 99;
  p.Red[2] = p.Green[2] = p.Blue[2] = 100;
  p.Red[3] = p.Green[3] = p.Blue[3] = 0;
  for (std::size_t i = 4; i < 256; ++i) p.Red[i] = 255;
  t.view->FogRed = t.view->FogGreen = t.view->FogBlue = 100;
  t.backend.FogChanged(*t.view);
  // Row 1 of black: 100 + (-100 x 1) / 256 is 100, not 99; row 3: 100 - 300 / 256 is 99.
  EXPECT_EQ(t.view->ShadingTables[1 * 256 + 3], 2);
  EXPECT_EQ(t.view->ShadingTables[3 * 256 + 3], 1);
}

}  // namespace
}  // namespace zandrel::engine::soft
