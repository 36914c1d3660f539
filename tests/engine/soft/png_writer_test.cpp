#include "engine/soft/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/engine/soft/soft_view.h"
#include "tests/support/temp_dir.h"

namespace zandrel::engine::soft {
namespace {

// What libpng reads back from a file: header fields, palette and indices.
struct ReadBack {
  bool ok = false;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  std::vector<png_color> palette;
  std::vector<std::uint8_t> indices;
};

ReadBack ReadPng(const std::filesystem::path& path) {
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
    for (png_uint_32 y = 0; y < result.height; ++y) png_read_row(png, result.indices.data() + y * result.width, nullptr);
    png_read_end(png, nullptr);
    result.ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return result;
}

TEST(WritePng, TheFileHoldsTheIndicesAndThePalette) {
  zandrel::test::TempDir dir;
  ScreenBuffer screen;
  screen.Width = 7;
  screen.Height = 5;
  for (int i = 0; i < 35; ++i) screen.Pixels.push_back(static_cast<std::uint8_t>(i * 73 % 256));
  screen.Pixels[3] = 0;
  screen.Pixels[4] = 255;
  const Palette palette = test::DistinctPalette();
  const std::filesystem::path path = dir / "shots/level.png";

  ASSERT_TRUE(WritePng(path, screen, palette).ok());
  const ReadBack back = ReadPng(path);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.width, 7u);
  EXPECT_EQ(back.height, 5u);
  EXPECT_EQ(back.bitDepth, 8);
  EXPECT_EQ(back.colourType, PNG_COLOR_TYPE_PALETTE);
  ASSERT_EQ(back.palette.size(), 256u);
  for (std::size_t i = 0; i < 256; ++i) {
    EXPECT_EQ(back.palette[i].red, palette.Red[i]) << i;
    EXPECT_EQ(back.palette[i].green, palette.Green[i]) << i;
    EXPECT_EQ(back.palette[i].blue, palette.Blue[i]) << i;
  }
  EXPECT_EQ(back.indices, screen.Pixels);
}

TEST(WritePng, FailuresAreReported) {
  zandrel::test::TempDir dir;
  ScreenBuffer empty;
  const win::Status noPicture = WritePng(dir / "empty.png", empty, Palette{});
  EXPECT_FALSE(noPicture.ok());
  EXPECT_NE(noPicture.error().find("empty.png"), std::string::npos);

  ScreenBuffer shortBuffer;
  shortBuffer.Width = shortBuffer.Height = 4;
  shortBuffer.Pixels.resize(15);
  EXPECT_FALSE(WritePng(dir / "short.png", shortBuffer, Palette{}).ok());

  ScreenBuffer fine;
  fine.Width = fine.Height = 2;
  fine.Pixels.resize(4);
  dir.Write("file", "x");
  EXPECT_FALSE(WritePng(dir / "file/below.png", fine, Palette{}).ok());  // a file where a folder must be
}

}  // namespace
}  // namespace zandrel::engine::soft
