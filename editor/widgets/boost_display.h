// "Boost display": the level view on the whole screen, in a frameless full-screen window
// that stands in for the old 320 x 200 8-bit display mode. The picture keeps that mode's
// 4:3 screen shape, black around it, and the mouse pointer is hidden while it shows.
#pragma once

#include <QWidget>

#include <functional>
#include <utility>

#include "editor/widgets/soft_screen_widget.h"
#include "engine/render_view.h"

namespace zandrel::editor::widgets {

class BoostDisplay final : public QWidget {
 public:
  // The picture size the owner draws for it: the display mode's.
  static constexpr int kWidth = 320, kHeight = 200;

  // A window of its own, on top of `owner` and deleted with it. Keys other than Escape are
  // left to the owner: it installs its key feeder on this window too.
  explicit BoostDisplay(QWidget* owner = nullptr);

  // Called after the user closed the display (Escape or a click); not after Close().
  void SetClosedByUser(std::function<void()> handler) { closedByUser_ = std::move(handler); }

  // Covers the screen the owner is on and takes the keyboard. Without any screen to take it
  // shows "DirectDraw Error" and answers false; drawing goes on in the owner's window.
  bool Open();
  void Close();
  bool IsOpen() const { return isVisible(); }

  // This frame's picture, as SoftScreenWidget takes it.
  void ShowScreen(const engine::ScreenBuffer& screen, const engine::Palette& palette);
  const SoftScreenWidget& Screen() const { return *screen_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CloseByUser();

  SoftScreenWidget* screen_;
  std::function<void()> closedByUser_;
};

}  // namespace zandrel::editor::widgets
