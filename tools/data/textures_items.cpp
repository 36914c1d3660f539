// Doors, switches and things to pick up.
#include <functional>

#include "tools/data/textures_images.h"

namespace zandrel::data::textures {
namespace {

// A five-pointed star of outer radius r, a point upward; inner radius factor `inner`.
float StarDistance(float x, float y, float cx, float cy, float r, float inner) {
  constexpr float k1x = 0.809017f, k1y = -0.587785f;
  constexpr float k2x = -k1x, k2y = k1y;
  float px = std::abs(x - cx), py = cy - y;
  float d = std::max(k1x * px + k1y * py, 0.0f);
  px -= 2 * d * k1x;
  py -= 2 * d * k1y;
  d = std::max(k2x * px + k2y * py, 0.0f);
  px -= 2 * d * k2x;
  py -= 2 * d * k2y;
  px = std::abs(px);
  py -= r;
  const float bax = inner * -k1y, bay = inner * k1x - 1;
  const float h = std::clamp((px * bax + py * bay) / (bax * bax + bay * bay), 0.0f, r);
  const float side = py * bax - px * bay;
  return std::hypot(px - bax * h, py - bay * h) * (side < 0 ? -1.0f : 1.0f);
}

// A heart with its tip at (cx, tipY), about 1.1 x `size` pixels tall.
float HeartDistance(float x, float y, float cx, float tipY, float size) {
  const float px = std::abs(x - cx) / size, py = (tipY - y) / size;
  if (px + py > 1) return (std::hypot(px - 0.25f, py - 0.75f) - 0.353553f) * size;
  const float m = 0.5f * std::max(px + py, 0.0f);
  const float d = std::sqrt(std::min((px * px + (py - 1) * (py - 1)), (px - m) * (px - m) + (py - m) * (py - m)));
  return d * (px - py < 0 ? -1.0f : 1.0f) * size;
}

// A key lying left to right: a ring bow, a shaft and two teeth hanging below; `s` is
// the scale (1 gives a key about 43 pixels long).
float KeyDistance(float x, float y, float cx, float cy, float s) {
  const float bow =
      std::max(CircleDistance(x, y, cx - 15 * s, cy, 9 * s), -CircleDistance(x, y, cx - 15 * s, cy, 4 * s));
  const float shaft = BoxDistance(x, y, cx + 5 * s, cy, 13 * s, 2.6f * s);
  const float tooth1 = BoxDistance(x, y, cx + 11 * s, cy + 5 * s, 2.2f * s, 4 * s);
  const float tooth2 = BoxDistance(x, y, cx + 16.5f * s, cy + 6 * s, 2.2f * s, 5 * s);
  return std::min({bow, shaft, tooth1, tooth2});
}

using DistanceFn = std::function<float(float, float)>;

// An embossed shape: a soft shadow down and to the right, then the shape, lit on the
// upper left of its edge.
void Emboss(Canvas& canvas, const DistanceFn& distance, Tone face, float x0, float y0, float x1, float y1,
            float shadowLevel) {
  DrawShape(
      canvas, x0, y0, x1 + 2, y1 + 2, [&](float x, float y) { return distance(x - 1.5f, y - 1.5f); },
      [&](float x, float y, float) {
        Tone t = canvas.At(static_cast<int>(x), static_cast<int>(y));
        t.Level = std::min(t.Level, shadowLevel);
        return t;
      });
  DrawShape(canvas, x0, y0, x1, y1, distance, [&](float x, float y, float d) {
    // Near the outline the surface slopes down and away; the distance field's slope gives
    // which way, and the rim is bright where that faces the light (up and left).
    const float gx = distance(x + 0.5f, y) - distance(x - 0.5f, y);
    const float gy = distance(x, y + 0.5f) - distance(x, y - 0.5f);
    const float rim = 1 - SmoothStep(0, 2.5f, -d);
    return Tone{face.RampOf, face.Level + 3.5f * rim * (gx * -0.6f + gy * -0.8f)};
  });
}

// A metal door: a frame, two straps with rivets and a round plate in the middle on
// which `emblem` is drawn.
struct DoorStyle {
  Ramp Body;
  float BodyLevel;
  Ramp Trim;
  float TrimLevel;
};

Canvas Door(const DoorStyle& style, const std::function<void(Canvas&)>& emblem) {
  Canvas canvas;
  canvas.Paint([&](float x, float y) {
    const float edge = std::min({x, 128 - x, y, 128 - y});
    if (edge < 8) {
      const float light = BevelLight(x, 128 - x, y, 128 - y, 8) * 3 + (edge > 6.5f ? -3.0f : 0.0f);
      return Tone{style.Trim, style.TrimLevel + light + 0.6f * Noise(x, y, 32, 32, 2001)};
    }
    const float brushed = Noise(x, y, 64, 2, 2002) * 0.6f + Noise(x, y, 8, 4, 2003) * 0.8f;
    // Vertical boards of sheet metal, each slightly bulging.
    const float board = std::fmod(x - 8, 28.0f);
    const float bulge = std::cos((board / 28 - 0.5f) * kPi) - 0.5f;
    const float seam = board < 1.2f ? -3.0f : 0.0f;
    const float shadowBelowFrame = y < 11 ? -(11 - y) * 0.6f : 0.0f;
    return Tone{style.Body, style.BodyLevel + brushed + 1.2f * bulge + seam + shadowBelowFrame};
  });
  for (const float strapY : {26.0f, 102.0f}) {
    DrawShape(
        canvas, 8, strapY - 8, 120, strapY + 8,
        [&](float x, float y) { return BoxDistance(x, y, 64, strapY + 2, 56, 6); },
        [&](float x, float y, float) {
          Tone t = canvas.At(static_cast<int>(x), static_cast<int>(y));
          t.Level -= 3;
          return t;
        });
    DrawShape(
        canvas, 8, strapY - 8, 120, strapY + 8, [&](float x, float y) { return BoxDistance(x, y, 64, strapY, 56, 6); },
        [&](float x, float y, float) {
          const float light = BevelLight(99, 99, y - (strapY - 6), strapY + 6 - y, 3) * 3;
          return Tone{style.Trim, style.TrimLevel + light + 0.5f * Noise(x, y, 32, 8, 2004)};
        });
    for (float rx = 16; rx < 120; rx += 16) {
      DrawShape(
          canvas, rx - 3, strapY - 3, rx + 3, strapY + 3,
          [&](float x, float y) { return CircleDistance(x, y, rx, strapY, 2.2f); },
          [&](float x, float y, float) {
            return Tone{style.Trim, style.TrimLevel + 1 + 5 * DomeLight(x - rx, y - strapY, 2.5f)};
          });
    }
  }
  // The emblem plate, sunk into the door: dark ring, then a bevelled disc.
  DrawShape(
      canvas, 34, 34, 94, 94, [](float x, float y) { return CircleDistance(x, y, 64, 64, 27); },
      [&](float, float, float) {
        return Tone{style.Body, 2};
      });
  DrawShape(
      canvas, 34, 34, 94, 94, [](float x, float y) { return CircleDistance(x, y, 64, 64, 25); },
      [&](float x, float y, float d) {
        const float rim = d > -3 ? DomeLight(x - 64, y - 64, 26) * 3 : 0.0f;
        return Tone{style.Trim, style.TrimLevel - 1 + rim + 0.5f * Noise(x, y, 16, 16, 2005)};
      });
  emblem(canvas);
  return canvas;
}

}  // namespace

Canvas PaintGold() {
  // Polished cast gold: light sweeping from the upper left, a sharp diagonal reflection
  // with a softer one beside it, and a raised rim all round.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float sweep = 1 - (x + y) / 256;
    const float across = (x + y) * 0.7071f + 3 * Noise(x, y, 2, 2, 2101);
    const float sharp = std::exp(-(across - 62) * (across - 62) / 18);
    const float soft = std::exp(-(across - 84) * (across - 84) / 90);
    const float sheen = Noise(x, y, 64, 8, 2102) * 0.3f;
    const float rim = BevelLight(x, 128 - x, y, 128 - y, 5) * 3;
    return Tone{Ramp::Gold, 7.5f + 3 * sweep + 5 * sharp + 2.5f * soft + sheen + rim};
  });
  return canvas;
}

Canvas PaintDoorGold() {
  return Door({Ramp::Gold, 9, Ramp::Slate, 7}, [](Canvas& canvas) {
    // A gold coin with a raised rim and a star.
    DrawShape(
        canvas, 44, 44, 84, 84, [](float x, float y) { return CircleDistance(x, y, 64, 64, 18); },
        [](float x, float y, float d) {
          const float rim = d > -3 ? 2.5f * DomeLight(x - 64, y - 64, 18) : -0.5f;
          return Tone{Ramp::Gold, 10.5f + rim};
        });
    Emboss(
        canvas, [](float x, float y) { return StarDistance(x, y, 64, 65, 11, 0.45f); }, {Ramp::Gold, 12}, 50, 50, 78,
        78, 7);
  });
}

Canvas PaintDoorLever() {
  return Door({Ramp::Steel, 8, Ramp::Slate, 8}, [](Canvas& canvas) {
    // A lever in its slot: base, shaft leaning right, red knob.
    DrawShape(
        canvas, 48, 74, 80, 86, [](float x, float y) { return BoxDistance(x, y, 64, 80, 13, 4, 2); },
        [](float x, float y, float) {
          return Tone{Ramp::Slate, 4 + 2 * BevelLight(x - 51, 77 - x, y - 76, 84 - y, 2)};
        });
    Emboss(
        canvas, [](float x, float y) { return SegmentDistance(x, y, 64, 78, 75, 52, 2.6f); }, {Ramp::Steel, 11}, 58, 48,
        80, 82, 3);
    Emboss(
        canvas, [](float x, float y) { return CircleDistance(x, y, 76, 50, 6); }, {Ramp::Lava, 6}, 68, 42, 84, 58, 3);
    DrawShape(
        canvas, 70, 44, 80, 54, [](float x, float y) { return CircleDistance(x, y, 74, 48, 2); },
        [](float, float, float) {
          return Tone{Ramp::Lava, 11};
        });
  });
}

Canvas PaintDoorKey() {
  return Door({Ramp::Slate, 7, Ramp::Purple, 8}, [](Canvas& canvas) {
    Emboss(
        canvas, [](float x, float y) { return KeyDistance(x, y, 66, 62, 0.9f); }, {Ramp::Gold, 11}, 40, 48, 86, 76, 4);
  });
}

Canvas PaintKeyBlock() {
  // A purple block with a wide bevel and a raised key on its face.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float bevel = BevelLight(x, 128 - x, y, 128 - y, 12);
    const float inFace = std::min({x, 128 - x, y, 128 - y}) >= 12 ? 1.0f : 0.0f;
    const float grain = Fbm(x, y, 8, 3, 2201);
    const float groove = std::abs(std::min({x, 128 - x, y, 128 - y}) - 12) < 1 ? -2.5f : 0.0f;
    return Tone{Ramp::Purple, 8.5f + 3 * bevel + 0.8f * grain + groove + 0.5f * inFace};
  });
  Emboss(
      canvas, [](float x, float y) { return KeyDistance(x, y, 66, 60, 1.35f); }, {Ramp::Purple, 12.5f}, 30, 40, 100, 82,
      4);
  return canvas;
}

Canvas PaintSensor() {
  // A stone plate with a ring that glows purple, its light spilling onto the stone.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float bevel = BevelLight(x, 128 - x, y, 128 - y, 6);
    const float grain = Fbm(x, y, 8, 4, 2301);
    const Tone stone{Ramp::Stone, 8.5f + 2.5f * bevel + 1.4f * grain};
    const float r = std::hypot(x - 64, y - 64);
    const float ring = std::abs(r - 36);
    const float glow = std::exp(-ring * ring / 40);
    const float core = 1 - SmoothStep(2.5f, 4, ring);
    const Tone light{Ramp::Purple, 6 + 7 * glow + 3 * core + 0.8f * grain};
    return BlendTones(stone, light, SmoothStep(0.25f, 0.45f, glow), x, y);
  });
  return canvas;
}

Canvas PaintSpring() {
  // Turns of a steel coil: a thick wire rising one turn every 32 pixels, round in
  // section, over the dark inside of the coil.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float along = Wrap(y - x * 0.25f);
    const float inTurn = std::fmod(along, 32.0f) - 16;
    const float wire = std::abs(inTurn) / 11;  // 0 at the middle of the wire, 1 at its edge
    if (wire >= 1) return Tone{Ramp::Slate, 2.5f + 0.8f * Noise(x, y, 16, 16, 2401)};
    const float ny = inTurn / 11;
    const float nz = std::sqrt(1 - ny * ny);
    const float light = Lighting(0.24f * nz, ny, nz);
    const float glint = std::pow(Clamp01(light), 12.0f);
    return Tone{Ramp::Steel, 6 + 6 * light + 4 * glint - 3 * SmoothStep(0.8f, 1, wire)};
  });
  return canvas;
}

Canvas PaintTimer() {
  // An hourglass: wooden caps and posts, glass bulbs with sand running from the upper
  // into the lower one; the rest is see-through.
  Canvas canvas;
  canvas.MakeAllHoles();
  const auto halfWidth = [](float y) {
    const float t = std::abs(y - 64) / 46;
    return 3.5f + 30 * std::sin(std::min(t, 1.0f) * kPi * 0.58f);
  };
  // Sand: a heap in the lower bulb, a shrinking cone in the upper, a thin stream.
  DrawShape(
      canvas, 20, 18, 108, 110,
      [&](float x, float y) {
        const float inside = std::abs(x - 64) - (halfWidth(y) - 2.5f);
        const float heap = 84 + 0.012f * (x - 64) * (x - 64) - y;
        const float upper = std::max(y - 58, 40 + 0.02f * (x - 64) * (x - 64) - y);
        const float stream = std::max(std::abs(x - 64) - 0.8f, std::max(60 - y, y - 108));
        const float sand =
            std::min({std::max(heap, y > 64 ? -99.0f : 99.0f), std::max(-upper, y < 64 ? -99.0f : 99.0f), stream});
        return std::max(inside, sand);
      },
      [](float x, float y, float) {
        return Tone{Ramp::Sand, 9 + 2 * DomeLight(x - 64, y - 96, 40) +
                                    0.8f * (Hash01(static_cast<int>(x), static_cast<int>(y), 2501) - 0.5f)};
      });
  // The glass: a bright outline and a streak of reflection on the left of each bulb.
  DrawShape(
      canvas, 20, 18, 108, 110, [&](float x, float y) { return std::abs(std::abs(x - 64) - halfWidth(y) + 1) - 1.2f; },
      [](float x, float, float) {
        return Tone{Ramp::Glow, x < 64 ? 12.0f : 9.0f};
      });
  for (const float cy : {38.0f, 90.0f}) {
    DrawShape(
        canvas, 30, cy - 14, 50, cy + 14,
        [&](float x, float y) {
          return SegmentDistance(x, y, 64 - halfWidth(cy) + 7, cy - 10, 64 - halfWidth(cy) + 6, cy + 10, 1.3f);
        },
        [](float, float, float) {
          return Tone{Ramp::Light, 13};
        });
  }
  // Caps and posts of turned wood.
  for (const float cy : {12.0f, 116.0f}) {
    DrawShape(
        canvas, 18, cy - 8, 110, cy + 8, [&](float x, float y) { return BoxDistance(x, y, 64, cy, 44, 6, 3); },
        [&](float x, float y, float) {
          return Tone{Ramp::Wood, 8 + 3 * std::cos((y - cy + 6) / 12 * kPi) + 0.8f * Noise(x, y, 32, 4, 2502)};
        });
  }
  for (const float px : {25.0f, 103.0f}) {
    DrawShape(
        canvas, px - 4, 18, px + 4, 110, [&](float x, float y) { return BoxDistance(x, y, px, 64, 3, 46); },
        [&](float x, float, float) {
          return Tone{Ramp::Wood, 7 + 3 * -std::sin((x - px) / 3 * kPi / 2)};
        });
  }
  return canvas;
}

namespace {

// Capital letters and digits of "1UP" drawn with round strokes; (x, y) is the top left
// of a glyph cell 12 wide and 20 high.
float OneUpDistance(float px, float py, float left, float top, float r) {
  struct Stroke {
    float X0, Y0, X1, Y1;
  };
  constexpr Stroke kStrokes[] = {
      // 1
      {6, 0, 6, 20},
      {6, 0, 2, 4},
      {2, 20, 10, 20},
      // U
      {16, 0, 16, 14},
      {26, 0, 26, 14},
      {16, 14, 18, 19},
      {18, 19, 24, 19},
      {24, 19, 26, 14},
      // P
      {32, 0, 32, 20},
      {32, 0, 39, 0},
      {39, 0, 42, 3},
      {42, 3, 42, 7},
      {42, 7, 39, 10},
      {39, 10, 32, 10},
  };
  float d = 1e9f;
  for (const Stroke& s : kStrokes) {
    d = std::min(d, SegmentDistance(px, py, left + s.X0, top + s.Y0, left + s.X1, top + s.Y1, r));
  }
  return d;
}

}  // namespace

Canvas PaintOneUp() {
  // A red heart on a soft blue glow, "1UP" written across it.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float r = std::hypot(x - 64, y - 60) / 90;
    return Tone{Ramp::Water, 12 - 6 * r + 0.5f * Noise(x, y, 8, 8, 2601)};
  });
  DrawShape(
      canvas, 8, 10, 122, 122, [](float x, float y) { return HeartDistance(x - 2, y - 2, 64, 112, 96); },
      [](float, float, float) {
        return Tone{Ramp::Water, 4};
      });
  DrawShape(
      canvas, 8, 10, 120, 120, [](float x, float y) { return HeartDistance(x, y, 64, 112, 96); },
      [](float x, float y, float d) {
        // Rounded like a cushion: light from the upper left, a darker rim.
        const float depth = Clamp01(-d / 20);
        const float light = DomeLight((x - 50) * 0.8f, (y - 40) * 0.8f, 70);
        return Tone{Ramp::Lava, 3.5f + 2.5f * depth + 3 * light};
      });
  DrawShape(
      canvas, 34, 24, 52, 40, [](float x, float y) { return EllipseDistance(x, y, 43, 32, 7, 4.5f); },
      [](float, float, float) {
        return Tone{Ramp::Lava, 10};
      });
  constexpr float kLeft = 42, kTop = 52;
  DrawShape(
      canvas, kLeft - 5, kTop - 5, kLeft + 50, kTop + 27,
      [](float x, float y) { return OneUpDistance(x, y, kLeft, kTop, 4.8f); },
      [](float, float, float) {
        return Tone{Ramp::Brick, 1};
      });
  DrawShape(
      canvas, kLeft - 5, kTop - 5, kLeft + 50, kTop + 27,
      [](float x, float y) { return OneUpDistance(x, y, kLeft, kTop, 2.8f); },
      [](float, float y, float) {
        return Tone{Ramp::Marble, 15 - 0.15f * (y - kTop)};
      });
  return canvas;
}

Canvas PaintLever() {
  // A steel mechanism plate with a yellow and black warning border and four bolts.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    const float edge = std::min({x, 128 - x, y, 128 - y});
    if (edge < 14) {
      const bool yellow = std::fmod(Wrap(x + y), 22.0f) < 11;
      const float light = BevelLight(x, 128 - x, y, 128 - y, 14) * 1.5f + (edge > 12.8f ? -3.0f : 0.0f);
      return yellow ? Tone{Ramp::Gold, 10 + light} : Tone{Ramp::Slate, 3 + light};
    }
    const float brushed = Noise(x, y, 2, 64, 2701) * 0.7f + Noise(x, y, 4, 128, 2702) * 0.4f;
    return Tone{Ramp::Steel,
                8 + brushed + 1.2f * Fbm(x, y, 4, 3, 2703) + BevelLight(x - 14, 114 - x, y - 14, 114 - y, 3) * 2};
  });
  for (const float cx : {24.0f, 104.0f}) {
    for (const float cy : {24.0f, 104.0f}) {
      DrawShape(
          canvas, cx - 5, cy - 5, cx + 5, cy + 5,
          [&](float x, float y) {
            // A hexagonal bolt head.
            const float ax = std::abs(x - cx), ay = std::abs(y - cy);
            return std::max(ax * 0.866f + ay * 0.5f, ay) - 4;
          },
          [&](float x, float y, float) {
            return Tone{Ramp::Steel, 9 + 3 * DomeLight(x - cx, y - cy, 6)};
          });
    }
  }
  return canvas;
}

Canvas PaintLamp() {
  // A brass lantern: a ridged cap, a warm glowing glass between four brass bars, and a
  // base; it repeats left to right round the lamp.
  Canvas canvas;
  canvas.Paint([](float x, float y) {
    if (y < 22 || y > 106) {
      const float top = y < 22 ? y : y - 106;
      const float ridge = std::cos(top / 22 * kPi * 3);
      const float shine = std::pow(0.5f + 0.5f * std::cos(2 * kPi * (x - 40) / kTextureSide * 2), 4.0f);
      return Tone{Ramp::Gold, 6.5f + 2 * ridge + 4 * shine};
    }
    const float bar = std::abs(std::fmod(x, 32.0f) - 16);  // bars at 0, 32, 64, 96
    if (bar > 12.5f) {
      const float round = std::cos((16 - bar) / 3.5f * kPi / 2);
      return Tone{Ramp::Gold, 5 + 5 * round};
    }
    const float dy = (y - 64) / 44, dx = bar / 13;
    const float glow = 1 - 0.8f * dy * dy - 0.5f * dx * dx;
    const Tone warm{Ramp::Gold, 9 + 6 * glow};
    const Tone hot{Ramp::Glow, 12.5f + 3 * glow};
    return BlendTones(warm, hot, SmoothStep(0.6f, 0.66f, glow), x, y);
  });
  return canvas;
}

Canvas PaintFlag() {
  // A blue banner, gold-trimmed top and bottom, with a gold star in a ring; the cloth
  // falls in folds.
  Canvas canvas;
  const auto fold = [](float x) { return std::sin(2 * kPi * x / kTextureSide * 3); };
  canvas.Paint([&](float x, float y) {
    const float shade = 1.5f * fold(x) + 0.4f * Noise(x, y, 32, 64, 2801);
    const float edge = std::min(y, 128 - y);
    if (edge < 10) {
      const float braid = std::abs(std::fmod(x + y, 8.0f) - 4) < 1 ? -1.5f : 0.0f;
      return Tone{Ramp::Gold, 9 + shade + braid + (edge > 8.8f ? -3.0f : 0.0f)};
    }
    return Tone{Ramp::Water, 6.5f + shade + 0.5f * Noise(x, y, 64, 64, 2802)};
  });
  DrawShape(
      canvas, 30, 30, 98, 98, [](float x, float y) { return std::abs(CircleDistance(x, y, 64, 64, 28)) - 2.5f; },
      [&](float x, float, float) {
        return Tone{Ramp::Gold, 10 + 1.5f * fold(x)};
      });
  DrawShape(
      canvas, 40, 40, 88, 88, [](float x, float y) { return StarDistance(x, y, 64, 66, 20, 0.45f); },
      [&](float x, float, float) {
        return Tone{Ramp::Gold, 11 + 1.5f * fold(x)};
      });
  return canvas;
}

}  // namespace zandrel::data::textures
