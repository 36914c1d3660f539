#include "engine/texture_list.h"

#include <algorithm>
#include <iostream>
#include <optional>

#include "engine/pcx.h"
#include "platform/win/files.h"

namespace zandrel::engine {
namespace {

// A list of every image and texture number fits in far less.
constexpr std::size_t kMaxTextureListSize = 4u << 20;
constexpr std::int32_t kMaxListNumber = 32767;

static_assert(kMaxListNumber < kImageSlotCount && kMaxListNumber < kTextureSlotCount);

// A decimal integer of 0..kMaxListNumber: digits only, no sign.
std::optional<std::int32_t> ListNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kMaxListNumber) return std::nullopt;
  }
  return value;
}

constexpr std::string_view kBadNumber = "not a number from 0 to 32767";

}  // namespace

std::string NormaliseTextureListLine(std::string_view line) {
  line = line.substr(0, std::min(line.size(), kTextureListLineLength));
  std::string result;
  result.reserve(line.size());
  for (const char c : line) {
    if (c == '\t' || c == '\r' || c == ' ') continue;
    result.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
  }
  return result;
}

TextureListEntries ParseTextureList(std::string_view text) {
  enum class Section { kPreamble, kImages, kTextures };
  TextureListEntries entries;
  Section section = Section::kPreamble;
  std::int32_t lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = NormaliseTextureListLine(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;

    if (section == Section::kPreamble) {
      if (line == "#IMAGES") section = Section::kImages;
      continue;
    }
    if (line.empty()) continue;
    if (section == Section::kImages && line == "#TEXTURES") {
      section = Section::kTextures;
      continue;
    }
    auto skip = [&](std::string_view reason) { entries.Skipped.push_back({lineNumber, std::string(reason)}); };
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      skip("no \"=\"");
      continue;
    }
    const std::optional<std::int32_t> number = ListNumber(std::string_view(line).substr(0, equals));
    const std::string_view rest = std::string_view(line).substr(equals + 1);
    if (section == Section::kImages) {
      if (rest.empty()) {
        skip("no file name");
      } else if (!number) {
        skip(kBadNumber);
      } else {
        entries.Images.push_back({*number, std::string(rest)});
      }
      continue;
    }
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos) {
      skip("no \"-\"");
      continue;
    }
    const std::optional<std::int32_t> first = ListNumber(rest.substr(0, dash));
    const std::optional<std::int32_t> last = ListNumber(rest.substr(dash + 1));
    if (!number || !first || !last) {
      skip(kBadNumber);
      continue;
    }
    entries.Textures.push_back({*number, *first, *last});
  }
  return entries;
}

base::Status LoadTextureList(Engine& engine, RenderView& view, std::string_view fileName,
                             const std::filesystem::path& folder) {
  if (!win::FileExists(fileName, folder)) return base::Failure{MissingFileMessage(fileName)};
  const std::optional<std::vector<std::uint8_t>> bytes =
      win::ReadWholeFile(win::ResolvePath(fileName, folder), kMaxTextureListSize);
  if (!bytes) {
    return base::Failure{"G3D: The file " + std::string(fileName) + " is unreadable or too large"};
  }
  const TextureListEntries entries =
      ParseTextureList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  for (const TextureListProblem& problem : entries.Skipped) {
    std::cerr << "G3D: " << fileName << " line " << problem.Line << " skipped: " << problem.Reason << '\n';
  }

  engine.Back->BeginTextureImages(view);
  bool first = true;
  for (const TextureListImage& entry : entries.Images) {
    const base::Expected<PcxImage> image = LoadPcx(entry.File, folder);
    if (!image) return base::Failure{image.error()};
    if (first) {
      for (std::size_t i = 0; i < 256; ++i) {
        view.ViewPalette.Red[i] = image->Palette[i * 3];
        view.ViewPalette.Green[i] = image->Palette[i * 3 + 1];
        view.ViewPalette.Blue[i] = image->Palette[i * 3 + 2];
      }
    }
    engine.Back->StoreTextureImage(entry.Number, *image, first, view);
    first = false;
  }

  std::fill(view.Textures.begin(), view.Textures.end(), TextureSlot{});
  view.HighestTexture = 0;
  for (const TextureListTexture& texture : entries.Textures) {
    view.Textures[static_cast<std::size_t>(texture.Number)] = {texture.First, texture.Last, texture.First};
    view.HighestTexture = std::max(view.HighestTexture, texture.Number);
  }
  return {};
}

void StepTextureAnimation(RenderView& view) {
  const std::int32_t highest =
      std::min<std::int32_t>(view.HighestTexture, static_cast<std::int32_t>(view.Textures.size()) - 1);
  for (std::int32_t n = 0; n <= highest; ++n) {
    TextureSlot& slot = view.Textures[static_cast<std::size_t>(n)];
    if (slot.First < slot.Last) {
      slot.Current = slot.Current + 1 > slot.Last ? slot.First : slot.Current + 1;
    } else if (slot.First > slot.Last) {
      slot.Current = slot.Current - 1 < slot.Last ? slot.First : slot.Current - 1;
    } else {
      slot.Current = slot.First;
    }
  }
}

}  // namespace zandrel::engine
