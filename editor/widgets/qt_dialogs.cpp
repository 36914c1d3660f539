#include "editor/widgets/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "platform/win/message.h"
#include "platform/win/qt/input_query.h"
#include "platform/win/qt/text.h"

namespace zandrel::editor::widgets {
namespace {

constexpr const char* kFilter = "Level file (*.lev)";

// File names are the system's bytes; Qt's are Unicode.
std::optional<std::string> Chosen(const QString& file) {
  if (file.isEmpty()) return std::nullopt;
  return std::string(QFile::encodeName(file).constData());
}

QString Folder(const std::filesystem::path& folder) { return QFile::decodeName(folder.c_str()); }

}  // namespace

std::string QtEditorDialogs::InputBox(std::string_view caption, std::string_view prompt, std::string_view preset) {
  return win::qt::InputQuery(parent_, caption, prompt, preset).value_or(std::string(preset));
}

std::optional<std::string> QtEditorDialogs::OpenLevelDialog(const std::filesystem::path& folder) {
  return Chosen(QFileDialog::getOpenFileName(parent_, "Load", Folder(folder), kFilter));
}

std::optional<std::string> QtEditorDialogs::SaveLevelDialog(const std::filesystem::path& folder) {
  // No suffix is added to a name typed without one; the file is written as named.
  QFileDialog dialog(parent_, "Save as", Folder(folder), kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return Chosen(dialog.selectedFiles().front());
}

void QtEditorDialogs::Message(std::string_view text) { win::ShowMessage(text); }

Choice QtEditorDialogs::Ask(std::string_view text, bool withCancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Question, "Level editor", win::qt::FromMessage(text), buttons, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes: return Choice::Yes;
    case QMessageBox::No: return Choice::No;
    default: return withCancel ? Choice::Cancel : Choice::No;
  }
}

}  // namespace zandrel::editor::widgets
