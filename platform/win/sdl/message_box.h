// Message boxes of the game through SDL.
#pragma once

#include <SDL2/SDL.h>

#include "platform/win/message.h"

namespace zandrel::win::sdl {

// Shows each message in SDL's simple message box, over the game's window when given one.
// Where no box can be shown (no display) it shows nothing: the text has gone to standard
// error already.
class SdlMessageBox final : public MessageBoxDisplay {
 public:
  explicit SdlMessageBox(SDL_Window* parent = nullptr) : parent_(parent) {}
  void Show(std::string_view caption, std::string_view text) override;

 private:
  SDL_Window* parent_;
};

}  // namespace zandrel::win::sdl
