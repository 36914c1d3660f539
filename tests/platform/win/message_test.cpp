#include "platform/win/message.h"

#include <gtest/gtest.h>

#include <string>

namespace zandrel::win {
namespace {

struct RecordingDisplay : MessageBoxDisplay {
  void Show(std::string_view caption, std::string_view text) override {
    shown = std::string(caption) + "|" + std::string(text);
  }
  std::string shown;
};

TEST(Message, GoesToTheDisplayAndToStandardError) {
  RecordingDisplay display;
  MessageBoxDisplay* previous = SetMessageBoxDisplay(&display);
  testing::internal::CaptureStderr();
  ShowMessage("GAME: No level files (LEVEL\\ folder).");
  const std::string err = testing::internal::GetCapturedStderr();
  SetMessageBoxDisplay(previous);
  EXPECT_EQ(display.shown, "Zandrel|GAME: No level files (LEVEL\\ folder).");
  EXPECT_EQ(err, "Zandrel: GAME: No level files (LEVEL\\ folder).\n");
}

TEST(MessageDeathTest, FatalErrorsEndWithStatusOne) {
  EXPECT_EXIT(FatalError("G3D: The file x is missing"), testing::ExitedWithCode(1), "G3D: The file x is missing");
}

}  // namespace
}  // namespace zandrel::win
