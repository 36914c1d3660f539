#include <string_view>

#include "engine/pcx.h"
#include "tools/data/generators.h"
#include "tools/data/interface_art.h"
#include "tools/data/interface_fonts.h"

namespace zandrel::data {

using namespace interface;

void GenerateInterface(DataTree& tree) {
  auto add = [&tree](std::string_view path, const Canvas& picture) {
    tree.Add(path, engine::EncodePcx(picture.ToPcx()));
  };
  add("INTERF/ZANDREL.PCX", MakeLogo());
  add("INTERF/TITLE.PCX", MakeTitle());
  add("INTERF/OPTION.PCX", MakeMenu());
  add("INTERF/SELECT.PCX", MakeMarker());
  add("INTERF/LOBBY.PCX", MakeLobby());
  add("INTERF/BARRE.PCX", MakeBar());
  add("INTERF/RADAR.PCX", MakeRadar());
  add("INTERF/RADARP1.PCX", MakeRadarDot(false));
  add("INTERF/RADARP2.PCX", MakeRadarDot(true));
  add("INTERF/SMALFONT.PCX", FontSheet(Font::Small));
  add("INTERF/BIGFONT.PCX", FontSheet(Font::Big));
}

}  // namespace zandrel::data
