#include <gtest/gtest.h>

#include "platform/win/files.h"
#include "tests/support/temp_dir.h"
#include "tools/data/content.h"
#include "world/level_list.h"

namespace zandrel::data {
namespace {

TEST(Credits, EveryShippedLineKeepsItsTextAfterTheFontMark) {
  DataTree tree;
  ASSERT_TRUE(AddCredits(ZANDREL_CONTENT, tree));
  const std::vector<std::uint8_t>& bytes = tree.Files().at("game.dat");
  const std::vector<std::string> lines = win::SplitLines(std::string(bytes.begin(), bytes.end()));
  ASSERT_GT(lines.size(), 2u);
  for (const std::string& line : lines) {
    const std::string text = world::Scramble(line);
    EXPECT_TRUE(text.empty() || text[0] == '&' || text[0] == ' ') << text;
  }
}

TEST(Credits, ALineWithoutItsFontMarkIsRefusedByNumber) {
  test::TempDir dir;
  dir.Write("credits.txt", "&TITLE\n NAME\nFORGOTTEN MARK\n");
  DataTree tree;
  const base::Status added = AddCredits(dir.path(), tree);
  ASSERT_FALSE(added.ok());
  EXPECT_NE(added.error().find("line 3"), std::string::npos) << added.error();
  EXPECT_FALSE(tree.Has("game.dat"));
}

}  // namespace
}  // namespace zandrel::data
