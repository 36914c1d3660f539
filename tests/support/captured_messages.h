// Keeps the text of every message box shown while it lives, in place of the display that
// was installed before it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/message.h"

namespace zandrel::test {

class CapturedMessages final : public win::MessageBoxDisplay {
 public:
  CapturedMessages() : previous_(win::SetMessageBoxDisplay(this)) {}
  ~CapturedMessages() override { win::SetMessageBoxDisplay(previous_); }
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;

  void Show(std::string_view, std::string_view text) override { Texts.emplace_back(text); }

  std::vector<std::string> Texts;

 private:
  win::MessageBoxDisplay* previous_;
};

}  // namespace zandrel::test
