#include "editor/widgets/boost_display.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdint>

#include "tests/support/qt_application.h"

namespace zandrel::editor::widgets {
namespace {

class BoostDisplayTest : public ::testing::Test {
 protected:
  BoostDisplayTest() {
    display_.SetClosedByUser([this] { ++closedByUser_; });
  }

  void Key(int key, bool repeat = false) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
    QCoreApplication::sendEvent(&display_, &event);
  }

  QWidget owner_;
  BoostDisplay display_{&owner_};
  int closedByUser_ = 0;
};

TEST_F(BoostDisplayTest, OpensFullScreenAndShowsThePictureInAFourByThreeFrame) {
  ASSERT_TRUE(display_.Open());
  EXPECT_TRUE(display_.IsOpen());
  EXPECT_TRUE(display_.isFullScreen());
  EXPECT_TRUE(display_.isWindow());
  EXPECT_EQ(display_.cursor().shape(), Qt::BlankCursor);

  engine::ScreenBuffer screen;
  screen.Width = BoostDisplay::kWidth;
  screen.Height = BoostDisplay::kHeight;
  screen.Pixels.assign(static_cast<std::size_t>(screen.Width * screen.Height), 9);
  engine::Palette palette;
  palette.Red[9] = 250;
  display_.ShowScreen(screen, palette);
  EXPECT_EQ(display_.Screen().Picture().size(), QSize(320, 200));

  // The largest 4:3 frame in the middle of the display.
  display_.resize(1000, 600);
  EXPECT_EQ(display_.Screen().geometry(), QRect(100, 0, 800, 600));
  display_.resize(800, 800);
  EXPECT_EQ(display_.Screen().geometry(), QRect(0, 100, 800, 600));
  EXPECT_EQ(display_.Screen().Shown().pixel(400, 300), qRgb(250, 0, 0));

  display_.Close();
  EXPECT_FALSE(display_.IsOpen());
  EXPECT_EQ(closedByUser_, 0);  // the owner knows it closed it
}

TEST_F(BoostDisplayTest, EscapeOrAClickClosesItAndTellsTheOwner) {
  ASSERT_TRUE(display_.Open());
  Key(Qt::Key_Space);
  Key(Qt::Key_Escape, true);  // a held Escape from before does not count
  EXPECT_TRUE(display_.IsOpen());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(display_.IsOpen());
  EXPECT_EQ(closedByUser_, 1);

  ASSERT_TRUE(display_.Open());
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&display_, &click);
  EXPECT_FALSE(display_.IsOpen());
  EXPECT_EQ(closedByUser_, 2);
}

}  // namespace
}  // namespace zandrel::editor::widgets
