// Joystick 0 through SDL: a game controller when SDL knows its layout, else a plain joystick.
#pragma once

#include <SDL2/SDL.h>

#include "input/joystick.h"

namespace zandrel::win::sdl {

// A game controller reads its left stick and its d-pad (which pushes the stick to the end of
// its range) as the stick, and A, B, X, Y as buttons 1 to 4; Start is button 4 too (the
// options). A plain joystick reads axes 0 and 1 and its first hat as the stick and buttons
// 0 to 3 as buttons 1 to 4. Axes are reported in 0..65535, centre 32768.
// Needs SDL's game-controller subsystem; without it, it stays disconnected.
class SdlJoystick final : public input::JoystickDevice {
 public:
  SdlJoystick() = default;
  SdlJoystick(const SdlJoystick&) = delete;
  SdlJoystick& operator=(const SdlJoystick&) = delete;
  ~SdlJoystick() override { Close(); }

  // Opens the first attached device when none is open.
  void OpenFirst();
  // Device arrivals and removals: a removed device is closed and the next one taken.
  void HandleEvent(const SDL_Event& event);

  // Lets the device go (before SDL's subsystem ends).
  void Close();

  input::JoystickState ReadJoystick() override;

 private:
  void Open(int deviceIndex);

  SDL_GameController* controller_ = nullptr;
  SDL_Joystick* joystick_ = nullptr;  // the controller's own when controller_ is open
  SDL_JoystickID id_ = -1;
};

}  // namespace zandrel::win::sdl
