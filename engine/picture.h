// Picture slots: 2D pictures (interface screens, radar, font sheets and glyphs) held as
// 16-bit pixels with a mask, drawn flat over the 3D view.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "base/expected.h"
#include "engine/engine.h"
#include "engine/image.h"

namespace zandrel::engine {

// The picture value of a colour: red / 8 in bits 11-15, green / 8 in bits 6-10, bit 5
// clear, blue / 8 in bits 0-4.
constexpr std::uint16_t PictureColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 3) << 6 | (blue >> 3));
}

// Turns a decoded image into a picture: each pixel the value of its palette colour, its
// mask 1 unless the index is 0. Not mirrored.
Picture MakePicture(const PcxImage& image);

// Loads the PCX file the name resolves to below `folder` (the data tree)
// into picture slot `slot`, replacing what it held. Fails for a slot outside
// 0..kPictureSlotCount - 1, a missing file (MissingFileMessage), a damaged one, and an
// image whose Xmax is even ("G3D: The image <name> must have an odd width"): rows of
// the file are only whole when the width in pixels is even.
base::Status LoadPicture(Engine& engine, int slot, std::string_view fileName, const std::filesystem::path& folder);

// Makes `target` a new width x height picture cut from `source` at (x, y): row i,
// column j takes pixel and mask (x + j, y + i). Where that lies outside the source the
// pixel is transparent (mask 0, pixel 0). Nothing happens when the source is empty, a
// slot is outside 0..kPictureSlotCount - 1, or a size is outside 1..kMaxPcxSide.
void CopyPictureRegion(Engine& engine, int source, int x, int y, int target, int height, int width);

}  // namespace zandrel::engine
