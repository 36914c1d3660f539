#include "platform/win/ansi.h"

#include <gtest/gtest.h>

namespace zandrel::win {
namespace {

TEST(Ansi, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::optional<std::string> back = Utf8ToAnsi(AnsiToUtf8(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(Ansi, ConvertsTheCodePagesOwnLetters) {
  struct Case {
    std::string ansi, utf8;
  };
  for (const Case& c : {Case{"Ch\xE2teau", "Ch\xC3\xA2teau"}, Case{"\x80", "\xE2\x82\xAC"}, Case{"\x9F", "\xC5\xB8"},
                        Case{"plain", "plain"}}) {
    EXPECT_EQ(AnsiToUtf8(c.ansi), c.utf8);
    EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
  }
}

TEST(Ansi, RejectsWhatTheCodePageCannotHold) {
  for (const char* utf8 : {"\xC4\x81",          // a-macron: not in the code page
                           "\xF0\x9F\x98\x80",  // outside the basic plane
                           "\xC3",              // cut short
                           "\xC3\x28",          // bad continuation
                           "\xC1\x81"}) {       // over-long form
    EXPECT_FALSE(Utf8ToAnsi(utf8).has_value()) << utf8;
  }
}

}  // namespace
}  // namespace zandrel::win
