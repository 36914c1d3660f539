#include "engine/png_writer.h"

#include <png.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/files.h"

namespace zandrel::engine {

namespace {

base::Status EncodeAndWrite(const std::filesystem::path& path, png_image& image, const void* pixels, int rowStride,
                            const void* colours) {
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, pixels, rowStride, colours)) {
    png_image_free(&image);
    return base::Failure{"Cannot write " + path.string() + ": " + image.message};
  }
  std::vector<std::uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, rowStride, colours)) {
    png_image_free(&image);
    return base::Failure{"Cannot write " + path.string() + ": " + image.message};
  }
  bytes.resize(size);
  return win::WriteFileAtomic(path, bytes);
}

}  // namespace

base::Status WritePng(const std::filesystem::path& path, const ScreenBuffer& screen, const Palette& palette) {
  if (screen.Width <= 0 || screen.Height <= 0 ||
      screen.Pixels.size() < static_cast<std::size_t>(screen.Width) * static_cast<std::size_t>(screen.Height)) {
    return base::Failure{"Cannot write " + path.string() + ": the picture is empty"};
  }
  std::array<std::uint8_t, 768> colours{};
  for (std::size_t i = 0; i < 256; ++i) {
    colours[i * 3] = palette.Red[i];
    colours[i * 3 + 1] = palette.Green[i];
    colours[i * 3 + 2] = palette.Blue[i];
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(screen.Width);
  image.height = static_cast<png_uint_32>(screen.Height);
  image.format = PNG_FORMAT_RGB_COLORMAP;
  image.colormap_entries = 256;  // 256 entries make the indices 8 bits wide
  return EncodeAndWrite(path, image, screen.Pixels.data(), screen.Width, colours.data());
}

base::Status WritePngRgba(const std::filesystem::path& path, int width, int height,
                          std::span<const std::uint8_t> rgba) {
  if (width <= 0 || height <= 0 ||
      rgba.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    return base::Failure{"Cannot write " + path.string() + ": the picture is empty"};
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  return EncodeAndWrite(path, image, rgba.data(), width * 4, nullptr);
}

}  // namespace zandrel::engine
