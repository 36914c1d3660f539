#include "engine/glide/glide_backend.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "engine/camera.h"
#include "engine/texture_convert.h"
#include "platform/win/message.h"

namespace zandrel::engine::glide {

namespace gr = zandrel::glide;

namespace {

struct Resolution {
  std::int32_t Code;
  int Width, Height;
};

Resolution ResolutionForHeight(int height) {
  if (height <= 200) return {gr::GR_RESOLUTION_320x200, 320, 200};
  if (height <= 240) return {gr::GR_RESOLUTION_320x240, 320, 240};
  if (height <= 480) return {gr::GR_RESOLUTION_640x480, 640, 480};
  return {gr::GR_RESOLUTION_800x600, 800, 600};
}

// A channel that fades from `colour` (fully lit) towards the fog as the light drops.
float Fogged(float colour, float fog, std::int32_t light) {
  const float s = 1.0f - static_cast<float>(light) / 256.0f;
  return std::max(colour + (fog - colour) * s, 0.0f);
}

// Texture coordinates (0..256) of the three corners for each orientation.
constexpr std::array<std::array<std::array<float, 2>, 3>, 2> kCorners{{
    {{{256, 0}, {0, 0}, {0, 256}}},
    {{{0, 256}, {256, 256}, {256, 0}}},
}};

}  // namespace

GlideBackend::GlideBackend(gr::GlideDevice& device) : device_(device), images_(kImageSlotCount) {}

base::Status GlideBackend::StartEngine() {
  device_.grGlideInit();
  gr::GrHwConfiguration board;
  if (!device_.grSstQueryHardware(&board)) return base::Failure{std::string(kNoBoardMessage)};
  return {};
}

void GlideBackend::OpenView(int, int height, RenderView& view) {
  const Resolution resolution = ResolutionForHeight(height);
  view.Screen.Width = resolution.Width;
  view.Screen.Height = resolution.Height;
  view.Screen.Pixels.assign(static_cast<std::size_t>(resolution.Width) * static_cast<std::size_t>(resolution.Height),
                            0);
  device_.grSstSelect(0);
  device_.grSstWinOpen(0, resolution.Code, gr::GR_REFRESH_60Hz, gr::GR_COLORFORMAT_RGBA, gr::GR_ORIGIN_UPPER_LEFT, 2,
                       0);
  device_.guColorCombineFunction(gr::GR_COLORCOMBINE_TEXTURE_TIMES_ITRGB);
  device_.grAlphaBlendFunction(gr::GR_BLEND_SRC_ALPHA, gr::GR_BLEND_ONE_MINUS_SRC_ALPHA, gr::GR_BLEND_ONE,
                               gr::GR_BLEND_ZERO);
  device_.grTexCombineFunction(gr::GR_TMU0, gr::GR_TEXTURECOMBINE_DECAL);
  device_.grTexFilterMode(gr::GR_TMU0, gr::GR_TEXTUREFILTER_BILINEAR, gr::GR_TEXTUREFILTER_BILINEAR);
  device_.grTexClampMode(gr::GR_TMU0, gr::GR_TEXTURECLAMP_WRAP, gr::GR_TEXTURECLAMP_WRAP);
  device_.grDepthBufferMode(gr::GR_DEPTHBUFFER_WBUFFER);
  device_.grDepthBufferFunction(gr::GR_CMP_LESS);
  device_.grDepthMask(true);
  viewOpen_ = true;
  SetProjection(view, resolution.Width, resolution.Height, 1, resolution.Width);
  // Whole triangles, keyed by their nearest corner, opaque ones first.
  view.Rules = {.ClipNearPlane = false, .SquaredDepthKey = false, .OnePass = false};
}

void GlideBackend::CloseView() {
  device_.grGlideShutdown();
  viewOpen_ = false;
}

void GlideBackend::ClearView(std::uint8_t paletteIndex, RenderView& view) {
  const Palette& palette = view.ViewPalette;
  const gr::GrColor_t colour = static_cast<gr::GrColor_t>(palette.Red[paletteIndex]) << 24 |
                               static_cast<gr::GrColor_t>(palette.Green[paletteIndex]) << 16 |
                               static_cast<gr::GrColor_t>(palette.Blue[paletteIndex]) << 8;
  device_.grBufferClear(colour, 0, gr::GR_WDEPTHVALUE_FARTHEST);
}

void GlideBackend::StartScene(RenderView&) {
  device_.grColorMask(false, false);
  device_.grBufferClear(0, 0, gr::GR_WDEPTHVALUE_FARTHEST);
  device_.grColorMask(true, true);
}

void GlideBackend::DrawPolygon(int index, RenderView& view) {
  if (index < 0 || static_cast<std::size_t>(index) >= view.Polygons.size()) return;
  const ScreenPolygon& polygon = view.Polygons[static_cast<std::size_t>(index)];
  device_.guAlphaSource(polygon.Kind == 1 ? gr::GR_ALPHASOURCE_TEXTURE_ALPHA : gr::GR_ALPHASOURCE_CC_ALPHA);

  std::array<gr::GrVertex, 3> vertices{};
  bool allNear = true;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::int32_t z = std::max(polygon.VZ[i], 1);
    vertices[i].x = static_cast<float>(polygon.SX[i]);
    vertices[i].y = static_cast<float>(polygon.SY[i]);
    vertices[i].oow = 10.0f / static_cast<float>(z);
    vertices[i].a = 255;
    allNear = allNear && z < kNearestDrawnDepth;
  }
  if (allNear) return;

  const std::array<std::int32_t, 3> lights{polygon.Light1, polygon.Light2, polygon.Light3};
  const std::array<float, 3> fog{static_cast<float>(view.FogRed), static_cast<float>(view.FogGreen),
                                 static_cast<float>(view.FogBlue)};
  std::array<float, 3> colour{255, 255, 255};
  if (polygon.Kind >= 3) {
    device_.guColorCombineFunction(gr::GR_COLORCOMBINE_ITRGB);
    const std::uint8_t entry = static_cast<std::uint8_t>(std::clamp(polygon.Texture, 0, 255));
    colour = {static_cast<float>(view.ViewPalette.Red[entry]), static_cast<float>(view.ViewPalette.Green[entry]),
              static_cast<float>(view.ViewPalette.Blue[entry])};
  } else {
    device_.guColorCombineFunction(gr::GR_COLORCOMBINE_TEXTURE_TIMES_ITRGB);
    if (polygon.Sprite != 0) {
      SourceImage(polygon.Texture);
    } else if (polygon.Texture >= 0 && static_cast<std::size_t>(polygon.Texture) < view.Textures.size()) {
      SourceImage(view.Textures[static_cast<std::size_t>(polygon.Texture)].Current);
    }
    const auto& corners = kCorners[polygon.Orientation == 0 ? 0 : 1];
    for (std::size_t i = 0; i < 3; ++i) {
      vertices[i].tmuvtx[0].sow = corners[i][0] * vertices[i].oow;
      vertices[i].tmuvtx[0].tow = corners[i][1] * vertices[i].oow;
    }
  }
  for (std::size_t i = 0; i < 3; ++i) {
    vertices[i].r = Fogged(colour[0], fog[0], lights[i]);
    vertices[i].g = Fogged(colour[1], fog[1], lights[i]);
    vertices[i].b = Fogged(colour[2], fog[2], lights[i]);
  }
  device_.guDrawTriangleWithClip(&vertices[0], &vertices[1], &vertices[2]);
}

void GlideBackend::DrawPicture(const Picture& picture, bool transparent, RenderView& view, float x, float y, float w,
                               float h) {
  const std::int64_t sourceWidth = picture.Width, sourceHeight = picture.Height;
  if (picture.Empty() || sourceWidth <= 0 || sourceHeight <= 0 ||
      picture.Pixels.size() < static_cast<std::size_t>(sourceWidth * sourceHeight) ||
      picture.Mask.size() < static_cast<std::size_t>(sourceWidth * sourceHeight)) {
    return;
  }
  const std::int32_t screenWidth = view.Screen.Width, screenHeight = view.Screen.Height;
  const float fw = static_cast<float>(screenWidth), fh = static_cast<float>(screenHeight);
  const std::int64_t left = Nearest(fw * x), top = Nearest(fh * y);
  const std::int64_t width = Nearest(fw * w), height = Nearest(fh * h);
  // A target of no size has no source step.
  if (width <= 0 || height <= 0) return;
  if (left >= screenWidth || left + width < 0 || top >= screenHeight || top + height < 0) return;
  const std::int64_t firstColumn = std::max<std::int64_t>(left, 0);
  const std::int64_t endColumn = std::min<std::int64_t>(left + width, screenWidth - 1);
  const std::int64_t firstRow = std::max<std::int64_t>(top, 0);
  const std::int64_t endRow = std::min<std::int64_t>(top + height, screenHeight - 1);
  if (firstRow >= endRow || firstColumn >= endColumn) return;

  gr::GrLfbInfo lock;
  if (!device_.grLfbLock(gr::GR_LFB_WRITE_ONLY, gr::GR_BUFFER_BACKBUFFER, gr::GR_LFBWRITEMODE_565,
                         gr::GR_ORIGIN_UPPER_LEFT, false, &lock)) {
    return;
  }
  // 8.8 fixed point source steps; the first position skips what the clip cut away.
  const std::int64_t stepX = sourceWidth * 256 / width, stepY = sourceHeight * 256 / height;
  auto* base = static_cast<std::uint8_t*>(lock.lfbPtr);
  std::int64_t sourceY = (firstRow - top) * stepY;
  for (std::int64_t row = firstRow; row < endRow; ++row, sourceY += stepY) {
    auto* target = reinterpret_cast<std::uint16_t*>(base + row * static_cast<std::int64_t>(lock.strideInBytes));
    const std::int64_t sourceRow = std::min(sourceY >> 8, sourceHeight - 1) * sourceWidth;
    std::int64_t sourceX = (firstColumn - left) * stepX;
    for (std::int64_t column = firstColumn; column < endColumn; ++column, sourceX += stepX) {
      const std::size_t source = static_cast<std::size_t>(sourceRow + std::min(sourceX >> 8, sourceWidth - 1));
      if (!transparent || picture.Mask[source] == 1) target[column] = picture.Pixels[source];
    }
  }
  device_.grLfbUnlock(gr::GR_LFB_WRITE_ONLY, gr::GR_BUFFER_BACKBUFFER);
}

void GlideBackend::SwapView(RenderView&) { device_.grBufferSwap(1); }

void GlideBackend::BeginTextureImages(RenderView&) {
  freeAddress_ = device_.grTexMinAddress(gr::GR_TMU0);
  highestAddress_ = device_.grTexMaxAddress(gr::GR_TMU0);
}

void GlideBackend::StoreTextureImage(int number, const PcxImage& image, bool, RenderView&) {
  if (number < 0 || number >= kImageSlotCount) return;
  ImageSlot& slot = images_[static_cast<std::size_t>(number)];
  slot.Loaded = false;
  const std::optional<std::int32_t> aspect = AspectCode(image.Width, image.Height);
  if (!aspect) return;
  const std::vector<std::uint16_t> texels = ConvertTexture(image);
  const std::int32_t lod = *LodCode(std::max(image.Width, image.Height));
  slot.Info = {.smallLod = lod,
               .largeLod = lod,
               .aspectRatio = *aspect,
               .format = kTextureFormatArgb1555,
               .data = texels.data()};
  slot.Tmu = gr::GR_TMU0;
  const gr::FxU32 size = device_.grTexTextureMemRequired(gr::GR_MIPMAPLEVELMASK_BOTH, &slot.Info);
  if (freeAddress_ > highestAddress_ || size > highestAddress_ - freeAddress_) {
    freeAddress_ = highestAddress_;
    slot.Info.data = nullptr;
    win::ShowMessage(kTextureMemoryMessage);
    return;
  }
  slot.StartAddress = freeAddress_;
  freeAddress_ += size;
  device_.grTexDownloadMipMap(gr::GR_TMU0, slot.StartAddress, gr::GR_MIPMAPLEVELMASK_BOTH, &slot.Info);
  slot.Loaded = true;
  SourceImage(number);
  slot.Info.data = nullptr;  // the converted pixels go with this call
}

void GlideBackend::FogChanged(RenderView&) {}

void GlideBackend::SourceImage(int imageNumber) {
  if (imageNumber < 0 || imageNumber >= kImageSlotCount) return;
  const ImageSlot& slot = images_[static_cast<std::size_t>(imageNumber)];
  if (!slot.Loaded) return;
  device_.grTexSource(slot.Tmu, slot.StartAddress, gr::GR_MIPMAPLEVELMASK_BOTH, &slot.Info);
}

}  // namespace zandrel::engine::glide
