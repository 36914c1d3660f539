#include "platform/win/qt/key_feeder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <cstdint>

#include "input/virtual_keys.h"
#include "tests/support/qt_application.h"

namespace zandrel::win::qt {
namespace {
namespace vk = input::vk;

// A line edit with the feeder installed: what it types shows that events pass on.
class KeyStateFeederTest : public ::testing::Test {
 protected:
  KeyStateFeederTest() : feeder_(keys_) { widget_.installEventFilter(&feeder_); }

  void Key(QEvent::Type type, int key, std::uint32_t keysym = 0, bool repeat = false, const QString& text = {}) {
    QKeyEvent event(type, key, Qt::NoModifier, 0, keysym, 0, text, repeat);
    QCoreApplication::sendEvent(&widget_, &event);
  }
  void Press(int key, std::uint32_t keysym = 0) { Key(QEvent::KeyPress, key, keysym); }
  void Release(int key, std::uint32_t keysym = 0) { Key(QEvent::KeyRelease, key, keysym); }
  void Mouse(QEvent::Type type, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(3, 3), QPointF(3, 3), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget_, &event);
  }

  input::KeyState keys_;
  KeyStateFeeder feeder_;
  QLineEdit widget_;
};

TEST_F(KeyStateFeederTest, PressesAndReleasesReachTheStateAndTheWidget) {
  Key(QEvent::KeyPress, Qt::Key_X, 0, false, "x");
  EXPECT_TRUE(keys_.Held('X'));
  EXPECT_EQ(widget_.text(), "x");
  Key(QEvent::KeyRelease, Qt::Key_X, 0, false, "x");
  EXPECT_FALSE(keys_.Held('X'));
  EXPECT_TRUE(keys_.KeyDown('X'));  // pressed since the last query
  EXPECT_FALSE(keys_.KeyDown('X'));

  Press(Qt::Key_VolumeUp);  // no code: nothing changes
  EXPECT_FALSE(keys_.AnyKeyDown());
}

TEST_F(KeyStateFeederTest, AutoRepeatKeepsTheKeyDownUntilItsRealRelease) {
  Press(Qt::Key_Up);
  ASSERT_TRUE(keys_.KeyDown(vk::Up));
  // The platform repeats a held key as release and press pairs marked as repeats.
  for (int i = 0; i < 3; ++i) {
    Key(QEvent::KeyRelease, Qt::Key_Up, 0, true);
    EXPECT_TRUE(keys_.Held(vk::Up));
    Key(QEvent::KeyPress, Qt::Key_Up, 0, true);
  }
  Release(Qt::Key_Up);
  EXPECT_FALSE(keys_.Held(vk::Up));
  // The repeats added no presses to read after the release.
  EXPECT_FALSE(keys_.KeyDown(vk::Up));
}

TEST_F(KeyStateFeederTest, EitherShiftStaysDownWhileOneSideIsHeld) {
  Press(Qt::Key_Shift, 0xFFE1);
  EXPECT_TRUE(keys_.Held(vk::LShift));
  EXPECT_TRUE(keys_.Held(vk::Shift));
  Press(Qt::Key_Shift, 0xFFE2);
  Release(Qt::Key_Shift, 0xFFE1);
  EXPECT_FALSE(keys_.Held(vk::LShift));
  EXPECT_TRUE(keys_.Held(vk::RShift));
  EXPECT_TRUE(keys_.Held(vk::Shift));
  Release(Qt::Key_Shift, 0xFFE2);
  EXPECT_FALSE(keys_.Held(vk::Shift));

  // Without a known side only the either-side code moves.
  Press(Qt::Key_Control);
  EXPECT_TRUE(keys_.Held(vk::Control));
  EXPECT_FALSE(keys_.Held(vk::LControl));
  Release(Qt::Key_Control);
  EXPECT_FALSE(keys_.Held(vk::Control));
}

TEST_F(KeyStateFeederTest, MouseButtonsAreKeysAndLosingTheFocusReleasesEverything) {
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton);
  EXPECT_TRUE(keys_.Held(vk::LButton));
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton);
  EXPECT_FALSE(keys_.Held(vk::LButton));

  Mouse(QEvent::MouseButtonPress, Qt::RightButton);
  Press(Qt::Key_Space);
  Press(Qt::Key_Shift, 0xFFE1);
  QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(&widget_, &focusOut);
  for (const int code : {vk::RButton, vk::Space, vk::LShift, vk::Shift}) EXPECT_FALSE(keys_.Held(code)) << code;
  EXPECT_TRUE(keys_.KeyDown(vk::Space));  // the press itself is still read once

  Press(Qt::Key_A);
  QEvent deactivate(QEvent::WindowDeactivate);
  QCoreApplication::sendEvent(&widget_, &deactivate);
  EXPECT_FALSE(keys_.Held('A'));
}

}  // namespace
}  // namespace zandrel::win::qt
