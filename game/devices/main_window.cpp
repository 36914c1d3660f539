#include "game/devices/main_window.h"

#include <ctime>
#include <string>
#include <vector>

#include "engine/png_writer.h"
#include "platform/glide/window_text.h"
#include "platform/win/files.h"

namespace zandrel::game::devices {

void MainWindow::PaintText(std::string_view text) {
  const glide::ScreenSize size = board_.Size();
  glide::PaintWindowText(board_, size.Width, size.Height, text);
}

base::Status MainWindow::SaveFrame(const std::filesystem::path& path) {
  const glide::ScreenSize size = board_.Size();
  std::vector<std::uint8_t> rgba = board_.ReadFrame();
  // The frame's alpha is the board's alpha buffer, not transparency: the picture is opaque.
  for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  return engine::WritePngRgba(path, size.Width, size.Height, rgba);
}

base::Expected<std::filesystem::path> MainWindow::SaveScreenshot() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::filesystem::path folder = win::PicturesFolder();
  // Several pictures within one second get a number each.
  std::filesystem::path path = folder / ("zandrel-" + std::string(stamp) + ".png");
  for (int n = 2; std::filesystem::exists(path); ++n) {
    path = folder / ("zandrel-" + std::string(stamp) + "-" + std::to_string(n) + ".png");
  }
  if (base::Status saved = SaveFrame(path); !saved) return base::Failure{saved.error()};
  return path;
}

}  // namespace zandrel::game::devices
