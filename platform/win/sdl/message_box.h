// Message boxes of the game through SDL.
#pragma once

#include <SDL2/SDL.h>

#include "platform/win/message.h"

namespace zandrel::win::sdl {

// Shows each message in SDL's simple message box, over the game's window when given one.
// Where no box can be shown (no display) it shows nothing: the text has gone to standard
// error already.
class SdlMessageBox final : public WindowMessageBox<SDL_Window> {
 public:
  using WindowMessageBox::WindowMessageBox;
  void Show(std::string_view caption, std::string_view text) override;
};

}  // namespace zandrel::win::sdl
