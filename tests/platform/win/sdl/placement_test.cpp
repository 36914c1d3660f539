#include "platform/win/sdl/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace zandrel::win::sdl {
namespace {

struct PlacementCase {
  const char* name;
  WindowSettings settings;
  std::vector<Rect> displays;
  Rect expected;
};

WindowSettings Saved(int left, int top, int width, int height, int displayWidth = 640, int displayHeight = 480) {
  WindowSettings s;
  s.Left = left;
  s.Top = top;
  s.Width = width;
  s.Height = height;
  s.DisplayWidth = displayWidth;
  s.DisplayHeight = displayHeight;
  return s;
}

TEST(WindowedRect, SizeAndPosition) {
  const std::vector<Rect> one{{0, 0, 1920, 1080}};
  const std::vector<Rect> two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  const PlacementCase cases[] = {
      {"defaults: the display size at 100, 100", WindowSettings{}, one, {100, 100, 640, 480}},
      {"800 x 600 display", Saved(10, 20, 320, 240, 800, 600), one, {10, 20, 800, 600}},
      {"saved size larger", Saved(10, 20, 1024, 700), one, {10, 20, 1024, 700}},
      {"larger on one axis only", Saved(10, 20, 1000, 300), one, {10, 20, 1000, 480}},
      {"on the second display", Saved(2000, 100, 640, 480), two, {2000, 100, 640, 480}},
      {"partly off the left edge", Saved(-30, 50, 640, 480), one, {-30, 50, 640, 480}},
      {"on a display since removed", Saved(2000, 100, 640, 480), one, {640, 300, 640, 480}},
      {"far above every display", Saved(100, -5000, 640, 480), two, {640, 300, 640, 480}},
      {"larger than the display it is moved to", Saved(5000, 5000, 2000, 1200), one, {0, 0, 2000, 1200}},
      {"no display known: as saved", Saved(5000, 5000, 320, 240), {}, {5000, 5000, 640, 480}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Rect r = WindowedRect(c.settings, c.displays);
    EXPECT_EQ(r.X, c.expected.X);
    EXPECT_EQ(r.Y, c.expected.Y);
    EXPECT_EQ(r.Width, c.expected.Width);
    EXPECT_EQ(r.Height, c.expected.Height);
  }
}

}  // namespace
}  // namespace zandrel::win::sdl
