// Test palettes of eight colour ramps of 32 steps: index 32 k + s is hue k at (s + 1) / 32
// of its brightness, the brightest at 32 k + 31; index 0 is black.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/render_view.h"

namespace zandrel::test {

using RampHues = std::array<std::array<int, 3>, 8>;

inline engine::Palette RampPalette(const RampHues& hues) {
  engine::Palette palette;
  for (std::size_t i = 1; i < 256; ++i) {
    const std::array<int, 3>& hue = hues[i / 32];
    const int step = static_cast<int>(i % 32) + 1;
    palette.Red[i] = static_cast<std::uint8_t>(hue[0] * step / 32);
    palette.Green[i] = static_cast<std::uint8_t>(hue[1] * step / 32);
    palette.Blue[i] = static_cast<std::uint8_t>(hue[2] * step / 32);
  }
  return palette;
}

// The palette as a picture file holds it: red, green and blue of each index in turn.
inline std::array<std::uint8_t, 768> PaletteBytes(const engine::Palette& palette) {
  std::array<std::uint8_t, 768> bytes{};
  for (std::size_t i = 0; i < 256; ++i) {
    bytes[i * 3] = palette.Red[i];
    bytes[i * 3 + 1] = palette.Green[i];
    bytes[i * 3 + 2] = palette.Blue[i];
  }
  return bytes;
}

}  // namespace zandrel::test
