#include "platform/glide/clip_screen.h"

#include <SDL.h>

namespace zandrel::glide {

std::uint32_t GlClipScreen::Handle() const { return SDL_GetWindowID(window_); }

void GlClipScreen::ClientSize(int& width, int& height) const { SDL_GetWindowSize(window_, &width, &height); }

void GlClipScreen::ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                             int destHeight) {
  board_.ShowImage(rgba, width, height, destX, destY, destWidth, destHeight);
}

}  // namespace zandrel::glide
