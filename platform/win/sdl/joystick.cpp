#include "platform/win/sdl/joystick.h"

#include <cstdint>

namespace zandrel::win::sdl {
namespace {

constexpr std::uint32_t kAxisMax = 65535;

std::uint32_t AxisPosition(Sint16 value) {
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(value) + 32768);
}

// A pushed d-pad or hat direction moves the stick to the end of its range.
void ApplyDirections(bool left, bool right, bool up, bool down, input::JoystickState& s) {
  if (left) s.X = 0;
  if (right) s.X = kAxisMax;
  if (up) s.Y = 0;
  if (down) s.Y = kAxisMax;
}

}  // namespace

void SdlJoystick::OpenFirst() {
  if (joystick_ != nullptr || SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) return;
  for (int i = 0; i < SDL_NumJoysticks() && joystick_ == nullptr; ++i) Open(i);
}

void SdlJoystick::Open(int deviceIndex) {
  if (SDL_IsGameController(deviceIndex)) {
    controller_ = SDL_GameControllerOpen(deviceIndex);
    if (controller_ != nullptr) joystick_ = SDL_GameControllerGetJoystick(controller_);
  } else {
    joystick_ = SDL_JoystickOpen(deviceIndex);
  }
  id_ = joystick_ != nullptr ? SDL_JoystickInstanceID(joystick_) : -1;
}

void SdlJoystick::Close() {
  if (controller_ != nullptr) {
    SDL_GameControllerClose(controller_);
  } else if (joystick_ != nullptr) {
    SDL_JoystickClose(joystick_);
  }
  controller_ = nullptr;
  joystick_ = nullptr;
  id_ = -1;
}

void SdlJoystick::HandleEvent(const SDL_Event& event) {
  if (event.type == SDL_JOYDEVICEADDED) {
    OpenFirst();
  } else if (event.type == SDL_JOYDEVICEREMOVED && joystick_ != nullptr && event.jdevice.which == id_) {
    Close();
    OpenFirst();
  }
}

input::JoystickState SdlJoystick::ReadJoystick() {
  input::JoystickState s;
  s.XMin = s.YMin = 0;
  s.XMax = s.YMax = kAxisMax;
  if (joystick_ == nullptr || !SDL_JoystickGetAttached(joystick_)) return s;
  s.Connected = true;
  if (controller_ != nullptr) {
    auto axis = [&](SDL_GameControllerAxis a) { return AxisPosition(SDL_GameControllerGetAxis(controller_, a)); };
    auto pressed = [&](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller_, b) != 0; };
    s.X = axis(SDL_CONTROLLER_AXIS_LEFTX);
    s.Y = axis(SDL_CONTROLLER_AXIS_LEFTY);
    ApplyDirections(pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT), pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                    pressed(SDL_CONTROLLER_BUTTON_DPAD_UP), pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN), s);
    const SDL_GameControllerButton buttons[] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                                SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
    for (int i = 0; i < 4; ++i) {
      if (pressed(buttons[i])) s.Buttons |= 1u << i;
    }
    if (pressed(SDL_CONTROLLER_BUTTON_START)) s.Buttons |= 8u;
    return s;
  }
  const int axes = SDL_JoystickNumAxes(joystick_);
  s.X = AxisPosition(axes > 0 ? SDL_JoystickGetAxis(joystick_, 0) : 0);
  s.Y = AxisPosition(axes > 1 ? SDL_JoystickGetAxis(joystick_, 1) : 0);
  if (SDL_JoystickNumHats(joystick_) > 0) {
    const Uint8 hat = SDL_JoystickGetHat(joystick_, 0);
    ApplyDirections(hat & SDL_HAT_LEFT, hat & SDL_HAT_RIGHT, hat & SDL_HAT_UP, hat & SDL_HAT_DOWN, s);
  }
  const int buttons = SDL_JoystickNumButtons(joystick_);
  for (int i = 0; i < 4 && i < buttons; ++i) {
    if (SDL_JoystickGetButton(joystick_, i) != 0) s.Buttons |= 1u << i;
  }
  return s;
}

}  // namespace zandrel::win::sdl
