#include "engine/palette.h"

namespace zandrel::engine {

std::uint8_t NearestColour(const Palette& palette, int r, int g, int b, int first, int last) {
  int best = first;
  long bestDistance = -1;
  for (int i = first; i <= last; ++i) {
    const long dr = palette.Red[static_cast<std::size_t>(i)] - r;
    const long dg = palette.Green[static_cast<std::size_t>(i)] - g;
    const long db = palette.Blue[static_cast<std::size_t>(i)] - b;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance <= bestDistance) {  // "<=": the higher index wins ties
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace zandrel::engine
