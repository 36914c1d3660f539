#include "engine/soft/colour_tables.h"

#include <algorithm>
#include <climits>

namespace zandrel::engine::soft {

PaletteMatcher::PaletteMatcher(const Palette& palette) {
  constexpr std::int32_t kFarAway = 1 << 14;  // its squared distance exceeds any real one
  red_.fill(kFarAway), green_.fill(kFarAway), blue_.fill(kFarAway);
  for (std::size_t i = 0; i <= kLast - kFirst; ++i) {
    red_[i] = palette.Red[i + kFirst];
    green_[i] = palette.Green[i + kFirst];
    blue_[i] = palette.Blue[i + kFirst];
  }
}

std::uint8_t PaletteMatcher::Nearest(int red, int green, int blue) const {
  // Plain loops over plain arrays, which the compiler turns into vector code.
  const std::int32_t* r = red_.data();
  const std::int32_t* g = green_.data();
  const std::int32_t* b = blue_.data();
  std::int32_t distance[kCount];
  std::int32_t best = INT32_MAX;
  for (std::size_t i = 0; i < kCount; ++i) {
    const std::int32_t dr = r[i] - red, dg = g[i] - green, db = b[i] - blue;
    distance[i] = dr * dr + dg * dg + db * db;
    best = distance[i] < best ? distance[i] : best;
  }
  std::size_t i = kCount - 1;
  while (distance[i] != best) --i;
  return static_cast<std::uint8_t>(i + kFirst);
}

bool SamePalette(const Palette& a, const Palette& b) {
  return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

void BuildShadingTables(const Palette& palette, int fogRed, int fogGreen, int fogBlue,
                        std::vector<std::uint8_t>& tables) {
  const PaletteMatcher matcher(palette);
  tables.assign(kShadingTableSize, 0);
  for (int c = 1; c < 256; ++c) {
    const auto i = static_cast<std::size_t>(c);
    const int dr = palette.Red[i] - fogRed, dg = palette.Green[i] - fogGreen, db = palette.Blue[i] - fogBlue;
    // Neighbouring levels often give the same colour: match it only when it changes.
    int lastR = -1, lastG = -1, lastB = -1;
    std::uint8_t match = 0;
    for (int level = 0; level < kShadingLevels; ++level) {
      const int r = fogRed + dr * level / 256, g = fogGreen + dg * level / 256, b = fogBlue + db * level / 256;
      if (r != lastR || g != lastG || b != lastB) {
        match = matcher.Nearest(r, g, b);
        lastR = r, lastG = g, lastB = b;
      }
      tables[static_cast<std::size_t>(level) * 256 + i] = match;
    }
  }
}

std::array<std::uint8_t, 256> RemapTable(const std::array<std::uint8_t, 768>& imagePalette,
                                         const Palette& viewPalette) {
  const PaletteMatcher matcher(viewPalette);
  std::array<std::uint8_t, 256> remap{};
  for (std::size_t c = 1; c < 256; ++c) {
    remap[c] = matcher.Nearest(imagePalette[c * 3], imagePalette[c * 3 + 1], imagePalette[c * 3 + 2]);
  }
  return remap;
}

}  // namespace zandrel::engine::soft
