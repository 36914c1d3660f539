// Message boxes of the editor through Qt.
#pragma once

#include <QWidget>

#include "platform/win/message.h"

namespace zandrel::win::qt {

// Shows each message in a modal information box with an OK button, over `parent` when given
// one; returns when the user has closed it.
class QtMessageBox final : public WindowMessageBox<QWidget> {
 public:
  using WindowMessageBox::WindowMessageBox;
  void Show(std::string_view caption, std::string_view text) override;
};

}  // namespace zandrel::win::qt
