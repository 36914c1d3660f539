// INI profile files with the rules of the original's TIniFile: section and key names
// ignore case, a missing key gives the caller's default, integers are decimal only, and
// each write creates the file, section or key as needed while keeping everything else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/expected.h"

namespace zandrel::win {

class IniFile {
 public:
  // Opens the file's current contents; a missing or unreadable file reads as empty.
  explicit IniFile(std::filesystem::path path);
  // Reads the given contents as the file's; writes still go to `path`.
  IniFile(std::filesystem::path path, std::span<const std::uint8_t> contents);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // The key's value when it is a decimal integer within 32 bits (an optional sign,
  // digits, blanks around), otherwise the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

  // Each write reaches the file at once, replacing it atomically.
  base::Status WriteString(std::string_view section, std::string_view key, std::string_view value);
  base::Status WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

 private:
  struct Store;
  std::filesystem::path path_;
  std::unique_ptr<Store> store_;
};

// Parses a decimal integer as the profile functions do: optional blanks, an optional
// sign, at least one digit, optional blanks, and a value that fits 32 bits.
bool ParseDecimal(std::string_view text, std::int32_t& value);

}  // namespace zandrel::win
