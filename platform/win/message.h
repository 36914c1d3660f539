// Messages to the user: the message box, and the one fatal path that ends the program.
#pragma once

#include <string_view>

namespace zandrel::win {

// Where message boxes appear. The game installs an SDL one and the editor a Qt one;
// without a display, text goes to standard error only.
class MessageBoxDisplay {
 public:
  virtual ~MessageBoxDisplay() = default;
  virtual void Show(std::string_view caption, std::string_view text) = 0;
};

// A display whose boxes stand over a window of its toolkit, when it was given one.
template <class Window>
class WindowMessageBox : public MessageBoxDisplay {
 public:
  explicit WindowMessageBox(Window* parent = nullptr) : parent_(parent) {}

 protected:
  Window* parent_;
};

// Installs the display for message boxes (nullptr: standard error only). Returns the
// previous one.
MessageBoxDisplay* SetMessageBoxDisplay(MessageBoxDisplay* display);

// The caption of every box this program shows ("Zandrel", "Zandrel editor").
void SetMessageCaption(std::string_view caption);

// Shows a message box; the text always goes to standard error as well.
void ShowMessage(std::string_view text);

// The fatal path: shows the message, runs the at-exit clean-up and ends with status 1.
[[noreturn]] void FatalError(std::string_view text);

}  // namespace zandrel::win
