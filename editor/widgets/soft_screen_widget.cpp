#include "editor/widgets/soft_screen_widget.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zandrel::editor::widgets {
namespace {

bool SamePalette(const engine::Palette& a, const engine::Palette& b) {
  return a.Red == b.Red && a.Green == b.Green && a.Blue == b.Blue;
}

}  // namespace

SoftScreenWidget::SoftScreenWidget(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted each time: nothing of the parent needs to show through.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SoftScreenWidget::ShowScreen(const engine::ScreenBuffer& screen, const engine::Palette& palette) {
  const bool whole =
      screen.Width > 0 && screen.Height > 0 &&
      screen.Pixels.size() >= static_cast<std::size_t>(screen.Width) * static_cast<std::size_t>(screen.Height);
  if (!whole) {
    indexed_ = QImage();
    shown_ = QImage();
    update();
    return;
  }
  const bool resized = indexed_.width() != screen.Width || indexed_.height() != screen.Height;
  if (resized) {
    indexed_ = QImage(screen.Width, screen.Height, QImage::Format_Indexed8);
    shown_ = QImage(screen.Width, screen.Height, QImage::Format_RGB32);
  }
  if (resized || !SamePalette(palette, palette_)) {
    palette_ = palette;
    QList<QRgb> table(256);
    for (std::size_t i = 0; i < colours_.size(); ++i) {
      colours_[i] = qRgb(palette.Red[i], palette.Green[i], palette.Blue[i]);
      table[static_cast<qsizetype>(i)] = colours_[i];
    }
    indexed_.setColorTable(table);
  }
  const std::size_t width = static_cast<std::size_t>(screen.Width);
  for (int y = 0; y < screen.Height; ++y) {
    const std::uint8_t* source = screen.Pixels.data() + static_cast<std::size_t>(y) * width;
    std::memcpy(indexed_.scanLine(y), source, width);
    auto* row = reinterpret_cast<QRgb*>(shown_.scanLine(y));
    for (std::size_t x = 0; x < width; ++x) row[x] = colours_[source[x]];
  }
  update();
}

void SoftScreenWidget::SetStretched(bool stretched) {
  if (stretched == stretched_) return;
  stretched_ = stretched;
  update();
}

QRect SoftScreenWidget::PictureRect() const {
  if (shown_.isNull()) return {};
  if (stretched_) return rect();
  // Integer halves, as the system centred its picture; a picture larger than the widget is
  // cut on both sides.
  return {(width() - shown_.width()) / 2, (height() - shown_.height()) / 2, shown_.width(), shown_.height()};
}

void SoftScreenWidget::Paint(QPainter& painter) const {
  const QRect picture = PictureRect();
  if (picture != rect()) painter.fillRect(rect(), palette().color(backgroundRole()));
  // Without smoothing the stretch repeats pixels, as the system's stretched copy did.
  if (!picture.isEmpty()) painter.drawImage(picture, shown_);
}

QImage SoftScreenWidget::Shown() const {
  QImage image(size(), QImage::Format_RGB32);
  QPainter painter(&image);
  Paint(painter);
  return image;
}

void SoftScreenWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

}  // namespace zandrel::editor::widgets
