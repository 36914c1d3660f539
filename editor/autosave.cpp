#include "editor/autosave.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/win/files.h"
#include "platform/win/ini.h"
#include "world/level_file.h"

namespace zandrel::editor {
namespace {

constexpr const char* kMarker = "editor-running";
constexpr const char* kIndex = "autosave.ini";
constexpr const char* kSection = "Autosave";

std::string SlotName(int slot) { return "autosave-" + std::to_string(slot) + ".lev"; }

std::string LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "";
  if (localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace

bool Autosave::PreviousRunCrashed() const {
  const std::optional<std::vector<std::uint8_t>> marker = win::ReadWholeFile(folder_ / kMarker, 64);
  if (!marker) return false;
  std::int32_t pid = 0;
  std::string text(marker->begin(), marker->end());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (!win::ParseDecimal(text, pid) || pid <= 0) return true;
  if (pid == ::getpid()) return false;
  // A live process of that number is another editor still open.
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

base::Status Autosave::MarkRunning() const {
  return win::WriteFileAtomic(folder_ / kMarker, std::to_string(::getpid()) + "\n");
}

void Autosave::MarkCleanExit() const {
  std::error_code ignored;
  std::filesystem::remove(folder_ / kMarker, ignored);
}

std::optional<Backup> Autosave::Latest() const {
  const win::IniFile index(folder_ / kIndex);
  const std::int32_t slot = index.ReadInteger(kSection, "Latest", 0);
  if (slot < 1 || slot > kAutosaveSlots) return std::nullopt;
  Backup backup{folder_ / SlotName(slot), index.ReadString(kSection, "Level" + std::to_string(slot), ""),
                index.ReadString(kSection, "Written" + std::to_string(slot), "")};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(backup.File, ec)) return std::nullopt;
  return backup;
}

base::Status Autosave::Write(const world::LevelMap& map, std::string_view levelFile) const {
  win::IniFile index(folder_ / kIndex);
  const std::int32_t latest = index.ReadInteger(kSection, "Latest", 0);
  const std::int32_t slot = latest >= 1 && latest < kAutosaveSlots ? latest + 1 : 1;
  if (base::Status written = win::WriteFileAtomic(folder_ / SlotName(slot), world::SerializeLevel(map)); !written) {
    return written;
  }
  const std::string key = std::to_string(slot);
  if (base::Status s = index.WriteString(kSection, "Level" + key, levelFile); !s) return s;
  if (base::Status s = index.WriteString(kSection, "Written" + key, LocalTime()); !s) return s;
  return index.WriteInteger(kSection, "Latest", slot);
}

}  // namespace zandrel::editor
