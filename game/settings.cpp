#include "game/settings.h"

#include <string>

#include "platform/win/files.h"
#include "platform/win/ini.h"

namespace zandrel::game {
namespace {

constexpr const char* kGeneral = "General";
constexpr const char* kNetwork = "Network";

bool ReadsTrue(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text == "TRUE";
}

const char* TrueFalse(bool value) { return value ? "True" : "False"; }

}  // namespace

std::vector<std::string> SplitAddresses(std::string_view text) {
  std::vector<std::string> addresses;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find(',', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view item = text.substr(pos, end - pos);
    while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) item.remove_prefix(1);
    while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) item.remove_suffix(1);
    if (!item.empty()) addresses.emplace_back(item);
    pos = end + 1;
  }
  return addresses;
}

Resolution ResolutionFromCode(std::int32_t code) {
  switch (code) {
    case 0: return {160, 120, 640, 480};
    case 1: return {320, 200, 640, 480};
    case 3: return {640, 480, 640, 480};
    case 4: return {800, 600, 800, 600};
    default: return {320, 240, 640, 480};
  }
}

std::int32_t ResolutionCode(int displayHeight) {
  switch (displayHeight) {
    case 120: return 0;
    case 200: return 1;
    case 480: return 3;
    case 600: return 4;
    default: return 2;
  }
}

std::filesystem::path SettingsPath(const std::filesystem::path& startFolder) {
  return win::ProfilePath(startFolder, "zandrel.ini");
}

namespace {

Settings SettingsOf(const win::IniFile& ini) {
  Settings s;
  s.Top = ini.ReadInteger(kGeneral, "Top", 100);
  s.Left = ini.ReadInteger(kGeneral, "Left", 100);
  s.Width = ini.ReadInteger(kGeneral, "Width", 320);
  s.Height = ini.ReadInteger(kGeneral, "Height", 240);
  s.Display = ResolutionFromCode(ini.ReadInteger(kGeneral, "Resolution", 2));
  s.FullscreenRequest = ReadsTrue(ini.ReadString(kGeneral, "Fullscreen", "false")) && s.Display.NamedWidth != 160;
  s.HighTextures = ReadsTrue(ini.ReadString(kGeneral, "Texture", "true"));
  const std::int32_t port = ini.ReadInteger(kNetwork, "Port", 0);
  if (port >= 1 && port <= 65534) s.NetworkPort = static_cast<std::uint16_t>(port);
  s.Discovery = SplitAddresses(ini.ReadString(kNetwork, "Discovery", ""));
  return s;
}

}  // namespace

Settings ReadSettings(const std::filesystem::path& startFolder) {
  return SettingsOf(win::IniFile(SettingsPath(startFolder)));
}

Settings ParseSettings(std::span<const std::uint8_t> file) { return SettingsOf(win::IniFile({}, file)); }

base::Status WriteSettings(const std::filesystem::path& startFolder, const SettingsToWrite& settings) {
  win::IniFile ini(SettingsPath(startFolder));
  for (base::Status status :
       {ini.WriteInteger(kGeneral, "Top", settings.Top), ini.WriteInteger(kGeneral, "Left", settings.Left),
        ini.WriteInteger(kGeneral, "Width", settings.Width), ini.WriteInteger(kGeneral, "Height", settings.Height),
        ini.WriteInteger(kGeneral, "Resolution", ResolutionCode(settings.DisplayHeight)),
        ini.WriteString(kGeneral, "Fullscreen", TrueFalse(settings.Fullscreen)),
        ini.WriteString(kGeneral, "Texture", TrueFalse(settings.HighTextures))}) {
    if (!status) return status;
  }
  return {};
}

}  // namespace zandrel::game
