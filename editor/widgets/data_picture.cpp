#include "editor/widgets/data_picture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/win/files.h"

namespace zandrel::editor::widgets {

QImage ReadDataPicture(const std::filesystem::path& dataRoot, std::string_view name) {
  constexpr std::size_t kMaxBytes = 1 << 20;
  QImage picture;
  if (const std::optional<std::vector<std::uint8_t>> bytes =
          win::ReadWholeFile(win::ResolvePath(name, dataRoot), kMaxBytes)) {
    picture.loadFromData(bytes->data(), static_cast<int>(bytes->size()));
  }
  return picture;
}

}  // namespace zandrel::editor::widgets
