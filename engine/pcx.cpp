#include "engine/pcx.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/files.h"

namespace zandrel::engine {
namespace {

constexpr std::size_t kMaxPixelsPerRun = 63;
constexpr std::size_t kShortFileAllowance = 256 * 256;

std::string DamagedMessage(std::string_view fileName, std::string_view reason) {
  return "G3D: The image " + std::string(fileName) + " is damaged (" + std::string(reason) + ")";
}

std::int32_t Word(std::span<const std::uint8_t> bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

}  // namespace

std::string MissingFileMessage(std::string_view fileName) {
  return "G3D: The file " + std::string(fileName) + " is missing";
}

base::Expected<PcxImage> DecodePcx(std::span<const std::uint8_t> bytes, std::string_view fileName) {
  if (bytes.size() < kPcxHeaderSize + kPcxPaletteSize) {
    return base::Failure{DamagedMessage(fileName, "shorter than a header and a palette")};
  }
  PcxImage image;
  image.Width = Word(bytes, 8) + 1;
  image.Height = Word(bytes, 10) + 1;
  if (image.Width > kMaxPcxSide || image.Height > kMaxPcxSide) {
    return base::Failure{DamagedMessage(fileName, "larger than 8192 x 8192 pixels")};
  }
  const std::size_t paletteAt = bytes.size() - kPcxPaletteSize;
  std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(paletteAt), bytes.end(), image.Palette.begin());

  const std::size_t total = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
  // Two bytes of data give at most 63 pixels. A short file still decodes, the rest as zero,
  // but one whose data could not fill its picture by far (beyond a 256 x 256 allowance) is
  // cut short beyond use and would have the reader ask for more memory than it holds.
  const std::size_t dataBytes = paletteAt - kPcxHeaderSize;
  if (total > kMaxPixelsPerRun * ((dataBytes + 1) / 2) + kShortFileAllowance) {
    return base::Failure{DamagedMessage(fileName, "too short for its " + std::to_string(image.Width) + " x " +
                                                      std::to_string(image.Height) + " pixels")};
  }
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

std::vector<std::uint8_t> EncodePcx(const PcxImage& image) {
  std::vector<std::uint8_t> bytes(kPcxHeaderSize, 0);
  auto putWord = [&bytes](std::size_t at, std::int32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
  };
  bytes[0] = 10;  // manufacturer
  bytes[1] = 5;   // version
  bytes[2] = 1;   // run-length coded
  bytes[3] = 8;   // bits per pixel
  putWord(8, image.Width - 1);
  putWord(10, image.Height - 1);
  bytes[65] = 1;  // planes
  // The game's reader takes rows of exactly Width bytes, so a line carries no padding byte
  // and says so; readers that follow the field then agree with it.
  putWord(66, image.Width);
  putWord(68, 1);  // palette type: colour
  // Each scan line is coded on its own, as readers that decode line by line expect: a run
  // never crosses into the next line. Runs hold up to 63 bytes; every index of 192 or more
  // is written as a run.
  const std::size_t width = static_cast<std::size_t>(std::max(image.Width, 0));
  const std::span<const std::uint8_t> indices(image.Indices);
  for (std::size_t lineStart = 0; width > 0 && lineStart < indices.size(); lineStart += width) {
    const std::span<const std::uint8_t> line = indices.subspan(lineStart, std::min(width, indices.size() - lineStart));
    std::size_t i = 0;
    while (i < line.size()) {
      const std::uint8_t value = line[i];
      std::size_t count = 1;
      while (i + count < line.size() && line[i + count] == value && count < 63) ++count;
      if (count > 1 || value >= 192) bytes.push_back(static_cast<std::uint8_t>(192 + count));
      bytes.push_back(value);
      i += count;
    }
  }
  bytes.push_back(0x0C);  // the palette marker
  bytes.insert(bytes.end(), image.Palette.begin(), image.Palette.end());
  return bytes;
}

base::Expected<PcxImage> LoadPcx(std::string_view fileName, const std::filesystem::path& folder) {
  if (!win::FileExists(fileName, folder)) return base::Failure{MissingFileMessage(fileName)};
  const std::optional<std::vector<std::uint8_t>> bytes =
      win::ReadWholeFile(win::ResolvePath(fileName, folder), kMaxPcxFileSize);
  if (!bytes) return base::Failure{DamagedMessage(fileName, "unreadable or too large")};
  return DecodePcx(*bytes, fileName);
}

}  // namespace zandrel::engine
