#include "engine/palette.h"

#include <gtest/gtest.h>

namespace zandrel::engine {
namespace {

TEST(Palette, NearestColourPrefersTheHigherIndexOnATie) {
  Palette p;
  for (int i = 0; i < 256; ++i) p.Red[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  p.Red[10] = p.Red[20] = 100;  // two equal colours
  EXPECT_EQ(NearestColour(p, 100, 0, 0, 1, 254), 100);
  EXPECT_EQ(NearestColour(p, 100, 0, 0, 1, 99), 20);
  EXPECT_EQ(NearestColour(p, 255, 0, 0, 1, 254), 254);  // 255 is outside the range
  EXPECT_EQ(NearestColour(p, 0, 0, 0, 0, 255), 0);
}

}  // namespace
}  // namespace zandrel::engine
