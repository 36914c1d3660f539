#include "editor/recent_files.h"

#include <algorithm>

#include "platform/win/files.h"
#include "platform/win/ini.h"

namespace zandrel::editor {
namespace {

constexpr const char* kSection = "Recent";

std::string Key(std::size_t i) { return "File" + std::to_string(i + 1); }

}  // namespace

RecentFiles::RecentFiles(std::filesystem::path iniFile) : iniFile_(std::move(iniFile)) {
  const win::IniFile ini(iniFile_);
  for (std::size_t i = 0; i < kMaxFiles; ++i) {
    std::string file = ini.ReadString(kSection, Key(i), "");
    if (!file.empty() && std::find(files_.begin(), files_.end(), file) == files_.end()) files_.push_back(file);
  }
}

base::Status RecentFiles::Add(std::string_view file) {
  if (file.empty() || file.find_first_of("\r\n") != std::string_view::npos) return {};  // not a line of the list
  std::erase(files_, file);
  files_.insert(files_.begin(), std::string(file));
  if (files_.size() > kMaxFiles) files_.resize(kMaxFiles);
  return Write();
}

base::Status RecentFiles::Remove(std::string_view file) {
  std::erase(files_, file);
  return Write();
}

base::Status RecentFiles::Write() const {
  std::string text = "[" + std::string(kSection) + "]\n";
  for (std::size_t i = 0; i < files_.size(); ++i) text += Key(i) + "=" + files_[i] + "\n";
  return win::WriteFileAtomic(iniFile_, text);
}

}  // namespace zandrel::editor
