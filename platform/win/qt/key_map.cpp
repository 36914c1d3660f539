#include "platform/win/qt/key_map.h"

#include <array>
#include <cstdint>

#include "input/virtual_keys.h"

namespace zandrel::win::qt {
namespace vk = input::vk;
namespace {

// X keyboard keycodes (evdev code + 8) of the letters, row by row, for layouts whose keys
// carry no Latin letters: such a key is the letter at its place on a US keyboard.
constexpr std::array<char, 256> LetterByKeycode() {
  std::array<char, 256> letters{};
  auto row = [&letters](int first, const char* keys) {
    for (int i = 0; keys[i] != 0; ++i) letters[static_cast<std::size_t>(first + i)] = keys[i];
  };
  row(24, "QWERTYUIOP");
  row(38, "ASDFGHJKL");
  row(52, "ZXCVBNM");
  return letters;
}
constexpr std::array<char, 256> kLetterByKeycode = LetterByKeycode();

// The digit row's keycodes, '1' at 10 to '0' at 19: layouts such as AZERTY give the digits
// only with shift, but the key is still the digit's.
int DigitByKeycode(std::uint32_t keycode) {
  if (keycode >= 10 && keycode <= 18) return '1' + static_cast<int>(keycode - 10);
  if (keycode == 19) return '0';
  return 0;
}

// The sided codes of shift, ctrl and alt with the X keysym and keycode of each key.
struct SidedKey {
  int Either, Code, Other;
  std::uint32_t Keysym, Keycode;
};
constexpr std::array<SidedKey, 6> kSidedKeys = {{{vk::Shift, vk::LShift, vk::RShift, 0xFFE1, 50},
                                                 {vk::Shift, vk::RShift, vk::LShift, 0xFFE2, 62},
                                                 {vk::Control, vk::LControl, vk::RControl, 0xFFE3, 37},
                                                 {vk::Control, vk::RControl, vk::LControl, 0xFFE4, 105},
                                                 {vk::Menu, vk::LMenu, vk::RMenu, 0xFFE9, 64},
                                                 {vk::Menu, vk::RMenu, vk::LMenu, 0xFFEA, 108}}};

const SidedKey* FindSided(int code) {
  for (const SidedKey& key : kSidedKeys) {
    if (key.Code == code) return &key;
  }
  return nullptr;
}

// The side of a shift, ctrl or alt key: from its keysym, else its keycode.
int SidedModifier(const QKeyEvent& event, int either) {
  for (const SidedKey& key : kSidedKeys) {
    if (key.Either == either && event.nativeVirtualKey() == key.Keysym) return key.Code;
  }
  for (const SidedKey& key : kSidedKeys) {
    if (key.Either == either && event.nativeScanCode() == key.Keycode) return key.Code;
  }
  return either;
}

int PadKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Numpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Slash: return vk::Divide;
    case Qt::Key_Period:
    case Qt::Key_Comma: return vk::Decimal;
    default: return 0;  // the pad's other keys are the keys they stand for
  }
}

// Punctuation by the character it gives, shifted or not, as on a US keyboard.
int PunctuationKey(int key) {
  switch (key) {
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return vk::Oem1;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vk::OemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less: return vk::OemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vk::OemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return vk::OemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return vk::Oem2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return vk::Oem3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return vk::Oem4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return vk::Oem5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return vk::Oem6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return vk::Oem7;
    default: return 0;
  }
}

int SpecialKey(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Pause: return vk::Pause;
    case Qt::Key_CapsLock: return vk::Capital;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Print: return vk::Snapshot;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Super_L:
    case Qt::Key_Meta: return vk::LWin;
    case Qt::Key_Super_R: return vk::RWin;
    case Qt::Key_Menu: return vk::Apps;
    case Qt::Key_NumLock: return vk::NumLock;
    case Qt::Key_ScrollLock: return vk::Scroll;
    case Qt::Key_AltGr: return vk::RMenu;
    default: return 0;
  }
}

}  // namespace

int VirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if (event.modifiers().testFlag(Qt::KeypadModifier)) {
    if (const int pad = PadKey(key); pad != 0) return pad;
  } else {
    if (const int digit = DigitByKeycode(event.nativeScanCode()); digit != 0) return digit;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  switch (key) {
    case Qt::Key_Shift: return SidedModifier(event, vk::Shift);
    case Qt::Key_Control: return SidedModifier(event, vk::Control);
    case Qt::Key_Alt: return SidedModifier(event, vk::Menu);
    default: break;
  }
  if (const int special = SpecialKey(key); special != 0) return special;
  if (const int punctuation = PunctuationKey(key); punctuation != 0) return punctuation;
  // A character outside ASCII: a letter of another alphabet takes the key's US letter.
  if (key > 0x7F && key < Qt::Key_Escape && event.nativeScanCode() < kLetterByKeycode.size()) {
    return kLetterByKeycode[event.nativeScanCode()];
  }
  return 0;
}

int SidelessKey(int code) {
  const SidedKey* key = FindSided(code);
  return key != nullptr ? key->Either : 0;
}

int OtherSideKey(int code) {
  const SidedKey* key = FindSided(code);
  return key != nullptr ? key->Other : 0;
}

int MouseButtonKey(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return vk::LButton;
    case Qt::RightButton: return vk::RButton;
    case Qt::MiddleButton: return vk::MButton;
    case Qt::BackButton: return vk::XButton1;
    case Qt::ForwardButton: return vk::XButton2;
    default: return 0;
  }
}

}  // namespace zandrel::win::qt
