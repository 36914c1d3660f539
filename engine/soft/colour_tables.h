// Colour tables of the software back end, all matched against the view palette.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/render_view.h"

namespace zandrel::engine::soft {

constexpr int kShadingLevels = 256;

// Finds the view palette entry among 1..254 nearest to a colour by the sum of squared
// differences, the higher index winning a tie (as NearestColour does), for many colours
// against one palette. Entries 0 and 255 are never matched: 0 is transparent in textures.
class PaletteMatcher {
 public:
  explicit PaletteMatcher(const Palette& palette);
  std::uint8_t Nearest(int red, int green, int blue) const;

  static constexpr int kFirst = 1, kLast = 254;

 private:
  // Two padding entries past the last, too far away to win, keep the loops a multiple
  // of the vector width.
  static constexpr std::size_t kCount = 256;
  std::array<std::int32_t, kCount> red_, green_, blue_;
};
constexpr std::size_t kShadingTableSize = kShadingLevels * 256;

bool SamePalette(const Palette& a, const Palette& b);

// Row L, column c: column 0 is 0; any other column is the entry among 1..254 nearest to
// fog + ((colour c - fog) x L) / 256 per channel. Row 0 is the fog colour, row 255 almost
// the palette itself.
void BuildShadingTables(const Palette& palette, int fogRed, int fogGreen, int fogBlue,
                        std::vector<std::uint8_t>& tables);

// For an image with its own palette (256 red, green, blue triples): each index 1..255
// becomes the view palette entry among 1..254 nearest to its colour; 0 stays 0.
std::array<std::uint8_t, 256> RemapTable(const std::array<std::uint8_t, 768>& imagePalette, const Palette& viewPalette);

}  // namespace zandrel::engine::soft
