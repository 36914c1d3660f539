// The 2D overlay: interface pictures and the two bitmap fonts drawn over the 3D frame.
// Positions and sizes are fractions of the screen width and height.
#pragma once

#include <filesystem>
#include <string_view>

#include "base/expected.h"
#include "engine/engine.h"

namespace zandrel::engine {

// Picture slots of the interface.
enum PictureSlot : int {
  kFontSheetSlot = 0,
  kLogoSlot = 1,
  kTitleSlot = 2,
  kOptionSlot = 4,
  kSelectSlot = 5,
  kBarSlot = 6,
  kRadarSlot = 10,
  kRadarDot1Slot = 11,
  kRadarDot2Slot = 12,
  kSmallFontFirstSlot = 50,  // characters 32..131
  kBigFontFirstSlot = 150,
};

// Loads the interface pictures of the data tree `folder` and cuts both fonts into their
// glyph slots. A missing file fails with the picture loader's message.
base::Status LoadInterfacePictures(Engine& engine, const std::filesystem::path& folder);

// Draws a string with its top-left corner at (x, y); a carriage return (13) starts a new
// line at the same x.
void DrawText(Engine& engine, RenderView& view, std::string_view text, bool big, float y, float x);

// The width of a string as a fraction of the screen width.
float TextWidth(std::string_view text, bool big);

}  // namespace zandrel::engine
