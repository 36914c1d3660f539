// Golden pictures of the software back end: an 8-bit screen compared pixel by pixel with a
// picture of the fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/png_writer.h"
#include "engine/render_view.h"
#include "tests/engine/soft/png_reader.h"

namespace zandrel::engine::soft::test {

// Compares the screen with the golden picture `name`; with ZANDREL_UPDATE_GOLDEN set it
// writes the golden picture instead. A differing screen is written beside the temporary
// files, for a look.
inline void ExpectGoldenPicture(const std::string& name, const ScreenBuffer& screen, const Palette& palette) {
  const std::filesystem::path golden = std::filesystem::path(ZANDREL_FIXTURES) / "golden" / (name + ".png");
  if (std::getenv("ZANDREL_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(WritePng(golden, screen, palette));
    return;
  }
  const ReadBack expected = ReadPng(golden);
  ASSERT_TRUE(expected.ok) << golden;
  ASSERT_EQ(expected.width, static_cast<png_uint_32>(screen.Width));
  ASSERT_EQ(expected.height, static_cast<png_uint_32>(screen.Height));
  std::size_t differing = 0;
  for (std::size_t i = 0; i < expected.indices.size(); ++i) differing += expected.indices[i] != screen.Pixels[i];
  if (differing != 0) {
    const std::filesystem::path actual = std::filesystem::temp_directory_path() / (name + ".actual.png");
    WritePng(actual, screen, palette);
    ADD_FAILURE() << differing << " pixels differ from " << golden << "; this run drew " << actual;
  }
}

}  // namespace zandrel::engine::soft::test
