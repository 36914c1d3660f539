// The one interface between the engine core and a rendering back end. The game links the
// hardware back end (engine/glide), the editor and the level tool the software one
// (engine/soft).
#pragma once

#include <cstdint>

#include "engine/image.h"
#include "engine/render_view.h"

namespace zandrel::engine {

class Backend {
 public:
  virtual ~Backend() = default;

  // Opens or reopens the view at that size: screen buffer, projection (SetProjection),
  // scene rules, polygon list and sort array of kPolygonCapacity entries.
  virtual void OpenView(int width, int height, RenderView& view) = 0;
  // Fills the screen with a view palette entry (and clears any depth buffer).
  virtual void ClearView(std::uint8_t paletteIndex, RenderView& view) = 0;
  // Called by BeginScene: a fresh depth buffer for the new scene.
  virtual void StartScene(RenderView& view) = 0;
  // Draws polygon `index` of the view's list; called by EndScene only.
  virtual void DrawPolygon(int index, RenderView& view) = 0;
  // Copies a picture over the screen, scaled; x, y, w, h are fractions of the screen.
  virtual void DrawPicture(const Picture& picture, bool transparent, RenderView& view, float x, float y, float w,
                           float h) = 0;
  // Shows the finished frame.
  virtual void SwapView(RenderView& view) = 0;

  // A texture list is loading: forget the images of the previous one.
  virtual void BeginTextureImages(RenderView& view) = 0;
  // Keeps texture image `number` of the list; `first` is the list's first image, whose
  // palette has just become the view palette.
  virtual void StoreTextureImage(int number, const PcxImage& image, bool first, RenderView& view) = 0;
  // The fog colour (and the fog index table) changed.
  virtual void FogChanged(RenderView& view) = 0;
};

}  // namespace zandrel::engine
