#include "tools/data/interface_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zandrel::data::interface {
namespace {

constexpr int kLevels = 32;  // the game keeps 5 bits of each channel
constexpr int kColourKeys = kLevels * kLevels * kLevels;
constexpr int kPaletteColours = 255;  // index 0 stays transparent

int Channel(int key, int channel) { return key >> (10 - 5 * channel) & 31; }

// A 5-bit level as the palette stores it; the game's truncation gives the level back.
std::uint8_t Expand(int level) { return static_cast<std::uint8_t>((level * 255 + 15) / 31); }

int Level(float value, float offset) {
  return std::clamp(static_cast<int>(std::floor(Clamp01(value / 255.0f) * (kLevels - 1) + offset)), 0, kLevels - 1);
}

constexpr std::array<int, 16> kBayer = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

struct ColourCount {
  int Key;
  std::uint32_t Count;
};

struct ColourBox {
  std::size_t Begin, End;
  double Error;  // weighted squared spread over the three channels
  int Widest;    // the channel of largest spread
  std::array<double, 3> Mean;
};

ColourBox Measure(const std::vector<ColourCount>& colours, std::size_t begin, std::size_t end) {
  ColourBox box{begin, end, 0, 0, {0, 0, 0}};
  double total = 0;
  for (std::size_t i = begin; i < end; ++i) {
    total += colours[i].Count;
    for (int c = 0; c < 3; ++c) box.Mean[c] += static_cast<double>(colours[i].Count) * Channel(colours[i].Key, c);
  }
  for (double& mean : box.Mean) mean /= total;
  std::array<double, 3> spread{0, 0, 0};
  for (std::size_t i = begin; i < end; ++i) {
    for (int c = 0; c < 3; ++c) {
      const double d = Channel(colours[i].Key, c) - box.Mean[c];
      spread[c] += static_cast<double>(colours[i].Count) * d * d;
    }
  }
  box.Error = spread[0] + spread[1] + spread[2];
  box.Widest = static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
  return box;
}

// Median cut over the colours in use: the box of largest spread is halved by count along
// its widest channel until there are `wanted` boxes. Returns each colour's box.
std::vector<ColourBox> MedianCut(std::vector<ColourCount>& colours, std::size_t wanted) {
  std::vector<ColourBox> boxes{Measure(colours, 0, colours.size())};
  while (boxes.size() < wanted) {
    const auto worst = std::max_element(boxes.begin(), boxes.end(),
                                        [](const ColourBox& a, const ColourBox& b) { return a.Error < b.Error; });
    if (worst->Error <= 0) break;
    const ColourBox box = *worst;
    const int c = box.Widest;
    std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.Begin),
              colours.begin() + static_cast<std::ptrdiff_t>(box.End), [c](const ColourCount& a, const ColourCount& b) {
                const int ca = Channel(a.Key, c), cb = Channel(b.Key, c);
                return ca != cb ? ca < cb : a.Key < b.Key;
              });
    double total = 0;
    for (std::size_t i = box.Begin; i < box.End; ++i) total += colours[i].Count;
    double running = 0;
    std::size_t split = box.Begin + 1;
    for (std::size_t i = box.Begin; i + 1 < box.End; ++i) {
      running += colours[i].Count;
      split = i + 1;
      if (running * 2 >= total) break;
    }
    *worst = Measure(colours, box.Begin, split);
    boxes.push_back(Measure(colours, split, box.End));
  }
  return boxes;
}

// Felzenszwalb's squared distance transform of one line, in place.
void DistanceLine(std::vector<double>& f, std::vector<int>& v, std::vector<double>& z, std::vector<double>& d) {
  const int n = static_cast<int>(f.size());
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  int k = 0;
  v[0] = 0;
  z[0] = -kInfinity;
  z[1] = kInfinity;
  for (int q = 1; q < n; ++q) {
    auto meet = [&](int p) { return ((f[q] + double(q) * q) - (f[p] + double(p) * p)) / (2.0 * q - 2.0 * p); };
    double s = meet(v[k]);
    while (s <= z[k]) {
      --k;
      s = meet(v[k]);
    }
    ++k;
    v[k] = q;
    z[k] = s;
    z[k + 1] = kInfinity;
  }
  k = 0;
  for (int q = 0; q < n; ++q) {
    while (z[k + 1] < q) ++k;
    d[q] = (q - v[k]) * double(q - v[k]) + f[v[k]];
  }
  f = d;
}

Grid DistanceTo(const Grid& coverage, bool targetInside) {
  // Far enough for any picture, small enough that the sums above stay exact.
  constexpr double kFar = 1e12;
  const int w = coverage.Width, h = coverage.Height;
  std::vector<double> squared(coverage.Values.size());
  for (std::size_t i = 0; i < squared.size(); ++i) {
    squared[i] = (coverage.Values[i] >= 0.5f) == targetInside ? 0 : kFar;
  }
  const int longest = std::max(w, h);
  std::vector<double> line, d(static_cast<std::size_t>(longest));
  std::vector<int> v(static_cast<std::size_t>(longest));
  std::vector<double> z(static_cast<std::size_t>(longest) + 1);
  for (int x = 0; x < w; ++x) {
    line.resize(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) line[static_cast<std::size_t>(y)] = squared[coverage.Index(x, y)];
    d.resize(line.size());
    DistanceLine(line, v, z, d);
    for (int y = 0; y < h; ++y) squared[coverage.Index(x, y)] = line[static_cast<std::size_t>(y)];
  }
  for (int y = 0; y < h; ++y) {
    line.assign(squared.begin() + static_cast<std::ptrdiff_t>(coverage.Index(0, y)),
                squared.begin() + static_cast<std::ptrdiff_t>(coverage.Index(0, y)) + w);
    d.resize(line.size());
    DistanceLine(line, v, z, d);
    std::copy(line.begin(), line.end(), squared.begin() + static_cast<std::ptrdiff_t>(coverage.Index(0, y)));
  }
  Grid distance(w, h);
  for (std::size_t i = 0; i < squared.size(); ++i) distance.Values[i] = static_cast<float>(std::sqrt(squared[i]));
  return distance;
}

}  // namespace

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

Rgb Ramp(std::initializer_list<Stop> stops, float t) {
  const Stop* previous = stops.begin();
  if (t <= previous->At) return previous->Colour;
  for (const Stop* next = previous + 1; next != stops.end(); previous = next++) {
    if (t <= next->At) return Mix(previous->Colour, next->Colour, (t - previous->At) / (next->At - previous->At));
  }
  return previous->Colour;
}

float Grid::Sample(int x, int y) const { return At(std::clamp(x, 0, Width - 1), std::clamp(y, 0, Height - 1)); }

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), colours_(Grid::Size(width, height)), opaque_(Grid::Size(width, height), 0) {}

void Canvas::Set(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  colours_[Index(x, y)] = colour;
  opaque_[Index(x, y)] = 1;
}

void Canvas::Blend(int x, int y, Rgb colour, float alpha) {
  if (!Contains(x, y)) return;
  const Rgb under = Opaque(x, y) ? At(x, y) : Rgb{};
  Set(x, y, Mix(under, colour, Clamp01(alpha)));
}

void Canvas::Erase(int x, int y) {
  if (Contains(x, y)) opaque_[Index(x, y)] = 0;
}

Canvas Canvas::Downsample(int factor) const {
  Canvas small(width_ / factor, height_ / factor);
  for (int y = 0; y < small.height_; ++y) {
    for (int x = 0; x < small.width_; ++x) {
      Rgb sum;
      int count = 0;
      for (int sy = 0; sy < factor; ++sy) {
        for (int sx = 0; sx < factor; ++sx) {
          if (!Opaque(x * factor + sx, y * factor + sy)) continue;
          sum = sum + At(x * factor + sx, y * factor + sy);
          ++count;
        }
      }
      if (count * 2 >= factor * factor) small.Set(x, y, sum * (1.0f / static_cast<float>(count)));
    }
  }
  return small;
}

engine::PcxImage Canvas::ToPcx(bool dither) const {
  engine::PcxImage image;
  image.Width = width_;
  image.Height = height_;
  image.Indices.assign(colours_.size(), 0);
  std::vector<int> keys(colours_.size(), -1);
  std::vector<std::uint32_t> counts(kColourKeys, 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (!Opaque(x, y)) continue;
      const float offset =
          dither ? (static_cast<float>(kBayer[static_cast<std::size_t>((y & 3) * 4 + (x & 3))]) + 0.5f) / 16 : 0.5f;
      const Rgb c = At(x, y);
      const int key = Level(c.R, offset) << 10 | Level(c.G, offset) << 5 | Level(c.B, offset);
      keys[Index(x, y)] = key;
      ++counts[static_cast<std::size_t>(key)];
    }
  }
  std::vector<ColourCount> colours;
  for (int key = 0; key < kColourKeys; ++key) {
    if (counts[static_cast<std::size_t>(key)] != 0) colours.push_back({key, counts[static_cast<std::size_t>(key)]});
  }
  if (colours.empty()) return image;
  std::vector<std::uint8_t> indexOf(kColourKeys, 0);
  const std::vector<ColourBox> boxes = MedianCut(colours, kPaletteColours);
  for (std::size_t b = 0; b < boxes.size(); ++b) {
    const std::size_t index = b + 1;
    for (int c = 0; c < 3; ++c) {
      image.Palette[index * 3 + static_cast<std::size_t>(c)] =
          Expand(static_cast<int>(std::lround(boxes[b].Mean[static_cast<std::size_t>(c)])));
    }
    for (std::size_t i = boxes[b].Begin; i < boxes[b].End; ++i) {
      indexOf[static_cast<std::size_t>(colours[i].Key)] = static_cast<std::uint8_t>(index);
    }
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] >= 0) image.Indices[i] = indexOf[static_cast<std::size_t>(keys[i])];
  }
  return image;
}

Grid Coverage(int width, int height, const std::vector<Contour>& shape, int samples) {
  Grid coverage(width, height);
  const float weight = 1.0f / static_cast<float>(samples * samples);
  std::vector<float> crossings;
  for (int row = 0; row < height * samples; ++row) {
    const float y = (static_cast<float>(row) + 0.5f) / static_cast<float>(samples);
    crossings.clear();
    for (const Contour& contour : shape) {
      for (std::size_t i = 0; i < contour.size(); ++i) {
        const Point a = contour[i], b = contour[(i + 1) % contour.size()];
        if ((a.Y <= y) == (b.Y <= y)) continue;
        crossings.push_back(a.X + (y - a.Y) * (b.X - a.X) / (b.Y - a.Y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int first = std::max(0, static_cast<int>(std::ceil(crossings[i] * static_cast<float>(samples) - 0.5f)));
      const int last =
          std::min(width * samples, static_cast<int>(std::ceil(crossings[i + 1] * static_cast<float>(samples) - 0.5f)));
      for (int column = first; column < last; ++column) coverage.At(column / samples, row / samples) += weight;
    }
  }
  return coverage;
}

Grid DistanceInside(const Grid& coverage) { return DistanceTo(coverage, false); }
Grid DistanceOutside(const Grid& coverage) { return DistanceTo(coverage, true); }

float ValueNoise(float x, float y, std::uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
  const float top = Hash01(ix, iy, seed) * (1 - tx) + Hash01(ix + 1, iy, seed) * tx;
  const float bottom = Hash01(ix, iy + 1, seed) * (1 - tx) + Hash01(ix + 1, iy + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}

float Fractal(float x, float y, std::uint32_t seed, int octaves) {
  float sum = 0, amplitude = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += ValueNoise(x, y, seed + static_cast<std::uint32_t>(o) * 7919u) * amplitude;
    total += amplitude;
    amplitude *= 0.5f;
    x *= 2;
    y *= 2;
  }
  return sum / total;
}

}  // namespace zandrel::data::interface
