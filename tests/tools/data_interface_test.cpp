#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/pcx.h"
#include "engine/picture.h"
#include "tests/support/recording_backend.h"
#include "tests/support/temp_dir.h"
#include "tests/tools/generated_tree.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"

namespace zandrel::data {
namespace {

const DataTree& Interface() { return GeneratedTree<GenerateInterface>(); }

engine::PcxImage Decode(std::string_view path) {
  const auto& files = Interface().Files();
  const auto file = files.find(std::string(path));
  EXPECT_NE(file, files.end()) << path;
  if (file == files.end()) return {};
  base::Expected<engine::PcxImage> image = engine::DecodePcx(file->second, path);
  EXPECT_TRUE(image.ok()) << path;
  return image.ok() ? *image : engine::PcxImage{};
}

std::uint8_t At(const engine::PcxImage& image, int x, int y) {
  return image
      .Indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) + static_cast<std::size_t>(x)];
}

// The pictures in the order the game loads them, with their slots; the network lobby's
// panel last, which the lobby loads when it first opens.
struct Slot {
  int Number;
  std::string_view Path;
};
constexpr std::array<Slot, 9> kPictures = {{{1, "INTERF/ZANDREL.PCX"},
                                            {2, "INTERF/TITLE.PCX"},
                                            {4, "INTERF/OPTION.PCX"},
                                            {5, "INTERF/SELECT.PCX"},
                                            {6, "INTERF/BARRE.PCX"},
                                            {10, "INTERF/RADAR.PCX"},
                                            {11, "INTERF/RADARP1.PCX"},
                                            {12, "INTERF/RADARP2.PCX"},
                                            {7, "INTERF/LOBBY.PCX"}}};

struct FontSheet {
  std::string_view Path;
  int GlyphWidth, GlyphHeight, Pitch, FirstSlot;
};
constexpr std::array<FontSheet, 2> kFonts = {
    {{"INTERF/SMALFONT.PCX", 3, 7, 4, 50}, {"INTERF/BIGFONT.PCX", 8, 15, 9, 150}}};

TEST(DataInterfaceTest, EveryPictureAndSheetDecodesWithAnEvenWidth) {
  std::vector<std::string_view> paths;
  for (const Slot& slot : kPictures) paths.push_back(slot.Path);
  for (const FontSheet& font : kFonts) paths.push_back(font.Path);
  for (const std::string_view path : paths) {
    const engine::PcxImage image = Decode(path);
    EXPECT_GT(image.Height, 0) << path;
    EXPECT_GT(image.Width, 0) << path;
    EXPECT_EQ(image.Width % 2, 0) << path;
  }
  EXPECT_EQ(Interface().Files().size(), paths.size());
}

TEST(DataInterfaceTest, FontSheetsHoldOneLitGlyphPerCellAndBlankSeparators) {
  for (const FontSheet& font : kFonts) {
    SCOPED_TRACE(font.Path);
    const engine::PcxImage sheet = Decode(font.Path);
    ASSERT_EQ(sheet.Width, font.Pitch * 100);
    ASSERT_EQ(sheet.Height, font.GlyphHeight);
    std::set<std::vector<std::uint8_t>> glyphs;
    for (int glyph = 0; glyph < 100; ++glyph) {
      const int code = 32 + glyph;
      std::vector<std::uint8_t> cell;
      for (int y = 0; y < sheet.Height; ++y) {
        for (int x = 0; x < font.Pitch; ++x) {
          const std::uint8_t index = At(sheet, glyph * font.Pitch + x, y);
          if (x >= font.GlyphWidth) {
            EXPECT_EQ(index, 0) << "character " << code << " spills into the column at " << x;
          } else {
            cell.push_back(index);
          }
        }
      }
      const bool any = std::count(cell.begin(), cell.end(), 0) != static_cast<std::ptrdiff_t>(cell.size());
      if (code == ' ') {
        EXPECT_FALSE(any);
      }
      if (code < 33 || code > 126) continue;
      EXPECT_TRUE(any) << "character " << code << " is blank";
      // Two printable characters that look the same cannot be told apart.
      EXPECT_TRUE(glyphs.insert(cell).second) << "character " << code << " repeats an earlier glyph";
    }
  }
}

TEST(DataInterfaceTest, PicturesDrawnWholeUseNoTransparentIndex) {
  for (const std::string_view path : {"INTERF/ZANDREL.PCX", "INTERF/BARRE.PCX"}) {
    const engine::PcxImage image = Decode(path);
    EXPECT_EQ(std::count(image.Indices.begin(), image.Indices.end(), 0), 0) << path;
  }
}

// Bounds of the opaque pixels, both ends included.
struct Box {
  int Left, Top, Right, Bottom;
};
Box OpaqueBounds(const engine::PcxImage& image) {
  Box box{image.Width, image.Height, -1, -1};
  for (int y = 0; y < image.Height; ++y) {
    for (int x = 0; x < image.Width; ++x) {
      if (At(image, x, y) == 0) continue;
      box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x), std::max(box.Bottom, y)};
    }
  }
  return box;
}

TEST(DataInterfaceTest, MenuIsASolidPanelUnderTheMarkerAndEntriesWithNothingAroundIt) {
  const engine::PcxImage menu = Decode("INTERF/OPTION.PCX");
  ASSERT_GT(menu.Width, 0);
  const Box panel = OpaqueBounds(menu);
  // The scene must show on every side of the panel.
  EXPECT_GT(panel.Left, menu.Width / 20);
  EXPECT_GT(panel.Top, menu.Height / 20);
  EXPECT_LT(panel.Right, menu.Width - menu.Width / 20);
  EXPECT_LT(panel.Bottom, menu.Height - menu.Height / 20);
  for (int y = panel.Top + 8; y <= panel.Bottom - 8; ++y) {
    for (int x = panel.Left + 8; x <= panel.Right - 8; ++x)
      ASSERT_NE(At(menu, x, y), 0) << "a hole at " << x << ", " << y;
  }
  // The marker's box (from x 0.2, at y 0.366 + 0.072 * choice, 0.0708 high) and the text
  // of all six choices, to x 0.6 at least, lie on the panel.
  EXPECT_LE(panel.Left, static_cast<int>(0.2 * menu.Width));
  EXPECT_GE(panel.Right, static_cast<int>(0.6 * menu.Width));
  EXPECT_LE(panel.Top, static_cast<int>(0.366 * menu.Height));
  EXPECT_GE(panel.Bottom, static_cast<int>((0.366 + 0.072 * 5 + 0.0708) * menu.Height));
}

TEST(DataInterfaceTest, TransparentPicturesAreClearWhereTheSceneShows) {
  const engine::PcxImage title = Decode("INTERF/TITLE.PCX");
  ASSERT_GT(title.Width, 0);
  // The arch's opening: the middle of the screen down to its bottom edge.
  for (int y = title.Height * 3 / 10; y < title.Height; ++y) {
    for (int x = title.Width * 7 / 20; x < title.Width * 13 / 20; ++x) ASSERT_EQ(At(title, x, y), 0) << x << ", " << y;
  }
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{title.Width - 1, 0}, std::pair{0, title.Height / 2}}) {
    EXPECT_NE(At(title, x, y), 0) << "the frame is missing at " << x << ", " << y;
  }
  // Round pictures: clear in the corners, drawn in the middle.
  for (const std::string_view path :
       {"INTERF/RADAR.PCX", "INTERF/RADARP1.PCX", "INTERF/RADARP2.PCX", "INTERF/SELECT.PCX"}) {
    const engine::PcxImage image = Decode(path);
    ASSERT_GT(image.Width, 0) << path;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{image.Width - 1, 0}, std::pair{0, image.Height - 1},
                               std::pair{image.Width - 1, image.Height - 1}}) {
      EXPECT_EQ(At(image, x, y), 0) << path << " at " << x << ", " << y;
    }
    EXPECT_NE(At(image, image.Width / 2, image.Height / 2), 0) << path;
  }
}

TEST(DataInterfaceTest, TheGameLoadsEveryPictureAndCutsEveryGlyph) {
  test::TempDir dir;
  ASSERT_TRUE(Interface().WriteTo(dir.path()));
  test::RecordingBackend backend;
  engine::Engine engine(backend);
  for (const Slot& slot : kPictures) {
    std::string name(slot.Path);
    std::replace(name.begin(), name.end(), '/', '\\');
    const base::Status loaded = engine::LoadPicture(engine, slot.Number, name, dir.path());
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_FALSE(engine.Pictures[static_cast<std::size_t>(slot.Number)].Empty()) << name;
  }
  for (const FontSheet& font : kFonts) {
    const base::Status loaded = engine::LoadPicture(engine, 0, font.Path, dir.path());
    ASSERT_TRUE(loaded) << loaded.error();
    for (int glyph = 0; glyph < 100; ++glyph) {
      engine::CopyPictureRegion(engine, 0, font.Pitch * glyph, 0, font.FirstSlot + glyph, font.GlyphHeight,
                                font.GlyphWidth);
      const engine::Picture& cut = engine.Pictures[static_cast<std::size_t>(font.FirstSlot + glyph)];
      ASSERT_EQ(cut.Width, font.GlyphWidth);
      const bool visible = std::find(cut.Mask.begin(), cut.Mask.end(), 1) != cut.Mask.end();
      EXPECT_EQ(visible, glyph != 0) << font.Path << " character " << 32 + glyph;
    }
  }
}

}  // namespace
}  // namespace zandrel::data
