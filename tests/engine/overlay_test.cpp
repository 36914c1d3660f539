#include "engine/overlay.h"

#include <gtest/gtest.h>

#include "tests/support/recording_backend.h"

namespace zandrel::engine {
namespace {

TEST(Overlay, TextPicksGlyphSlotsAndAdvances) {
  test::RecordingBackend backend;
  Engine engine(backend);
  RenderView view;
  backend.OpenView(640, 480, view);
  DrawText(engine, view, "A\rBC", false, 0.5f, 0.25f);
  ASSERT_EQ(backend.Pictures.size(), 3u);
  const auto& a = backend.Pictures[0];
  EXPECT_EQ(a.Picture, &engine.Pictures[83]);  // "A" is glyph 33 of the small font
  EXPECT_TRUE(a.Transparent);
  EXPECT_FLOAT_EQ(a.X, 0.25f);
  EXPECT_FLOAT_EQ(a.W, 0.009375f);
  EXPECT_FLOAT_EQ(a.H, 7.0f / 240);
  const auto& b = backend.Pictures[1];  // after the carriage return: next line, same x
  EXPECT_FLOAT_EQ(b.X, 0.25f);
  EXPECT_FLOAT_EQ(b.Y, 0.5f + 8.0f / 240);
  EXPECT_FLOAT_EQ(backend.Pictures[2].X, 0.25f + 0.0125f);

  backend.Pictures.clear();
  DrawText(engine, view, "A", true, 0, 0);
  EXPECT_EQ(backend.Pictures[0].Picture, &engine.Pictures[183]);
  DrawText(engine, view, "", true, 0, 0);
  EXPECT_EQ(backend.Pictures.size(), 1u);
}

TEST(Overlay, FortyBigCharactersFillTheWidth) {
  EXPECT_FLOAT_EQ(TextWidth(std::string(40, 'X'), true), 1.0f);
  EXPECT_FLOAT_EQ(TextWidth("ABCD", false), 0.05f);
}

}  // namespace
}  // namespace zandrel::engine
