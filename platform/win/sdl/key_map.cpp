#include "platform/win/sdl/key_map.h"

#include "input/virtual_keys.h"

namespace zandrel::win::sdl {
namespace vk = input::vk;

int VirtualKey(const SDL_Keysym& key) {
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + (key.sym - SDLK_a);
  const SDL_Scancode s = key.scancode;
  // A layout without Latin letters: the letter printed at that place on a US keyboard.
  if (key.sym >= 128 && s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) {
    return 'A' + (s - SDL_SCANCODE_A);
  }
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return '1' + (s - SDL_SCANCODE_1);
  if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return vk::F1 + (s - SDL_SCANCODE_F1);
  if (s >= SDL_SCANCODE_F13 && s <= SDL_SCANCODE_F24) return vk::F1 + 12 + (s - SDL_SCANCODE_F13);
  if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) {
    return vk::Numpad0 + 1 + (s - SDL_SCANCODE_KP_1);
  }
  switch (s) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_KP_0: return vk::Numpad0;
    case SDL_SCANCODE_KP_MULTIPLY: return vk::Multiply;
    case SDL_SCANCODE_KP_PLUS: return vk::Add;
    case SDL_SCANCODE_KP_MINUS: return vk::Subtract;
    case SDL_SCANCODE_KP_PERIOD: return vk::Decimal;
    case SDL_SCANCODE_KP_DIVIDE: return vk::Divide;
    case SDL_SCANCODE_KP_ENTER: return vk::Return;
    case SDL_SCANCODE_RETURN: return vk::Return;
    case SDL_SCANCODE_BACKSPACE: return vk::Back;
    case SDL_SCANCODE_TAB: return vk::Tab;
    case SDL_SCANCODE_PAUSE: return vk::Pause;
    case SDL_SCANCODE_CAPSLOCK: return vk::Capital;
    case SDL_SCANCODE_ESCAPE: return vk::Escape;
    case SDL_SCANCODE_SPACE: return vk::Space;
    case SDL_SCANCODE_PAGEUP: return vk::Prior;
    case SDL_SCANCODE_PAGEDOWN: return vk::Next;
    case SDL_SCANCODE_END: return vk::End;
    case SDL_SCANCODE_HOME: return vk::Home;
    case SDL_SCANCODE_LEFT: return vk::Left;
    case SDL_SCANCODE_UP: return vk::Up;
    case SDL_SCANCODE_RIGHT: return vk::Right;
    case SDL_SCANCODE_DOWN: return vk::Down;
    case SDL_SCANCODE_PRINTSCREEN: return vk::Snapshot;
    case SDL_SCANCODE_INSERT: return vk::Insert;
    case SDL_SCANCODE_DELETE: return vk::Delete;
    case SDL_SCANCODE_LGUI: return vk::LWin;
    case SDL_SCANCODE_RGUI: return vk::RWin;
    case SDL_SCANCODE_APPLICATION: return vk::Apps;
    case SDL_SCANCODE_NUMLOCKCLEAR: return vk::NumLock;
    case SDL_SCANCODE_SCROLLLOCK: return vk::Scroll;
    case SDL_SCANCODE_LSHIFT: return vk::LShift;
    case SDL_SCANCODE_RSHIFT: return vk::RShift;
    case SDL_SCANCODE_LCTRL: return vk::LControl;
    case SDL_SCANCODE_RCTRL: return vk::RControl;
    case SDL_SCANCODE_LALT: return vk::LMenu;
    case SDL_SCANCODE_RALT: return vk::RMenu;
    case SDL_SCANCODE_SEMICOLON: return vk::Oem1;
    case SDL_SCANCODE_EQUALS: return vk::OemPlus;
    case SDL_SCANCODE_COMMA: return vk::OemComma;
    case SDL_SCANCODE_MINUS: return vk::OemMinus;
    case SDL_SCANCODE_PERIOD: return vk::OemPeriod;
    case SDL_SCANCODE_SLASH: return vk::Oem2;
    case SDL_SCANCODE_GRAVE: return vk::Oem3;
    case SDL_SCANCODE_LEFTBRACKET: return vk::Oem4;
    case SDL_SCANCODE_BACKSLASH: return vk::Oem5;
    case SDL_SCANCODE_RIGHTBRACKET: return vk::Oem6;
    case SDL_SCANCODE_APOSTROPHE: return vk::Oem7;
    case SDL_SCANCODE_NONUSBACKSLASH: return vk::Oem102;
    default: return 0;
  }
}

int SidelessKey(int code) {
  switch (code) {
    case vk::LShift:
    case vk::RShift: return vk::Shift;
    case vk::LControl:
    case vk::RControl: return vk::Control;
    case vk::LMenu:
    case vk::RMenu: return vk::Menu;
    default: return 0;
  }
}

int OtherSideKey(int code) {
  switch (code) {
    case vk::LShift: return vk::RShift;
    case vk::RShift: return vk::LShift;
    case vk::LControl: return vk::RControl;
    case vk::RControl: return vk::LControl;
    case vk::LMenu: return vk::RMenu;
    case vk::RMenu: return vk::LMenu;
    default: return 0;
  }
}

int MouseButtonKey(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return vk::LButton;
    case SDL_BUTTON_RIGHT: return vk::RButton;
    case SDL_BUTTON_MIDDLE: return vk::MButton;
    case SDL_BUTTON_X1: return vk::XButton1;
    case SDL_BUTTON_X2: return vk::XButton2;
    default: return 0;
  }
}

}  // namespace zandrel::win::sdl
