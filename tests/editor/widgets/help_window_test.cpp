#include "editor/widgets/help_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTextBrowser>
#include <QUrl>

#include <array>
#include <cstdint>
#include <vector>

#include "engine/png_writer.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace zandrel::editor::widgets {
namespace {

struct PageCase {
  const char* Button;
  const char* Title;
};

constexpr std::array<PageCase, 9> kPages = {{
    {"Introduction", "INTRODUCTION"},
    {"General concepts", "GENERAL CONCEPTS"},
    {"Building", "BUILDING"},
    {"Start and Exit points", "START AND EXIT POINTS"},
    {"Adding some music", "ADDING SOME MUSIC"},
    {"Playing levels", "INTEGRATING LEVELS IN THE GAME"},
    {"Defining sentries", "DEFINING SENTRIES OF THE LEVEL"},
    {"Tips", "TIPS"},
    {"Contact", "CONTACT & SUPPORT"},
}};

QString CurrentTitle(const THelp& help) {
  const auto* title = help.Pages().currentWidget()->findChild<QLabel*>("title");
  return title != nullptr ? title->text() : QString();
}

TEST(THelpTest, AFixedBlackWindowWhoseNineButtonsEachShowTheirPage) {
  THelp help({});
  EXPECT_EQ(help.windowTitle(), "Level Editor - Aide");
  EXPECT_EQ(help.size(), QSize(521, 480));
  EXPECT_EQ(help.minimumSize(), help.maximumSize());
  EXPECT_EQ(help.palette().color(QPalette::Window), QColor(Qt::black));
  EXPECT_EQ(CurrentTitle(help), "INTRODUCTION");

  ASSERT_EQ(help.Buttons().size(), kPages.size());
  int previousY = -1;
  // Out of order, so that each click has a page to change from.
  for (const std::size_t i : {3, 0, 8, 1, 7, 2, 6, 4, 5}) {
    QPushButton* button = help.Buttons()[i];
    EXPECT_EQ(button->text(), kPages[i].Button);
    button->click();
    EXPECT_EQ(CurrentTitle(help), kPages[i].Title) << kPages[i].Button;
    EXPECT_TRUE(button->isChecked());  // and every other button up
    const auto* text = help.Pages().currentWidget()->findChild<QTextBrowser*>("text");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_FALSE(text->toPlainText().isEmpty());
    EXPECT_EQ(text->palette().color(QPalette::Text), QColor(Qt::white));
  }
  help.ShowHelp();
  EXPECT_TRUE(help.isVisible());
  EXPECT_FALSE(help.isModal());
  for (const QPushButton* button : help.Buttons()) {
    EXPECT_GT(button->y(), previousY);  // one column, top to bottom in the listed order
    EXPECT_EQ(button->x(), help.Buttons()[0]->x());
    previousY = button->y();
  }
  EXPECT_LT(help.Buttons()[0]->x(), help.Pages().x());
  EXPECT_EQ(help.Pages().currentWidget()->findChild<QLabel*>("title")->palette().color(QPalette::WindowText),
            QColor(Qt::yellow));
}

TEST(THelpTest, PagesShowTheIconsOfTheDataTree) {
  test::TempDir data;
  const std::vector<std::uint8_t> green = {0, 200, 0, 255};
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < 24 * 24; ++i) rgba.insert(rgba.end(), green.begin(), green.end());
  std::filesystem::create_directories(data / "EDITOR");
  ASSERT_TRUE(engine::WritePngRgba(data / "EDITOR/START.PNG", 24, 24, rgba).ok());

  const THelp help(data.path());
  help.Buttons()[3]->click();
  const auto* text = help.Pages().currentWidget()->findChild<QTextBrowser*>("text");
  ASSERT_NE(text, nullptr);
  const QImage start = text->document()->resource(QTextDocument::ImageResource, QUrl("icon:I_Start")).value<QImage>();
  ASSERT_EQ(start.size(), QSize(24, 24));
  EXPECT_EQ(start.pixel(3, 3), qRgb(0, 200, 0));
  EXPECT_TRUE(text->toHtml().contains("icon:I_Start"));
  // The exit's picture is missing from this tree: its page goes on without it.
  EXPECT_FALSE(text->toHtml().contains("icon:I_Exit"));
  EXPECT_FALSE(text->toPlainText().contains("{I_Exit}"));
}

}  // namespace
}  // namespace zandrel::editor::widgets
