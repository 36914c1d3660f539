// The editor's help window: nine buttons in a column on the left, each showing its page on
// the right; every page a yellow bold title over white text on black.
#pragma once

#include <QPushButton>
#include <QStackedWidget>
#include <QWidget>

#include <filesystem>
#include <vector>

namespace zandrel::editor::widgets {

class THelp final : public QWidget {
 public:
  // Caption "Level Editor - Aide", a fixed client area of 521 x 480. The pages show the
  // command icons they talk about, read from the data tree at `dataRoot` (a missing picture
  // leaves its page without it). A window of its own over `owner`, deleted with it.
  explicit THelp(const std::filesystem::path& dataRoot, QWidget* owner = nullptr);

  // Shows the window centred on its screen, without blocking the owner, and brings it to the
  // front; the page shown last stays shown.
  void ShowHelp();

  // The buttons from top to bottom, and the page book they switch.
  const std::vector<QPushButton*>& Buttons() const { return buttons_; }
  const QStackedWidget& Pages() const { return *pages_; }

 private:
  std::vector<QPushButton*> buttons_;
  QStackedWidget* pages_;
};

}  // namespace zandrel::editor::widgets
