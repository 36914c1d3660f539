#include "tools/data/textures_paint.h"

namespace zandrel::data::textures {
namespace {

int WrapIndex(int i, int period) { return ((i % period) + period) % period; }

float Fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }

float Gradient(int ix, int iy, int cellsX, int cellsY, std::uint32_t seed, float fx, float fy) {
  const float angle = Hash(WrapIndex(ix, cellsX), WrapIndex(iy, cellsY), seed) * (2 * kPi / 4294967296.0f);
  return std::cos(angle) * fx + std::sin(angle) * fy;
}

}  // namespace

float Noise(float x, float y, int cellsX, int cellsY, std::uint32_t seed) {
  const float u = x * cellsX / kTextureSide, v = y * cellsY / kTextureSide;
  const int ix = static_cast<int>(std::floor(u)), iy = static_cast<int>(std::floor(v));
  const float fx = u - ix, fy = v - iy;
  const float n00 = Gradient(ix, iy, cellsX, cellsY, seed, fx, fy);
  const float n10 = Gradient(ix + 1, iy, cellsX, cellsY, seed, fx - 1, fy);
  const float n01 = Gradient(ix, iy + 1, cellsX, cellsY, seed, fx, fy - 1);
  const float n11 = Gradient(ix + 1, iy + 1, cellsX, cellsY, seed, fx - 1, fy - 1);
  const float sx = Fade(fx), sy = Fade(fy);
  // Two-dimensional gradient noise stays within about +-0.7.
  return 1.4f * Mix(Mix(n00, n10, sx), Mix(n01, n11, sx), sy);
}

float Fbm(float x, float y, int cells, int octaves, std::uint32_t seed, float gain) {
  float sum = 0, amplitude = 1, total = 0;
  for (int octave = 0; octave < octaves && cells <= kTextureSide; ++octave) {
    sum += amplitude * Noise(x, y, cells, cells, seed + 977u * octave);
    total += amplitude;
    amplitude *= gain;
    cells *= 2;
  }
  return sum / total;
}

CellSample Cells(float x, float y, int grid, std::uint32_t seed, float jitter) {
  return Cells(x, y, grid, grid, seed, jitter);
}

CellSample Cells(float x, float y, int gridX, int gridY, std::uint32_t seed, float jitter) {
  const float sizeX = static_cast<float>(kTextureSide) / gridX;
  const float sizeY = static_cast<float>(kTextureSide) / gridY;
  // Distances are measured with y squeezed so that long cells behave like round ones.
  const float squeeze = sizeX / sizeY;
  const int ix = static_cast<int>(std::floor(x / sizeX)), iy = static_cast<int>(std::floor(y / sizeY));
  CellSample best;
  best.F1 = best.F2 = 1e9f;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const int cx = ix + dx, cy = iy + dy;
      const int wx = WrapIndex(cx, gridX), wy = WrapIndex(cy, gridY);
      const float px = (cx + 0.5f + jitter * (Hash01(wx, wy, seed) - 0.5f)) * sizeX;
      const float py = (cy + 0.5f + jitter * (Hash01(wx, wy, seed + 1) - 0.5f)) * sizeY;
      const float d = std::hypot(x - px, (y - py) * squeeze);
      if (d < best.F1) {
        best.F2 = best.F1;
        best.F1 = d;
        best.Id = Hash(wx, wy, seed + 2);
        best.Dx = x - px;
        best.Dy = y - py;
      } else if (d < best.F2) {
        best.F2 = d;
      }
    }
  }
  return best;
}

float Bayer(int x, int y) {
  static constexpr int kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (kMatrix[WrapPixel(y) & 3][WrapPixel(x) & 3] + 0.5f) / 16.0f;
}

void Canvas::Fill(Tone tone) {
  tones_.fill(tone);
  opaque_.fill(true);
}

void Canvas::Cover(int x, int y, Tone tone, float coverage) {
  if (coverage >= 1) {
    Set(x, y, tone);
    return;
  }
  const int i = Offset(x, y);
  // Against see-through pixels a stippled edge would show as a fringe: cut at half.
  if (!opaque_[i]) {
    if (coverage >= 0.5f) Set(x, y, tone);
    return;
  }
  const bool take = coverage > Bayer(x, y);
  Tone& old = tones_[i];
  old.Level = Mix(old.Level, tone.Level, coverage);
  if (take) old.RampOf = tone.RampOf;
}

engine::PcxImage Canvas::ToImage(float dither) const {
  engine::PcxImage image;
  image.Width = image.Height = kTextureSide;
  image.Palette = TexturePalette();
  image.Indices.resize(kTextureSide * kTextureSide);
  for (int y = 0; y < kTextureSide; ++y) {
    for (int x = 0; x < kTextureSide; ++x) {
      const int i = Offset(x, y);
      if (!opaque_[i]) {
        image.Indices[i] = 0;
        continue;
      }
      const Tone& tone = tones_[i];
      const float dithered = tone.Level + 0.5f + (Bayer(x, y) - 0.5f) * dither;
      int level = std::clamp(static_cast<int>(std::floor(dithered)), 0, kRampLength - 1);
      if (tone.RampOf == Ramp::Grey && level == 0) level = 1;
      image.Indices[i] = PaletteIndex(tone.RampOf, level);
    }
  }
  return image;
}

float SegmentDistance(float x, float y, float ax, float ay, float bx, float by, float r) {
  const float abx = bx - ax, aby = by - ay;
  const float lengthSquared = abx * abx + aby * aby;
  const float t = lengthSquared > 0 ? Clamp01(((x - ax) * abx + (y - ay) * aby) / lengthSquared) : 0;
  return std::hypot(x - ax - t * abx, y - ay - t * aby) - r;
}

float BoxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float corner) {
  const float qx = std::abs(x - cx) - (halfW - corner), qy = std::abs(y - cy) - (halfH - corner);
  return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - corner;
}

float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry) {
  const float ux = (x - cx) / rx, uy = (y - cy) / ry;
  const float k = std::hypot(ux, uy);
  const float gradient = std::hypot(ux / rx, uy / ry);
  if (gradient < 1e-6f) return -std::min(rx, ry);
  return k * (k - 1) / gradient;
}

float BevelLight(float left, float right, float top, float bottom, float width) {
  const float nearest = std::min({left, right, top, bottom});
  if (nearest >= width) return 0;
  const float strength = 1 - nearest / width;
  if (nearest == top) return strength;
  if (nearest == left) return 0.7f * strength;
  if (nearest == right) return -0.7f * strength;
  return -strength;
}

}  // namespace zandrel::data::textures
