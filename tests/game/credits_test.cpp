#include "game/credits.h"

#include <gtest/gtest.h>

#include "engine/overlay.h"
#include "tests/support/recording_backend.h"
#include "tests/support/temp_dir.h"
#include "world/level_list.h"

namespace zandrel::game {
namespace {

TEST(Credits, AFileOfNLinesShowsNMinusOne) {
  test::TempDir dir;
  dir.Write("GAME.DAT", world::Scramble("&TITLE") + "\r\n" + world::Scramble("small") + "\r\n\r\nlast\r\n");
  base::Expected<std::vector<std::string>> lines = ReadCreditsText(dir.path());
  ASSERT_TRUE(lines.ok());
  EXPECT_EQ(lines->size(), 3u);
  EXPECT_EQ(world::Scramble((*lines)[0]), "&TITLE");

  test::TempDir empty;
  base::Expected<std::vector<std::string>> missing = ReadCreditsText(empty.path());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "GAME: The file game.dat does not exist. Please re-install the application");
}

TEST(Credits, BigAndSmallLinesScrollAndLeaveTheScreen) {
  test::RecordingBackend backend;
  engine::Engine engine(backend);
  engine::RenderView view;
  backend.OpenView(640, 480, view);
  const std::vector<std::string> lines{world::Scramble("&AB"), "", world::Scramble(" CD"), world::Scramble("&E")};
  DrawCreditsText(engine, view, lines, 0.5f);
  ASSERT_EQ(backend.Pictures.size(), 5u);  // A, B, C, D, E; the empty line takes no room
  EXPECT_EQ(backend.Pictures[0].Picture, &engine.Pictures[engine::kBigFontFirstSlot + 'A' - 32]);
  EXPECT_FLOAT_EQ(backend.Pictures[0].Y, 0.5f);
  EXPECT_FLOAT_EQ(backend.Pictures[0].X, 0.5f - 0.025f);
  EXPECT_EQ(backend.Pictures[2].Picture, &engine.Pictures[engine::kSmallFontFirstSlot + 'C' - 32]);
  EXPECT_FLOAT_EQ(backend.Pictures[2].Y, 0.56f);
  EXPECT_FLOAT_EQ(backend.Pictures[4].Y, 0.59f);

  backend.Pictures.clear();
  DrawCreditsText(engine, view, lines, 1.02f);  // only the first line is still on screen
  EXPECT_EQ(backend.Pictures.size(), 2u);
}

}  // namespace
}  // namespace zandrel::game
