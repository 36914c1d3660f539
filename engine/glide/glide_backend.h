// The game's back end: draws the scene through the 3D board (platform/glide). Each
// polygon of the list becomes one board triangle, pictures are written into the back
// buffer through a frame buffer lock, and texture images live in the board's memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/backend.h"
#include "engine/render_view.h"
#include "platform/glide/glide.h"

namespace zandrel::engine::glide {

constexpr std::string_view kNoBoardMessage = "No 3DFX card detected !";
constexpr std::string_view kTextureMemoryMessage = "Problem Loading texture";

// Polygons whose three corners all lie nearer than this are not drawn.
constexpr std::int32_t kNearestDrawnDepth = 120;

// A texture image in the board's memory. The first fields are the board's own
// texture-information record; Loaded is false until the image is downloaded.
struct ImageSlot {
  zandrel::glide::GrTexInfo Info;
  zandrel::glide::FxU32 StartAddress = 0;
  zandrel::glide::GrChipID_t Tmu = zandrel::glide::GR_TMU0;
  bool Loaded = false;
};

class GlideBackend final : public Backend {
 public:
  explicit GlideBackend(zandrel::glide::GlideDevice& device);

  // The board's part of the engine start: starts the library and asks for a board.
  // Fails with kNoBoardMessage when there is none.
  base::Status StartEngine();

  // Opens the board's screen at the resolution chosen by the height (up to 200: 320 x 200,
  // up to 240: 320 x 240, up to 480: 640 x 480, beyond: 800 x 600) and takes its size
  // as the view's, with the fixed render state: texture times iterated colour, alpha
  // blending, decal, bilinear, wrapping, W-buffer "less" with writes on.
  void OpenView(int width, int height, RenderView& view) override;
  // Shuts the board down (before a video plays full screen).
  void CloseView();
  bool ViewOpen() const { return viewOpen_; }

  void ClearView(std::uint8_t paletteIndex, RenderView& view) override;
  // Clears only the depth buffer: the colour buffer keeps the previous picture.
  void StartScene(RenderView& view) override;
  void DrawPolygon(int index, RenderView& view) override;
  // The last column and the last row of the screen are never written.
  void DrawPicture(const Picture& picture, bool transparent, RenderView& view, float x, float y, float w,
                   float h) override;
  void SwapView(RenderView& view) override;

  void BeginTextureImages(RenderView& view) override;
  // Images whose sides are not powers of two from 1 to 256 with a ratio up to 8 are not
  // loaded; when the board's memory is full the image fails with kTextureMemoryMessage
  // and so does every later one of the list.
  void StoreTextureImage(int number, const PcxImage& image, bool first, RenderView& view) override;
  // Vertex colours take the fog colour from the view as they are drawn: nothing to do.
  void FogChanged(RenderView& view) override;

  // Makes an image the texture of unit 0; an image not loaded leaves the unit as it is.
  void SourceImage(int imageNumber);
  const ImageSlot& Image(int imageNumber) const { return images_[static_cast<std::size_t>(imageNumber)]; }

 private:
  zandrel::glide::GlideDevice& device_;
  std::vector<ImageSlot> images_;
  zandrel::glide::FxU32 freeAddress_ = 0, highestAddress_ = 0;
  bool viewOpen_ = false;
};

}  // namespace zandrel::engine::glide
