// Files named as the data and the code spell them ("LEVEL\001.lev", "3do/Game/hero.3do"),
// found on a case-sensitive tree; whole-file reads with a size bound; atomic writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"

namespace zandrel::win {

// Turns a name in the original spelling into a real path below `folder` (relative names)
// or the root (absolute ones): backslashes become slashes, then each component is matched
// against its folder, exactly first and then ignoring ASCII case. Components that match
// nothing are kept as written, so the result also names files about to be created.
std::filesystem::path ResolvePath(std::string_view name, const std::filesystem::path& folder = {});

// True when the name resolves to an existing regular file.
bool FileExists(std::string_view name, const std::filesystem::path& folder = {});

// Lists a folder with a pattern such as "LEVEL\*.*": the entry names (files and
// folders) whose names match the last component, ignoring case; "*.*" matches every
// name. Empty when the folder cannot be listed.
std::optional<std::vector<std::string>> ListFolder(std::string_view pattern, const std::filesystem::path& folder = {});

// True when `name` matches the wildcard pattern (`*` any run, `?` one character),
// ignoring ASCII case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Reads a whole file. Fails when it cannot be opened or read, or is larger than
// `maxBytes`; the failure's message is left to the caller, who knows the system's text.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Reads at most `maxBytes` from the start of a file (all of a shorter one).
std::optional<std::vector<std::uint8_t>> ReadFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

// Replaces a file's contents all at once: a temporary file beside it, then a rename,
// so that an interrupted write never leaves a damaged file. Creates missing folders.
base::Status WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
base::Status WriteFileAtomic(const std::filesystem::path& path, std::string_view text);

// The lines of a text, without their line ends ("\n" or "\r\n"); a last line without an
// end counts too.
std::vector<std::string> SplitLines(std::string_view text);

// Where a profile file ("zandrel.ini") lives: in the start folder when a writable one
// exists there, otherwise in the user's configuration folder
// ($XDG_CONFIG_HOME/zandrel, by default ~/.config/zandrel), which stands in for the
// system folder.
std::filesystem::path ProfilePath(const std::filesystem::path& startFolder, std::string_view fileName);

// The user's configuration folder for Zandrel.
std::filesystem::path ConfigFolder();

// The user's folder for state worth keeping between runs, such as backups:
// $XDG_STATE_HOME/zandrel, by default ~/.local/state/zandrel.
std::filesystem::path StateFolder();

// The user's folder for files made with Zandrel: $XDG_DATA_HOME/zandrel, by default
// ~/.local/share/zandrel.
std::filesystem::path UserDataFolder();

// Where screenshots go: $XDG_PICTURES_DIR, else the pictures folder of the user's folder
// list (~/.config/user-dirs.dirs), else the home folder.
std::filesystem::path PicturesFolder();

}  // namespace zandrel::win
