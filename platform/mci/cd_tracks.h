// The tracks of the "disc": files TRACK02.OGG, TRACK03.WAV ... of one folder.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace zandrel::mci {

// Track numbers (1..99) to file names found in the folder: "TRACK" and the number, then
// .OGG, .WAV, .FLAC or .MP3, all ignoring case. Empty when the folder is missing. Track 1
// is the disc's data track: it is counted but never played.
std::map<int, std::string> ListTracks(const std::filesystem::path& folder);

}  // namespace zandrel::mci
