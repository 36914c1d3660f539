#include "platform/win/ini.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_dir.h"

namespace zandrel::win {
namespace {

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

constexpr const char* kSample =
    "; settings\n"
    "[General]\n"
    "Top=12\n"
    "Width = 640 \n"
    "Height=0x20\n"
    "Left=-7\n"
    "Big=2147483648\n"
    "Plus=+5\n"
    "Empty=\n"
    "Name=Hello World\n"
    "[save]\n"
    "Index=;223\n";

TEST(IniFile, ReadsWithTheProfileRules) {
  test::TempDir dir;
  const IniFile ini(dir.Write("a.ini", kSample));
  struct IntCase {
    const char* section;
    const char* key;
    std::int32_t expected;
  };
  for (const IntCase& c :
       {IntCase{"General", "Top", 12}, IntCase{"GENERAL", "top", 12}, IntCase{"General", "Width", 640},
        IntCase{"General", "Height", -1}, IntCase{"General", "Left", -7}, IntCase{"General", "Big", -1},
        IntCase{"General", "Plus", 5}, IntCase{"General", "Empty", -1}, IntCase{"General", "Name", -1},
        IntCase{"General", "Absent", -1}, IntCase{"Nowhere", "Top", -1}}) {
    EXPECT_EQ(ini.ReadInteger(c.section, c.key, -1), c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ini.ReadString("general", "NAME", "x"), "Hello World");
  EXPECT_EQ(ini.ReadString("General", "Empty", "x"), "");
  EXPECT_EQ(ini.ReadString("General", "Absent", "x"), "x");
  EXPECT_EQ(ini.ReadString("Save", "index", ""), ";223");
}

TEST(IniFile, MissingFileReadsAsEmpty) {
  test::TempDir dir;
  const IniFile ini(dir / "none.ini");
  EXPECT_EQ(ini.ReadInteger("General", "Top", 100), 100);
  EXPECT_EQ(ini.ReadString("General", "Fullscreen", "false"), "false");
}

TEST(IniFile, WritesCreateWhatIsMissingAndKeepTheRest) {
  test::TempDir dir;
  const std::filesystem::path path = dir / "sub/b.ini";
  {
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteInteger("General", "Top", 5));
  }
  EXPECT_EQ(IniFile(path).ReadInteger("General", "Top", 0), 5);

  dir.Write("c.ini", kSample);
  {
    IniFile ini(dir / "c.ini");
    ASSERT_TRUE(ini.WriteInteger("general", "TOP", 99));  // same key, other spelling
    ASSERT_TRUE(ini.WriteString("New", "Key", "value"));
  }
  const IniFile back(dir / "c.ini");
  EXPECT_EQ(back.ReadInteger("General", "Top", 0), 99);
  EXPECT_EQ(back.ReadString("Save", "Index", ""), ";223");
  EXPECT_EQ(back.ReadString("General", "Name", ""), "Hello World");
  EXPECT_EQ(back.ReadString("new", "key", ""), "value");
  const std::string text = Contents(dir / "c.ini");
  EXPECT_EQ(text.find("TOP"), std::string::npos) << text;  // the stored spelling is kept
  EXPECT_NE(text.find("; settings"), std::string::npos) << text;
}

}  // namespace
}  // namespace zandrel::win
