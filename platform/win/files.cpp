#include "platform/win/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "base/text_case.h"

namespace zandrel::win {
namespace fs = std::filesystem;
namespace {

// The entry of `folder` whose name equals `component` ignoring case, if any. Names are read
// with the system's directory calls: a data tree resolves hundreds of names at a load.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view component) {
  DIR* const dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(dir)) {
    if (base::EqualIgnoringCase(entry->d_name, component)) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

std::string ToSlashes(std::string_view name) {
  std::string s(name);
  for (char& c : s) {
    if (c == '\\') c = '/';
  }
  return s;
}

}  // namespace

fs::path ResolvePath(std::string_view name, const fs::path& folder) {
  const std::string slashed = ToSlashes(name);
  std::string result = (!slashed.empty() && slashed[0] == '/') ? std::string("/") : folder.string();
  const auto append = [&result](std::string_view component) {
    if (!result.empty() && result.back() != '/') result += '/';
    result += component;
  };
  bool resolving = true;  // once a component is missing, the rest cannot exist either
  std::size_t pos = 0;
  while (pos <= slashed.size()) {
    std::size_t next = slashed.find('/', pos);
    if (next == std::string::npos) next = slashed.size();
    std::string_view component(slashed.data() + pos, next - pos);
    pos = next + 1;
    if (component.empty() || component == ".") continue;
    if (component == ".." || !resolving) {
      append(component);
      continue;
    }
    const std::size_t parentLength = result.size();
    append(component);
    if (Exists(result)) continue;
    const std::string parent = result.substr(0, parentLength);
    if (std::optional<std::string> found = FindIgnoringCase(parent, component)) {
      result.resize(result.size() - component.size());
      result += *found;
    } else {
      resolving = false;
    }
  }
  return result;
}

bool FileExists(std::string_view name, const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(name, folder), ec);
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  // Iterative matcher with one back-tracking point for the last star.
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || base::LowerAscii(pattern[p]) == base::LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::optional<std::vector<std::string>> ListFolder(std::string_view pattern, const fs::path& folder) {
  const std::string slashed = ToSlashes(pattern);
  const std::size_t cut = slashed.rfind('/');
  const std::string folderName = cut == std::string::npos ? std::string() : slashed.substr(0, cut);
  const std::string mask = cut == std::string::npos ? slashed : slashed.substr(cut + 1);
  const fs::path listed =
      folderName.empty() ? (folder.empty() ? fs::path(".") : folder) : ResolvePath(folderName, folder);
  std::error_code ec;
  fs::directory_iterator it(listed, ec);
  if (ec) return std::nullopt;
  // On the original system "*.*" also matches names without a dot.
  const bool everything = mask == "*.*" || mask == "*";
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : it) {
    std::string name = entry.path().filename().string();
    if (everything || WildcardMatch(mask, name)) names.push_back(std::move(name));
  }
  return names;
}

std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, maxBytes)));
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  return ReadFilePrefix(path, maxBytes);
}

base::Status WriteFileAtomic(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  fs::create_directories(folder, ec);
  std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return base::Failure{"Cannot write " + path.string() + ": " + std::strerror(errno)};
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string reason = std::strerror(errno);
      ::close(fd);
      ::unlink(temp.c_str());
      return base::Failure{"Cannot write " + path.string() + ": " + reason};
    }
    done += static_cast<std::size_t>(n);
  }
  // mkstemp makes the file private; a saved file gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    ::unlink(temp.c_str());
    return base::Failure{"Cannot write " + path.string() + ": " + std::strerror(errno)};
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(temp.c_str());
    return base::Failure{"Cannot write " + path.string() + ": " + reason};
  }
  return {};
}

base::Status WriteFileAtomic(const fs::path& path, std::string_view text) {
  return WriteFileAtomic(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(pos, end - pos));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  }
  return lines;
}

namespace {

fs::path HomeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr && home[0] != '\0' ? fs::path(home) : fs::path(".");
}

// An XDG base folder: the variable when it holds an absolute path, else the default
// below the home folder.
fs::path XdgFolder(const char* variable, const char* fallback) {
  const char* xdg = std::getenv(variable);
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  return HomeFolder() / fallback;
}

fs::path UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

// The XDG_PICTURES_DIR line of the user's folder list: XDG_PICTURES_DIR="$HOME/Pictures"
// or an absolute path; anything else (or the home folder itself) does not count.
std::optional<fs::path> PicturesFolderFromList() {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(UserConfigFolder() / "user-dirs.dirs", 1 << 16);
  if (!bytes) return std::nullopt;
  const std::string text(bytes->begin(), bytes->end());
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=\"";
  for (const std::string& line : SplitLines(text)) {
    if (!line.starts_with(kKey)) continue;
    const std::size_t end = line.find('"', kKey.size());
    if (end == std::string::npos) return std::nullopt;
    std::string value = line.substr(kKey.size(), end - kKey.size());
    if (value.starts_with("$HOME")) value = HomeFolder().string() + value.substr(5);
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    if (value.empty() || value[0] != '/' || fs::path(value).lexically_normal() == HomeFolder().lexically_normal()) {
      return std::nullopt;
    }
    return fs::path(value);
  }
  return std::nullopt;
}

}  // namespace

fs::path ConfigFolder() { return UserConfigFolder() / "zandrel"; }

fs::path StateFolder() { return XdgFolder("XDG_STATE_HOME", ".local/state") / "zandrel"; }

fs::path UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") / "zandrel"; }

fs::path PicturesFolder() {
  const char* xdg = std::getenv("XDG_PICTURES_DIR");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  if (std::optional<fs::path> listed = PicturesFolderFromList()) return *listed;
  return HomeFolder();
}

fs::path ProfilePath(const fs::path& startFolder, std::string_view fileName) {
  const fs::path beside = ResolvePath(fileName, startFolder);
  // The file stays beside the program only when it can be read and has no read-only
  // mark (the owner's write permission); the folder must take the atomic replacement.
  struct stat info {};
  const bool readable = std::ifstream(beside).good();
  const bool writable = ::stat(beside.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) != 0 &&
                        ::access((beside.has_parent_path() ? beside.parent_path() : fs::path(".")).c_str(), W_OK) == 0;
  if (readable && writable) return beside;
  return ConfigFolder() / std::string(fileName);
}

}  // namespace zandrel::win
