// Text the window writes on its own, before the game's fonts are loaded: black all over and
// one line of 5 x 7 capitals centred, drawn through the board's frame buffer.
#pragma once

#include <string_view>

#include "platform/glide/glide.h"

namespace zandrel::glide {

// The text's size in font pixels (6 x 9 cells: a column and two rows of spacing).
int WindowTextWidth(std::string_view text);
constexpr int kWindowTextHeight = 9;

// Whether pixel (x, y) of the text's box is inked; characters the font lacks stay blank.
bool WindowTextPixel(std::string_view text, int x, int y);

// Clears the open frame of width x height to black, writes `text` in white, centred and
// scaled up by whole pixels for the frame's height, and presents it.
void PaintWindowText(GlideDevice& board, int width, int height, std::string_view text);

}  // namespace zandrel::glide
