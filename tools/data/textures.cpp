#include "engine/pcx.h"
#include "tools/data/generators.h"
#include "tools/data/textures_images.h"

namespace zandrel::data {

using namespace textures;
namespace {

struct TextureImage {
  const char* Name;  // below TEXTURES/, as the texture list spells it
  Canvas (*Paint)();
};

// Every file the texture list names, once each.
constexpr TextureImage kImages[] = {
    {"STONE", PaintStone},
    {"BRICK", PaintBrick},
    {"METAL", PaintMetal},
    {"WOOD", PaintWood},
    {"EARTH", PaintEarth},
    {"GRASS", PaintGrass},
    {"MARBLE", PaintMarble},
    {"SAND", PaintSand},
    {"LAVA1", [] { return PaintLava(0); }},
    {"LAVA2", [] { return PaintLava(1); }},
    {"LAVA3", [] { return PaintLava(2); }},
    {"LAVA4", [] { return PaintLava(3); }},
    {"WATER1", [] { return PaintWater(0); }},
    {"WATER2", [] { return PaintWater(1); }},
    {"WATER3", [] { return PaintWater(2); }},
    {"WATER4", [] { return PaintWater(3); }},
    {"GLASS", PaintGlass},
    {"GOLD", PaintGold},
    {"DOORGOLD", PaintDoorGold},
    {"DOORLEV", PaintDoorLever},
    {"DOORKEY", PaintDoorKey},
    {"KEYBLOCK", PaintKeyBlock},
    {"SENSOR", PaintSensor},
    {"LADDER", PaintLadder},
    {"SPRING", PaintSpring},
    {"TIMER", PaintTimer},
    {"ONEUP", PaintOneUp},
    {"CRATE", PaintCrate},
    {"LEVER", PaintLever},
    {"DARKSTON", PaintDarkStone},
    {"HERO", PaintHero},
    {"SENTRY", PaintSentry},
    {"SKY", PaintSky},
    {"GATE", PaintGate},
    {"TORCH1", [] { return PaintTorch(0); }},
    {"TORCH2", [] { return PaintTorch(1); }},
    {"TORCH3", [] { return PaintTorch(2); }},
    {"TORCH4", [] { return PaintTorch(3); }},
    {"PODIUM", PaintPodium},
    {"FLAG", PaintFlag},
    {"SPIKES", PaintSpikes},
    {"TILES", PaintTiles},
    {"GRASSIDE", PaintGrassSide},
    {"CRYSTAL", PaintCrystal},
    {"LAMP", PaintLamp},
    {"BARK", PaintBark},
    {"LEAVES", PaintLeaves},
    {"LIGHTON", [] { return PaintLight(true); }},
    {"LIGHTOFF", [] { return PaintLight(false); }},
};

}  // namespace

void GenerateTextures(DataTree& tree) {
  for (const TextureImage& image : kImages) {
    tree.Add(std::string("TEXTURES/") + image.Name + ".PCX", engine::EncodePcx(image.Paint().ToImage()));
  }
}

}  // namespace zandrel::data
