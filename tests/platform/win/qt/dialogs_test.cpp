#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "platform/win/qt/input_query.h"
#include "platform/win/qt/message_box.h"
#include "platform/win/qt/text.h"
#include "tests/support/qt_application.h"

namespace zandrel::win::qt {
namespace {

// Runs `answer` on the modal dialog the next call opens, once it is shown.
template <typename Dialog>
void AnswerNextDialog(std::function<void(Dialog&)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
    if (dialog->isVisible()) dialog->reject();  // never leave the test waiting
  });
}

TEST(QtDialogs, TheMessageBoxShowsCaptionAndTextUntilClosed) {
  QString caption, text;
  AnswerNextDialog<QMessageBox>([&](QMessageBox& box) {
    caption = box.windowTitle();
    text = box.text();
    box.accept();
  });
  QtMessageBox display;
  display.Show("Zandrel editor", "GAME: No level files (LEVEL\\ folder).");
  EXPECT_EQ(caption, "Zandrel editor");
  EXPECT_EQ(text, "GAME: No level files (LEVEL\\ folder).");
}

TEST(QtDialogs, TheInputBoxAnswersTheEditedTextOrNothingWhenCancelled) {
  QString caption, prompt, preset;
  AnswerNextDialog<QInputDialog>([&](QInputDialog& dialog) {
    caption = dialog.windowTitle();
    prompt = dialog.labelText();
    preset = dialog.textValue();
    dialog.setTextValue(QString::fromUtf8("Caf\u00e9 \u20ac 5"));
    dialog.accept();
  });
  const std::optional<std::string> answer =
      InputQuery(nullptr, "Level description", "Please enter a short level description", "Caf\xE9");
  EXPECT_EQ(caption, "Level description");
  EXPECT_EQ(prompt, "Please enter a short level description");
  EXPECT_EQ(preset, QString::fromUtf8("Caf\u00e9"));
  EXPECT_EQ(answer, std::optional<std::string>("Caf\xE9 \x80 5"));

  AnswerNextDialog<QInputDialog>([](QInputDialog& dialog) {
    dialog.setTextValue("12");
    dialog.reject();
  });
  EXPECT_EQ(InputQuery(nullptr, "Number of Sentries", "Please enter the number of ennemies (0..255)", "3"),
            std::nullopt);
}

TEST(QtText, AnsiTextsAndMessages) {
  EXPECT_EQ(FromAnsi("Caf\xE9 \x80"), QString::fromUtf8("Caf\u00e9 \u20ac"));
  // A character the code page lacks becomes '?'.
  EXPECT_EQ(ToAnsi(QString::fromUtf8("\u00c9t\u00e9 \u4e2d")), "\xC9t\xE9 ?");
  EXPECT_EQ(ToAnsi(QString()), "");
  // Messages are UTF-8 where they can be (paths of the machine), ANSI otherwise.
  EXPECT_EQ(FromMessage("/home/\xC3\xA9l\xC3\xA8ve"), QString::fromUtf8("/home/\u00e9l\u00e8ve"));
  EXPECT_EQ(FromMessage("Niveau \xE9t\xE9"), QString::fromUtf8("Niveau \u00e9t\u00e9"));
}

}  // namespace
}  // namespace zandrel::win::qt
