// A small software view for the back end's tests, and its screen as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/render_view.h"
#include "engine/soft/soft_backend.h"

namespace zandrel::engine::soft::test {

// Entry i is (i, 255 - i, 37 i mod 256): no two entries are close, so with a black fog
// shading row 255 gives every entry 1..254 back.
inline Palette DistinctPalette() {
  Palette palette;
  for (int i = 0; i < 256; ++i) {
    const auto at = static_cast<std::size_t>(i);
    palette.Red[at] = static_cast<std::uint8_t>(i);
    palette.Green[at] = static_cast<std::uint8_t>(255 - i);
    palette.Blue[at] = static_cast<std::uint8_t>(i * 37 % 256);
  }
  return palette;
}

// One back end for every test, so that the shading tables of the usual palette and fog
// are built once.
inline SoftBackend& SharedBackend() {
  static SoftBackend backend;
  return backend;
}

// A view of width x height with the distinct palette and a black fog.
struct TestView {
  TestView(int width, int height) {
    view->ViewPalette = DistinctPalette();
    backend.OpenView(width, height, *view);
    backend.FogChanged(*view);
  }

  SoftBackend& backend = SharedBackend();
  std::unique_ptr<RenderView> view = std::make_unique<RenderView>();
};

// The screen as one string per row: each pixel is its legend character, '?' when the
// legend has none.
inline std::vector<std::string> Rows(const RenderView& view, const std::map<int, char>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < view.Screen.Height; ++y) {
    std::string row;
    for (int x = 0; x < view.Screen.Width; ++x) {
      const auto found = legend.find(view.Screen.Pixels[static_cast<std::size_t>(y * view.Screen.Width + x)]);
      row += found == legend.end() ? '?' : found->second;
    }
    rows.push_back(row);
  }
  return rows;
}

// A 128 x 128 image block whose quadrants hold four indices: top left, top right,
// bottom left, bottom right.
inline std::unique_ptr<ImageBlock> QuadrantBlock(std::uint8_t topLeft, std::uint8_t topRight, std::uint8_t bottomLeft,
                                                 std::uint8_t bottomRight) {
  auto block = std::make_unique<ImageBlock>();
  for (int y = 0; y < kImageBlockSide; ++y) {
    for (int x = 0; x < kImageBlockSide; ++x) {
      const bool right = x >= kImageBlockSide / 2, bottom = y >= kImageBlockSide / 2;
      (*block)[static_cast<std::size_t>(y * kImageBlockSide + x)] =
          bottom ? (right ? bottomRight : bottomLeft) : (right ? topRight : topLeft);
    }
  }
  return block;
}

}  // namespace zandrel::engine::soft::test
