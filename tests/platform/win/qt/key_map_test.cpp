#include "platform/win/qt/key_map.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "input/virtual_keys.h"

namespace zandrel::win::qt {
namespace {
namespace vk = input::vk;

struct KeyCase {
  const char* What;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  std::uint32_t Keycode, Keysym;  // native scan code and native virtual key
  int Expected;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

const KeyCase kKeys[] = {
    {"letter A", Qt::Key_A, kNone, 38, 0x61, 'A'},
    {"shifted Z", Qt::Key_Z, Qt::ShiftModifier, 52, 0x5A, 'Z'},
    {"AZERTY's A at the US Q", Qt::Key_A, kNone, 24, 0x61, 'A'},
    {"a Cyrillic letter at the US A", 0x0444, kNone, 38, 0x6C6, 'A'},
    {"digit 5", Qt::Key_5, kNone, 14, 0x35, '5'},
    {"shift+1 is still 1", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, '1'},
    {"AZERTY's 2 key", Qt::Key_Eacute, kNone, 11, 0xE9, '2'},
    {"digit without a keycode", Qt::Key_0, kNone, 0, 0, '0'},
    {"left", Qt::Key_Left, kNone, 113, 0xFF51, vk::Left},
    {"up", Qt::Key_Up, kNone, 111, 0xFF52, vk::Up},
    {"right", Qt::Key_Right, kNone, 114, 0xFF53, vk::Right},
    {"down", Qt::Key_Down, kNone, 116, 0xFF54, vk::Down},
    {"page up", Qt::Key_PageUp, kNone, 112, 0xFF55, vk::Prior},
    {"page down", Qt::Key_PageDown, kNone, 117, 0xFF56, vk::Next},
    {"home", Qt::Key_Home, kNone, 110, 0xFF50, vk::Home},
    {"end", Qt::Key_End, kNone, 115, 0xFF57, vk::End},
    {"insert", Qt::Key_Insert, kNone, 118, 0xFF63, vk::Insert},
    {"delete", Qt::Key_Delete, kNone, 119, 0xFFFF, vk::Delete},
    {"backspace", Qt::Key_Backspace, kNone, 22, 0xFF08, vk::Back},
    {"space", Qt::Key_Space, kNone, 65, 0x20, vk::Space},
    {"return", Qt::Key_Return, kNone, 36, 0xFF0D, vk::Return},
    {"escape", Qt::Key_Escape, kNone, 9, 0xFF1B, vk::Escape},
    {"F1", Qt::Key_F1, kNone, 67, 0xFFBE, vk::F1},
    {"F12", Qt::Key_F12, kNone, 96, 0xFFC9, vk::F12},
    {"F13", Qt::Key_F13, kNone, 191, 0xFFCA, vk::F12 + 1},
    {"F24", Qt::Key_F24, kNone, 202, 0xFFD5, vk::F1 + 23},
    {"pad 0", Qt::Key_0, kPad, 90, 0xFFB0, vk::Numpad0},
    {"pad 7", Qt::Key_7, kPad, 79, 0xFFB7, vk::Numpad0 + 7},
    {"pad plus", Qt::Key_Plus, kPad, 86, 0xFFAB, vk::Add},
    {"pad minus", Qt::Key_Minus, kPad, 82, 0xFFAD, vk::Subtract},
    {"pad times", Qt::Key_Asterisk, kPad, 63, 0xFFAA, vk::Multiply},
    {"pad divide", Qt::Key_Slash, kPad, 106, 0xFFAF, vk::Divide},
    {"pad point", Qt::Key_Period, kPad, 91, 0xFFAE, vk::Decimal},
    {"pad enter", Qt::Key_Enter, kPad, 104, 0xFF8D, vk::Return},
    {"pad 7 without Num Lock", Qt::Key_Home, kPad, 79, 0xFF95, vk::Home},
    {"main plus", Qt::Key_Plus, Qt::ShiftModifier, 21, 0x2B, vk::OemPlus},
    {"main minus", Qt::Key_Minus, kNone, 20, 0x2D, vk::OemMinus},
    {"left shift by keysym", Qt::Key_Shift, kNone, 50, 0xFFE1, vk::LShift},
    {"right shift by keysym", Qt::Key_Shift, kNone, 62, 0xFFE2, vk::RShift},
    {"right shift by keycode only", Qt::Key_Shift, kNone, 62, 0, vk::RShift},
    {"shift of no known side", Qt::Key_Shift, kNone, 0, 0, vk::Shift},
    {"right ctrl", Qt::Key_Control, Qt::ControlModifier, 105, 0xFFE4, vk::RControl},
    {"left ctrl remapped to caps lock's key", Qt::Key_Control, kNone, 66, 0xFFE3, vk::LControl},
    {"left alt by keycode", Qt::Key_Alt, kNone, 64, 0, vk::LMenu},
    {"alt of no known side", Qt::Key_Alt, kNone, 0, 0, vk::Menu},
    {"alt gr", Qt::Key_AltGr, kNone, 108, 0xFE03, vk::RMenu},
    {"a key the editor has no code for", Qt::Key_VolumeUp, kNone, 123, 0x1008FF13, 0},
    {"a non-letter character away from the letters", Qt::Key_Adiaeresis, kNone, 48, 0xE4, 0},
};

TEST(QtKeyMap, KeysAnswerTheirVirtualKeyCodes) {
  for (const KeyCase& c : kKeys) {
    const QKeyEvent event(QEvent::KeyPress, c.Key, c.Modifiers, c.Keycode, c.Keysym, 0);
    EXPECT_EQ(VirtualKey(event), c.Expected) << c.What;
  }
}

TEST(QtKeyMap, SidedModifiersAndMouseButtons) {
  for (const auto& [sided, either, other] :
       std::array<std::array<int, 3>, 6>{{{vk::LShift, vk::Shift, vk::RShift},
                                          {vk::RShift, vk::Shift, vk::LShift},
                                          {vk::LControl, vk::Control, vk::RControl},
                                          {vk::RControl, vk::Control, vk::LControl},
                                          {vk::LMenu, vk::Menu, vk::RMenu},
                                          {vk::RMenu, vk::Menu, vk::LMenu}}}) {
    EXPECT_EQ(SidelessKey(sided), either) << sided;
    EXPECT_EQ(OtherSideKey(sided), other) << sided;
  }
  EXPECT_EQ(SidelessKey(vk::Shift), 0);
  EXPECT_EQ(SidelessKey('A'), 0);

  EXPECT_EQ(MouseButtonKey(Qt::LeftButton), vk::LButton);
  EXPECT_EQ(MouseButtonKey(Qt::RightButton), vk::RButton);
  EXPECT_EQ(MouseButtonKey(Qt::MiddleButton), vk::MButton);
  EXPECT_EQ(MouseButtonKey(Qt::BackButton), vk::XButton1);
  EXPECT_EQ(MouseButtonKey(Qt::ForwardButton), vk::XButton2);
  EXPECT_EQ(MouseButtonKey(Qt::NoButton), 0);
}

}  // namespace
}  // namespace zandrel::win::qt
