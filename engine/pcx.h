// The one decoder of 256-colour PCX files, shared by texture images, the view palette and
// the 2D pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/image.h"

namespace zandrel::engine {

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::size_t kPcxPaletteSize = 768;
// Xmax and Ymax are 16-bit, so a file may claim up to 65536 x 65536 pixels; no image of
// the game comes near this bound, which keeps every allocation small.
constexpr std::int32_t kMaxPcxSide = 8192;
// The largest file a decodable image needs: every pixel a two-byte run, plus the
// header and the palette. Longer files are refused before they are read.
constexpr std::size_t kMaxPcxFileSize =
    kPcxHeaderSize + 2 * static_cast<std::size_t>(kMaxPcxSide) * kMaxPcxSide + kPcxPaletteSize;

// "G3D: The file <name> is missing"
std::string MissingFileMessage(std::string_view fileName);

// Decodes a PCX file held in memory. Width and height are Xmax + 1 and Ymax + 1 (offsets
// 8 and 10); Xmin, Ymin and the bytes-per-line field are not read, rows are exactly
// Width bytes. The run-length data lies between offset 128 and the palette (the last
// 768 bytes); a byte of 192 or more repeats the next byte (byte - 192) times, a count of
// 0 writing nothing. Decoding stops once Width x Height pixels are written (the rest of
// a run is dropped); pixels the data does not reach stay 0. Fails, naming `fileName`,
// for a file shorter than a header and a palette or an image above kMaxPcxSide.
base::Expected<PcxImage> DecodePcx(std::span<const std::uint8_t> bytes, std::string_view fileName);

// Encodes an image as a 256-colour PCX file (version 5, run-length coded, palette type 1,
// with the palette marker byte), as a paint program writes it: each scan line is coded on
// its own and holds Width bytes, which the bytes-per-line field states. DecodePcx gives it
// back.
std::vector<std::uint8_t> EncodePcx(const PcxImage& image);

// Reads and decodes the file the name resolves to below `folder` (the data tree). A missing file fails with
// MissingFileMessage(fileName).
base::Expected<PcxImage> LoadPcx(std::string_view fileName, const std::filesystem::path& folder);

}  // namespace zandrel::engine
