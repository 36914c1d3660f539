// 256-colour PCX files built in memory for tests.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zandrel::test {

using PcxPalette = std::array<std::uint8_t, 768>;

// A palette where entry i is (i, 255 - i, i / 2).
PcxPalette RampPalette();

// A PCX file from its parts: a 128-byte header with Xmax and Ymax (and the fields a
// paint program would set), the run-length data exactly as given, then the 768-byte
// palette.
std::string PcxFile(int xmax, int ymax, std::string_view runData, const PcxPalette& palette);

// A complete PCX file of width x height indices (engine::EncodePcx), as text bytes.
std::string EncodePcx(int width, int height, std::span<const std::uint8_t> indices, const PcxPalette& palette);

}  // namespace zandrel::test
