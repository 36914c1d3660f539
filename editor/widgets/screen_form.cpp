#include "editor/widgets/screen_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QScreen>

#include "editor/command_icons.h"
#include "editor/level_ops.h"
#include "editor/panel.h"
#include "editor/widgets/boost_display.h"
#include "editor/widgets/data_picture.h"
#include "editor/widgets/help_window.h"
#include "input/controls.h"
#include "platform/win/message.h"
#include "platform/win/qt/text.h"

namespace zandrel::editor::widgets {
namespace {

constexpr int kDesignWidth = 629, kDesignHeight = 479;
constexpr int kMinimumHeight = 469;
constexpr int kTickMs = 50;
constexpr int kKeyWaitLimitMs = 3000;  // a release lost to another window must not hang the editor
constexpr QRect kInfoBox{348, -4, 135, 262};
constexpr QRect kCurrentView{349, 259, 134, 138};
constexpr QRect kSelectObjectBox{349, 392, 136, 29};

// Which command each icon runs.
constexpr std::array<std::pair<std::string_view, Command>, 19> kIconCommands = {{
    {"I_RotateLeft", Command::RotateLeft},
    {"I_MoveForward", Command::MoveForward},
    {"I_RotateRight", Command::RotateRight},
    {"I_ZoomIn", Command::ZoomIn},
    {"I_LookUp", Command::TopView},
    {"I_MoveLeft", Command::MoveLeft},
    {"I_MoveBack", Command::MoveBack},
    {"I_MoveRight", Command::MoveRight},
    {"I_ZoomOut", Command::ZoomOut},
    {"I_LookDown", Command::DownView},
    {"I_GoUp", Command::MoveUp},
    {"I_GoDown", Command::MoveDown},
    {"I_SFX", Command::PutMusic},
    {"I_Brighter", Command::Brighten},
    {"I_Darker", Command::Darken},
    {"I_PutBlock", Command::Put},
    {"I_DelBlock", Command::Delete},
    {"I_Start", Command::StartPoint},
    {"I_Exit", Command::ExitPoint},
}};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

template <class T>
T* Control(QWidget* parent, const char* name, const QRect& place) {
  T* control = new T(parent);
  control->setObjectName(name);
  control->setGeometry(place);
  return control;
}

}  // namespace

// The client area: black, with "LOADING ... PLEASE WAIT" until the editor is ready. It
// holds the keyboard for the map (the focus catcher sits on it) and sees every mouse event
// over the window's parts that take none themselves.
class TScreenForm::Client final : public QWidget {
 public:
  Client(const Editor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (editor_.EditorReady) return;
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, "LOADING ... PLEASE WAIT");
  }

 private:
  const Editor& editor_;
};

TScreenForm::TScreenForm(const Options& options)
    : options_(options),
      dialogs_(this),
      editor_(std::make_unique<Editor>(EditorServices{backend_, dialogs_, *this, options.Sounds, options.Music,
                                                      options.Clock, options.DataFolder, options.StateFolder,
                                                      options.ConfigFolder})),
      feeder_(editor_->Keys) {
  setWindowTitle("Zandrel - Level Editor");
  client_ = new Client(*editor_, this);
  // The form is black with yellow text; the menus keep the system's colours.
  QPalette colours = client_->palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, Qt::yellow);
  client_->setPalette(colours);
  // The panel's controls keep their design sizes: its texts take the small size they had.
  QFont small = client_->font();
  small.setPixelSize(11);
  client_->setFont(small);
  setCentralWidget(client_);
  BuildPanel();
  BuildMenus();
  ShowPanels(false);  // until the first activation has ended
  installEventFilter(&feeder_);
  focusKiller_->installEventFilter(&feeder_);
  client_->installEventFilter(this);
  resize(kDesignWidth, kDesignHeight);
  setMinimumHeight(kMinimumHeight);
  if (const QScreen* screen = this->screen(); screen != nullptr) {
    move(screen->availableGeometry().center() - rect().center());
  }
  gameLoop_.setInterval(kTickMs);
  connect(&gameLoop_, &QTimer::timeout, this, [this] { GameLoopTimer(); });
}

TScreenForm::~TScreenForm() { gameLoop_.stop(); }

void TScreenForm::BuildPanel() {
  levelView_ = Control<SoftScreenWidget>(client_, "LevelView", QRect(8, 1, 337, 289));
  levelView_->setAttribute(Qt::WA_TransparentForMouseEvents);
  levelView_->hide();
  clips_ = new ClipOverlay(client_);
  clips_->setObjectName("Clips");

  infoBox_ = Control<QGroupBox>(client_, "InfoBox", kInfoBox);
  struct Label {
    QLabel*& Field;
    const char* Name;
    QRect Place;
    const char* Hint;
  };
  const Label labels[] = {
      {xPosLabel_, "XPosLabel", {8, 16, 113, 17}, "X Coordinate"},
      {yPosLabel_, "YPosLabel", {8, 33, 113, 17}, "Y Coordinate"},
      {zPosLabel_, "ZPosLabel", {8, 48, 113, 17}, "Z Coordinate"},
      {luminosityLabel_, "LuminosityLabel", {7, 64, 113, 17}, "Luminosity factor"},
  };
  for (const Label& label : labels) {
    label.Field = Control<QLabel>(infoBox_, label.Name, label.Place);
    label.Field->setToolTip(label.Hint);
  }
  nmeList_ = Control<QComboBox>(infoBox_, "NMEList", {5, 86, 69, 22});
  setNmePos_ = Control<QPushButton>(infoBox_, "SetNMEPos", {78, 86, 52, 22});
  setNmePos_->setText("Set Pos.");
  musicBox_ = Control<QComboBox>(infoBox_, "MusicBox", {5, 110, 126, 22});
  // The keyboard's home while keys edit the map: always there, too small to see.
  focusKiller_ = Control<QWidget>(infoBox_, "FocusKiller", {5, 110, 1, 1});
  focusKiller_->setFocusPolicy(Qt::StrongFocus);
  focusKiller_->lower();
  play_ = Control<QPushButton>(infoBox_, "Play", {5, 135, 55, 19});
  play_->setText("Play");
  play_->setToolTip("Play music");
  stop_ = Control<QPushButton>(infoBox_, "Stop", {79, 135, 52, 19});
  stop_->setText("Stop");
  stop_->setToolTip("Stop music");
  for (QWidget* button :
       {static_cast<QWidget*>(setNmePos_), static_cast<QWidget*>(play_), static_cast<QWidget*>(stop_)}) {
    button->setFocusPolicy(Qt::NoFocus);
  }
  for (QWidget* musicControl :
       {static_cast<QWidget*>(musicBox_), static_cast<QWidget*>(play_), static_cast<QWidget*>(stop_)}) {
    musicControl->hide();
  }
  for (const auto& [name, command] : kIconCommands) {
    const CommandIcon* icon = FindCommandIcon(name);
    auto* button =
        Control<QToolButton>(infoBox_, icon->Name.data(), {icon->X, icon->Y, kCommandIconSide, kCommandIconSide});
    button->setIcon(QPixmap::fromImage(ReadDataPicture(options_.DataFolder, icon->File)));
    button->setIconSize({kCommandIconSide, kCommandIconSide});
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(Text(icon->Hint));
    const Command run = command;
    connect(button, &QToolButton::clicked, this, [this, run] { Run([run](Editor& e) { RunCommand(e, run); }); });
  }
  connect(setNmePos_, &QPushButton::clicked, this,
          [this] { Run([this](Editor& e) { SetSentryPosition(e, nmeList_->currentIndex()); }); });
  connect(play_, &QPushButton::clicked, this,
          [this] { Run([this](Editor& e) { PlayMusicNamed(e, win::qt::ToAnsi(musicBox_->currentText())); }); });
  connect(stop_, &QPushButton::clicked, this, [this] { Run([](Editor& e) { StopMusicPlaying(e); }); });
  connect(nmeList_, &QComboBox::activated, this, [this] { RestoreFocus(); });
  connect(musicBox_, &QComboBox::activated, this,
          [this] { Run([this](Editor& e) { SelectMusic(e, win::qt::ToAnsi(musicBox_->currentText())); }); });

  currentView_ = Control<SoftScreenWidget>(client_, "CurrentView", kCurrentView);
  currentView_->setToolTip("Current paint object");
  currentView_->setAttribute(Qt::WA_TransparentForMouseEvents);
  selectObjectBox_ = Control<QGroupBox>(client_, "SelectObjectBox", kSelectObjectBox);
  objectCombo_ = Control<QComboBox>(selectObjectBox_, "ObjectCombo", {1, 7, 135, 22});
  objectCombo_->setMaxVisibleItems(27);
  objectCombo_->setToolTip("Building objects list");
  connect(objectCombo_, &QComboBox::activated, this,
          [this] { Run([this](Editor& e) { SelectObject(e, win::qt::ToAnsi(objectCombo_->currentText())); }); });
}

void TScreenForm::BuildMenus() {
  const auto item = [this](QMenu* menu, const char* caption, std::function<void(Editor&)> command,
                           const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  // The shortcuts are spelt out: a desktop without its own key bindings has none for
  // "save as" or "quit".
  item(file, "&New", NewLevel, Qt::CTRL | Qt::Key_N);
  item(file, "&Load", OpenLevel, Qt::CTRL | Qt::Key_O);
  item(
      file, "Sa&ve", [](Editor& e) { SaveLevel(e); }, Qt::CTRL | Qt::Key_S);
  item(
      file, "&Save as ...", [](Editor& e) { SaveLevelAs(e); }, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
  recentMenu_ = file->addMenu("&Recent files");
  item(file, "&Test level", TestLevel, Qt::Key_F9);
  file->addSeparator();
  QAction* quit = file->addAction("&Quit");
  quit->setShortcut(Qt::CTRL | Qt::Key_Q);
  connect(quit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu("&Edit");
  undo_ = item(edit, "&Undo", Undo, Qt::CTRL | Qt::Key_Z);
  redo_ = item(edit, "&Redo", Redo, Qt::CTRL | Qt::Key_Y);
  redo_->setShortcuts({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});
  undo_->setEnabled(false);
  redo_->setEnabled(false);

  QMenu* options = menuBar()->addMenu("&Options");
  item(options, "Level &Description ...", LevelDescription);
  item(options, "Level &Author ...", LevelAuthor);
  item(options, "&Number of Sentries ...", NumberOfSentries);
  item(options, "&Random Seed ...", RandomSeed);
  outside_ = item(options, "&Outside level", ToggleOutside);
  outside_->setCheckable(true);
  QMenu* editorMenu = options->addMenu("&Editor");
  QMenu* texturing = editorMenu->addMenu("&Texturing");
  item(texturing, "&Enabled", [](Editor& e) { SetTexturing(e, true); });
  item(texturing, "&Disabled", [](Editor& e) { SetTexturing(e, false); });
  item(editorMenu, "&Boost display", editor::BoostDisplay);
  stretching_ = item(editorMenu, "&Stretching", ToggleStretching);
  stretching_->setCheckable(true);
  stretching_->setChecked(true);

  QMenu* tools = menuBar()->addMenu("&Tools");
  QMenu* generate = tools->addMenu("&Generate a plan");
  QMenu* clear = tools->addMenu("&Clear a plan");
  for (const auto& [caption, axis] : {std::pair{"&X", Axis::X}, {"&Y", Axis::Y}, {"&Z", Axis::Z}}) {
    const Axis a = axis;
    item(generate, caption, [a](Editor& e) { GeneratePlan(e, a); });
    item(clear, caption, [a](Editor& e) { ClearPlan(e, a); });
  }
  QAction* help = menuBar()->addAction("&Help");
  connect(help, &QAction::triggered, this, [this] {
    if (help_ == nullptr) help_ = new THelp(options_.DataFolder, this);
    help_->ShowHelp();
  });
}

void TScreenForm::Run(const std::function<void(Editor&)>& command) {
  if (!editor_->EditorReady || editor_->EditorBusy) return;
  command(*editor_);
  ShowPictures();
}

void TScreenForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activated_) return;
  activated_ = true;
  // The loading text shows first; the start-up runs once it is on screen.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TScreenForm::FormActivate() {
  client_->repaint();
  if (base::Status started = FirstActivation(*editor_, options_.LevelFile); !started) {
    win::FatalError(started.error());
  }
  levelView_->show();
  FormResize();
  EditorTick(*editor_);
  ShowPictures();
  gameLoop_.start();
}

void TScreenForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && editor_->EditorReady) RestoreFocus();
}

void TScreenForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (editor_->EditorReady) FormResize();
}

void TScreenForm::FormResize() {
  const int width = client_->width(), height = client_->height();
  levelView_->setGeometry(8, 1, std::max(width - kInfoBox.width() - 20, 1), std::max(height - 5, 1));
  clips_->setGeometry(levelView_->geometry());
  infoBox_->move(width - kInfoBox.width() - 5, kInfoBox.y());
  currentView_->move(width - kCurrentView.width() - 5, kCurrentView.y());
  selectObjectBox_->move(width - kSelectObjectBox.width() - 5, kSelectObjectBox.y());
  editor_->CurrentView = Rect{currentView_->x(), currentView_->y(), currentView_->width(), currentView_->height()};
  ResizeView(*editor_, width, height);
  client_->update();
}

void TScreenForm::closeEvent(QCloseEvent* event) {
  if (editor_->EditorBusy && editor_->EditorReady) {
    event->ignore();
    return;
  }
  if (!CloseEditor(*editor_)) {
    event->ignore();
    return;
  }
  closing_ = true;
  gameLoop_.stop();
  event->accept();
}

bool TScreenForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton) break;
        const MouseButton button = mouse->button() == Qt::LeftButton ? MouseButton::Left : MouseButton::Right;
        if (event->type() == QEvent::MouseButtonPress) {
          MouseDown(*editor_, button);
        } else {
          MouseUp(*editor_, button);
        }
        break;
      }
      case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        MouseMove(*editor_, at.x(), at.y());
        break;
      }
      default: break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TScreenForm::GameLoopTimer() {
  if (waiting_ || closing_) return;
  EditorTick(*editor_);
  ShowPictures();
  if (screenshotTicks_ >= 0 && editor_->EditorReady && !editor_->EditorBusy && screenshotTicks_-- == 0) {
    const bool saved = Picture().save(QFile::decodeName(screenshotFile_.c_str()), "PNG");
    if (screenshotDone_) screenshotDone_(saved);
  }
}

void TScreenForm::ShowPictures() {
  const engine::RenderView& level = *editor_->LevelView;
  levelView_->SetStretched(editor_->StretchView);
  levelView_->ShowScreen(level.Screen, level.ViewPalette);
  const engine::RenderView& preview = *editor_->PreviewView;
  currentView_->ShowScreen(preview.Screen, preview.ViewPalette);
}

void TScreenForm::ScreenshotAfter(int ticks, std::filesystem::path file, std::function<void(bool)> done) {
  screenshotTicks_ = std::max(ticks - 1, 0);
  screenshotFile_ = std::move(file);
  screenshotDone_ = std::move(done);
}

QImage TScreenForm::Picture() { return grab().toImage(); }

void TScreenForm::SetCaption(std::string_view caption) { setWindowTitle(win::qt::FromMessage(caption)); }

void TScreenForm::ShowPanel(const Panel& panel) {
  xPosLabel_->setText(Text(panel.XPos));
  yPosLabel_->setText(Text(panel.YPos));
  zPosLabel_->setText(Text(panel.ZPos));
  luminosityLabel_->setText(Text(panel.Luminosity));
  for (QWidget* control :
       {static_cast<QWidget*>(musicBox_), static_cast<QWidget*>(play_), static_cast<QWidget*>(stop_)}) {
    control->setVisible(panel.MusicShown);
  }
  if (panel.SelectMusic) musicBox_->setCurrentIndex(musicBox_->findText(win::qt::FromAnsi(*panel.SelectMusic)));
  undo_->setEnabled(panel.CanUndo);
  undo_->setText(panel.CanUndo ? "&Undo " + win::qt::FromAnsi(panel.UndoName) : "&Undo");
  redo_->setEnabled(panel.CanRedo);
  redo_->setText(panel.CanRedo ? "&Redo " + win::qt::FromAnsi(panel.RedoName) : "&Redo");
}

void TScreenForm::FillObjectList(const std::vector<std::string>& names) {
  objectCombo_->clear();
  for (const std::string& name : names) objectCombo_->addItem(win::qt::FromAnsi(name));
  objectCombo_->setCurrentIndex(-1);
}

void TScreenForm::FillMusicList(const std::vector<std::string>& names) {
  musicBox_->clear();
  for (const std::string& name : names) musicBox_->addItem(win::qt::FromAnsi(name));
}

void TScreenForm::FillSentryList(std::int32_t count) {
  nmeList_->clear();
  for (std::int32_t k = 1; k <= count; ++k) nmeList_->addItem("NME #" + QString::number(k));
}

void TScreenForm::SetOutsideChecked(bool checked) { outside_->setChecked(checked); }

void TScreenForm::SetStretchChecked(bool checked) {
  stretching_->setChecked(checked);
  levelView_->SetStretched(checked);
}

void TScreenForm::SetRecentFiles(const std::vector<std::string>& files) {
  recentMenu_->clear();
  for (const std::string& name : files) {
    QAction* action = recentMenu_->addAction(QFile::decodeName(name.c_str()));
    connect(action, &QAction::triggered, this, [this, name] { Run([name](Editor& e) { OpenRecent(e, name); }); });
  }
  recentMenu_->setEnabled(!files.empty());
}

void TScreenForm::ShowPanels(bool shown) {
  infoBox_->setVisible(shown);
  selectObjectBox_->setVisible(shown);
  currentView_->setVisible(shown);
}

void TScreenForm::SetBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

bool TScreenForm::MapHasFocus() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus == focusKiller_ || focus == this || focus == client_;
}

void TScreenForm::RestoreFocus() {
  // A dialog that closed may leave the keyboard nowhere (a display without a window
  // manager): the window takes it back.
  if (!isActiveWindow()) activateWindow();
  focusKiller_->setFocus(Qt::OtherFocusReason);
}

void TScreenForm::WaitAllKeysUp() {
  waiting_ = true;
  QElapsedTimer since;
  since.start();
  input::WaitAllKeysUp(editor_->Keys, [&] {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !closing_ && since.elapsed() < kKeyWaitLimitMs;
  });
  waiting_ = false;
}

bool TScreenForm::BoostDisplay(int, int) {
  if (boost_ == nullptr) boost_ = new widgets::BoostDisplay(this);
  if (!boost_->Open()) return false;
  const engine::RenderView& level = *editor_->LevelView;
  boost_->ShowScreen(level.Screen, level.ViewPalette);
  QCoreApplication::processEvents();
  boost_->Close();
  activateWindow();
  return true;
}

base::Status TScreenForm::StartGame(const std::filesystem::path& levelFile) {
  const QString program = QFile::decodeName(options_.GameProgram.c_str());
  if (!QFile::exists(program))
    return base::Failure{"The game program " + options_.GameProgram.string() + " is missing."};
  const QStringList arguments = {"--level", QFile::decodeName(levelFile.c_str()), "--data",
                                 QFile::decodeName(options_.DataFolder.c_str())};
  if (!QProcess::startDetached(program, arguments)) {
    return base::Failure{"The game program " + options_.GameProgram.string() + " could not be started."};
  }
  return {};
}

}  // namespace zandrel::editor::widgets
