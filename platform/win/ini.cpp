#include "platform/win/ini.h"

// Texts stay in the code page they were written in: no character conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // Debian ships the template bodies behind this switch
#include <SimpleIni.h>

#include <charconv>
#include <string>
#include <vector>

#include "platform/win/files.h"

namespace zandrel::win {

// CSimpleIniA compares section and key names without regard to ASCII case.
struct IniFile::Store {
  CSimpleIniA ini{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
};

IniFile::IniFile(std::filesystem::path path)
    : IniFile(path, ReadWholeFile(path, 16u << 20).value_or(std::vector<std::uint8_t>{})) {}

IniFile::IniFile(std::filesystem::path path, std::span<const std::uint8_t> contents)
    : path_(std::move(path)), store_(std::make_unique<Store>()) {
  store_->ini.SetSpaces(false);  // "key=value", as the profile functions write it
  if (!contents.empty()) store_->ini.LoadData(reinterpret_cast<const char*>(contents.data()), contents.size());
}

IniFile::~IniFile() = default;

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  const std::string s(section), k(key);
  const char* value = store_->ini.GetValue(s.c_str(), k.c_str(), nullptr);
  return value != nullptr ? std::string(value) : std::string(defaultValue);
}

bool ParseDecimal(std::string_view text, std::int32_t& value) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return false;
  std::int32_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, parsed, 10);
  if (ec != std::errc() || ptr != end) return false;
  value = parsed;
  return true;
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  std::int32_t value = defaultValue;
  if (!ParseDecimal(ReadString(section, key, ""), value)) return defaultValue;
  return value;
}

base::Status IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string s(section), k(key), v(value);
  if (store_->ini.SetValue(s.c_str(), k.c_str(), v.c_str()) < 0) {
    return base::Failure{"Cannot write " + path_.string()};
  }
  std::string text;
  if (store_->ini.Save(text) < 0) return base::Failure{"Cannot write " + path_.string()};
  return WriteFileAtomic(path_, text);
}

base::Status IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

}  // namespace zandrel::win
