// The game's one window: it stands in for the program's form and for the 3D board's
// full-screen display. Key, mouse and joystick events reach the game through it.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "base/expected.h"
#include "input/joystick.h"
#include "input/key_state.h"
#include "platform/win/sdl/joystick.h"
#include "platform/win/sdl/placement.h"

namespace zandrel::win::sdl {

// Title "Zandrel", resizable, with an OpenGL surface unless the settings say otherwise.
// Windowed it takes WindowedRect; full screen it covers the desktop at its own resolution
// (the back end scales the picture, keeping its 4:3 aspect). Alt+Enter switches between the
// two. One window per process: it starts SDL's video and controller subsystems and ends them.
class SdlWindow {
 public:
  // Fails with SDL's reason when there is no video device or the window cannot be made.
  static base::Expected<std::unique_ptr<SdlWindow>> Create(const WindowSettings& settings);
  ~SdlWindow();
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  SDL_Window* Handle() const { return window_; }

  // The client area now, in window coordinates.
  int ClientWidth() const;
  int ClientHeight() const;
  // The windowed placement to save as "Left", "Top", "Width", "Height": while full screen,
  // the one the window had before and will have again.
  Rect Placement() const;

  bool Fullscreen() const { return fullscreen_; }
  // False when SDL refused; the window stays as it was.
  bool SetFullscreen(bool on);
  // The display resolution changed (640 x 480 or 800 x 600): a windowed window grows to at
  // least that size.
  void SetDisplaySize(int width, int height);
  // The mouse pointer over the window: shown or hidden.
  void ShowPointer(bool shown);

  // Drains SDL's queue: keys, mouse buttons and the controller's Back button into keys as
  // virtual-key codes, typed text and the pointer's place kept for their queries, device
  // arrivals and removals to the joystick, focus loss releases every key, a close request
  // is remembered.
  void PumpEvents(input::KeyState& keys);
  // The text typed since the previous call, UTF-8 (at most a line's worth is kept).
  std::string TakeTypedText();
  // Where the pointer last was over the picture, which fills the largest 4:3 part of the
  // client area, centred: fractions of its width and height (outside 0..1 off it); false
  // before the pointer has moved over the window.
  bool PointerOnPicture(float& x, float& y) const;
  // The player asked to close the window (or the process was told to quit).
  bool CloseRequested() const { return closeRequested_; }

  // Joystick 0, read afresh at each call; disconnected when there is none.
  input::JoystickDevice& Joystick() { return joystick_; }

 private:
  SdlWindow() = default;
  void HandleKey(const SDL_KeyboardEvent& event, input::KeyState& keys);
  void RememberPlacement();

  SDL_Window* window_ = nullptr;
  bool controllers_ = false;  // the controller subsystem started
  bool fullscreen_ = false;
  bool closeRequested_ = false;
  std::string typed_;
  bool pointerSeen_ = false;
  int pointerX_ = 0, pointerY_ = 0;  // window coordinates
  Rect windowed_;
  SdlJoystick joystick_;
};

}  // namespace zandrel::win::sdl
