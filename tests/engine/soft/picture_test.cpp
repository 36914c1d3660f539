#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/image.h"
#include "tests/engine/soft/soft_view.h"

namespace zandrel::engine::soft {
namespace {

using test::Rows;
using test::TestView;

std::uint16_t Rgb16(int r5, int g5, int b5) { return static_cast<std::uint16_t>(r5 << 11 | g5 << 6 | b5); }

// Entries 10, 20, 30, 40 hold the four colours of the picture's columns exactly as
// their 5-bit values widen (8 -> 66, 16 -> 132, 31 -> 255); the rest are far away.
Palette PicturePalette() {
  Palette p;
  for (std::size_t i = 0; i < 256; ++i) p.Red[i] = 128, p.Green[i] = 0, p.Blue[i] = 128;
  p.Red[10] = 66, p.Green[10] = 0, p.Blue[10] = 0;
  p.Red[20] = 0, p.Green[20] = 132, p.Blue[20] = 0;
  p.Red[30] = 0, p.Green[30] = 0, p.Blue[30] = 255;
  p.Red[40] = 255, p.Green[40] = 255, p.Blue[40] = 255;
  return p;
}

// Four rows of the columns A B C D; the mask hides (2, 1) and (3, 3).
Picture ColumnPicture() {
  Picture picture;
  picture.Width = picture.Height = 4;
  const std::uint16_t columns[] = {Rgb16(8, 0, 0), Rgb16(0, 16, 0), Rgb16(0, 0, 31), Rgb16(31, 31, 31)};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      picture.Pixels.push_back(columns[x]);
      picture.Mask.push_back((x == 2 && y == 1) || (x == 3 && y == 3) ? 0 : 1);
    }
  }
  return picture;
}

std::vector<std::string> PictureRows(const TestView& t) {
  return Rows(*t.view, {{0, '.'}, {10, 'A'}, {20, 'B'}, {30, 'C'}, {40, 'D'}});
}

TEST(DrawPicture, ScalesAndClipsWithoutTheLastColumnAndRow) {
  const struct {
    const char* name;
    float x, y, w, h;
    bool transparent;
    std::vector<std::string> rows;
  } cases[] = {
      {"inside, height 4.5 rounded to even",
       0.5f,
       0.5f,
       0.75f,
       0.75f,
       false,
       {"........", "........", "........", "....AAB.", "....AAB.", "........"}},
      {"over the top left corner",
       -0.25f,
       -0.5f,
       0.5f,
       1.0f,
       false,
       {"CD......", "CD......", "CD......", "........", "........", "........"}},
      {"over the top left corner, masked",
       -0.25f,
       -0.5f,
       0.5f,
       1.0f,
       true,
       {".D......", "CD......", "C.......", "........", "........", "........"}},
      {"the whole screen", 0, 0, 1, 1, false, {"AABBCCD.", "AABBCCD.", "AABBCCD.", "AABBCCD.", "AABBCCD.", "........"}},
      {"far larger than the screen",
       0,
       0,
       1e30f,
       1e30f,
       false,
       {"AAAAAAA.", "AAAAAAA.", "AAAAAAA.", "AAAAAAA.", "AAAAAAA.", "........"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestView t(8, 6);
    t.view->ViewPalette = PicturePalette();
    t.backend.DrawPicture(ColumnPicture(), c.transparent, *t.view, c.x, c.y, c.w, c.h);
    EXPECT_EQ(PictureRows(t), c.rows);
  }
}

TEST(DrawPicture, DrawsNothingOffTheScreenOrWithoutSize) {
  const float nan = std::nanf("");
  const struct {
    float x, y, w, h;
  } cases[] = {
      {1, 0, 0.5f, 0.5f}, {0, 1, 0.5f, 0.5f}, {-0.6f, 0, 0.5f, 0.5f}, {0, 0, 0, 1},     {0, 0, 1, -1},
      {nan, 0, 1, 1},     {0, 0, nan, 1},     {-1e30f, 0, 1, 1},      {0, 0, 0.01f, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.w << " " << c.h);
    TestView t(8, 6);
    t.view->ViewPalette = PicturePalette();
    t.backend.DrawPicture(ColumnPicture(), false, *t.view, c.x, c.y, c.w, c.h);
    EXPECT_EQ(PictureRows(t), std::vector<std::string>(6, "........"));
  }
}

TEST(DrawPicture, PicturesThatDoNotHoldTheirPixelsDrawNothing) {
  Picture noMask = ColumnPicture();
  noMask.Mask.pop_back();
  Picture tooWide = ColumnPicture();
  tooWide.Width = 5;
  Picture negative = ColumnPicture();
  negative.Width = negative.Height = -4;
  for (const Picture* picture : {&noMask, &tooWide, &negative}) {
    TestView t(8, 6);
    t.backend.DrawPicture(*picture, false, *t.view, 0, 0, 1, 1);
    EXPECT_EQ(PictureRows(t), std::vector<std::string>(6, "........"));
  }
}

TEST(DrawPicture, MatchesFollowTheViewPalette) {
  TestView t(8, 6);
  t.view->ViewPalette = PicturePalette();
  t.backend.DrawPicture(ColumnPicture(), false, *t.view, 0, 0, 1, 1);
  EXPECT_EQ(t.view->Screen.Pixels[0], 10);
  t.view->ViewPalette.Red[10] = 200;
  t.view->ViewPalette.Red[11] = 66, t.view->ViewPalette.Green[11] = 0, t.view->ViewPalette.Blue[11] = 0;
  t.backend.DrawPicture(ColumnPicture(), false, *t.view, 0, 0, 1, 1);
  EXPECT_EQ(t.view->Screen.Pixels[0], 11);
}

}  // namespace
}  // namespace zandrel::engine::soft
