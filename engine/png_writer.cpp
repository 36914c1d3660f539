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

bool FillsPicture(int width, int height, std::size_t bytes, std::size_t bytesPerPixel) {
  return width > 0 && height > 0 &&
         bytes >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * bytesPerPixel;
}

// The encoded file, or libpng's reason for refusing the picture.
base::Expected<std::vector<std::uint8_t>> Encode(png_image& image, const void* pixels, int rowStride,
                                                 const void* colours) {
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, pixels, rowStride, colours)) {
    png_image_free(&image);
    return base::Failure{image.message};
  }
  std::vector<std::uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, rowStride, colours)) {
    png_image_free(&image);
    return base::Failure{image.message};
  }
  bytes.resize(size);
  return bytes;
}

base::Status WriteEncoded(const std::filesystem::path& path, const base::Expected<std::vector<std::uint8_t>>& bytes) {
  if (!bytes) return base::Failure{"Cannot write " + path.string() + ": " + bytes.error()};
  return win::WriteFileAtomic(path, *bytes);
}

base::Failure EmptyPicture(const std::filesystem::path& path) {
  return base::Failure{"Cannot write " + path.string() + ": the picture is empty"};
}

}  // namespace

base::Status WritePng(const std::filesystem::path& path, const ScreenBuffer& screen, const Palette& palette) {
  if (!FillsPicture(screen.Width, screen.Height, screen.Pixels.size(), 1)) return EmptyPicture(path);
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
  return WriteEncoded(path, Encode(image, screen.Pixels.data(), screen.Width, colours.data()));
}

base::Expected<std::vector<std::uint8_t>> EncodePngRgba(int width, int height, std::span<const std::uint8_t> rgba) {
  if (!FillsPicture(width, height, rgba.size(), 4)) return base::Failure{"the picture is empty"};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  return Encode(image, rgba.data(), width * 4, nullptr);
}

base::Status WritePngRgba(const std::filesystem::path& path, int width, int height,
                          std::span<const std::uint8_t> rgba) {
  if (!FillsPicture(width, height, rgba.size(), 4)) return EmptyPicture(path);
  return WriteEncoded(path, EncodePngRgba(width, height, rgba));
}

}  // namespace zandrel::engine
