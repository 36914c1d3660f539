#include "platform/win/qt/input_query.h"

#include <QInputDialog>

#include "platform/win/qt/text.h"

namespace zandrel::win::qt {

std::optional<std::string> InputQuery(QWidget* parent, std::string_view caption, std::string_view prompt,
                                      std::string_view text) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(FromAnsi(caption));
  dialog.setLabelText(FromAnsi(prompt));
  dialog.setTextValue(FromAnsi(text));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToAnsi(dialog.textValue());
}

}  // namespace zandrel::win::qt
