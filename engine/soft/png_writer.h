// The screen buffer as a PNG file: 8-bit palette indices with the view palette.
#pragma once

#include <filesystem>

#include "engine/render_view.h"
#include "platform/win/expected.h"

namespace zandrel::engine::soft {

// Writes the screen as an 8-bit indexed PNG of Width x Height with the 256 colours of
// `palette`, all at once (a temporary file, then a rename). Fails on a screen whose
// pixels do not fill it or when the file cannot be written.
win::Status WritePng(const std::filesystem::path& path, const ScreenBuffer& screen, const Palette& palette);

}  // namespace zandrel::engine::soft
