// The texture list: a text file numbering the texture images (PCX files) and the
// textures, each a run of images that gives an animated texture.
//
//   anything          preamble, up to "#IMAGES"
//   #IMAGES
//   12 = wall.pcx     image 12 is the file WALL.PCX
//   #TEXTURES
//   5 = 7-10          texture 5 shows images 7, 8, 9, 10, 7, ...
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "engine/engine.h"
#include "engine/render_view.h"

namespace zandrel::engine {

// Lines are read up to this length; the rest of a longer line is dropped.
constexpr std::size_t kTextureListLineLength = 255;

struct TextureListImage {
  std::int32_t Number = 0;  // image number, 0..kImageSlotCount - 1
  std::string File;         // normalised file name
};

struct TextureListTexture {
  std::int32_t Number = 0;           // texture number, 0..kTextureSlotCount - 1
  std::int32_t First = 0, Last = 0;  // image numbers
};

// A line that does not follow the list's forms, with its line number (from 1).
struct TextureListProblem {
  std::int32_t Line = 0;
  std::string Reason;
};

struct TextureListEntries {
  std::vector<TextureListImage> Images;
  std::vector<TextureListTexture> Textures;
  std::vector<TextureListProblem> Skipped;
};

// A line as the list uses it: cut to kTextureListLineLength characters, tabs, carriage
// returns and spaces removed, letters in upper case.
std::string NormaliseTextureListLine(std::string_view line);

// Reads the list's text. Empty lines are skipped; so are lines without "=", texture
// lines without "-", an image line without a file name, and numbers that are not
// decimal integers or lie outside 0..32767, each recorded in Skipped.
TextureListEntries ParseTextureList(std::string_view text);

// Loads the list the name resolves to below `folder` (the data tree):
// the back end forgets its images (BeginTextureImages), then each image is decoded and
// handed to StoreTextureImage; the first one's palette becomes the view palette before
// it is stored. The textures then fill the view's texture slots (First = A, Last = B,
// Current = A) and HighestTexture becomes the highest texture number (0 when none).
// Slots of an earlier list are cleared first: its images are gone from the back end, so
// a texture this list does not define shows image 0 rather than a stale number. Skipped
// lines are reported on standard error. A missing list or image file fails with
// MissingFileMessage; a damaged image fails with the decoder's message.
base::Status LoadTextureList(Engine& engine, RenderView& view, std::string_view fileName,
                             const std::filesystem::path& folder);

// Advances every texture from 0 to HighestTexture by one image: counting up when
// First < Last, down when First > Last, starting again at First after passing Last;
// a texture with First == Last stays on First. The game calls it once per play frame.
void StepTextureAnimation(RenderView& view);

}  // namespace zandrel::engine
