// The music table of the shipped object bank, read with the program's own INI reader.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "base/text_case.h"
#include "platform/win/ini.h"

namespace zandrel::data {

struct BankMusicEntry {
  std::string File, Name, Video;  // file and video in the tree's spelling: upper case, slashes
};

// The table's entries that name a file, by number.
inline std::map<int, BankMusicEntry> ReadBankMusicTable() {
  const win::IniFile bank(std::filesystem::path(ZANDREL_CONTENT) / "Standard.bnk");
  const auto treePath = [](std::string name) {
    for (char& c : name) c = c == '\\' ? '/' : c;
    return base::UpperAscii(name);
  };
  std::map<int, BankMusicEntry> entries;
  for (int n = 0; n < 256; ++n) {
    const std::string key = "Music" + std::to_string(n);
    const std::string file = bank.ReadString("General", key, "");
    if (file.empty()) continue;
    const std::string video = bank.ReadString("General", key + "Video", "");
    entries[n] = {treePath(file), bank.ReadString("General", key + "Name", ""), video.empty() ? "" : treePath(video)};
  }
  return entries;
}

}  // namespace zandrel::data
