#include <gtest/gtest.h>
#include <png.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editor/command_icons.h"
#include "tests/tools/generated_tree.h"
#include "tools/data/data_tree.h"
#include "tools/data/desktop_icons.h"
#include "tools/data/generators.h"

namespace zandrel::data {
namespace {

// The editor's icons and the desktop icons, which share their canvas.
void GenerateIcons(DataTree& tree) {
  GenerateEditorIcons(tree);
  GenerateDesktopIcons(tree);
}

const DataTree& Icons() { return GeneratedTree<GenerateIcons>(); }

struct Picture {
  int Width = 0, Height = 0;
  bool Rgba = false;                 // stored with red, green, blue and alpha
  std::vector<std::uint8_t> Pixels;  // RGBA, rows top-down
  std::uint8_t Alpha(int x, int y) const {
    return Pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)) * 4 +
                  3];
  }
};

Picture Decode(std::string_view path) {
  const auto file = Icons().Files().find(std::string(path));
  if (file == Icons().Files().end()) {
    ADD_FAILURE() << path << " is missing";
    return {};
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file->second.data(), file->second.size())) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  Picture picture;
  picture.Width = static_cast<int>(image.width);
  picture.Height = static_cast<int>(image.height);
  picture.Rgba = image.format == PNG_FORMAT_RGBA;
  image.format = PNG_FORMAT_RGBA;
  picture.Pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.Pixels.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << image.message;
    return {};
  }
  return picture;
}

struct Expected {
  std::string File;
  int Side;
};

std::vector<Expected> EveryIcon() {
  std::vector<Expected> all;
  for (const editor::CommandIcon& icon : editor::kCommandIcons) {
    all.push_back({std::string(icon.File), editor::kCommandIconSide});
  }
  all.push_back({std::string(editor::kEditorIconFile), editor::kEditorIconSide});
  for (const int side : kDesktopIconSides) {
    for (const char* program : {"zandrel", "zandrel-editor"}) {
      all.push_back(
          {"hicolor/" + std::to_string(side) + "x" + std::to_string(side) + "/apps/" + program + ".png", side});
    }
  }
  return all;
}

TEST(DataEditorIcons, EveryIconIsASquareRgbaPictureDrawnOnATransparentGround) {
  for (const auto& [file, side] : EveryIcon()) {
    const Picture picture = Decode(file);
    ASSERT_EQ(picture.Width, side) << file;
    ASSERT_EQ(picture.Height, side) << file;
    EXPECT_TRUE(picture.Rgba) << file;
    int opaque = 0, edge = 0;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const std::uint8_t alpha = picture.Alpha(x, y);
        opaque += alpha >= 128 ? 1 : 0;
        edge += alpha > 0 && alpha < 255 ? 1 : 0;
      }
    }
    EXPECT_GE(opaque, side * side / 6) << file << ": too little drawn";
    EXPECT_GT(edge, side) << file << ": edges not antialiased";
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{side - 1, 0}, std::pair{0, side - 1}, {side - 1, side - 1}}) {
      EXPECT_EQ(picture.Alpha(x, y), 0) << file << " corner " << x << "," << y;
    }
  }
  EXPECT_EQ(Icons().Files().size(), EveryIcon().size());
}

TEST(DataEditorIcons, NoTwoIconsShareAPicture) {
  std::set<std::vector<std::uint8_t>> pictures;
  for (const auto& [file, side] : EveryIcon()) {
    // The editor's own icon is its desktop icon at 64 pixels.
    if (file == editor::kEditorIconFile) continue;
    EXPECT_TRUE(pictures.insert(Decode(file).Pixels).second) << file;
  }
}

}  // namespace
}  // namespace zandrel::data
