#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "engine/pcx.h"
#include "engine/texture_list.h"
#include "platform/win/files.h"
#include "tests/tools/generated_tree.h"
#include "tools/data/generators.h"
#include "tools/data/textures_palette.h"

namespace zandrel::data {
namespace {

using namespace textures;

// Images drawn on index 0: sprites and see-through faces.
const std::set<std::string> kSeeThrough = {
    "TEXTURES/GLASS.PCX",  "TEXTURES/LADDER.PCX", "TEXTURES/TIMER.PCX",  "TEXTURES/TORCH1.PCX", "TEXTURES/TORCH2.PCX",
    "TEXTURES/TORCH3.PCX", "TEXTURES/TORCH4.PCX", "TEXTURES/SPIKES.PCX", "TEXTURES/LEAVES.PCX",
};

const DataTree& Textures() { return GeneratedTree<GenerateTextures>(); }

engine::PcxImage Decode(const std::string& path) {
  const auto found = Textures().Files().find(path);
  if (found == Textures().Files().end()) {
    ADD_FAILURE() << path << " is not generated";
    return {};
  }
  base::Expected<engine::PcxImage> image = engine::DecodePcx(found->second, path);
  if (!image) {
    ADD_FAILURE() << image.error();
    return {};
  }
  return *image;
}

// The tree path of every image the shipped texture list names, each once.
std::set<std::string> ListedImages() {
  const auto text = win::ReadWholeFile(std::filesystem::path(ZANDREL_CONTENT) / "TEXTURES.LST", 1 << 20);
  if (!text) {
    ADD_FAILURE() << "cannot read content/TEXTURES.LST";
    return {};
  }
  const engine::TextureListEntries list = engine::ParseTextureList(std::string(text->begin(), text->end()));
  std::set<std::string> paths;
  for (const engine::TextureListImage& image : list.Images) {
    std::string path = image.File;
    std::replace(path.begin(), path.end(), '\\', '/');
    paths.insert(path);
  }
  return paths;
}

TEST(DataTexturesTest, EveryListedImageIs128SquareWithTheSharedPalette) {
  const std::set<std::string> listed = ListedImages();
  ASSERT_FALSE(listed.empty());
  for (const std::string& path : listed) {
    SCOPED_TRACE(path);
    const engine::PcxImage image = Decode(path);
    EXPECT_EQ(image.Width, 128);
    EXPECT_EQ(image.Height, 128);
    EXPECT_EQ(image.Palette, TexturePalette());
  }
  // Nothing is written that the list does not name.
  for (const auto& [path, bytes] : Textures().Files()) EXPECT_TRUE(listed.count(path)) << path;
}

TEST(DataTexturesTest, EveryRampRisesInBrightness) {
  const std::array<std::uint8_t, 768> palette = TexturePalette();
  const auto luma = [&](int i) { return 299 * palette[3 * i] + 587 * palette[3 * i + 1] + 114 * palette[3 * i + 2]; };
  for (int ramp = 0; ramp < kRampCount; ++ramp) {
    for (int level = 1; level < kRampLength; ++level) {
      const int index = ramp * kRampLength + level;
      EXPECT_GT(luma(index), luma(index - 1)) << "index " << index;
    }
  }
  // Index 0 is the see-through black; the last marble step is pure white.
  EXPECT_EQ(luma(0), 0);
  EXPECT_EQ(luma(255), 255000);
}

TEST(DataTexturesTest, OnlySeeThroughImagesUseIndexZero) {
  for (const auto& [path, bytes] : Textures().Files()) {
    const engine::PcxImage image = Decode(path);
    const bool hasHoles = std::count(image.Indices.begin(), image.Indices.end(), 0) > 0;
    EXPECT_EQ(hasHoles, kSeeThrough.count(path) == 1) << path;
  }
}

TEST(DataTexturesTest, AnimationFramesDiffer) {
  for (const char* animation : {"LAVA", "WATER", "TORCH"}) {
    for (int a = 1; a <= 4; ++a) {
      for (int b = a + 1; b <= 4; ++b) {
        const std::string prefix = std::string("TEXTURES/") + animation;
        EXPECT_NE(Decode(prefix + std::to_string(a) + ".PCX").Indices,
                  Decode(prefix + std::to_string(b) + ".PCX").Indices)
            << animation << " frames " << a << " and " << b;
      }
    }
  }
}

}  // namespace
}  // namespace zandrel::data
