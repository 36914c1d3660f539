// The board drawn with OpenGL 3.3 core through SDL2. The game renders at the chosen
// resolution into an offscreen frame; the buffer swap scales it into the window with its
// aspect kept (black bars) and waits for the vertical retrace.
//
// Triangles are batched and drawn with as few draw calls as the call order allows: the
// colour combine and alpha source travel with each vertex, and texture images of one size
// share an array texture, so only a change of blend, depth or texture filter state, of
// texture size, a buffer clear, a frame buffer write or a download over an image in use
// ends a batch. Frame buffer writes
// appear at the point of the unlock, over what was drawn before and under what follows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "base/expected.h"
#include "platform/glide/glide.h"

struct SDL_Window;

namespace zandrel::glide {

struct GlFunctions;

// A rectangle in OpenGL's window coordinates: pixels of the drawable, from the bottom left.
struct ViewportRect {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

// Where a rectangle of the window's client area (window units, from the top left) lies in
// the drawable, which has more pixels than the window has units on a high-density
// screen. A client area without size counts as the drawable's.
ViewportRect ClientToDrawable(int x, int y, int width, int height, int clientWidth, int clientHeight, int drawableWidth,
                              int drawableHeight);

class OpenGlGlide final : public GlideDevice {
 public:
  // Creates the OpenGL 3.3 core context on `window`, which the caller made with
  // SDL_WINDOW_OPENGL, and makes it current. Fails (naming why) when no such context can
  // be made: the game then has no board.
  static base::Expected<std::unique_ptr<OpenGlGlide>> Create(SDL_Window* window,
                                                             FxU32 textureMemory = kTextureMemoryBytes);
  ~OpenGlGlide() override;
  OpenGlGlide(const OpenGlGlide&) = delete;
  OpenGlGlide& operator=(const OpenGlGlide&) = delete;

  void grGlideInit() override {}
  FxBool grSstQueryHardware(GrHwConfiguration* hwConfig) override;
  void grSstSelect(std::int32_t) override {}
  // Opens the offscreen frame at the resolution (320 x 200 ... 800 x 600).
  FxBool grSstWinOpen(FxU32 hWnd, std::int32_t resolution, std::int32_t refresh, std::int32_t colorFormat,
                      std::int32_t origin, std::int32_t nColBuffers, std::int32_t nAuxBuffers) override;
  // Releases the frame; the context and the texture memory stay.
  void grGlideShutdown() override;

  void grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) override;
  void grBufferSwap(std::int32_t swapInterval) override;
  void grColorMask(FxBool rgb, FxBool alpha) override;

  void guColorCombineFunction(std::int32_t function) override;
  void guAlphaSource(std::int32_t mode) override;
  void grAlphaBlendFunction(std::int32_t rgbSrc, std::int32_t rgbDst, std::int32_t alphaSrc,
                            std::int32_t alphaDst) override;
  void grTexCombineFunction(GrChipID_t, std::int32_t) override {}
  void grTexFilterMode(GrChipID_t tmu, std::int32_t minFilter, std::int32_t magFilter) override;
  void grTexClampMode(GrChipID_t tmu, std::int32_t sClamp, std::int32_t tClamp) override;
  // The depth buffer holds 1/w: W-buffer functions compare w, so "less" passes the nearer.
  void grDepthBufferMode(std::int32_t mode) override;
  void grDepthBufferFunction(std::int32_t function) override;
  void grDepthMask(FxBool enable) override;

  FxU32 grTexMinAddress(GrChipID_t) override { return 0; }
  FxU32 grTexMaxAddress(GrChipID_t) override { return static_cast<FxU32>(memory_.size()); }
  FxU32 grTexTextureMemRequired(FxU32 evenOdd, const GrTexInfo* info) override;
  // Only the largest level is shown (the board filters bilinearly without mip-mapping).
  void grTexDownloadMipMap(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, const GrTexInfo* info) override;
  // An address where nothing was downloaded gives white texels.
  void grTexSource(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, const GrTexInfo* info) override;

  void guDrawTriangleWithClip(const GrVertex* a, const GrVertex* b, const GrVertex* c) override;

  // A write lock of the back buffer hands out a 5-6-5 frame in memory; the unlock draws
  // the pixels written into it. The value kLfbUnwritten itself (green's lowest bit
  // alone, which the game's pictures never use) counts as not written.
  FxBool grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin,
                   FxBool pixelPipeline, GrLfbInfo* info) override;
  FxBool grLfbUnlock(std::int32_t type, std::int32_t buffer) override;

  static constexpr FxU16 kLfbUnwritten = 0x0020;

  // Shows an image (8-bit red, green, blue, alpha, rows top-down) scaled into a rectangle
  // of the window's client area, on black, and presents it: how video clips reach the
  // window, also while the frame is closed. An open frame keeps what was drawn in it.
  void ShowImage(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth, int destHeight);

  // The offscreen frame as 8-bit red, green, blue, alpha, rows top-down (empty when no
  // frame is open). Draws what is batched first.
  std::vector<std::uint8_t> ReadFrame();
  ScreenSize Size() const { return size_; }
  // Draw calls made so far in the current frame and in the last swapped one.
  int DrawCalls() const { return drawCalls_; }
  int DrawCallsLastFrame() const { return lastFrameDrawCalls_; }

 private:
  // One vertex as the shader takes it.
  struct GlVertex {
    float X, Y, Oow, R, G, B, A, Sow, Tow;
    std::int32_t Mode, Layer;
  };
  // Texture images of one size, one layer each.
  struct TextureArray {
    ScreenSize Size;
    unsigned Texture = 0;
    std::int32_t Capacity = 0;
    std::vector<std::int64_t> LayerAddress;  // -1: free
  };
  struct Resident {
    std::int32_t Array = 0, Layer = 0;
    FxU32 Bytes = 0;
  };

  OpenGlGlide(SDL_Window* window, void* context, std::unique_ptr<GlFunctions> gl, FxU32 textureMemory);
  base::Status Prepare();
  void Flush();
  void ApplyDepthState();
  void ApplySampler();
  void ReleaseFrame();
  void FreeLayersIn(FxU32 start, FxU32 end);
  std::int32_t ArrayWithRoom(ScreenSize size);
  void UploadLayer(const TextureArray& array, std::int32_t layer, FxU32 address);

  SDL_Window* window_;
  void* context_;
  std::unique_ptr<GlFunctions> gl_;

  unsigned program_ = 0, lfbProgram_ = 0, vertexArray_ = 0, vertexBuffer_ = 0, emptyArray_ = 0, sampler_ = 0;
  int screenUniform_ = -1, lfbScreenUniform_ = -1, lfbRectUniform_ = -1;
  unsigned frameBuffer_ = 0, colourBuffer_ = 0, depthBuffer_ = 0, lfbTexture_ = 0;
  unsigned imageProgram_ = 0, imageTexture_ = 0;
  ScreenSize imageSize_;
  std::int32_t maxLayers_ = 256;

  ScreenSize size_;
  std::int32_t colourFormat_ = GR_COLORFORMAT_RGBA;
  bool colourMask_ = true, alphaMask_ = true, depthMask_ = true;
  std::int32_t depthMode_ = GR_DEPTHBUFFER_DISABLE, depthFunction_ = GR_CMP_LESS;
  std::int32_t colourMode_ = 4, alphaMode_ = 0;
  std::int32_t minFilter_ = GR_TEXTUREFILTER_BILINEAR, magFilter_ = GR_TEXTUREFILTER_BILINEAR;
  std::int32_t sClamp_ = GR_TEXTURECLAMP_WRAP, tClamp_ = GR_TEXTURECLAMP_WRAP;

  std::vector<std::uint8_t> memory_;  // the board's texture memory
  std::vector<TextureArray> arrays_;
  std::map<FxU32, Resident> resident_;  // by start address
  std::int32_t sourceArray_ = -1, sourceLayer_ = -1;
  float sScale_ = 1, tScale_ = 1;  // texture coordinates 0..256 along the longer side to 0..1

  std::vector<GlVertex> batch_;
  std::int32_t batchArray_ = -1;

  std::vector<FxU16> lfb_;
  bool locked_ = false;

  int drawCalls_ = 0, lastFrameDrawCalls_ = 0;
};

}  // namespace zandrel::glide
