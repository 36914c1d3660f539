// Pictures as PNG files: an 8-bit screen with the view palette, or a true-colour frame (the
// screenshots of both programs).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "base/expected.h"
#include "engine/render_view.h"

namespace zandrel::engine {

// Writes the screen as an 8-bit indexed PNG of Width x Height with the 256 colours of
// `palette`, all at once (a temporary file, then a rename). Fails on a screen whose
// pixels do not fill it or when the file cannot be written.
base::Status WritePng(const std::filesystem::path& path, const ScreenBuffer& screen, const Palette& palette);

// The PNG file of `rgba` (8-bit red, green, blue, alpha; rows top-down) as bytes, for pictures
// kept in memory. Fails when the pixels do not fill the width x height picture.
base::Expected<std::vector<std::uint8_t>> EncodePngRgba(int width, int height, std::span<const std::uint8_t> rgba);

// Writes `rgba` (8-bit red, green, blue, alpha; rows top-down) as a PNG of width x height,
// all at once. Fails when the pixels do not fill the picture or the file cannot be written.
base::Status WritePngRgba(const std::filesystem::path& path, int width, int height, std::span<const std::uint8_t> rgba);

}  // namespace zandrel::engine
