#include "engine/pcx.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win/files.h"

namespace zandrel::engine {
namespace {

std::string DamagedMessage(std::string_view fileName, std::string_view reason) {
  return "G3D: The image " + std::string(fileName) + " is damaged (" + std::string(reason) + ")";
}

std::int32_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8);
}

}  // namespace

std::string MissingFileMessage(std::string_view fileName) {
  return "G3D: The file " + std::string(fileName) + " is missing";
}

win::Expected<PcxImage> DecodePcx(std::span<const std::uint8_t> bytes, std::string_view fileName) {
  if (bytes.size() < kPcxHeaderSize + kPcxPaletteSize) {
    return win::Failure{DamagedMessage(fileName, "shorter than a header and a palette")};
  }
  PcxImage image;
  image.Width = Word(bytes, 8) + 1;
  image.Height = Word(bytes, 10) + 1;
  if (image.Width > kMaxPcxSide || image.Height > kMaxPcxSide) {
    return win::Failure{DamagedMessage(fileName, "larger than 8192 x 8192 pixels")};
  }
  const std::size_t paletteAt = bytes.size() - kPcxPaletteSize;
  std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(paletteAt), bytes.end(), image.Palette.begin());

  const std::size_t total = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  image.Indices.assign(total, 0);
  std::size_t written = 0;
  std::size_t at = kPcxHeaderSize;
  while (written < total && at < paletteAt) {
    const std::uint8_t code = bytes[at++];
    if (code < 192) {
      image.Indices[written++] = code;
      continue;
    }
    if (at >= paletteAt) break;  // a run whose pixel byte would be the palette's
    const std::uint8_t pixel = bytes[at++];
    const std::size_t count = std::min<std::size_t>(code - 192u, total - written);
    std::fill_n(image.Indices.begin() + static_cast<std::ptrdiff_t>(written), count, pixel);
    written += count;
  }
  return image;
}

win::Expected<PcxImage> LoadPcx(std::string_view fileName, const std::filesystem::path& base) {
  if (!win::FileExists(fileName, base)) return win::Failure{MissingFileMessage(fileName)};
  const std::optional<std::vector<std::uint8_t>> bytes =
      win::ReadWholeFile(win::ResolvePath(fileName, base), kMaxPcxFileSize);
  if (!bytes) return win::Failure{DamagedMessage(fileName, "unreadable or too large")};
  return DecodePcx(*bytes, fileName);
}

}  // namespace zandrel::engine
