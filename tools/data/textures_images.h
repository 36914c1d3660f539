// The painters of the texture images, one per picture (animated ones take their frame).
#pragma once

#include "tools/data/textures_paint.h"

namespace zandrel::data::textures {

// Walls and floors: textures_walls.cpp.
Canvas PaintStone();
Canvas PaintTiles();
Canvas PaintDarkStone();
Canvas PaintBrick();
Canvas PaintMetal();
Canvas PaintWood();
Canvas PaintCrate();
Canvas PaintEarth();
Canvas PaintGrass();
Canvas PaintGrassSide();
Canvas PaintMarble();
Canvas PaintSand();
Canvas PaintPodium();

// Liquids, light and sky: textures_fluids.cpp. Animation frames run 0..3 and loop.
Canvas PaintLava(int frame);
Canvas PaintWater(int frame);
Canvas PaintSky();
Canvas PaintGate();
Canvas PaintCrystal();
Canvas PaintGlass();
Canvas PaintLight(bool lit);

// Doors, switches and things to pick up: textures_items.cpp.
Canvas PaintGold();
Canvas PaintDoorGold();
Canvas PaintDoorLever();
Canvas PaintDoorKey();
Canvas PaintKeyBlock();
Canvas PaintSensor();
Canvas PaintSpring();
Canvas PaintTimer();
Canvas PaintOneUp();
Canvas PaintLever();
Canvas PaintLamp();
Canvas PaintFlag();

// Sprites, plants and creatures: textures_sprites.cpp. Torch views run 0..3.
Canvas PaintLadder();
Canvas PaintTorch(int view);
Canvas PaintSpikes();
Canvas PaintBark();
Canvas PaintLeaves();
Canvas PaintHero();
Canvas PaintSentry();

}  // namespace zandrel::data::textures
