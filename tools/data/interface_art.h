// What the interface pictures share: bevelled shapes lit from the upper left, the gold
// and stone they are made of, sparkles, and the pictures themselves.
#pragma once

#include <vector>

#include "tools/data/interface_canvas.h"

namespace zandrel::data::interface {

// The light on a shape whose surface rises from its edge to a flat top `bevel` pixels in,
// lit from the upper left: Light is 1 on the flat top, more on slopes that face the light
// and less on those that face away (0 outside); Shine is the extra glint of the slopes
// that face it squarely.
struct BevelLighting {
  Grid Light, Shine;
};
BevelLighting LightBevel(const Grid& coverage, float bevel);

// Polished gold under a light of 0 (black-brown) to 1 (full gold) and up to 1.6 (pale).
Rgb Gold(float light);

// Adds a four-pointed glint centred on (x, y), its rays `size` pixels long.
void AddSparkle(Canvas& canvas, float x, float y, float size);

// Every pixel of `shape` laid over the canvas with `paint(x, y)`, weighted by coverage.
template <typename Paint>
void Fill(Canvas& canvas, const Grid& shape, Paint paint) {
  for (int y = 0; y < shape.Height; ++y) {
    for (int x = 0; x < shape.Width; ++x) {
      const float cover = shape.At(x, y);
      if (cover > 0) canvas.Blend(x, y, paint(x, y), cover);
    }
  }
}

// Contours of simple figures.
Contour Rectangle(float x0, float y0, float x1, float y1);
Contour Ellipse(float cx, float cy, float rx, float ry, int steps = 48);
Contour Polygon(std::initializer_list<Point> points);
// An arc of a ring between two angles (radians, y downward), as one contour.
Contour Arc(float cx, float cy, float inner, float outer, float from, float to);

// The pictures of the interface.
Canvas MakeLogo();                // title logo, every pixel drawn
Canvas MakeTitle();               // vault arch around a transparent centre
Canvas MakeMenu();                // the in-game menu panel
Canvas MakeLobby();               // the network lobby's panel
Canvas MakeMarker();              // the menu's selection arrow
Canvas MakeBar();                 // the bottom bar, every pixel drawn
Canvas MakeRadar();               // the radar scope
Canvas MakeRadarDot(bool chase);  // a sentry on the radar, calm or chasing

}  // namespace zandrel::data::interface
