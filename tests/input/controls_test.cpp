#include "input/controls.h"

#include <gtest/gtest.h>

#include <vector>

#include "input/virtual_keys.h"

namespace zandrel::input {
namespace {

// A joystick that answers with a set state and counts how often it was read.
struct FakeJoystick : JoystickDevice {
  JoystickState ReadJoystick() override {
    ++reads;
    return state;
  }
  JoystickState state = [] {
    JoystickState s;
    s.Connected = true;
    return s;
  }();
  int reads = 0;
};

struct AxisCase {
  std::uint32_t min, max, position;
  bool low, high;  // left/up, right/down
};

TEST(Joystick, DirectionThresholds) {
  const AxisCase cases[] = {
      // 0..65535: half 32767, marks 16383 and 49150.
      {0, 65535, 16383, false, false},  // exactly a quarter: centred
      {0, 65535, 16382, true, false},   // one unit below
      {0, 65535, 32767, false, false},
      {0, 65535, 49150, false, false},
      {0, 65535, 49151, false, true},
      {0, 65535, 0, true, false},
      {0, 65535, 65535, false, true},
      // The minimum is not added to the marks: 1000..3000 gives half 1000, marks 500 and 1500.
      {1000, 3000, 1000, false, false},
      {1000, 3000, 499, true, false},
      {1000, 3000, 1501, false, true},
      {1000, 3000, 2000, false, true},  // the middle of such a range is past the high mark
      // Odd ranges round toward zero: 0..7 gives half 3, marks 1 and 4.
      {0, 7, 0, true, false},
      {0, 7, 1, false, false},
      {0, 7, 4, false, false},
      {0, 7, 5, false, true},
  };
  for (const AxisCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.position);
    KeyState keys;
    FakeJoystick stick;
    stick.state.XMin = stick.state.YMin = c.min;
    stick.state.XMax = stick.state.YMax = c.max;
    stick.state.X = c.position;
    // Centred by the marks, which ignore the minimum.
    stick.state.Y = (c.max - c.min) / 2;
    InputDevices devices(keys, &stick);
    devices.ProbeJoystick();
    EXPECT_EQ(devices.JoyLeft(), c.low);
    EXPECT_EQ(devices.JoyRight(), c.high);
    EXPECT_FALSE(devices.JoyUp());
    EXPECT_FALSE(devices.JoyDown());
    stick.state.Y = c.position;
    stick.state.X = (c.max - c.min) / 2;
    EXPECT_EQ(devices.JoyUp(), c.low);
    EXPECT_EQ(devices.JoyDown(), c.high);
    EXPECT_FALSE(devices.JoyLeft());
    EXPECT_FALSE(devices.JoyRight());
  }
}

TEST(Joystick, ButtonsOneToFourOnly) {
  KeyState keys;
  FakeJoystick stick;
  InputDevices devices(keys, &stick);
  devices.ProbeJoystick();
  stick.state.Buttons = 0x2 | 0x8 | 0x10;
  const bool expected[] = {false, false, true, false, true, false};  // buttons 0..5
  for (int n = 0; n <= 5; ++n) EXPECT_EQ(devices.JoyButton(n), expected[n]) << n;
  EXPECT_FALSE(devices.JoyButton(-1));
}

TEST(Joystick, AbsentAtStartIsNeverAskedAgain) {
  KeyState keys;
  FakeJoystick stick;
  stick.state.Connected = false;
  stick.state.X = 0;
  stick.state.Buttons = 0xF;
  InputDevices devices(keys, &stick);
  devices.ProbeJoystick();
  EXPECT_TRUE(devices.NoJoystick());
  EXPECT_EQ(stick.reads, 1);
  stick.state.Connected = true;  // plugged in later: still not asked
  ControlFlags flags;
  devices.ReadControls(flags);
  EXPECT_FALSE(devices.JoyLeft());
  EXPECT_FALSE(devices.JoyButton(1));
  EXPECT_EQ(flags, ControlFlags{});
  EXPECT_EQ(stick.reads, 1);
}

TEST(Joystick, NoDeviceAtAllMeansNoJoystick) {
  KeyState keys;
  InputDevices devices(keys, nullptr);
  devices.ProbeJoystick();
  EXPECT_TRUE(devices.NoJoystick());
  EXPECT_FALSE(devices.JoyUp());
  EXPECT_FALSE(devices.JoyButton(4));
}

TEST(Joystick, UnpluggedAfterStartAnswersFalse) {
  KeyState keys;
  FakeJoystick stick;
  InputDevices devices(keys, &stick);
  devices.ProbeJoystick();
  EXPECT_FALSE(devices.NoJoystick());
  stick.state.X = 0;
  stick.state.Buttons = 1;
  EXPECT_TRUE(devices.JoyLeft());
  stick.state.Connected = false;
  EXPECT_FALSE(devices.JoyLeft());
  EXPECT_FALSE(devices.JoyButton(1));
}

// Keys held and the stick's state, and the eight flags ReadControls gives.
struct ControlsCase {
  const char* name;
  std::vector<int> keys;
  std::uint32_t x, y, buttons;
  ControlFlags expected;  // up, down, left, right, button 1..4
};

TEST(ReadControls, KeysAndJoystickFillTheFlags) {
  constexpr std::uint32_t kMid = 32767;
  const ControlsCase cases[] = {
      {"nothing", {}, kMid, kMid, 0, {}},
      {"left arrow", {vk::Left}, kMid, kMid, 0, {false, false, true}},
      {"up arrow", {vk::Up}, kMid, kMid, 0, {true}},
      {"right arrow", {vk::Right}, kMid, kMid, 0, {false, false, false, true}},
      {"down arrow", {vk::Down}, kMid, kMid, 0, {false, true}},
      {"space", {vk::Space}, kMid, kMid, 0, {false, false, false, false, true}},
      {"ctrl", {vk::Control}, kMid, kMid, 0, {false, false, false, false, false, true}},
      {"shift", {vk::Shift}, kMid, kMid, 0, {false, false, false, false, false, false, true}},
      {"esc", {vk::Escape}, kMid, kMid, 0, {false, false, false, false, false, false, false, true}},
      {"stick up-left", {}, 0, 0, 0, {true, false, true}},
      {"stick down-right", {}, 65535, 65535, 0, {false, true, false, true}},
      {"stick buttons", {}, kMid, kMid, 0xF, {false, false, false, false, true, true, true, true}},
      {"key and stick agree", {vk::Left}, 0, kMid, 0, {false, false, true}},
      {"key and stick both", {vk::Right, vk::Space}, 0, kMid, 2, {false, false, true, true, true, true}},
      {"other keys do nothing", {vk::Return, 'A', vk::LShift, vk::F1}, kMid, kMid, 0x10, {}},
  };
  for (const ControlsCase& c : cases) {
    SCOPED_TRACE(c.name);
    KeyState keys;
    FakeJoystick stick;
    stick.state.X = c.x;
    stick.state.Y = c.y;
    stick.state.Buttons = c.buttons;
    InputDevices devices(keys, &stick);
    devices.ProbeJoystick();
    for (int key : c.keys) keys.Press(key);
    ControlFlags flags;
    flags.fill(true);
    devices.ReadControls(flags);
    EXPECT_EQ(flags, c.expected);
  }
}

TEST(ReadControls, TheJoystickIsAskedOnlyWhenTheKeyIsUp) {
  KeyState keys;
  FakeJoystick stick;
  InputDevices devices(keys, &stick);
  devices.ProbeJoystick();
  stick.reads = 0;
  ControlFlags flags;
  devices.ReadControls(flags);
  EXPECT_EQ(stick.reads, 8);
  for (int key : {vk::Left, vk::Up, vk::Right, vk::Down, vk::Space, vk::Control, vk::Shift, vk::Escape}) {
    keys.Press(key);
  }
  stick.reads = 0;
  devices.ReadControls(flags);
  EXPECT_EQ(stick.reads, 0);
  EXPECT_EQ(flags, (ControlFlags{true, true, true, true, true, true, true, true}));
}

TEST(ReadControls, ATapBetweenFramesHoldsForOneFrame) {
  KeyState keys;
  InputDevices devices(keys, nullptr);
  devices.ProbeJoystick();
  keys.Press(vk::Space);
  keys.Release(vk::Space);
  ControlFlags flags;
  devices.ReadControls(flags);
  EXPECT_TRUE(flags[kButton1]);
  devices.ReadControls(flags);
  EXPECT_FALSE(flags[kButton1]);
}

TEST(WaitAllKeysUp, ReturnsAfterAPassWithNoKeyDown) {
  // The pump releases the keys one by one, a mouse button last.
  KeyState keys;
  keys.Press(vk::Return);
  keys.Press(vk::RButton);
  int pumps = 0;
  WaitAllKeysUp(keys, [&] {
    ++pumps;
    if (pumps == 3) keys.Release(vk::Return);
    if (pumps == 5) keys.Release(vk::RButton);
    return true;
  });
  EXPECT_EQ(pumps, 5);  // the pass right after the last release finds nothing
  EXPECT_FALSE(keys.AnyKeyDown());
}

TEST(WaitAllKeysUp, ATapBeforeTheWaitCostsOneMorePass) {
  KeyState keys;
  keys.Press('Z');
  keys.Release('Z');
  int pumps = 0;
  WaitAllKeysUp(keys, [&] { return ++pumps > 0; });
  EXPECT_EQ(pumps, 2);
}

TEST(WaitAllKeysUp, EndsWhenThePumpReportsClosing) {
  KeyState keys;
  keys.Press(vk::Escape);
  int pumps = 0;
  WaitAllKeysUp(keys, [&] { return ++pumps < 4; });
  EXPECT_EQ(pumps, 4);
  EXPECT_TRUE(keys.Held(vk::Escape));
}

}  // namespace
}  // namespace zandrel::input
