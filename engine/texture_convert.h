// The hardware back end's texture images: 16-bit 1-5-5-5 pixels (alpha, red, green,
// blue) and the board's level-of-detail and aspect codes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/image.h"

namespace zandrel::engine {

// The board's 16-bit texture format: 1 bit alpha, 5 bits each of red, green and blue.
constexpr std::int32_t kTextureFormatArgb1555 = 11;
constexpr std::int32_t kMaxTextureSide = 256;
constexpr std::int32_t kMaxTextureRatio = 8;

// The texture value of a palette index: alpha (bit 15) set unless the index is 0 (the
// transparent colour), then red / 8, green / 8 and blue / 8 in bits 10-14, 5-9 and 0-4.
constexpr std::uint16_t TextureColour(std::uint8_t index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint16_t>((index != 0 ? 1 : 0) << 15 | (red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3));
}

// Width x Height texture values of an image, using its own palette; pixel (x, y) lands
// in column Width - 1 - x of row y, since textures are mirrored left to right. An image
// whose indices do not cover Width x Height gives transparent black throughout.
std::vector<std::uint16_t> ConvertTexture(const PcxImage& image);

// The level-of-detail code of a side: 256 -> 0, 128 -> 1, ... 1 -> 8; nothing for a side
// that is not a power of two from 1 to 256.
std::optional<std::int32_t> LodCode(std::int32_t side);

// The aspect code of width x height: 8x1 -> 0, 4x1 -> 1, 2x1 -> 2, 1x1 -> 3, 1x2 -> 4,
// 1x4 -> 5, 1x8 -> 6. The ratio of the longer to the shorter side is taken by integer
// division, below 2 counting as square. Nothing unless both sides are powers of two
// from 1 to 256 and the ratio is at most 8.
std::optional<std::int32_t> AspectCode(std::int32_t width, std::int32_t height);

}  // namespace zandrel::engine
