// A test program that includes this header has one QApplication, made before its first
// test and ended after its last (before the program's exit, where Qt's own statics are
// gone). CTest runs these programs with QT_QPA_PLATFORM=offscreen: no display is needed.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace zandrel::test {

class QtApplicationEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[13] = "zandrel-test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

inline ::testing::Environment* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace zandrel::test
