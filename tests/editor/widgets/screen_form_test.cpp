// The editor's main window driven through Qt's events on the offscreen platform: keys and
// mouse reach the map, the panel shows what the cell holds, the menus are the editor's.
#include "editor/widgets/screen_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenuBar>
#include <QTest>

#include "editor/level_ops.h"
#include "tests/editor/editor_harness.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace zandrel::editor::widgets {
namespace {

using editor::test::kPost;
using editor::test::kWall;

class ScreenFormTest : public ::testing::Test {
 protected:
  ScreenFormTest() {
    editor::test::WriteDataTree(data_);
    form_ = std::make_unique<TScreenForm>(TScreenForm::Options{sounds_, music_, clock_, data_.path(), state_.path(),
                                                               config_.path(), data_ / "no-game", ""});
  }

  // Shows the window and waits for the end of the first activation.
  void Start() {
    form_->show();
    for (int i = 0; i < 200 && !form_->State().EditorReady; ++i) QTest::qWait(10);
    ASSERT_TRUE(form_->State().EditorReady);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    Editor& e = form_->State();
    e.Map().SetLevelSize(8, 4, 8);
    FillEmptyLevel(e);
    PlaceCursor(e.Cursor, 3 * 512 + 256, 1 * 512 + 256, 3 * 512 + 256);
    Ticks(2);
  }

  // Lets the form's timer run that many ticks, at least.
  void Ticks(int count) {
    const std::int64_t until = form_->State().TickNumber + count;
    for (int i = 0; i < 400 && form_->State().TickNumber < until; ++i) QTest::qWait(5);
    ASSERT_GE(form_->State().TickNumber, until);
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }
  template <class T>
  T* Find(const char* name) const {
    T* found = form_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  ::zandrel::test::TempDir data_, state_, config_;
  SilentSounds sounds_;
  SilentMusic music_;
  win::RealClock clock_;
  std::unique_ptr<TScreenForm> form_;
};

TEST_F(ScreenFormTest, BeforeTheEditorIsReadyTheWindowOnlySaysItIsLoading) {
  EXPECT_EQ(form_->windowTitle(), "Zandrel - Level Editor");
  EXPECT_EQ(form_->size(), QSize(629, 479));
  form_->show();
  const QImage loading = form_->Picture();  // the first activation has not run yet
  EXPECT_FALSE(Find<QWidget>("InfoBox")->isVisible());
  EXPECT_FALSE(Find<QWidget>("LevelView")->isVisible());
  int lit = 0;
  for (int y = 0; y < loading.height(); ++y) {
    for (int x = 0; x < loading.width(); ++x) lit += qGray(loading.pixel(x, y)) > 128 && y > 200 && y < 280;
  }
  EXPECT_GT(lit, 50);  // the white text across the middle
  Start();
  EXPECT_TRUE(Find<QWidget>("InfoBox")->isVisible());
}

TEST_F(ScreenFormTest, SpacePutsTheCurrentObjectChosenInTheList) {
  Start();
  auto* objects = Find<QComboBox>("ObjectCombo");
  objects->setFocus();
  QTest::keyClick(objects, Qt::Key_Down);  // the first object, "Floor"
  QTest::keyClick(objects, Qt::Key_Down);  // "Wall"
  EXPECT_EQ(form_->State().CurrentObject, kWall);
  EXPECT_EQ(Focused(), Find<QWidget>("FocusKiller"));  // the list gave the keyboard back
  QTest::keyPress(Focused(), Qt::Key_Space);
  Ticks(1);
  QTest::keyRelease(Focused(), Qt::Key_Space);
  EXPECT_EQ(form_->State().Map().GetCell(3, 1, 3), kWall);
  // Keys typed into a list never edit the map.
  objects->setFocus();
  QTest::keyClick(objects, Qt::Key_Down);  // "Post"
  objects->setFocus();
  QTest::keyPress(objects, Qt::Key_Delete);
  Ticks(2);
  QTest::keyRelease(objects, Qt::Key_Delete);
  EXPECT_EQ(form_->State().Map().GetCell(3, 1, 3), kWall);
  EXPECT_EQ(form_->State().CurrentObject, kPost);
}

TEST_F(ScreenFormTest, ThePanelShowsLuminosityAndTheMusicBoxOnAMusicCell) {
  Start();
  EXPECT_EQ(Find<QLabel>("LuminosityLabel")->text(), "Luminosity: 50%");
  EXPECT_EQ(Find<QLabel>("XPosLabel")->text(), "X:3 / 8");
  EXPECT_EQ(Find<QLabel>("LuminosityLabel")->toolTip(), "Luminosity factor");
  auto* music = Find<QComboBox>("MusicBox");
  EXPECT_FALSE(music->isVisible());
  QTest::keyPress(Focused(), Qt::Key_S);
  Ticks(1);
  QTest::keyRelease(Focused(), Qt::Key_S);
  Ticks(1);
  EXPECT_TRUE(music->isVisible());
  EXPECT_TRUE(Find<QPushButton>("Play")->isVisible());
  EXPECT_EQ(music->currentText(), "Alpha");  // music 0 of the new cell
  EXPECT_EQ(form_->State().Map().MusicCells[255].X, 3);
  form_->State().Map().SetLight(3, 1, 3, 255);
  Ticks(1);
  EXPECT_EQ(Find<QLabel>("LuminosityLabel")->text(), "Luminosity: 99%");
  QTest::keyPress(Focused(), Qt::Key_Up);
  Ticks(1);
  QTest::keyRelease(Focused(), Qt::Key_Up);
  Ticks(1);
  EXPECT_FALSE(music->isVisible());
  EXPECT_EQ(Find<QLabel>("ZPosLabel")->text(), "Z:4 / 8");
}

TEST_F(ScreenFormTest, ThePreviewTurnsWhileTheLeftButtonIsHeldOverIt) {
  Start();
  QWidget* client = form_->centralWidget();
  const QRect preview = Find<QWidget>("CurrentView")->geometry();
  const QPoint start = preview.center();
  QTest::mouseMove(client, start);
  QTest::mousePress(client, Qt::LeftButton, {}, start);
  QTest::mouseMove(client, start + QPoint(4, 0));
  Ticks(1);
  const std::int32_t turned = form_->State().PreviewYaw;
  EXPECT_GT(turned, 0);
  Ticks(3);  // held without moving: it goes on turning
  EXPECT_GT(form_->State().PreviewYaw, turned);
  QTest::mouseRelease(client, Qt::LeftButton, {}, start + QPoint(4, 0));
  Ticks(1);
  const std::int32_t released = form_->State().PreviewYaw;
  Ticks(3);
  EXPECT_EQ(form_->State().PreviewYaw, released);
  QTest::mousePress(client, Qt::RightButton, {}, start + QPoint(4, 0));
  Ticks(1);
  QTest::mouseRelease(client, Qt::RightButton, {}, start + QPoint(4, 0));
  EXPECT_EQ(form_->State().PreviewYaw, 0);
}

TEST_F(ScreenFormTest, TheMenusAreTheEditorsAndTheIconsRunTheirCommands) {
  Start();
  QStringList menus;
  for (QAction* action : form_->menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Options", "&Tools", "&Help"}));
  const auto items = [&](int menu) {
    QStringList texts;
    for (QAction* action : form_->menuBar()->actions()[menu]->menu()->actions()) {
      if (!action->isSeparator()) texts << action->text();
    }
    return texts;
  };
  EXPECT_EQ(items(0), (QStringList{"&New", "&Load", "Sa&ve", "&Save as ...", "&Recent files", "&Test level", "&Quit"}));
  EXPECT_EQ(items(2), (QStringList{"Level &Description ...", "Level &Author ...", "&Number of Sentries ...",
                                   "&Random Seed ...", "&Outside level", "&Editor"}));
  EXPECT_EQ(items(3), (QStringList{"&Generate a plan", "&Clear a plan"}));
  auto* brighter = Find<QToolButton>("I_Brighter");
  EXPECT_EQ(brighter->toolTip(), "Brighten current cell (\"E\" key)");
  brighter->click();
  EXPECT_EQ(form_->State().Map().GetLight(3, 1, 3), 130);
  Ticks(1);
  EXPECT_TRUE(form_->menuBar()->actions()[1]->menu()->actions()[0]->isEnabled());
  EXPECT_EQ(form_->menuBar()->actions()[1]->menu()->actions()[0]->text(), "&Undo Brighten cell");
  EXPECT_EQ(form_->windowTitle(), "Zandrel - Level Editor *");
  form_->menuBar()->actions()[1]->menu()->actions()[0]->trigger();
  EXPECT_EQ(form_->State().Map().GetLight(3, 1, 3), 128);
}

TEST_F(ScreenFormTest, TheViewFollowsTheWindowsSize) {
  Start();
  form_->resize(1100, 800);
  Ticks(1);
  EXPECT_EQ(form_->State().LevelView->Screen.Width, 640);
  const QWidget* view = Find<QWidget>("LevelView");
  EXPECT_EQ(view->width(), form_->centralWidget()->width() - 135 - 20);
  EXPECT_EQ(view->height(), form_->centralWidget()->height() - 5);
  EXPECT_EQ(Find<QWidget>("InfoBox")->geometry().right(), form_->centralWidget()->width() - 5 - 1);
  form_->resize(629, 300);
  Ticks(1);
  EXPECT_EQ(form_->height(), 469);
  EXPECT_EQ(form_->State().LevelView->Screen.Width, 320);
}

}  // namespace
}  // namespace zandrel::editor::widgets
