// The software back end: draws the scene into the view's 8-bit screen buffer with a
// painter's-order scan-line rasteriser, 128 x 128 texture images and shading tables.
// Used by the level editor and the level tool.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/backend.h"
#include "engine/render_view.h"
#include "engine/soft/picture.h"

namespace zandrel::engine::soft {

class SoftBackend final : public Backend {
 public:
  // Sizes are limited to 1..kMaxViewSide on each axis, which keeps the 16-bit projection
  // fields valid and the buffer bounded. ViewShift and the span length follow the width:
  // up to 160 pixels 6 and 16, up to 320 7 and 32, wider 8 and 64.
  void OpenView(int width, int height, RenderView& view) override;
  // The whole screen takes the palette index.
  void ClearView(std::uint8_t paletteIndex, RenderView& view) override;
  // No depth buffer to clear: polygons are drawn far to near, the nearer ones covering.
  void StartScene(RenderView& view) override;
  // Scan-line spans into the 8-bit screen, shaded through the tables of the fog.
  void DrawPolygon(int index, RenderView& view) override;
  // Pixels become their nearest view palette entry among 1..254 (5-bit channels widened
  // to 8 bits), remembered per distinct pixel value until the palette changes.
  void DrawPicture(const Picture& picture, bool transparent, RenderView& view, float x, float y, float w,
                   float h) override;
  // The screen is the picture: its window shows it when it likes.
  void SwapView(RenderView& view) override;

  // Every image block of the view is freed.
  void BeginTextureImages(RenderView& view) override;
  // Images of another size than 128 x 128 are resampled to it, nearest texel. An image
  // whose pixels do not fill its width and height leaves its slot empty.
  void StoreTextureImage(int number, const PcxImage& image, bool first, RenderView& view) override;
  // The shading tables are built again for the palette and the fog (kept while both stay).
  void FogChanged(RenderView& view) override;

  static constexpr int kMaxViewSide = 8192;

 private:
  PictureColours pictureColours_;
  // The shading tables built last and what they were built from: the level view and the
  // preview share them.
  std::vector<std::uint8_t> shading_;
  Palette shadingPalette_;
  std::array<std::uint8_t, 3> shadingFog_{};
};

}  // namespace zandrel::engine::soft
