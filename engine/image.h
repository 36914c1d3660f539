// Decoded images: PCX pictures with their palette, and the game's 16-bit pictures.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zandrel::engine {

// A decoded 256-colour PCX file: Width x Height palette indices, rows top-down, and the
// file's palette as 256 red, green, blue triples.
struct PcxImage {
  std::int32_t Width = 0, Height = 0;
  std::vector<std::uint8_t> Indices;
  std::array<std::uint8_t, 768> Palette{};
};

// A picture slot: 16-bit pixels (red in bits 11-15, green in 6-10, blue in 0-4) and a
// mask (1 opaque, 0 transparent), Width x Height each, rows top-down. Empty when it
// holds no pixels.
struct Picture {
  std::vector<std::uint16_t> Pixels;
  std::vector<std::uint8_t> Mask;
  std::int32_t Width = 0, Height = 0;

  bool Empty() const { return Pixels.empty() || Mask.empty(); }
};

constexpr int kPictureSlotCount = 4096;

}  // namespace zandrel::engine
