#include "platform/glide/clip_screen.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/glide/gl_window.h"

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
    const ViewportRect r =
        ClientToDrawable(c.x, c.y, c.width, c.height, c.clientWidth, c.clientHeight, c.drawableWidth, c.drawableHeight);
    EXPECT_EQ(std::vector<int>({r.X, r.Y, r.Width, r.Height}),
              std::vector<int>({c.expected.X, c.expected.Y, c.expected.Width, c.expected.Height}))
        << c.name;
  }
}

// A clip image goes to the window; the board's frame keeps its pixels, and what is drawn
// next lands in it over the whole frame, blended as set before.
TEST(GlClipScreen, LeavesTheBoardsFrameAsItWas) {
  test::GlWindow window;
  ZANDREL_REQUIRE_GL(window);
  OpenGlGlide& board = *window.Board();
  ASSERT_TRUE(
      board.grSstWinOpen(0, GR_RESOLUTION_320x240, GR_REFRESH_60Hz, GR_COLORFORMAT_RGBA, GR_ORIGIN_UPPER_LEFT, 2, 1));
  board.grBufferClear(0xFF000000, 0, 0);
  const std::vector<std::uint8_t> before = board.ReadFrame();
  const std::vector<std::uint8_t> image(8 * 8 * 4, 0x80);
  GlClipScreen screen(SDL_GL_GetCurrentWindow(), board);
  screen.ShowFrame(image.data(), 8, 8, 0, 0, 100, 100);
  EXPECT_EQ(board.ReadFrame(), before);

  board.guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
  board.grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
  GrVertex corners[3] = {};
  const float xs[3] = {0, 640, 0}, ys[3] = {0, 0, 480};
  for (int i = 0; i < 3; ++i) {
    corners[i].x = xs[i];
    corners[i].y = ys[i];
    corners[i].oow = 1;
    corners[i].b = 255;
    corners[i].a = 255;
  }
  board.guDrawTriangleWithClip(&corners[0], &corners[1], &corners[2]);
  const std::vector<std::uint8_t> after = board.ReadFrame();
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{300, 10}, std::pair{10, 200}}) {
    const test::Rgb pixel = test::PixelAt(after, 320, x, y);
    EXPECT_EQ(std::vector<int>({pixel.R, pixel.G, pixel.B}), std::vector<int>({255, 0, 255})) << x << "," << y;
  }

  // With the frame closed, as while a clip plays.
  board.grGlideShutdown();
  screen.ShowFrame(image.data(), 8, 8, 10, 10, 50, 50);
  EXPECT_TRUE(board.ReadFrame().empty());
  EXPECT_TRUE(
      board.grSstWinOpen(0, GR_RESOLUTION_320x240, GR_REFRESH_60Hz, GR_COLORFORMAT_RGBA, GR_ORIGIN_UPPER_LEFT, 2, 1));
  board.grGlideShutdown();
}

}  // namespace
}  // namespace zandrel::glide
