#include "editor/widgets/data_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/png_writer.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace zandrel::editor::widgets {
namespace {

TEST(ReadDataPicture, FindsTheNameInAnyCaseAndRefusesWhatIsNoPicture) {
  test::TempDir data;
  std::filesystem::create_directories(data / "editor");
  const std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 0, 255, 128};
  ASSERT_TRUE(engine::WritePngRgba(data / "editor/start.png", 2, 1, rgba).ok());
  data.Write("editor/EXIT.PNG", "not a picture");

  const QImage start = ReadDataPicture(data.path(), "EDITOR\\START.PNG");
  ASSERT_EQ(start.size(), QSize(2, 1));
  EXPECT_EQ(start.pixel(0, 0), qRgba(255, 0, 0, 255));
  EXPECT_EQ(qAlpha(start.pixel(1, 0)), 128);
  EXPECT_TRUE(ReadDataPicture(data.path(), "EDITOR/EXIT.PNG").isNull());
  EXPECT_TRUE(ReadDataPicture(data.path(), "EDITOR/SFX.PNG").isNull());
}

}  // namespace
}  // namespace zandrel::editor::widgets
