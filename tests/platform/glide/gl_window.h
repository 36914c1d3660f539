// An OpenGL board for tests, on SDL's offscreen driver (EGL; Mesa's software driver is
// enough), so no display is needed. When no OpenGL 3.3 context can be made at all, the
// test is skipped with the reason.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/glide/opengl_glide.h"

namespace zandrel::test {

class GlWindow {
 public:
  GlWindow() {
    SDL_Window* window = SharedWindow(reason_);
    if (!window) return;
    auto board = glide::OpenGlGlide::Create(window);
    if (!board) {
      reason_ = board.error();
      return;
    }
    board_ = std::move(*board);
  }

  glide::OpenGlGlide* Board() { return board_.get(); }
  const std::string& Reason() const { return reason_; }

 private:
  // One window for the whole test program, like the game's, kept to its end: closing it
  // would unload the OpenGL driver, whose own allocations then show up as leaks.
  static SDL_Window* SharedWindow(std::string& reason) {
    static std::string failure;
    static SDL_Window* window = [] {
      SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failure = std::string("no video: ") + SDL_GetError();
        return static_cast<SDL_Window*>(nullptr);
      }
      SDL_Window* made = SDL_CreateWindow("test", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
      if (!made) failure = std::string("no OpenGL window: ") + SDL_GetError();
      return made;
    }();
    reason = failure;
    return window;
  }

  std::unique_ptr<glide::OpenGlGlide> board_;
  std::string reason_;
};

// Red, green, blue of pixel (x, y) of a frame read back from the board.
struct Rgb {
  int R, G, B;
};
inline Rgb PixelAt(const std::vector<std::uint8_t>& frame, int width, int x, int y) {
  const std::size_t at =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
  return {frame[at], frame[at + 1], frame[at + 2]};
}

}  // namespace zandrel::test

#define ZANDREL_REQUIRE_GL(window) \
  if (!(window).Board()) GTEST_SKIP() << "no OpenGL 3.3 context: " << (window).Reason()
