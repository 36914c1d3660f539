// Video clips in the game's window: frames drawn by the board's OpenGL context.
#pragma once

#include "platform/glide/opengl_glide.h"
#include "platform/mci/mci.h"

namespace zandrel::glide {

class GlClipScreen final : public mci::ClipScreen {
 public:
  // Both must outlive the screen.
  GlClipScreen(SDL_Window* window, OpenGlGlide& board) : window_(window), board_(board) {}

  // The window's SDL identifier.
  std::uint32_t Handle() const override;
  // In window units, the ones clip rectangles are given in.
  void ClientSize(int& width, int& height) const override;
  void ShowFrame(const std::uint8_t* rgba, int width, int height, int destX, int destY, int destWidth,
                 int destHeight) override;

 private:
  SDL_Window* window_;
  OpenGlGlide& board_;
};

}  // namespace zandrel::glide
