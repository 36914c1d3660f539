#include "engine/texture_convert.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zandrel::engine {
namespace {

TEST(TextureConvert, MirrorsAndMakesIndexZeroTransparent) {
  PcxImage image;
  image.Width = 3;
  image.Height = 2;
  image.Indices = {0, 1, 2, 2, 2, 1};
  image.Palette[0] = image.Palette[1] = image.Palette[2] = 255;  // index 0: white, yet transparent
  image.Palette[3] = 255, image.Palette[4] = 128, image.Palette[5] = 7;
  image.Palette[6] = 8, image.Palette[7] = 15, image.Palette[8] = 250;
  const std::uint16_t white = 0x7FFF;                         // no alpha bit
  const std::uint16_t one = 0x8000 | 31 << 10 | 16 << 5 | 0;  // (255, 128, 7)
  const std::uint16_t two = 0x8000 | 1 << 10 | 1 << 5 | 31;   // (8, 15, 250)
  EXPECT_EQ(ConvertTexture(image), (std::vector<std::uint16_t>{two, one, white, one, two, two}));
}

TEST(TextureConvert, LevelOfDetailAndAspectCodes) {
  const std::pair<std::int32_t, std::optional<std::int32_t>> lods[] = {
      {256, 0},
      {128, 1},
      {64, 2},
      {32, 3},
      {16, 4},
      {8, 5},
      {4, 6},
      {2, 7},
      {1, 8},
      {0, std::nullopt},
      {-4, std::nullopt},
      {3, std::nullopt},
      {100, std::nullopt},
      {512, std::nullopt},
  };
  for (const auto& [side, code] : lods) EXPECT_EQ(LodCode(side), code) << side;

  struct Aspect {
    std::int32_t width, height;
    std::optional<std::int32_t> code;
  };
  const Aspect aspects[] = {
      {8, 1, 0},
      {256, 64, 1},
      {2, 1, 2},
      {128, 128, 3},
      {1, 2, 4},
      {64, 256, 5} /* 1 x 4, level 0 */,
      {32, 256, 6},
      {16, 1, std::nullopt},  // ratio above 8
      {1, 256, std::nullopt},
      {6, 3, std::nullopt},  // sides that are not powers of two
      {512, 512, std::nullopt},
      {0, 4, std::nullopt},
  };
  for (const Aspect& a : aspects) EXPECT_EQ(AspectCode(a.width, a.height), a.code) << a.width << "x" << a.height;
}

}  // namespace
}  // namespace zandrel::engine
