// The two bitmap fonts of the interface: their sheets (one row of 100 glyphs for
// characters 32 to 131, index 0 around them) and text drawn with the same glyphs into
// other pictures.
#pragma once

#include <string_view>

#include "tools/data/interface_canvas.h"

namespace zandrel::data::interface {

enum class Font { Small, Big };

constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 100;

struct FontLayout {
  int Width, Height;  // one glyph's cell in the sheet
  int Pitch;          // glyph i starts at x = Pitch * i; the columns between stay blank
};

constexpr FontLayout Layout(Font font) { return font == Font::Small ? FontLayout{3, 7, 4} : FontLayout{8, 15, 9}; }

// The glyph of character `code` (32..131) in its colours, transparent where blank.
Canvas Glyph(Font font, int code);

// The whole sheet: Pitch * 100 wide, one glyph high.
Canvas FontSheet(Font font);

// Draws `text` with its top-left corner at (x, y), one glyph every Pitch pixels.
void DrawText(Canvas& canvas, Font font, int x, int y, std::string_view text);
int TextWidth(Font font, std::string_view text);

}  // namespace zandrel::data::interface
