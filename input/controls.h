// Reading the keyboard and joystick 0 into the local player's eight control flags, once per
// frame; the joystick direction and button tests; waiting until every key is up.
#pragma once

#include <array>
#include <functional>

#include "input/control_flags.h"
#include "input/joystick.h"
#include "input/key_state.h"

namespace zandrel::input {

class InputDevices {
 public:
  // joystick may be null: then there is no joystick. Both must outlive this object.
  InputDevices(KeyState& keys, JoystickDevice* joystick) : keys_(keys), joystick_(joystick) {}

  // At start-up: reads joystick 0 once; when it cannot be read, NoJoystick is set and the
  // device is never asked again.
  void ProbeJoystick();
  bool NoJoystick() const { return noJoystick_; }

  bool KeyDown(int vk) { return keys_.KeyDown(vk); }

  // Direction tests against the quarter and three-quarter marks of the reported range (the
  // range's minimum is not added). Each reads the device afresh; false without a joystick.
  bool JoyLeft();
  bool JoyRight();
  bool JoyUp();
  bool JoyDown();
  // Buttons 1 to 4; any other number answers false.
  bool JoyButton(int n);

  // Clears the flags, then sets each whose key is down or, only when it is not, whose
  // joystick test answers true. Keys: arrows, space, ctrl, shift, esc.
  void ReadControls(ControlFlags& flags);

 private:
  // The joystick's state, or nothing when there is none or it cannot be read now.
  bool Read(JoystickState& state);

  KeyState& keys_;
  JoystickDevice* joystick_;
  bool noJoystick_ = true;  // until probed
};

// Repeats full passes over the 256 codes until one finds no key down, mouse buttons
// included. pumpEvents runs before each pass to bring in the platform's events; when it
// answers false (the program is closing) the wait ends at once.
void WaitAllKeysUp(KeyState& keys, const std::function<bool()>& pumpEvents);

}  // namespace zandrel::input
