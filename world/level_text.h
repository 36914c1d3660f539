// The text form of a level: how levels are written by hand and compared in diffs.
//
//   ; a comment (whole lines starting with ';')
//   zandrel-level: 1
//   bank: STANDARD.BNK
//   name: The Vault          texts are UTF-8 here, the code page in the ".lev";
//   author: Someone          "\\" is a backslash and "\xHH" a raw byte
//   size: 12 4 10            cells along x, y (up), z
//   start: 2 1 2             start cell
//   start_heading: 0         angle units, 32768 to a turn
//   exit: 9 1 7
//   outside: no              yes, no, or the stored byte
//   seed: 1234
//   light: 128               the light of every cell not listed below
//   light: 3 1 4 200         one cell's light: x y z value
//   cell # = 1               legend: one character per object code
//   sentry: 2816 768 1792 0  x y z heading, world units (one line per sentry)
//   music: 5 1 5 3           cell x y z, music number, into the next music slot
//   music 17: 5 1 5 3        ... into slot 17
//   cells: hex               optional: two hex digits per cell instead of the legend
//   layer 0                  then SizeZ rows (z = 0 first) of SizeX cells (x = 0 first)
//   ############
//
// Every layer 0 .. SizeY - 1 appears once.
#pragma once

#include <string>
#include <string_view>

#include "base/expected.h"
#include "world/level_map.h"

namespace zandrel::world {

// The text of a level; ParseLevelText of it gives back the same level field for field.
std::string DumpLevelText(const LevelMap& map);

// Builds a level from its text; a failure names the line: "line 12: ...".
base::Expected<LevelMap> ParseLevelText(std::string_view text);

}  // namespace zandrel::world
