#include "engine/png_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/win/files.h"
#include "tests/engine/soft/png_reader.h"
#include "tests/engine/soft/soft_view.h"
#include "tests/support/temp_dir.h"

namespace zandrel::engine::soft {
namespace {

using test::ReadBack;
using test::ReadPng;

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
  const base::Status noPicture = WritePng(dir / "empty.png", empty, Palette{});
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

  std::vector<std::uint8_t> rgba(4 * 4 * 4 - 1);
  EXPECT_FALSE(WritePngRgba(dir / "short-rgba.png", 4, 4, rgba).ok());
  EXPECT_FALSE(WritePngRgba(dir / "none.png", 0, 4, rgba).ok());
  EXPECT_FALSE(EncodePngRgba(4, 4, rgba).ok());
}

TEST(WritePngRgba, TheFileHoldsTheColoursRowsTopDown) {
  zandrel::test::TempDir dir;
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < 3 * 2; ++i) {
    rgba.insert(rgba.end(), {static_cast<std::uint8_t>(i * 40), static_cast<std::uint8_t>(255 - i), 7, 255});
  }
  const std::filesystem::path path = dir / "frame.png";
  ASSERT_TRUE(WritePngRgba(path, 3, 2, rgba).ok());

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> back(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(back, rgba);

  // The bytes kept in memory are the file's.
  const base::Expected<std::vector<std::uint8_t>> encoded = EncodePngRgba(3, 2, rgba);
  ASSERT_TRUE(encoded.ok());
  EXPECT_EQ(*encoded, win::ReadWholeFile(path, 1 << 16));
}

}  // namespace
}  // namespace zandrel::engine::soft
