// Reads an 8-bit indexed PNG back with libpng, for the tests.
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace zandrel::engine::soft::test {

// What libpng reads back from a file: header fields, palette and indices.
struct ReadBack {
  bool ok = false;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  std::vector<png_color> palette;
  std::vector<std::uint8_t> indices;
};

inline ReadBack ReadPng(const std::filesystem::path& path) {
  ReadBack result;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return result;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_read_info(png, info);
    result.width = png_get_image_width(png, info);
    result.height = png_get_image_height(png, info);
    result.bitDepth = png_get_bit_depth(png, info);
    result.colourType = png_get_color_type(png, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) != 0) result.palette.assign(colours, colours + count);
    result.indices.resize(static_cast<std::size_t>(result.width) * result.height);
    for (png_uint_32 y = 0; y < result.height; ++y)
      png_read_row(png, result.indices.data() + y * result.width, nullptr);
    png_read_end(png, nullptr);
    result.ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return result;
}

}  // namespace zandrel::engine::soft::test
