#include "input/controls.h"

#include <cstdint>

#include "input/virtual_keys.h"

namespace zandrel::input {
namespace {

// The thresholds are computed on signed 32-bit values with divisions rounded toward zero;
// the product is formed wide so that an absurd range wraps instead of overflowing.
std::int32_t Half(std::uint32_t min, std::uint32_t max) { return static_cast<std::int32_t>(max - min) / 2; }
std::int32_t LowMark(std::int32_t half) { return half / 2; }
std::int32_t HighMark(std::int32_t half) { return static_cast<std::int32_t>(static_cast<std::int64_t>(half) * 3 / 2); }
std::int32_t Signed(std::uint32_t v) { return static_cast<std::int32_t>(v); }

}  // namespace

void InputDevices::ProbeJoystick() { noJoystick_ = joystick_ == nullptr || !joystick_->ReadJoystick().Connected; }

bool InputDevices::Read(JoystickState& state) {
  if (noJoystick_) return false;
  state = joystick_->ReadJoystick();
  return state.Connected;
}

bool InputDevices::JoyLeft() {
  JoystickState s;
  return Read(s) && Signed(s.X) < LowMark(Half(s.XMin, s.XMax));
}

bool InputDevices::JoyRight() {
  JoystickState s;
  return Read(s) && Signed(s.X) > HighMark(Half(s.XMin, s.XMax));
}

bool InputDevices::JoyUp() {
  JoystickState s;
  return Read(s) && Signed(s.Y) < LowMark(Half(s.YMin, s.YMax));
}

bool InputDevices::JoyDown() {
  JoystickState s;
  return Read(s) && Signed(s.Y) > HighMark(Half(s.YMin, s.YMax));
}

bool InputDevices::JoyButton(int n) {
  if (n < 1 || n > 4) return false;
  JoystickState s;
  return Read(s) && (s.Buttons & (1u << (n - 1))) != 0;
}

void InputDevices::ReadControls(ControlFlags& flags) {
  flags.fill(false);
  // Polled in this order: the keyboard first, the joystick only when the key is not down.
  flags[kLeft] = KeyDown(vk::Left) || JoyLeft();
  flags[kUp] = KeyDown(vk::Up) || JoyUp();
  flags[kRight] = KeyDown(vk::Right) || JoyRight();
  flags[kDown] = KeyDown(vk::Down) || JoyDown();
  flags[kButton1] = KeyDown(vk::Space) || JoyButton(1);
  flags[kButton2] = KeyDown(vk::Control) || JoyButton(2);
  flags[kButton3] = KeyDown(vk::Shift) || JoyButton(3);
  flags[kButton4] = KeyDown(vk::Escape) || JoyButton(4);
}

void WaitAllKeysUp(KeyState& keys, const std::function<bool()>& pumpEvents) {
  do {
    if (!pumpEvents()) return;
  } while (keys.AnyKeyDown());
}

}  // namespace zandrel::input
