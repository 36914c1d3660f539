#include "editor/widgets/boost_display.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

#include "platform/win/message.h"

namespace zandrel::editor::widgets {

BoostDisplay::BoostDisplay(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), screen_(new SoftScreenWidget(this)) {
  setWindowTitle("Level editor");
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);
  setCursor(Qt::BlankCursor);
  setFocusPolicy(Qt::StrongFocus);
  // Clicks on the picture close the display as clicks beside it do.
  screen_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool BoostDisplay::Open() {
  QScreen* target = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (target == nullptr) {
    win::ShowMessage("DirectDraw Error");
    return false;
  }
  setScreen(target);
  setGeometry(target->geometry());
  showFullScreen();
  raise();
  activateWindow();
  setFocus(Qt::ActiveWindowFocusReason);
  return true;
}

void BoostDisplay::Close() { hide(); }

void BoostDisplay::ShowScreen(const engine::ScreenBuffer& screen, const engine::Palette& palette) {
  screen_->ShowScreen(screen, palette);
}

void BoostDisplay::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    CloseByUser();
    return;
  }
  QWidget::keyPressEvent(event);
}

void BoostDisplay::mousePressEvent(QMouseEvent*) { CloseByUser(); }

void BoostDisplay::resizeEvent(QResizeEvent*) {
  // The largest 4:3 rectangle in the middle of the screen.
  const int w = std::min(width(), height() * 4 / 3), h = std::min(height(), width() * 3 / 4);
  screen_->setGeometry((width() - w) / 2, (height() - h) / 2, w, h);
}

void BoostDisplay::CloseByUser() {
  hide();
  if (closedByUser_) closedByUser_();
}

}  // namespace zandrel::editor::widgets
