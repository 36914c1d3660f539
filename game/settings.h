// The game's settings file "zandrel.ini": window placement, display resolution,
// full-screen flag and texture quality; the network game's port and discovery addresses.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::game {

// A resolution code of the file: the size it names and the display the game opens.
struct Resolution {
  int NamedWidth, NamedHeight;
  int DisplayWidth, DisplayHeight;
};

// Codes 0..4; any other code is code 2 (320 x 240, shown at 640 x 480).
Resolution ResolutionFromCode(std::int32_t code);
// The code written for an open display of that height: 120 -> 0, 200 -> 1, 480 -> 3,
// 600 -> 4, anything else -> 2.
std::int32_t ResolutionCode(int displayHeight);

// What ReadSettings gives the game.
struct Settings {
  std::int32_t Top = 100, Left = 100;
  std::int32_t Width = 320, Height = 240;  // window client area
  Resolution Display = ResolutionFromCode(2);
  bool FullscreenRequest = false;  // "Fullscreen" reads TRUE and the named width is not 160
  bool HighTextures = true;        // "Texture" reads TRUE
  // Section "Network": "Port", where a created session listens (0 when missing or not a
  // port 1..65534: the network's default); "Discovery", the addresses the local network's
  // session query goes to, separated by commas (none: the machine's broadcast addresses).
  std::uint16_t NetworkPort = 0;
  std::vector<std::string> Discovery;
};

// What WriteSettings stores.
struct SettingsToWrite {
  std::int32_t Top = 100, Left = 100;
  std::int32_t Width = 320, Height = 240;
  int DisplayHeight = 480;
  bool Fullscreen = false;   // the 3D display is open full screen
  bool HighTextures = true;  // the bank is loaded at quality "High"
};

// "a, b ,c" -> {"a", "b", "c"}; empty items are dropped.
std::vector<std::string> SplitAddresses(std::string_view text);

// The settings file for a start folder: beside the data when a writable one exists there,
// else in the user's configuration folder. Decided anew at every access.
std::filesystem::path SettingsPath(const std::filesystem::path& startFolder);

// Reads the file; missing files, keys and non-numbers take the defaults.
Settings ReadSettings(const std::filesystem::path& startFolder);
// The same from the file's contents.
Settings ParseSettings(std::span<const std::uint8_t> file);

// Writes "Top", "Left", "Width", "Height", "Resolution", "Fullscreen" and "Texture" of
// section "General", keeping every other section and key.
base::Status WriteSettings(const std::filesystem::path& startFolder, const SettingsToWrite& settings);

}  // namespace zandrel::game
