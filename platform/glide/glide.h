// The 3D board library as the game calls it: the Glide 2.x entry points the game uses,
// under their own names, with their record types and constants. Two boards stand behind
// it: NullGlide (headless runs and tests) and OpenGlGlide (OpenGL 3.3 through SDL2).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zandrel::glide {

using FxBool = bool;
using FxU16 = std::uint16_t;
using FxU32 = std::uint32_t;
using GrColor_t = std::uint32_t;  // packed as the colour format of grSstWinOpen says
using GrAlpha_t = std::uint8_t;
using GrChipID_t = std::int32_t;
using GrLOD_t = std::int32_t;
using GrAspectRatio_t = std::int32_t;
using GrTextureFormat_t = std::int32_t;

// Screen resolutions of grSstWinOpen.
constexpr std::int32_t GR_RESOLUTION_320x200 = 0;
constexpr std::int32_t GR_RESOLUTION_320x240 = 1;
constexpr std::int32_t GR_RESOLUTION_640x480 = 7;
constexpr std::int32_t GR_RESOLUTION_800x600 = 8;
constexpr std::int32_t GR_REFRESH_60Hz = 0;
constexpr std::int32_t GR_COLORFORMAT_ARGB = 0;
constexpr std::int32_t GR_COLORFORMAT_RGBA = 2;
constexpr std::int32_t GR_ORIGIN_UPPER_LEFT = 0;

// Colour combine (guColorCombineFunction).
constexpr std::int32_t GR_COLORCOMBINE_ZERO = 0;
constexpr std::int32_t GR_COLORCOMBINE_CCRGB = 1;
constexpr std::int32_t GR_COLORCOMBINE_ITRGB = 2;
constexpr std::int32_t GR_COLORCOMBINE_DECAL_TEXTURE = 4;
constexpr std::int32_t GR_COLORCOMBINE_TEXTURE_TIMES_CCRGB = 5;
constexpr std::int32_t GR_COLORCOMBINE_TEXTURE_TIMES_ITRGB = 6;

// Alpha source (guAlphaSource). The constant colour is opaque white.
constexpr std::int32_t GR_ALPHASOURCE_CC_ALPHA = 0;
constexpr std::int32_t GR_ALPHASOURCE_ITERATED_ALPHA = 1;
constexpr std::int32_t GR_ALPHASOURCE_TEXTURE_ALPHA = 2;
constexpr std::int32_t GR_ALPHASOURCE_TEXTURE_ALPHA_TIMES_ITERATED_ALPHA = 3;

// Blend factors (grAlphaBlendFunction).
constexpr std::int32_t GR_BLEND_ZERO = 0;
constexpr std::int32_t GR_BLEND_SRC_ALPHA = 1;
constexpr std::int32_t GR_BLEND_SRC_COLOR = 2;  // as a destination factor: destination colour
constexpr std::int32_t GR_BLEND_DST_ALPHA = 3;
constexpr std::int32_t GR_BLEND_ONE = 4;
constexpr std::int32_t GR_BLEND_ONE_MINUS_SRC_ALPHA = 5;
constexpr std::int32_t GR_BLEND_ONE_MINUS_SRC_COLOR = 6;
constexpr std::int32_t GR_BLEND_ONE_MINUS_DST_ALPHA = 7;

constexpr GrChipID_t GR_TMU0 = 0;
constexpr std::int32_t GR_TEXTURECOMBINE_DECAL = 1;
constexpr std::int32_t GR_TEXTUREFILTER_POINT_SAMPLED = 0;
constexpr std::int32_t GR_TEXTUREFILTER_BILINEAR = 1;
constexpr std::int32_t GR_TEXTURECLAMP_WRAP = 0;
constexpr std::int32_t GR_TEXTURECLAMP_CLAMP = 1;

constexpr std::int32_t GR_DEPTHBUFFER_DISABLE = 0;
constexpr std::int32_t GR_DEPTHBUFFER_ZBUFFER = 1;
constexpr std::int32_t GR_DEPTHBUFFER_WBUFFER = 2;
// Depth functions compare the incoming value with the stored one.
constexpr std::int32_t GR_CMP_NEVER = 0;
constexpr std::int32_t GR_CMP_LESS = 1;
constexpr std::int32_t GR_CMP_EQUAL = 2;
constexpr std::int32_t GR_CMP_LEQUAL = 3;
constexpr std::int32_t GR_CMP_GREATER = 4;
constexpr std::int32_t GR_CMP_NOTEQUAL = 5;
constexpr std::int32_t GR_CMP_GEQUAL = 6;
constexpr std::int32_t GR_CMP_ALWAYS = 7;
constexpr FxU16 GR_WDEPTHVALUE_FARTHEST = 0xFFFF;

// Texture levels of detail (the longer side: 256 -> 0 ... 1 -> 8), aspects (width x
// height: 8x1 -> 0 ... 1x1 -> 3 ... 1x8 -> 6) and the 16-bit 1-5-5-5 format.
constexpr GrLOD_t GR_LOD_256 = 0;
constexpr GrLOD_t GR_LOD_1 = 8;
constexpr GrAspectRatio_t GR_ASPECT_8x1 = 0;
constexpr GrAspectRatio_t GR_ASPECT_1x1 = 3;
constexpr GrAspectRatio_t GR_ASPECT_1x8 = 6;
constexpr GrTextureFormat_t GR_TEXFMT_ARGB_1555 = 11;
constexpr FxU32 GR_MIPMAPLEVELMASK_EVEN = 1;
constexpr FxU32 GR_MIPMAPLEVELMASK_ODD = 2;
constexpr FxU32 GR_MIPMAPLEVELMASK_BOTH = 3;

// Linear frame buffer access.
constexpr std::int32_t GR_LFB_READ_ONLY = 0;
constexpr std::int32_t GR_LFB_WRITE_ONLY = 1;
constexpr std::int32_t GR_BUFFER_FRONTBUFFER = 0;
constexpr std::int32_t GR_BUFFER_BACKBUFFER = 1;
constexpr std::int32_t GR_LFBWRITEMODE_565 = 0;

// The board's texture memory: 4 MiB on texture unit 0.
constexpr FxU32 kTextureMemoryBytes = 4u << 20;

// What the board query fills in; the game reads nothing of it.
struct GrHwConfiguration {
  std::int32_t num_sst = 0;
};

// Glide's texture-information record.
struct GrTexInfo {
  GrLOD_t smallLod = 0;
  GrLOD_t largeLod = 0;
  GrAspectRatio_t aspectRatio = GR_ASPECT_1x1;
  GrTextureFormat_t format = GR_TEXFMT_ARGB_1555;
  const void* data = nullptr;  // the levels from largeLod to smallLod, 16-bit texels
};

// One texture unit's coordinates of a vertex: s/w and t/w (0..256 along the longer side)
// and 1/w.
struct GrTmuVertex {
  float sow = 0, tow = 0, oow = 0;
};

// The vertex as the triangle call takes it: screen x, y (pixels, origin upper left), z,
// iterated colour 0..255, 1/z, iterated alpha 0..255, 1/w, then three texture units.
struct GrVertex {
  float x = 0, y = 0, z = 0;
  float r = 0, g = 0, b = 0;
  float ooz = 0;
  float a = 0;
  float oow = 0;
  GrTmuVertex tmuvtx[3];
};
static_assert(sizeof(GrVertex) == 72, "the board's vertex record is 72 bytes");

// What a lock of the frame buffer gives: a pointer to the upper-left pixel and the bytes
// from one row to the next.
struct GrLfbInfo {
  std::int32_t size = sizeof(GrLfbInfo);
  void* lfbPtr = nullptr;
  FxU32 strideInBytes = 0;
  std::int32_t writeMode = GR_LFBWRITEMODE_565;
  std::int32_t origin = GR_ORIGIN_UPPER_LEFT;
};

// The screen size of a resolution code; 0 x 0 for a code the board does not know.
struct ScreenSize {
  std::int32_t Width = 0, Height = 0;
};
ScreenSize ResolutionSize(std::int32_t resolution);

// Width and height in texels of one level: `lod` gives the longer side, `aspect` the
// ratio. The shorter side is at least 1.
ScreenSize LevelSize(GrLOD_t lod, GrAspectRatio_t aspect);

// The board's memory requirement of a texture: the levels from largeLod to smallLod that
// `evenOdd` selects (even or odd level codes), 2 bytes a texel, each level rounded up to
// 8 bytes. 0 for a record with codes out of range.
FxU32 TextureMemRequired(FxU32 evenOdd, const GrTexInfo& info);

class GlideDevice {
 public:
  virtual ~GlideDevice() = default;

  virtual void grGlideInit() = 0;
  // False when no board is present.
  virtual FxBool grSstQueryHardware(GrHwConfiguration* hwConfig) = 0;
  virtual void grSstSelect(std::int32_t whichSst) = 0;
  virtual FxBool grSstWinOpen(FxU32 hWnd, std::int32_t resolution, std::int32_t refresh, std::int32_t colorFormat,
                              std::int32_t origin, std::int32_t nColBuffers, std::int32_t nAuxBuffers) = 0;
  virtual void grGlideShutdown() = 0;

  virtual void grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) = 0;
  virtual void grBufferSwap(std::int32_t swapInterval) = 0;
  virtual void grColorMask(FxBool rgb, FxBool alpha) = 0;

  virtual void guColorCombineFunction(std::int32_t function) = 0;
  virtual void guAlphaSource(std::int32_t mode) = 0;
  virtual void grAlphaBlendFunction(std::int32_t rgbSrc, std::int32_t rgbDst, std::int32_t alphaSrc,
                                    std::int32_t alphaDst) = 0;
  virtual void grTexCombineFunction(GrChipID_t tmu, std::int32_t function) = 0;
  virtual void grTexFilterMode(GrChipID_t tmu, std::int32_t minFilter, std::int32_t magFilter) = 0;
  virtual void grTexClampMode(GrChipID_t tmu, std::int32_t sClamp, std::int32_t tClamp) = 0;
  virtual void grDepthBufferMode(std::int32_t mode) = 0;
  virtual void grDepthBufferFunction(std::int32_t function) = 0;
  virtual void grDepthMask(FxBool enable) = 0;

  virtual FxU32 grTexMinAddress(GrChipID_t tmu) = 0;
  virtual FxU32 grTexMaxAddress(GrChipID_t tmu) = 0;
  virtual FxU32 grTexTextureMemRequired(FxU32 evenOdd, const GrTexInfo* info) = 0;
  virtual void grTexDownloadMipMap(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, const GrTexInfo* info) = 0;
  virtual void grTexSource(GrChipID_t tmu, FxU32 startAddress, FxU32 evenOdd, const GrTexInfo* info) = 0;

  virtual void guDrawTriangleWithClip(const GrVertex* a, const GrVertex* b, const GrVertex* c) = 0;

  // Only write locks of the back buffer in 5-6-5 with the origin upper left are granted.
  virtual FxBool grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin,
                           FxBool pixelPipeline, GrLfbInfo* info) = 0;
  virtual FxBool grLfbUnlock(std::int32_t type, std::int32_t buffer) = 0;
};

// A board without a screen: present (unless told otherwise), with its texture memory
// bounds and requirement arithmetic, and a 16-bit back buffer in memory that frame buffer
// locks write into and colour clears fill. Everything else is accepted and forgotten.
class NullGlide : public GlideDevice {
 public:
  explicit NullGlide(bool boardPresent = true, FxU32 textureMemory = kTextureMemoryBytes)
      : boardPresent_(boardPresent), textureMemory_(textureMemory) {}

  void grGlideInit() override {}
  // One board, or none when told there is none.
  FxBool grSstQueryHardware(GrHwConfiguration* hwConfig) override;
  void grSstSelect(std::int32_t) override {}
  // The back buffer in memory takes the resolution's size.
  FxBool grSstWinOpen(FxU32 hWnd, std::int32_t resolution, std::int32_t refresh, std::int32_t colorFormat,
                      std::int32_t origin, std::int32_t nColBuffers, std::int32_t nAuxBuffers) override;
  // The back buffer goes, and a lock with it.
  void grGlideShutdown() override;

  // Fills the back buffer with the colour, unless colour writes are off.
  void grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth) override;
  void grBufferSwap(std::int32_t) override {}
  void grColorMask(FxBool rgb, FxBool) override { colourMask_ = rgb; }

  void guColorCombineFunction(std::int32_t) override {}
  void guAlphaSource(std::int32_t) override {}
  void grAlphaBlendFunction(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void grTexCombineFunction(GrChipID_t, std::int32_t) override {}
  void grTexFilterMode(GrChipID_t, std::int32_t, std::int32_t) override {}
  void grTexClampMode(GrChipID_t, std::int32_t, std::int32_t) override {}
  void grDepthBufferMode(std::int32_t) override {}
  void grDepthBufferFunction(std::int32_t) override {}
  void grDepthMask(FxBool) override {}

  FxU32 grTexMinAddress(GrChipID_t) override { return 0; }
  FxU32 grTexMaxAddress(GrChipID_t) override { return textureMemory_; }
  FxU32 grTexTextureMemRequired(FxU32 evenOdd, const GrTexInfo* info) override;
  void grTexDownloadMipMap(GrChipID_t, FxU32, FxU32, const GrTexInfo*) override {}
  void grTexSource(GrChipID_t, FxU32, FxU32, const GrTexInfo*) override {}

  void guDrawTriangleWithClip(const GrVertex*, const GrVertex*, const GrVertex*) override {}

  FxBool grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin,
                   FxBool pixelPipeline, GrLfbInfo* info) override;
  FxBool grLfbUnlock(std::int32_t, std::int32_t) override;

  // The back buffer: Width x Height 5-6-5 pixels, rows top-down.
  ScreenSize Size() const { return size_; }
  const std::vector<FxU16>& Frame() const { return frame_; }
  FxU16 Pixel(std::int32_t x, std::int32_t y) const {
    return frame_[static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.Width) + static_cast<std::size_t>(x)];
  }

 private:
  bool boardPresent_;
  FxU32 textureMemory_;
  ScreenSize size_;
  std::int32_t colourFormat_ = GR_COLORFORMAT_RGBA;
  bool colourMask_ = true;
  bool locked_ = false;
  std::vector<FxU16> frame_;
};

// The 5-6-5 value of a packed colour in the given colour format.
FxU16 Rgb565(GrColor_t color, std::int32_t colorFormat);

// The frame buffer lock of a board whose back buffer lives in memory, `width` pixels a row:
// granted for a write of the back buffer in 5-6-5 with the origin upper left while the
// buffer exists and is not locked yet; `locked` is then set and `info` filled in.
FxBool LockMemoryBackBuffer(std::vector<FxU16>& pixels, std::int32_t width, bool& locked, std::int32_t type,
                            std::int32_t buffer, std::int32_t writeMode, std::int32_t origin, GrLfbInfo* info);

}  // namespace zandrel::glide
