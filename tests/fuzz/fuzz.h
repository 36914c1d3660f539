// What the fuzz targets share: the input as text, and a scratch folder for readers that
// reach beyond their bytes (a bank's meshes, the media service's files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace zandrel::fuzz {

inline std::span<const std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) { return {data, size}; }

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own, made at the first call and removed at exit.
const std::filesystem::path& ScratchFolder();

// Writes a file below the scratch folder, making its folders.
void WriteScratchFile(const std::filesystem::path& relative, std::span<const std::uint8_t> bytes);

}  // namespace zandrel::fuzz
