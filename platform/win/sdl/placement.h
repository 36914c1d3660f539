// Where the game's window goes and how large it is, from the saved settings and the displays.
#pragma once

#include <span>

namespace zandrel::win::sdl {

struct Rect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

struct WindowSettings {
  // The saved "Left", "Top", "Width", "Height" (client area, pixels).
  int Left = 100;
  int Top = 100;
  int Width = 320;
  int Height = 240;
  // The display resolution the picture is drawn at (640 x 480 or 800 x 600).
  int DisplayWidth = 640;
  int DisplayHeight = 480;
  bool Fullscreen = false;
  // The window carries an OpenGL surface for the hardware back end.
  bool OpenGl = true;
};

// The windowed client rectangle: the display resolution, or the saved size on an axis where
// it is larger, at the saved position. A saved position that would leave the window's top-left
// corner on no display (a display since removed) is replaced by the centre of the first one.
Rect WindowedRect(const WindowSettings& settings, std::span<const Rect> displays);

}  // namespace zandrel::win::sdl
