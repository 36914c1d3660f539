// Shows the software back end's 8-bit picture in a widget, as the system copied its screen
// buffer into the window: stretched to the whole widget, or unscaled and centred in it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <array>

#include "engine/render_view.h"

namespace zandrel::editor::widgets {

class SoftScreenWidget : public QWidget {
 public:
  explicit SoftScreenWidget(QWidget* parent = nullptr);

  // Takes this frame's picture: the screen's indices with the view palette as their colours,
  // and repaints. The pictures are made again only when the screen's size changes, the colour
  // table only when the palette does. A screen whose pixels do not fill Width x Height shows
  // nothing until a whole one comes.
  void ShowScreen(const engine::ScreenBuffer& screen, const engine::Palette& palette);

  // Stretched to the whole widget (the default), or unscaled and centred in it; the widget's
  // window colour fills the rest.
  void SetStretched(bool stretched);
  bool Stretched() const { return stretched_; }

  // The picture as an 8-bit image whose colour table is the palette; null before the first
  // whole screen.
  const QImage& Picture() const { return indexed_; }
  // Where the picture lies in the widget; empty without one.
  QRect PictureRect() const;
  // Draws the widget's contents with `painter`, over the widget's rectangle. Allocates
  // nothing: the widget paints through it each frame.
  void Paint(QPainter& painter) const;
  // The widget's contents as shown (for screenshots).
  QImage Shown() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool stretched_ = true;
  QImage indexed_;
  // The picture in true colour: the painter would otherwise convert the 8-bit one afresh on
  // every paint.
  QImage shown_;
  engine::Palette palette_;
  std::array<QRgb, 256> colours_{};
};

}  // namespace zandrel::editor::widgets
