#include "engine/soft/colour_tables.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/palette.h"
#include "tests/engine/soft/soft_view.h"

namespace zandrel::engine::soft {
namespace {

TEST(PaletteMatcher, AgreesWithNearestColourAmongOneTo254) {
  Palette palette;
  std::uint32_t seed = 7;
  const auto next = [&seed] { return static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 16); };
  for (std::size_t i = 0; i < 256; ++i) palette.Red[i] = next(), palette.Green[i] = next(), palette.Blue[i] = next();
  // Entry 100 repeats entry 30: a tie the higher index wins.
  palette.Red[100] = palette.Red[30], palette.Green[100] = palette.Green[30], palette.Blue[100] = palette.Blue[30];
  const PaletteMatcher matcher(palette);
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 51) {
        EXPECT_EQ(matcher.Nearest(r, g, b), NearestColour(palette, r, g, b, 1, 254)) << r << " " << g << " " << b;
      }
    }
  }
  EXPECT_EQ(matcher.Nearest(palette.Red[30], palette.Green[30], palette.Blue[30]), 100);
  EXPECT_EQ(matcher.Nearest(palette.Red[0], palette.Green[0], palette.Blue[0]),
            NearestColour(palette, palette.Red[0], palette.Green[0], palette.Blue[0], 1, 254));
}

TEST(PaletteMatcher, FogChangedFollowsANewPaletteWithTheSameFog) {
  test::TestView t(16, 12);
  EXPECT_EQ(t.view->ShadingTables[255 * 256 + 40], 40);
  // Entry 41 takes entry 40's colour: the tie goes to 41.
  t.view->ViewPalette.Red[41] = 40, t.view->ViewPalette.Green[41] = 215, t.view->ViewPalette.Blue[41] = 40 * 37 % 256;
  t.backend.FogChanged(*t.view);
  EXPECT_EQ(t.view->ShadingTables[255 * 256 + 40], 41);
}

}  // namespace
}  // namespace zandrel::engine::soft
