// The editor's main window: the level view on the left, the command panel on the right
// (coordinates, luminosity, sentries, music, the 19 command icons, the current object's
// preview and the object list), the menus, and the 50 ms timer that runs the editor's tick.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "editor/commands.h"
#include "editor/editor.h"
#include "editor/ports.h"
#include "editor/widgets/editor_devices.h"
#include "editor/widgets/qt_dialogs.h"
#include "editor/widgets/soft_screen_widget.h"
#include "engine/soft/soft_backend.h"
#include "platform/win/clock.h"
#include "platform/win/qt/key_feeder.h"

namespace zandrel::editor::widgets {

class BoostDisplay;
class THelp;

class TScreenForm final : public QMainWindow, public EditorWindow {
 public:
  struct Options {
    EditorSounds& Sounds;
    EditorMusic& Music;
    const win::Clock& Clock;
    std::filesystem::path DataFolder, StateFolder, ConfigFolder;
    std::filesystem::path GameProgram;  // "zandrel", started by "Test level"
    std::string LevelFile;              // opened once the editor is ready; empty: none
  };

  // 629 x 479, centred on the screen; the editor starts at the first showing.
  explicit TScreenForm(const Options& options);
  ~TScreenForm() override;

  Editor& State() { return *editor_; }
  // Where video clips show.
  ClipOverlay& Clips() { return *clips_; }

  // Once `ticks` ticks of the ready editor have run: the window's picture is written to
  // `file` and `done` is told whether that worked.
  void ScreenshotAfter(int ticks, std::filesystem::path file, std::function<void(bool)> done);
  // The window as it shows now.
  QImage Picture();

  // EditorWindow
  void SetCaption(std::string_view caption) override;
  void ShowPanel(const Panel& panel) override;
  void FillObjectList(const std::vector<std::string>& names) override;
  void FillMusicList(const std::vector<std::string>& names) override;
  void FillSentryList(std::int32_t count) override;
  void SetOutsideChecked(bool checked) override;
  void SetStretchChecked(bool checked) override;
  void SetRecentFiles(const std::vector<std::string>& files) override;
  void ShowPanels(bool shown) override;
  void SetBusyCursor(bool busy) override;
  bool MapHasFocus() const override;
  void RestoreFocus() override;
  void WaitAllKeysUp() override;
  bool BoostDisplay(int width, int height) override;
  base::Status StartGame(const std::filesystem::path& levelFile) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Client;

  void BuildPanel();
  void BuildMenus();
  void FormActivate();
  void FormResize();
  void GameLoopTimer();
  void ShowPictures();
  // Runs a menu command of the core, then repaints.
  void Run(const std::function<void(Editor&)>& command);

  Options options_;
  engine::soft::SoftBackend backend_;
  QtEditorDialogs dialogs_;
  std::unique_ptr<Editor> editor_;
  win::qt::KeyStateFeeder feeder_;

  Client* client_;
  SoftScreenWidget* levelView_;
  ClipOverlay* clips_;
  QGroupBox* infoBox_;
  QLabel *xPosLabel_, *yPosLabel_, *zPosLabel_, *luminosityLabel_;
  QComboBox *nmeList_, *musicBox_, *objectCombo_;
  QPushButton *setNmePos_, *play_, *stop_;
  QWidget* focusKiller_;
  SoftScreenWidget* currentView_;
  QGroupBox* selectObjectBox_;
  QTimer gameLoop_;
  QAction *outside_, *stretching_, *undo_, *redo_;
  QMenu* recentMenu_;
  widgets::BoostDisplay* boost_ = nullptr;
  THelp* help_ = nullptr;

  bool activated_ = false;
  bool waiting_ = false;  // in WaitAllKeysUp: the timer leaves the tick alone
  bool closing_ = false;
  int screenshotTicks_ = -1;
  std::filesystem::path screenshotFile_;
  std::function<void(bool)> screenshotDone_;
};

}  // namespace zandrel::editor::widgets
