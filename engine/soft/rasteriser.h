// The scan-line rasteriser of the software back end.
#pragma once

#include "engine/render_view.h"

namespace zandrel::engine::soft {

// Draws one triangle of the polygon list into the view's screen buffer, flat-shaded by
// the mean of its three lights:
// - kinds 3 and above fill with the shaded colour of the palette index in Texture (an
//   index above 255 draws nothing);
// - kinds 0 to 2 map the 128 x 128 image block of the texture's current image (of image
//   Texture itself for a sprite half) with perspective; kind 1, kind 2 and sprites leave
//   texel 0 out; a missing block draws nothing;
// - negative kinds draw nothing.
// Rows run from the top corner down, split at the middle corner; each row covers the
// columns from its left edge up to, not including, its right edge, and the rows from the
// top corner's up to, not including, the bottom corner's, so triangles sharing an edge
// neither overlap nor leave a gap. Writes stay within columns 0..right limit, rows
// 0..bottom limit and the buffer, whatever the polygon holds.
void DrawScreenPolygon(const ScreenPolygon& polygon, RenderView& view);

}  // namespace zandrel::engine::soft
