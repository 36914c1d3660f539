// Colour matching against the view palette.
#pragma once

#include <cstdint>

#include "engine/render_view.h"

namespace zandrel::engine {

// The index among first..last of the palette colour nearest to (r, g, b) by the sum of
// squared differences; on a tie the higher index wins.
std::uint8_t NearestColour(const Palette& palette, int r, int g, int b, int first, int last);

}  // namespace zandrel::engine
