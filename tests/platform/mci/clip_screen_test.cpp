#include "platform/glide/clip_screen.h"

#include <gtest/gtest.h>

namespace zandrel::glide {
namespace {

TEST(ClipToDrawable, ScalesAndTurnsTheRectangleUpsideDown) {
  const struct {
    const char* name;
    int x, y, width, height, clientWidth, clientHeight, drawableWidth, drawableHeight;
    ViewportRect expected;
  } cases[] = {
      {"whole window", 0, 0, 640, 480, 640, 480, 640, 480, {0, 0, 640, 480}},
      {"top-left corner", 0, 0, 320, 240, 640, 480, 640, 480, {0, 240, 320, 240}},
      {"bottom-right corner", 320, 240, 320, 240, 640, 480, 640, 480, {320, 0, 320, 240}},
      {"twice the pixels", 10, 20, 300, 200, 640, 480, 1280, 960, {20, 520, 600, 400}},
      {"partly outside", -100, -50, 200, 100, 640, 480, 640, 480, {-100, 430, 200, 100}},
      {"no client size", 0, 0, 100, 100, 0, 0, 800, 600, {0, 500, 100, 100}},
      {"far outside stays bounded", 2000000000, 0, 2000000000, 10, 640, 480, 640, 480, {1 << 24, 470, 0, 10}},
  };
  for (const auto& c : cases) {
    const ViewportRect r = ClientToDrawable(c.x, c.y, c.width, c.height, c.clientWidth, c.clientHeight,
                                            c.drawableWidth, c.drawableHeight);
    EXPECT_EQ(std::vector<int>({r.X, r.Y, r.Width, r.Height}),
              std::vector<int>({c.expected.X, c.expected.Y, c.expected.Width, c.expected.Height}))
        << c.name;
  }
}

}  // namespace
}  // namespace zandrel::glide
