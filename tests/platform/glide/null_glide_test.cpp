#include <gtest/gtest.h>

#include "platform/glide/glide.h"

namespace zandrel::glide {
namespace {

TEST(TextureMemory, RequirementFollowsTheLevelsAsked) {
  struct Case {
    GrLOD_t small, large;
    GrAspectRatio_t aspect;
    FxU32 evenOdd, bytes;
  };
  const Case cases[] = {
      {1, 1, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_BOTH, 128 * 128 * 2},
      {0, 0, 5, GR_MIPMAPLEVELMASK_BOTH, 64 * 256 * 2},   // 64 x 256
      {0, 0, 1, GR_MIPMAPLEVELMASK_BOTH, 256 * 64 * 2},   // 256 x 64
      {8, 8, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_BOTH, 8},  // one texel, rounded up to 8 bytes
      {2, 1, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_BOTH, 128 * 128 * 2 + 64 * 64 * 2},
      {2, 1, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_EVEN, 64 * 64 * 2},
      {2, 1, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_ODD, 128 * 128 * 2},
      {0, 0, 9, GR_MIPMAPLEVELMASK_BOTH, 0},  // no such aspect
      {1, 2, GR_ASPECT_1x1, GR_MIPMAPLEVELMASK_BOTH, 0},
  };
  for (const Case& c : cases) {
    const GrTexInfo info{.smallLod = c.small, .largeLod = c.large, .aspectRatio = c.aspect};
    EXPECT_EQ(TextureMemRequired(c.evenOdd, info), c.bytes) << c.large << " " << c.aspect;
  }
  NullGlide board(true, 65536);
  EXPECT_EQ(board.grTexMinAddress(GR_TMU0), 0u);
  EXPECT_EQ(board.grTexMaxAddress(GR_TMU0), 65536u);
}

TEST(NullGlide, AnswersLikeABoardOrLikeNone) {
  GrHwConfiguration config;
  NullGlide board;
  EXPECT_TRUE(board.grSstQueryHardware(&config));
  EXPECT_EQ(config.num_sst, 1);
  NullGlide none(false);
  EXPECT_FALSE(none.grSstQueryHardware(&config));
  EXPECT_FALSE(
      none.grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_RGBA, GR_ORIGIN_UPPER_LEFT, 2, 0));
}

TEST(NullGlide, FrameBufferLockWritesTheBackBuffer) {
  NullGlide board;
  GrLfbInfo info;
  EXPECT_FALSE(
      board.grLfbLock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, false, &info))
      << "no screen open yet";
  ASSERT_TRUE(
      board.grSstWinOpen(0, GR_RESOLUTION_800x600, GR_REFRESH_60Hz, GR_COLORFORMAT_RGBA, GR_ORIGIN_UPPER_LEFT, 2, 0));
  EXPECT_EQ(board.Size().Width, 800);
  EXPECT_EQ(board.Size().Height, 600);
  EXPECT_FALSE(
      board.grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, false, &info));
  ASSERT_TRUE(board.grLfbLock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, false,
                              &info));
  EXPECT_EQ(info.strideInBytes, 1600u);
  EXPECT_FALSE(
      board.grLfbLock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, false, &info))
      << "already locked";
  auto* row = reinterpret_cast<FxU16*>(static_cast<std::uint8_t*>(info.lfbPtr) + 3 * info.strideInBytes);
  row[7] = 0xF800;
  EXPECT_TRUE(board.grLfbUnlock(GR_LFB_WRITE_ONLY, GR_BUFFER_BACKBUFFER));
  EXPECT_EQ(board.Pixel(7, 3), 0xF800);

  // A colour clear fills the frame, unless the colour mask is off.
  board.grBufferClear(0x00FF0000, 0, 0xFFFF);  // RGBA: green
  EXPECT_EQ(board.Pixel(7, 3), 0x07E0);
  board.grColorMask(false, false);
  board.grBufferClear(0xFF000000, 0, 0xFFFF);
  EXPECT_EQ(board.Pixel(7, 3), 0x07E0);
}

TEST(NullGlide, PackedColoursInBothFormats) {
  EXPECT_EQ(Rgb565(0xFF000000, GR_COLORFORMAT_RGBA), 0xF800);
  EXPECT_EQ(Rgb565(0x000000FF, GR_COLORFORMAT_ARGB), 0x001F);
  EXPECT_EQ(Rgb565(0x08040800, GR_COLORFORMAT_RGBA), 1 << 11 | 1 << 5 | 1);
}

}  // namespace
}  // namespace zandrel::glide
