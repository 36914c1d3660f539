#include "tools/data/icon_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/png_writer.h"

namespace zandrel::data::icons {

IconCanvas::IconCanvas(int side, int fine) : side_(side), fine_(fine), samples_(Grid::Size(side * fine, side * fine)) {}

Grid IconCanvas::Mask(const std::vector<Contour>& contours) const {
  std::vector<Contour> fine;
  for (const Contour& contour : contours) {
    Contour scaled;
    for (const Point p : contour) scaled.push_back({p.X * fine_, p.Y * fine_});
    fine.push_back(std::move(scaled));
  }
  // One sample at the centre of each fine pixel: the averaging down does the antialiasing.
  return interface::Coverage(side_ * fine_, side_ * fine_, fine, 1);
}

void IconCanvas::Blend(std::size_t i, Rgb colour, float alpha) {
  if (alpha <= 0) return;
  Sample& s = samples_[i];
  s.R = colour.R * alpha + s.R * (1 - alpha);
  s.G = colour.G * alpha + s.G * (1 - alpha);
  s.B = colour.B * alpha + s.B * (1 - alpha);
  s.A = alpha + s.A * (1 - alpha);
}

void IconCanvas::Fill(const Grid& mask, Rgb colour, float alpha) {
  for (std::size_t i = 0; i < samples_.size(); ++i) Blend(i, colour, std::clamp(mask.Values[i], 0.0f, 1.0f) * alpha);
}

void IconCanvas::Solid(const Grid& mask, Rgb top, Rgb bottom, float outline) {
  if (outline > 0) {
    const Grid outside = interface::DistanceOutside(mask);
    Grid ring(mask.Width, mask.Height);
    for (std::size_t i = 0; i < ring.Values.size(); ++i) {
      ring.Values[i] = outside.Values[i] > 0 && outside.Values[i] <= outline * fine_ ? 1.0f : 0.0f;
    }
    Fill(ring, interface::Hex(0x16181D), 0.92f);
  }
  int first = mask.Height, last = -1;
  for (int y = 0; y < mask.Height; ++y) {
    for (int x = 0; x < mask.Width; ++x) {
      if (mask.At(x, y) < 0.5f) continue;
      first = std::min(first, y);
      last = std::max(last, y);
    }
  }
  const float span = static_cast<float>(std::max(1, last - first));
  for (int y = std::max(first, 0); y <= last; ++y) {
    const Rgb colour = interface::Mix(top, bottom, static_cast<float>(y - first) / span);
    for (int x = 0; x < mask.Width; ++x) Blend(mask.Index(x, y), colour, std::clamp(mask.At(x, y), 0.0f, 1.0f));
  }
}

std::vector<std::uint8_t> IconCanvas::ToRgba() const {
  std::vector<std::uint8_t> rgba(Grid::Size(side_, side_) * 4);
  const int fineSide = side_ * fine_;
  auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); };
  for (int y = 0; y < side_; ++y) {
    for (int x = 0; x < side_; ++x) {
      Sample sum;
      for (int fy = 0; fy < fine_; ++fy) {
        for (int fx = 0; fx < fine_; ++fx) {
          const Sample& s = samples_[static_cast<std::size_t>(y * fine_ + fy) * static_cast<std::size_t>(fineSide) +
                                     static_cast<std::size_t>(x * fine_ + fx)];
          sum.R += s.R;
          sum.G += s.G;
          sum.B += s.B;
          sum.A += s.A;
        }
      }
      const std::uint8_t alpha = byte(255 * sum.A / static_cast<float>(fine_ * fine_));
      if (alpha == 0) continue;
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(side_) + x) * 4];
      out[0] = byte(sum.R / sum.A);
      out[1] = byte(sum.G / sum.A);
      out[2] = byte(sum.B / sum.A);
      out[3] = alpha;
    }
  }
  return rgba;
}

std::vector<std::uint8_t> EncodePng(const IconCanvas& icon) {
  // The pictures are never empty, so the encoder has nothing to refuse.
  return *engine::EncodePngRgba(icon.Side(), icon.Side(), icon.ToRgba());
}

Grid Union(Grid a, const Grid& b) {
  for (std::size_t i = 0; i < a.Values.size(); ++i) a.Values[i] = std::max(a.Values[i], b.Values[i]);
  return a;
}

Grid Minus(Grid a, const Grid& b) {
  for (std::size_t i = 0; i < a.Values.size(); ++i) a.Values[i] = std::min(a.Values[i], 1 - b.Values[i]);
  return a;
}

Contour Mirrored(const Contour& contour, float side) {
  Contour mirrored;
  for (const Point p : contour) mirrored.push_back({side - p.X, p.Y});
  return mirrored;
}

Contour Turned(const Contour& contour, int quarterTurns, Point centre) {
  Contour turned;
  const int turns = ((quarterTurns % 4) + 4) % 4;
  for (const Point p : contour) {
    float dx = p.X - centre.X, dy = p.Y - centre.Y;
    for (int t = 0; t < turns; ++t) {
      const float x = -dy, y = dx;  // y grows downward: (1, 0) turns to (0, 1)
      dx = x;
      dy = y;
    }
    turned.push_back({centre.X + dx, centre.Y + dy});
  }
  return turned;
}

Contour Bar(Point a, Point b, float width) {
  const float dx = b.X - a.X, dy = b.Y - a.Y;
  const float length = std::hypot(dx, dy);
  if (length <= 0) return {};
  const float nx = -dy / length * width / 2, ny = dx / length * width / 2;
  return {{a.X + nx, a.Y + ny}, {b.X + nx, b.Y + ny}, {b.X - nx, b.Y - ny}, {a.X - nx, a.Y - ny}};
}

}  // namespace zandrel::data::icons
