#include "editor/widgets/soft_screen_widget.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cstdint>
#include <vector>

#include "tests/support/allocation_count.h"
#include "tests/support/qt_application.h"

namespace zandrel::editor::widgets {
namespace {

// Index i shows as (i, 255 - i, 3i mod 256): every index its own colour.
engine::Palette DistinctPalette() {
  engine::Palette palette;
  for (int i = 0; i < 256; ++i) {
    palette.Red[i] = static_cast<std::uint8_t>(i);
    palette.Green[i] = static_cast<std::uint8_t>(255 - i);
    palette.Blue[i] = static_cast<std::uint8_t>(i * 3);
  }
  return palette;
}

QRgb Colour(const engine::Palette& palette, std::uint8_t index) {
  return qRgb(palette.Red[index], palette.Green[index], palette.Blue[index]);
}

// A 4 x 3 picture, index 10 * row + column + 1.
engine::ScreenBuffer SmallScreen() {
  engine::ScreenBuffer screen;
  screen.Width = 4;
  screen.Height = 3;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) screen.Pixels.push_back(static_cast<std::uint8_t>(10 * y + x + 1));
  }
  return screen;
}

class SoftScreenWidgetTest : public ::testing::Test {
 protected:
  SoftScreenWidgetTest() {
    QPalette colours = widget_.palette();
    colours.setColor(widget_.backgroundRole(), kWindow);
    widget_.setPalette(colours);
  }

  // Every pixel of the shown widget: the picture's colour inside `where`, the window colour
  // around it; `scale` widget pixels per picture pixel.
  void ExpectShown(const engine::ScreenBuffer& screen, const engine::Palette& palette, QRect where, int scale) {
    const QImage shown = widget_.Shown();
    ASSERT_EQ(shown.size(), widget_.size());
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        QRgb expected = kWindow.rgb();
        if (where.contains(x, y)) {
          const int px = (x - where.left()) / scale, py = (y - where.top()) / scale;
          expected = Colour(palette, screen.Pixels[static_cast<std::size_t>(py * screen.Width + px)]);
        }
        ASSERT_EQ(shown.pixel(x, y), expected) << x << "," << y;
      }
    }
  }

  const QColor kWindow{1, 2, 3};
  SoftScreenWidget widget_;
};

TEST_F(SoftScreenWidgetTest, UnscaledThePictureIsCentredPixelForPixel) {
  const engine::ScreenBuffer screen = SmallScreen();
  const engine::Palette palette = DistinctPalette();
  widget_.resize(11, 8);
  widget_.SetStretched(false);
  widget_.ShowScreen(screen, palette);
  // (11 - 4) / 2 and (8 - 3) / 2, halves cut down.
  EXPECT_EQ(widget_.PictureRect(), QRect(3, 2, 4, 3));
  ExpectShown(screen, palette, QRect(3, 2, 4, 3), 1);

  // The 8-bit picture itself, its colour table the palette.
  const QImage& picture = widget_.Picture();
  ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
  ASSERT_EQ(picture.colorCount(), 256);
  EXPECT_EQ(picture.pixelIndex(2, 1), 13);
  EXPECT_EQ(picture.color(200), Colour(palette, 200));
}

TEST_F(SoftScreenWidgetTest, StretchedThePictureFillsTheWidget) {
  const engine::ScreenBuffer screen = SmallScreen();
  const engine::Palette palette = DistinctPalette();
  widget_.resize(8, 6);
  widget_.ShowScreen(screen, palette);
  ASSERT_TRUE(widget_.Stretched());
  EXPECT_EQ(widget_.PictureRect(), QRect(0, 0, 8, 6));
  ExpectShown(screen, palette, QRect(0, 0, 8, 6), 2);

  // A picture larger than an unstretched widget is cut on both sides.
  widget_.resize(2, 1);
  widget_.SetStretched(false);
  EXPECT_EQ(widget_.PictureRect(), QRect(-1, -1, 4, 3));
  ExpectShown(screen, palette, QRect(-1, -1, 4, 3), 1);
}

TEST_F(SoftScreenWidgetTest, ANewPaletteOrSizeIsSeenAndABrokenScreenShowsNothing) {
  engine::ScreenBuffer screen = SmallScreen();
  engine::Palette palette = DistinctPalette();
  widget_.resize(4, 3);
  widget_.ShowScreen(screen, palette);
  palette.Red[13] = 200;
  palette.Blue[1] = 7;
  widget_.ShowScreen(screen, palette);
  ExpectShown(screen, palette, QRect(0, 0, 4, 3), 1);
  EXPECT_EQ(widget_.Picture().color(13), Colour(palette, 13));

  screen.Width = 2;
  screen.Height = 6;
  widget_.resize(2, 6);
  widget_.ShowScreen(screen, palette);
  EXPECT_EQ(widget_.Picture().size(), QSize(2, 6));
  ExpectShown(screen, palette, QRect(0, 0, 2, 6), 1);

  screen.Pixels.pop_back();  // no longer fills 2 x 6
  widget_.ShowScreen(screen, palette);
  EXPECT_TRUE(widget_.Picture().isNull());
  EXPECT_TRUE(widget_.PictureRect().isEmpty());
  ExpectShown(screen, palette, QRect(), 1);
}

TEST_F(SoftScreenWidgetTest, FramesOfOneSizeAndPaletteAllocateNothing) {
  engine::ScreenBuffer screen;
  screen.Width = 320;
  screen.Height = 240;
  screen.Pixels.assign(320 * 240, 5);
  const engine::Palette palette = DistinctPalette();
  QImage target(640, 480, QImage::Format_RGB32);
  for (const bool stretched : {true, false}) {
    widget_.resize(640, 480);
    widget_.SetStretched(stretched);
    widget_.ShowScreen(screen, palette);
    const std::uint8_t* pixels = widget_.Picture().constBits();
    QPainter painter(&target);
    const long before = test::AllocationCount();
    for (int frame = 0; frame < 10; ++frame) {
      screen.Pixels[static_cast<std::size_t>(frame)] = static_cast<std::uint8_t>(frame);
      widget_.ShowScreen(screen, palette);
      widget_.Paint(painter);
    }
    EXPECT_EQ(test::AllocationCount() - before, 0) << (stretched ? "stretched" : "unscaled");
    EXPECT_EQ(widget_.Picture().constBits(), pixels);
  }
}

}  // namespace
}  // namespace zandrel::editor::widgets
