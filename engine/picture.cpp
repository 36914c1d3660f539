#include "engine/picture.h"

#include <string>
#include <utility>

#include "engine/pcx.h"

namespace zandrel::engine {
namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < kPictureSlotCount; }

}  // namespace

Picture MakePicture(const PcxImage& image) {
  Picture picture;
  picture.Width = image.Width;
  picture.Height = image.Height;
  picture.Pixels.resize(image.Indices.size());
  picture.Mask.resize(image.Indices.size());
  for (std::size_t i = 0; i < image.Indices.size(); ++i) {
    const std::size_t c = image.Indices[i];
    picture.Pixels[i] = PictureColour(image.Palette[c * 3], image.Palette[c * 3 + 1], image.Palette[c * 3 + 2]);
    picture.Mask[i] = c != 0 ? 1 : 0;
  }
  return picture;
}

base::Status LoadPicture(Engine& engine, int slot, std::string_view fileName, const std::filesystem::path& folder) {
  if (!ValidSlot(slot)) {
    return base::Failure{"G3D: No picture slot " + std::to_string(slot) + " for " + std::string(fileName)};
  }
  const base::Expected<PcxImage> image = LoadPcx(fileName, folder);
  if (!image) return base::Failure{image.error()};
  if (image->Width % 2 != 0) {
    return base::Failure{"G3D: The image " + std::string(fileName) + " must have an odd width"};
  }
  engine.Pictures[static_cast<std::size_t>(slot)] = MakePicture(*image);
  return {};
}

void CopyPictureRegion(Engine& engine, int source, int x, int y, int target, int height, int width) {
  if (!ValidSlot(source) || !ValidSlot(target)) return;
  if (height <= 0 || width <= 0 || height > kMaxPcxSide || width > kMaxPcxSide) return;
  const Picture& from = engine.Pictures[static_cast<std::size_t>(source)];
  if (from.Empty()) return;
  Picture region;
  region.Width = width;
  region.Height = height;
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  region.Pixels.assign(size, 0);
  region.Mask.assign(size, 0);
  for (int i = 0; i < height; ++i) {
    const std::int64_t sy = static_cast<std::int64_t>(y) + i;
    if (sy < 0 || sy >= from.Height) continue;
    for (int j = 0; j < width; ++j) {
      const std::int64_t sx = static_cast<std::int64_t>(x) + j;
      if (sx < 0 || sx >= from.Width) continue;
      const std::size_t at = static_cast<std::size_t>(sy * from.Width + sx);
      const std::size_t to =
          static_cast<std::size_t>(i) * static_cast<std::size_t>(width) + static_cast<std::size_t>(j);
      region.Pixels[to] = from.Pixels[at];
      region.Mask[to] = from.Mask[at];
    }
  }
  engine.Pictures[static_cast<std::size_t>(target)] = std::move(region);
}

}  // namespace zandrel::engine
