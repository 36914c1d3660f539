#include "engine/pcx.h"
#include "tools/data/generators.h"
#include "tools/data/interface_art.h"
#include "tools/data/interface_fonts.h"

namespace zandrel::data {

void GenerateInterface(DataTree& tree) {
  tree.Add("INTERF/ZANDREL.PCX", engine::EncodePcx(MakeLogo().ToPcx()));
  tree.Add("INTERF/TITLE.PCX", engine::EncodePcx(MakeTitle().ToPcx()));
  tree.Add("INTERF/OPTION.PCX", engine::EncodePcx(MakeMenu().ToPcx()));
  tree.Add("INTERF/SELECT.PCX", engine::EncodePcx(MakeMarker().ToPcx()));
  tree.Add("INTERF/BARRE.PCX", engine::EncodePcx(MakeBar().ToPcx()));
  tree.Add("INTERF/RADAR.PCX", engine::EncodePcx(MakeRadar().ToPcx()));
  tree.Add("INTERF/RADARP1.PCX", engine::EncodePcx(MakeRadarDot(false).ToPcx()));
  tree.Add("INTERF/RADARP2.PCX", engine::EncodePcx(MakeRadarDot(true).ToPcx()));
  tree.Add("INTERF/SMALFONT.PCX", engine::EncodePcx(FontSheet(Font::Small).ToPcx()));
  tree.Add("INTERF/BIGFONT.PCX", engine::EncodePcx(FontSheet(Font::Big).ToPcx()));
}

}  // namespace zandrel::data
