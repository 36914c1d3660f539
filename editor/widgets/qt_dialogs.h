// The editor's prompts, file dialogs, message boxes and questions over Qt: the one-line
// input box, QFileDialog with "Level file (*.lev)", QMessageBox.
#pragma once

#include <QWidget>

#include "editor/ports.h"

namespace zandrel::editor::widgets {

class QtEditorDialogs final : public EditorDialogs {
 public:
  // Every box is modal over `parent`.
  explicit QtEditorDialogs(QWidget* parent) : parent_(parent) {}

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view preset) override;
  std::optional<std::string> OpenLevelDialog(const std::filesystem::path& folder) override;
  std::optional<std::string> SaveLevelDialog(const std::filesystem::path& folder) override;
  void Message(std::string_view text) override;
  Choice Ask(std::string_view text, bool withCancel) override;

 private:
  QWidget* parent_;
};

}  // namespace zandrel::editor::widgets
