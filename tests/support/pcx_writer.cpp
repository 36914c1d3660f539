#include "tests/support/pcx_writer.h"

#include "engine/pcx.h"

namespace zandrel::test {
namespace {

void PutWord(std::string& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

PcxPalette RampPalette() {
  PcxPalette palette{};
  for (std::size_t i = 0; i < 256; ++i) {
    palette[i * 3] = static_cast<std::uint8_t>(i);
    palette[i * 3 + 1] = static_cast<std::uint8_t>(255 - i);
    palette[i * 3 + 2] = static_cast<std::uint8_t>(i / 2);
  }
  return palette;
}

std::string PcxFile(int xmax, int ymax, std::string_view runData, const PcxPalette& palette) {
  std::string bytes(128, '\0');
  bytes[0] = 10;  // manufacturer
  bytes[1] = 5;   // version
  bytes[2] = 1;   // run-length coded
  bytes[3] = 8;   // bits per pixel
  PutWord(bytes, 8, xmax);
  PutWord(bytes, 10, ymax);
  bytes[65] = 1;                                    // planes
  PutWord(bytes, 66, xmax + 1 + ((xmax + 1) & 1));  // bytes per line, even
  bytes.append(runData);
  bytes.append(reinterpret_cast<const char*>(palette.data()), palette.size());
  return bytes;
}

std::string EncodePcx(int width, int height, std::span<const std::uint8_t> indices, const PcxPalette& palette) {
  engine::PcxImage image;
  image.Width = width;
  image.Height = height;
  image.Indices.assign(indices.begin(), indices.end());
  image.Palette = palette;
  const std::vector<std::uint8_t> bytes = engine::EncodePcx(image);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace zandrel::test
