// The game's window as the shell sees it: the SDL window and the OpenGL board behind it.
#pragma once

#include <filesystem>
#include <string_view>

#include "game/ports.h"
#include "platform/glide/opengl_glide.h"
#include "platform/win/sdl/window.h"

namespace zandrel::game::devices {

class MainWindow final : public GameWindow {
 public:
  MainWindow(win::sdl::SdlWindow& window, glide::OpenGlGlide& board) : window_(window), board_(board) {}
  void PaintText(std::string_view text) override;
  bool ToggleFullscreen() override { return window_.SetFullscreen(!window_.Fullscreen()); }
  bool Fullscreen() const override { return window_.Fullscreen(); }
  void DisplaySizeChanged(int width, int height) override { window_.SetDisplaySize(width, height); }
  void ShowPointer(bool shown) override { window_.ShowPointer(shown); }
  // A new file in the user's pictures folder, named after the local time.
  base::Expected<std::filesystem::path> SaveScreenshot() override;
  // The last presented picture, at the board's resolution.
  base::Status SaveFrame(const std::filesystem::path& path);

 private:
  win::sdl::SdlWindow& window_;
  glide::OpenGlGlide& board_;
};

}  // namespace zandrel::game::devices
