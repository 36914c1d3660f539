#include "world/level_check.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <optional>

namespace zandrel::world {
namespace {

constexpr int kCell = kCellSize;
constexpr int kStepUp = 256;       // walked up without jumping
constexpr int kJumpUp = 620;       // a jump's rise, with a little to spare
constexpr int kCrateClimb = 1100;  // a pushed block under the feet adds a cell
constexpr int kSpringRise = 3500;  // a spring's throw
constexpr int kMaxGap = 2;         // columns a running jump clears

// How the reachability sees one cell. The model is generous where the game offers a
// way (doors open, earth can be dug, blocks can be pushed) so that it never calls a
// solvable level unsolvable; it only catches levels with no way at all.
struct CellView {
  bool solid = false;    // a collision box one can stand on
  bool full = false;     // a solid whose top reaches the cell's top
  int top = 0;           // top of the solid's box, cell-local
  bool passable = true;  // a body can pass (air, pickups, ladders, doors, diggable earth)
  bool deadly = false;
  bool ladder = false;
  bool spring = false;
  bool pushable = false;
};

class Reachability {
 public:
  Reachability(const LevelMap& map, const ObjectTypes& types) : map_(map), types_(types) {}

  bool ExitReachable();

 private:
  struct Stand {
    int x, y, z;
    int feet;  // absolute height of the feet
  };

  CellView View(int x, int y, int z) const {
    CellView v;
    if (!map_.Contains(x, y, z)) return v;
    const ObjectType& t = types_[map_.GetCell(x, y, z)];
    if (t.Empty) return v;
    v.deadly = t.Death;
    v.ladder = t.Ladder;
    v.spring = t.Spring;
    v.pushable = t.CanPush;
    if (t.Collision && !t.Door) {
      v.solid = true;
      v.top = std::max({t.Bounds.Ymax1, t.Bounds.Ymax2, t.Bounds.Ymax3, t.Bounds.Ymax4});
      v.full = v.top >= 384;
      v.passable = t.Dig;  // earth can be dug away
    }
    return v;
  }

  // Where a body can stand in a column: on a solid below, on a low solid in the cell, or
  // on a ladder.
  std::vector<Stand> StandsIn(int x, int z) const {
    std::vector<Stand> stands;
    if (x < 0 || z < 0 || x >= map_.SizeX() || z >= map_.SizeZ()) return stands;
    for (int y = 0; y < map_.SizeY(); ++y) {
      const CellView here = View(x, y, z);
      if (here.deadly) continue;
      if (here.solid && !here.full) {
        if (Passable(x, y + 1, z)) stands.push_back({x, y, z, y * kCell + here.top + 1});
      } else if (!here.solid) {
        const CellView below = View(x, y - 1, z);
        if (y == 0 || here.ladder || below.ladder || (below.solid && below.full)) {
          stands.push_back({x, y, z,
                            y == 0 && !below.solid ? 0
                            : here.ladder          ? y * kCell
                                                   : (y - 1) * kCell + below.top + 1});
        }
      }
    }
    return stands;
  }

  // Whether a body can drop through the column from cell `from` down to cell `to`.
  bool ClearDrop(int x, int z, int from, int to) const {
    for (int y = from; y > to; --y) {
      const CellView v = View(x, y, z);
      if (!v.passable || v.deadly) return false;
    }
    return true;
  }

  bool Passable(int x, int y, int z) const { return View(x, y, z).passable; }

  const LevelMap& map_;
  const ObjectTypes& types_;
};

bool Reachability::ExitReachable() {
  std::vector<Stand> all;
  std::map<std::array<int, 3>, std::size_t> index;
  bool pushableSeen = false;
  std::deque<std::size_t> queue;
  auto visit = [&](const Stand& s) {
    const std::array<int, 3> key{s.x, s.y, s.z};
    if (index.count(key)) return;
    index[key] = all.size();
    all.push_back(s);
    queue.push_back(all.size() - 1);
  };

  // The body starts above the floor of its cell and falls onto what is below.
  for (int y = map_.StartY; y >= 0; --y) {
    const std::vector<Stand> column = StandsIn(map_.StartX, map_.StartZ);
    const auto it = std::find_if(column.begin(), column.end(), [y](const Stand& s) { return s.y == y; });
    if (it != column.end()) {
      visit(*it);
      break;
    }
    if (!Passable(map_.StartX, y, map_.StartZ) || View(map_.StartX, y, map_.StartZ).deadly) return false;
  }

  // Reachable pushed blocks widen what can be climbed; search again when one appears.
  for (int round = 0; round < 2; ++round) {
    while (!queue.empty()) {
      const Stand s = all[queue.front()];
      queue.pop_front();
      if (s.x == map_.ExitX && s.y == map_.ExitY && s.z == map_.ExitZ) return true;
      const bool headroom = Passable(s.x, s.y + 1, s.z);
      const CellView here = View(s.x, s.y, s.z);
      const int climb = pushableSeen ? kCrateClimb : (headroom ? kJumpUp : kStepUp);
      static constexpr std::array<std::array<int, 2>, 4> kDirections{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
      for (const auto& d : kDirections) {
        if (View(s.x + d[0], s.y, s.z + d[1]).pushable) pushableSeen = true;
        for (int k = 1; k <= kMaxGap + 1; ++k) {
          const int x = s.x + d[0] * k, z = s.z + d[1] * k;
          if (k > 1) {  // a running jump: the columns between must be clear at body height
            const int mx = x - d[0], mz = z - d[1];
            if (!headroom || !Passable(mx, s.y, mz) || !Passable(mx, s.y + 1, mz)) break;
          }
          for (const Stand& t : StandsIn(x, z)) {
            const int rise = t.feet - s.feet;
            if (k > 1 && rise > 100) continue;
            if (rise > 0 && rise > climb) continue;
            if (rise <= 0 && !(t.y <= s.y && ClearDrop(x, z, s.y, t.y))) continue;
            visit(t);
          }
        }
      }
      for (const Stand& t : StandsIn(s.x, s.z)) {  // up and down a ladder
        const bool alongLadder = (here.ladder || View(s.x, s.y - 1, s.z).ladder) && std::abs(t.y - s.y) == 1 &&
                                 (View(s.x, t.y, s.z).ladder || View(s.x, std::min(t.y, s.y), s.z).ladder);
        if (alongLadder) visit(t);
      }
      if (here.spring) {  // thrown up, the body can land on a column nearby too
        for (int dx = -kMaxGap; dx <= kMaxGap; ++dx) {
          for (int dz = -kMaxGap; dz <= kMaxGap; ++dz) {
            for (const Stand& t : StandsIn(s.x + dx, s.z + dz)) {
              if (t.feet > s.feet && t.feet - s.feet <= kSpringRise) visit(t);
            }
          }
        }
      }
    }
    if (!pushableSeen) break;
    for (std::size_t i = 0; i < all.size(); ++i) queue.push_back(i);  // again with the block's help
  }
  return false;
}

std::string Cell(int x, int y, int z) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) + ")";
}

}  // namespace

std::vector<std::string> CheckLevel(const LevelMap& map, const ObjectTypes& types) {
  std::vector<std::string> problems;
  const bool startInside = map.Contains(map.StartX, map.StartY, map.StartZ);
  const bool exitInside = map.Contains(map.ExitX, map.ExitY, map.ExitZ);
  if (!startInside)
    problems.push_back("the start cell " + Cell(map.StartX, map.StartY, map.StartZ) + " is outside the level");
  if (!exitInside)
    problems.push_back("the exit cell " + Cell(map.ExitX, map.ExitY, map.ExitZ) + " is outside the level");
  if (startInside) {
    const ObjectType& start = types[map.GetCell(map.StartX, map.StartY, map.StartZ)];
    if (!start.Empty && start.Collision && !start.Door) {
      problems.push_back("the start cell " + Cell(map.StartX, map.StartY, map.StartZ) + " is blocked by object " +
                         std::to_string(map.GetCell(map.StartX, map.StartY, map.StartZ)));
    }
  }
  std::array<std::size_t, kObjectTypeCount> counts{};
  for (std::uint8_t code : map.ObjectGrid()) ++counts[code];
  for (int code = 1; code < kObjectTypeCount; ++code) {
    if (counts[static_cast<std::size_t>(code)] != 0 && types[static_cast<std::size_t>(code)].Empty) {
      problems.push_back("object code " + std::to_string(code) + " (" +
                         std::to_string(counts[static_cast<std::size_t>(code)]) + " cells) is not defined by the bank");
    }
  }
  if (problems.empty() && !Reachability(map, types).ExitReachable()) {
    problems.push_back("no path leads from the start to the exit");
  }
  return problems;
}

}  // namespace zandrel::world
