#include "platform/glide/glide.h"

#include <algorithm>
#include <cstdlib>

namespace zandrel::glide {

ScreenSize ResolutionSize(std::int32_t resolution) {
  switch (resolution) {
    case GR_RESOLUTION_320x200: return {320, 200};
    case GR_RESOLUTION_320x240: return {320, 240};
    case GR_RESOLUTION_640x480: return {640, 480};
    case GR_RESOLUTION_800x600: return {800, 600};
    default: return {};
  }
}

ScreenSize LevelSize(GrLOD_t lod, GrAspectRatio_t aspect) {
  const std::int32_t longer = 256 >> std::clamp(lod, GR_LOD_256, GR_LOD_1);
  const std::int32_t shift = std::abs(std::clamp(aspect, GR_ASPECT_8x1, GR_ASPECT_1x8) - GR_ASPECT_1x1);
  const std::int32_t shorter = std::max(longer >> shift, 1);
  return aspect <= GR_ASPECT_1x1 ? ScreenSize{longer, shorter} : ScreenSize{shorter, longer};
}

FxU32 TextureMemRequired(FxU32 evenOdd, const GrTexInfo& info) {
  if (info.largeLod < GR_LOD_256 || info.smallLod > GR_LOD_1 || info.largeLod > info.smallLod ||
      info.aspectRatio < GR_ASPECT_8x1 || info.aspectRatio > GR_ASPECT_1x8) {
    return 0;
  }
  FxU32 total = 0;
  for (GrLOD_t lod = info.largeLod; lod <= info.smallLod; ++lod) {
    const FxU32 wanted = lod % 2 == 0 ? GR_MIPMAPLEVELMASK_EVEN : GR_MIPMAPLEVELMASK_ODD;
    if ((evenOdd & wanted) == 0) continue;
    const ScreenSize level = LevelSize(lod, info.aspectRatio);
    const FxU32 bytes = static_cast<FxU32>(level.Width * level.Height) * 2;
    total += (bytes + 7) & ~7u;
  }
  return total;
}

FxU16 Rgb565(GrColor_t color, std::int32_t colorFormat) {
  // RGBA keeps red in the high byte; ARGB keeps it in the second.
  const int redShift = colorFormat == GR_COLORFORMAT_RGBA ? 24 : 16;
  const FxU32 red = (color >> redShift) & 0xFF, green = (color >> (redShift - 8)) & 0xFF,
              blue = (color >> (redShift - 16)) & 0xFF;
  return static_cast<FxU16>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
}

FxBool NullGlide::grSstQueryHardware(GrHwConfiguration* hwConfig) {
  if (hwConfig) hwConfig->num_sst = boardPresent_ ? 1 : 0;
  return boardPresent_;
}

FxBool NullGlide::grSstWinOpen(FxU32, std::int32_t resolution, std::int32_t, std::int32_t colorFormat, std::int32_t,
                               std::int32_t, std::int32_t) {
  const ScreenSize size = ResolutionSize(resolution);
  if (!boardPresent_ || size.Width == 0) return false;
  size_ = size;
  colourFormat_ = colorFormat;
  frame_.assign(static_cast<std::size_t>(size.Width) * static_cast<std::size_t>(size.Height), 0);
  return true;
}

void NullGlide::grGlideShutdown() {
  size_ = {};
  frame_.clear();
  locked_ = false;
}

void NullGlide::grBufferClear(GrColor_t color, GrAlpha_t, FxU16) {
  if (colourMask_) std::fill(frame_.begin(), frame_.end(), Rgb565(color, colourFormat_));
}

FxU32 NullGlide::grTexTextureMemRequired(FxU32 evenOdd, const GrTexInfo* info) {
  return info ? TextureMemRequired(evenOdd, *info) : 0;
}

FxBool LockMemoryBackBuffer(std::vector<FxU16>& pixels, std::int32_t width, bool& locked, std::int32_t type,
                            std::int32_t buffer, std::int32_t writeMode, std::int32_t origin, GrLfbInfo* info) {
  if (!info || locked || pixels.empty() || type != GR_LFB_WRITE_ONLY || buffer != GR_BUFFER_BACKBUFFER ||
      writeMode != GR_LFBWRITEMODE_565 || origin != GR_ORIGIN_UPPER_LEFT) {
    return false;
  }
  locked = true;
  info->lfbPtr = pixels.data();
  info->strideInBytes = static_cast<FxU32>(width) * 2;
  info->writeMode = writeMode;
  info->origin = origin;
  return true;
}

FxBool NullGlide::grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin, FxBool,
                            GrLfbInfo* info) {
  return LockMemoryBackBuffer(frame_, size_.Width, locked_, type, buffer, writeMode, origin, info);
}

FxBool NullGlide::grLfbUnlock(std::int32_t, std::int32_t) {
  const bool wasLocked = locked_;
  locked_ = false;
  return wasLocked;
}

}  // namespace zandrel::glide
