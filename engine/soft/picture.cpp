#include "engine/soft/picture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zandrel::engine::soft {
namespace {

constexpr std::size_t kColourCount = 32768;

int Widen(int channel) { return (channel << 3) | (channel >> 2); }

// The nearest whole pixel of a screen fraction times the screen size, ties to even;
// values far outside any screen are held at a bound that still lies outside it.
std::int64_t NearestPixel(float value) {
  constexpr float kBound = 1 << 30;
  return std::llrint(std::clamp(value, -kBound, kBound));
}

}  // namespace

void PictureColours::Use(const Palette& palette) {
  if (matcher_ && SamePalette(palette, palette_)) return;
  palette_ = palette;
  matcher_.emplace(palette);
  matches_.assign(kColourCount, -1);
}

std::uint8_t PictureColours::Of(std::uint16_t pixel) {
  // Red in bits 11-15, green in 6-10, blue in 0-4; bit 5 is not part of the colour.
  const std::size_t key = static_cast<std::size_t>(((pixel >> 1) & 0x7FE0) | (pixel & 0x1F));
  std::int16_t& match = matches_[key];
  if (match < 0) {
    match = matcher_->Nearest(Widen(pixel >> 11), Widen((pixel >> 6) & 0x1F), Widen(pixel & 0x1F));
  }
  return static_cast<std::uint8_t>(match);
}

void DrawPictureOver(const Picture& picture, bool transparent, ScreenBuffer& screen, float x, float y, float w, float h,
                     PictureColours& colours) {
  if (picture.Empty() || picture.Width <= 0 || picture.Height <= 0) return;
  if (std::isnan(x) || std::isnan(y) || std::isnan(w) || std::isnan(h)) return;
  const std::size_t sourceSize = static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height);
  if (picture.Pixels.size() < sourceSize || picture.Mask.size() < sourceSize) return;
  const std::int64_t screenWidth = screen.Width, screenHeight = screen.Height;
  if (screenWidth <= 0 || screenHeight <= 0 ||
      screen.Pixels.size() < static_cast<std::size_t>(screenWidth * screenHeight)) {
    return;
  }

  const std::int64_t left = NearestPixel(static_cast<float>(screenWidth) * x);
  const std::int64_t top = NearestPixel(static_cast<float>(screenHeight) * y);
  const std::int64_t width = NearestPixel(static_cast<float>(screenWidth) * w);
  const std::int64_t height = NearestPixel(static_cast<float>(screenHeight) * h);
  if (width <= 0 || height <= 0) return;
  if (left >= screenWidth || left + width < 0) return;
  const std::int64_t firstColumn = std::max<std::int64_t>(left, 0);
  const std::int64_t endColumn = std::min(left + width, screenWidth - 1);
  const std::int64_t firstRow = std::max<std::int64_t>(top, 0);
  const std::int64_t endRow = std::min(top + height, screenHeight - 1);
  if (firstRow >= endRow) return;

  // Steps below 256 x the source side over `width` target pixels keep every position
  // below the source side.
  const std::int64_t stepX = std::int64_t{picture.Width} * 256 / width;
  const std::int64_t stepY = std::int64_t{picture.Height} * 256 / height;
  for (std::int64_t row = firstRow; row < endRow; ++row) {
    const std::size_t source = static_cast<std::size_t>(((row - top) * stepY >> 8) * picture.Width);
    std::uint8_t* out = screen.Pixels.data() + row * screenWidth;
    for (std::int64_t column = firstColumn; column < endColumn; ++column) {
      const std::size_t at = source + static_cast<std::size_t>((column - left) * stepX >> 8);
      if (!transparent || picture.Mask[at] == 1) out[column] = colours.Of(picture.Pixels[at]);
    }
  }
}

}  // namespace zandrel::engine::soft
