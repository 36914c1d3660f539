// Joystick 0 as the platform reports it, in the ranges the game's tests are written for.
#pragma once

#include <cstdint>

namespace zandrel::input {

struct JoystickState {
  bool Connected = false;  // false: the position cannot be read (no device, or unplugged)
  // Capabilities: the range the axes report in.
  std::uint32_t XMin = 0;
  std::uint32_t XMax = 65535;
  std::uint32_t YMin = 0;
  std::uint32_t YMax = 65535;
  // Position; x grows to the right, y grows downwards (towards the player).
  std::uint32_t X = 32767;
  std::uint32_t Y = 32767;
  std::uint32_t Buttons = 0;  // bit 1, 2, 4, 8: buttons 1 to 4
};

// The platform's joystick 0. Each call reads the device afresh.
class JoystickDevice {
 public:
  virtual ~JoystickDevice() = default;
  virtual JoystickState ReadJoystick() = 0;
};

}  // namespace zandrel::input
