#include "engine/texture_convert.h"

#include <algorithm>
#include <bit>

namespace zandrel::engine {

std::vector<std::uint16_t> ConvertTexture(const PcxImage& image) {
  const std::size_t width = static_cast<std::size_t>(std::max(image.Width, 0));
  const std::size_t height = static_cast<std::size_t>(std::max(image.Height, 0));
  std::vector<std::uint16_t> texels(width * height);
  if (image.Indices.size() < texels.size()) return texels;
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* row = image.Indices.data() + y * width;
    std::uint16_t* out = texels.data() + y * width;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t c = row[x];
      out[width - 1 - x] =
          TextureColour(c, image.Palette[c * 3u], image.Palette[c * 3u + 1], image.Palette[c * 3u + 2]);
    }
  }
  return texels;
}

std::optional<std::int32_t> LodCode(std::int32_t side) {
  if (side < 1 || side > kMaxTextureSide || !std::has_single_bit(static_cast<std::uint32_t>(side))) {
    return std::nullopt;
  }
  return 8 - std::countr_zero(static_cast<std::uint32_t>(side));
}

std::optional<std::int32_t> AspectCode(std::int32_t width, std::int32_t height) {
  if (!LodCode(width) || !LodCode(height)) return std::nullopt;
  const bool wide = width >= height;
  const std::int32_t ratio = wide ? width / height : height / width;
  if (ratio > kMaxTextureRatio) return std::nullopt;
  if (ratio < 2) return 3;
  const std::int32_t steps = std::countr_zero(static_cast<std::uint32_t>(ratio));  // 1, 2 or 3
  return wide ? 3 - steps : 3 + steps;
}

}  // namespace zandrel::engine
