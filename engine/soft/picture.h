// Pictures over the 8-bit screen: 16-bit pixels matched to the view palette.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/image.h"
#include "engine/render_view.h"
#include "engine/soft/colour_tables.h"

namespace zandrel::engine::soft {

// The view palette entries nearest to 16-bit pixel colours, matched once per distinct
// colour and forgotten when the palette changes.
class PictureColours {
 public:
  // Makes the matches those of `palette`.
  void Use(const Palette& palette);
  // The entry among 1..254 nearest to the pixel's colour, each 5-bit channel widened to
  // 8 bits (31 becomes 255).
  std::uint8_t Of(std::uint16_t pixel);

 private:
  std::vector<std::int16_t> matches_;  // by 15-bit colour; -1 not matched yet
  Palette palette_;
  std::optional<PaletteMatcher> matcher_;
};

// Copies a picture over the screen, scaled in 8.8 fixed point to the rectangle at (x, y)
// of size (w, h), all fractions of the screen, rounded to the nearest pixel. The last
// column and row of the screen are never written; when `transparent` is set only pixels
// whose mask is 1 are. A picture whose pixels or mask do not fill it, or a rectangle of
// no width or height or with a coordinate that is not a number, draws nothing.
void DrawPictureOver(const Picture& picture, bool transparent, ScreenBuffer& screen, float x, float y, float w, float h,
                     PictureColours& colours);

}  // namespace zandrel::engine::soft
