#include "platform/win/sdl/message_box.h"

#include <string>

namespace zandrel::win::sdl {

void SdlMessageBox::Show(std::string_view caption, std::string_view text) {
  const std::string title(caption);
  const std::string message(text);
  // A failure (no display) leaves nothing to report: the text is on standard error.
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), message.c_str(), parent_);
}

}  // namespace zandrel::win::sdl
