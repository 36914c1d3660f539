#include "input/key_state.h"

#include <gtest/gtest.h>

#include "input/virtual_keys.h"

namespace zandrel::input {
namespace {

// One key's events between queries, and the answers of the queries that follow.
struct PressCase {
  const char* name;
  bool press;
  bool release;
  bool firstQuery;
  bool secondQuery;
};

TEST(KeyState, DownNowOrPressedSinceThePreviousQuery) {
  const PressCase cases[] = {
      {"untouched", false, false, false, false},
      {"held", true, false, true, true},
      {"tapped between two frames reads once", true, true, true, false},
      {"released without a press", false, true, false, false},
  };
  for (const PressCase& c : cases) {
    SCOPED_TRACE(c.name);
    KeyState keys;
    if (c.press) keys.Press(vk::Space);
    if (c.release) keys.Release(vk::Space);
    EXPECT_EQ(keys.KeyDown(vk::Space), c.firstQuery);
    EXPECT_EQ(keys.KeyDown(vk::Space), c.secondQuery);
  }
}

TEST(KeyState, EachKeyKeepsItsOwnPendingPress) {
  KeyState keys;
  keys.Press(vk::F1);
  keys.Release(vk::F1);
  keys.Press(vk::LButton);
  keys.Release(vk::LButton);
  EXPECT_FALSE(keys.KeyDown(vk::F9));
  EXPECT_TRUE(keys.KeyDown(vk::LButton));
  EXPECT_TRUE(keys.KeyDown(vk::F1));
  EXPECT_FALSE(keys.Held(vk::F1));
}

TEST(KeyState, CodesOutsideTheTableAreIgnored) {
  KeyState keys;
  for (int vk : {-1, 256, 100000}) {
    keys.Press(vk);
    EXPECT_FALSE(keys.KeyDown(vk));
    EXPECT_FALSE(keys.Held(vk));
  }
  EXPECT_FALSE(keys.AnyKeyDown());
}

TEST(KeyState, AnyKeyDownConsumesTappedKeysAndSeesHeldOnes) {
  KeyState keys;
  keys.Press(255);
  keys.Release(255);
  keys.Press(0);
  EXPECT_TRUE(keys.AnyKeyDown());
  EXPECT_TRUE(keys.AnyKeyDown());  // code 0 still held
  keys.Release(0);
  EXPECT_FALSE(keys.AnyKeyDown());
}

TEST(KeyState, ReleaseAllKeepsUnreadPresses) {
  KeyState keys;
  keys.Press(vk::Up);
  keys.Press(vk::Shift);
  EXPECT_TRUE(keys.KeyDown(vk::Shift));
  keys.ReleaseAll();
  EXPECT_TRUE(keys.KeyDown(vk::Up));
  EXPECT_FALSE(keys.KeyDown(vk::Up));
  EXPECT_FALSE(keys.KeyDown(vk::Shift));
}

}  // namespace
}  // namespace zandrel::input
