// make-assets [--sheet SHEET.png] OUTDIR
// make-assets --icon SIZE ICON.png
// Draws every picture and synthesises every sound the game loads into OUTDIR/Images and
// OUTDIR/Sounds; with --sheet, also writes a contact sheet of all pictures as PNG. With --icon,
// draws only the desktop icon at SIZE × SIZE pixels.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/icon.h"
#include "tools/make_assets/png_out.h"
#include "tools/make_assets/sheet.h"
#include "tools/make_assets/text.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: make-assets [--sheet SHEET.png] OUTDIR\n"
               "       make-assets --icon SIZE ICON.png   (SIZE from 16 to 1024)\n");
  return 2;
}

int MakeIcon(const char* size_text, const char* path) {
  char* end = nullptr;
  const long size = std::strtol(size_text, &end, 10);
  if (end == size_text || *end != '\0' || size < 16 || size > 1024) return Usage();
  return assets::WritePng(path, assets::DrawIcon(static_cast<int>(size))) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--icon") == 0) {
    return argc == 4 ? MakeIcon(argv[2], argv[3]) : Usage();
  }
  std::string folder, sheet;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--sheet") == 0) {
      if (i + 1 >= argc) return Usage();
      sheet = argv[++i];
    } else if (argv[i][0] == '-' || !folder.empty()) {
      return Usage();
    } else {
      folder = argv[i];
    }
  }
  if (folder.empty()) return Usage();

  // The folders first: a bad destination fails before any drawing.
  if (!assets::MakeFolders(folder)) return 1;
  assets::Fonts fonts;
  if (!fonts.ok()) return 1;
  const assets::Catalogue catalogue = assets::DrawAll(fonts);
  if (!assets::WriteAll(catalogue, folder)) return 1;
  if (!sheet.empty() && !assets::WritePng(sheet, assets::DrawSheet(catalogue, fonts))) return 1;
  std::printf("make-assets: %zu pictures and %zu sounds in %s\n", catalogue.pictures.size(),
              catalogue.sounds.size(), folder.c_str());
  return 0;
}
