#include "platform/glide/window_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zandrel::glide {
namespace {

TEST(WindowText, LoadingTextIsCentredWhiteOnBlack) {
  NullGlide board;
  ASSERT_TRUE(board.grSstWinOpen(0, GR_RESOLUTION_640x480, 0, 0, 0, 2, 1));
  PaintWindowText(board, 640, 480, "LOADING PLEASE WAIT");
  const std::vector<FxU16>& frame = board.Frame();
  ASSERT_EQ(frame.size(), 640u * 480u);
  int left = 640, right = -1, top = 480, bottom = -1;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const FxU16 pixel = frame[static_cast<std::size_t>(y * 640 + x)];
      ASSERT_TRUE(pixel == 0 || pixel == 0xFFFF) << x << "," << y;
      if (pixel == 0) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  // 19 cells of 6 x 9 font pixels, doubled for 480 rows; the ink leaves the cell's spacing.
  const int boxLeft = (640 - 19 * 6 * 2) / 2, boxTop = (480 - 9 * 2) / 2;
  EXPECT_EQ(left, boxLeft);                         // the L's stem
  EXPECT_EQ(right, boxLeft + 18 * 12 + 4 * 2 + 1);  // the last pixel of the T's bar
  EXPECT_EQ(top, boxTop + 2);
  EXPECT_EQ(bottom, boxTop + 2 + 7 * 2 - 1);
}

TEST(WindowText, UnknownCharactersAndOutsidePixelsStayBlank) {
  EXPECT_EQ(WindowTextWidth("AB"), 12);
  EXPECT_TRUE(WindowTextPixel("L", 0, 1));
  EXPECT_FALSE(WindowTextPixel("L", 0, 0));  // the spacing row
  EXPECT_FALSE(WindowTextPixel("~", 2, 4));
  EXPECT_FALSE(WindowTextPixel("L", -1, 3));
  EXPECT_FALSE(WindowTextPixel("L", 6, 3));
  EXPECT_FALSE(WindowTextPixel("L", 0, 8));
}

}  // namespace
}  // namespace zandrel::glide
