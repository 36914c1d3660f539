#include "engine/soft/soft_backend.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "engine/camera.h"
#include "engine/soft/colour_tables.h"
#include "engine/soft/rasteriser.h"

namespace zandrel::engine::soft {
namespace {

constexpr std::int32_t kNearDepth = 10;

}  // namespace

void SoftBackend::OpenView(int width, int height, RenderView& view) {
  width = std::clamp(width, 1, kMaxViewSide);
  height = std::clamp(height, 1, kMaxViewSide);
  view.Screen.Width = width;
  view.Screen.Height = height;
  view.Screen.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  SetProjection(view, width, height, kNearDepth, (width / 2) * 2 - 1);
  // Pixels between two exact texture points: 16, 32 or 64 as the focal length grows.
  view.SpanLength = 16 << (view.ViewShift - 6);
  view.Rules = {.ClipNearPlane = true, .SquaredDepthKey = true, .OnePass = true};
  // A view is drawable before the first fog colour arrives.
  if (view.ShadingTables.size() != kShadingTableSize) FogChanged(view);
}

void SoftBackend::ClearView(std::uint8_t paletteIndex, RenderView& view) {
  std::fill(view.Screen.Pixels.begin(), view.Screen.Pixels.end(), paletteIndex);
}

void SoftBackend::StartScene(RenderView&) {}

void SoftBackend::DrawPolygon(int index, RenderView& view) {
  if (index < 0 || static_cast<std::size_t>(index) >= view.Polygons.size()) return;
  DrawScreenPolygon(view.Polygons[static_cast<std::size_t>(index)], view);
}

void SoftBackend::DrawPicture(const Picture& picture, bool transparent, RenderView& view, float x, float y, float w,
                              float h) {
  pictureColours_.Use(view.ViewPalette);
  DrawPictureOver(picture, transparent, view.Screen, x, y, w, h, pictureColours_);
}

void SoftBackend::SwapView(RenderView&) {}

void SoftBackend::BeginTextureImages(RenderView& view) {
  for (auto& block : view.ImageBlocks) block.reset();
}

void SoftBackend::StoreTextureImage(int number, const PcxImage& image, bool first, RenderView& view) {
  if (number < 0 || number >= kImageSlotCount || static_cast<std::size_t>(number) >= view.ImageBlocks.size()) return;
  std::unique_ptr<ImageBlock>& block = view.ImageBlocks[static_cast<std::size_t>(number)];
  const std::int64_t width = image.Width, height = image.Height;
  if (width <= 0 || height <= 0 || image.Indices.size() < static_cast<std::size_t>(width * height)) {
    block.reset();
    return;
  }
  std::array<std::uint8_t, 256> remap{};
  if (first) {
    for (std::size_t i = 0; i < remap.size(); ++i) remap[i] = static_cast<std::uint8_t>(i);
  } else {
    remap = RemapTable(image.Palette, view.ViewPalette);
  }
  if (!block) block = std::make_unique<ImageBlock>();
  for (std::int64_t row = 0; row < kImageBlockSide; ++row) {
    const std::int64_t sourceRow = row * height / kImageBlockSide;
    for (std::int64_t column = 0; column < kImageBlockSide; ++column) {
      const std::int64_t source = sourceRow * width + column * width / kImageBlockSide;
      (*block)[static_cast<std::size_t>(row * kImageBlockSide + column)] =
          remap[image.Indices[static_cast<std::size_t>(source)]];
    }
  }
}

void SoftBackend::FogChanged(RenderView& view) {
  const std::array<std::uint8_t, 3> fog{view.FogRed, view.FogGreen, view.FogBlue};
  if (shading_.empty() || fog != shadingFog_ || !SamePalette(view.ViewPalette, shadingPalette_)) {
    BuildShadingTables(view.ViewPalette, fog[0], fog[1], fog[2], shading_);
    shadingPalette_ = view.ViewPalette;
    shadingFog_ = fog;
  }
  view.ShadingTables = shading_;
}

}  // namespace zandrel::engine::soft
