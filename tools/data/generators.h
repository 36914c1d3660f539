// The parts of the data tree made by code: every picture, mesh and sound.
#pragma once

#include "tools/data/data_tree.h"

namespace zandrel::data {

void GenerateTextures(DataTree& tree);     // TEXTURES/*.PCX: 128 x 128, one shared palette
void GenerateInterface(DataTree& tree);    // INTERF/*.PCX: logo, title, menu, bar, radar, fonts
void GenerateMeshes(DataTree& tree);       // 3DO/GAME/*.3do, 3DO/EDITOR/*.3do
void GenerateSounds(DataTree& tree);       // SOUNDS/*.WAV, INTERF/*.WAV
void GenerateMusic(DataTree& tree);        // MUSIC/*.XM: the tracker modules
void GenerateMedia(DataTree& tree);        // MUSIC/*.MID, MUSIC/*.WAV, VIDEO/*: MIDI, wave music, clips
void GenerateEditorIcons(DataTree& tree);  // EDITOR/*.PNG: the editor's command icons and its own icon

// All of the above.
void GenerateArt(DataTree& tree);

}  // namespace zandrel::data
