// zandrel-data: writes the default data tree from code and from the sources in content/.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/data/content.h"
#include "tools/data/data_tree.h"
#include "tools/data/desktop_icons.h"
#include "tools/data/generators.h"

namespace {

constexpr const char* kUsage =
    "Usage: zandrel-data --content DIR --out DIR [--icons DIR]\n"
    "Writes the complete default data tree (object bank, textures, meshes, interface pictures,\n"
    "fonts, sounds, music, credits and levels) into the output folder. With --icons it also\n"
    "writes the game's and the editor's desktop icons there, in the icon theme's layout\n"
    "(hicolor/NxN/apps/zandrel.png and zandrel-editor.png).\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "zandrel-data: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path content, out, icons;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if ((arg == "--content" || arg == "--out" || arg == "--icons") && i + 1 < argc) {
      (arg == "--content" ? content : arg == "--out" ? out : icons) = argv[++i];
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (content.empty() || out.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  zandrel::data::DataTree tree;
  for (zandrel::base::Status status :
       {zandrel::data::AddTextSources(content, tree), zandrel::data::AddLevels(content, tree),
        zandrel::data::AddCredits(content, tree)}) {
    if (!status) return Fail(status.error());
  }
  zandrel::data::GenerateArt(tree);
  if (zandrel::base::Status written = tree.WriteTo(out); !written) return Fail(written.error());
  std::printf("zandrel-data: %zu files in %s\n", tree.Files().size(), out.string().c_str());
  if (!icons.empty()) {
    zandrel::data::DataTree desktop;
    zandrel::data::GenerateDesktopIcons(desktop);
    if (zandrel::base::Status written = desktop.WriteTo(icons); !written) return Fail(written.error());
  }
  return 0;
}
