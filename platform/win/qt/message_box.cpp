#include "platform/win/qt/message_box.h"

#include <QMessageBox>

#include "platform/win/qt/text.h"

namespace zandrel::win::qt {

void QtMessageBox::Show(std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Information, FromMessage(caption), FromMessage(text), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace zandrel::win::qt
