#include "tools/make_assets/catalogue.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/make_assets/art.h"
#include "tools/make_assets/figure.h"
#include "tools/make_assets/sounds.h"
#include "tools/make_assets/tiff_out.h"
#include "tools/make_assets/wave_out.h"

namespace assets {
namespace {

std::string Format(const char* pattern, int value) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, value);
  return name;
}

}  // namespace

const char* const kBackgroundName = "Images/background.tif";
const char* const kRoundsName = "Images/rounds.tif";
const char* const kComputerName = "Images/computer.tif";
const char* const kHaloName = "Images/halo.tif";
const char* const kHitSoundName = "Sounds/futurebeep3.wav";
const char* const kBlipSoundName = "Sounds/blip.wav";

std::string TileName(int colour) {
  return Format("Images/tile%02d.tif", colour);
}
std::string TargetName(int colour) {
  return Format("Images/target%01d.tif", colour);
}
std::string NumberName(int index) {
  return Format("Images/num%02d.tif", index);
}
std::string InstructionName(int index) {
  return Format("Images/inst%01d.tif", index);
}
std::string FigureName(int family, int frame) {
  return "Images/" + std::string(FigureFamilyName(family)) + Format("%03d.tif", frame);
}

const Picture* Catalogue::Find(const std::string& name) const {
  for (const PictureFile& file : pictures)
    if (file.name == name) return &file.picture;
  return nullptr;
}

Catalogue DrawAll(Fonts& fonts) {
  Catalogue c;
  for (int i = 0; i < kColours; ++i) {
    c.pictures.push_back({TileName(i), MakeTile(i)});
    c.pictures.push_back({TargetName(i), MakeTarget(i)});
  }
  for (int i = 0; i < kNumberImages; ++i)
    c.pictures.push_back({NumberName(i), MakeNumber(fonts, i)});
  for (int i = 0; i < kInstructionImages; ++i)
    c.pictures.push_back({InstructionName(i), MakeInstruction(fonts, i)});
  c.pictures.push_back({kBackgroundName, MakeBackground()});
  c.pictures.push_back({kRoundsName, MakeRoundsLabel(fonts)});
  c.pictures.push_back({kComputerName, MakeComputerMark(fonts)});
  c.pictures.push_back({kHaloName, MakeHalo()});
  for (int family = 0; family < kFigureFamilies; ++family)
    for (int frame = 0; frame < kFigureFrames; ++frame)
      c.pictures.push_back({FigureName(family, frame), MakeFigureFrame(family, frame)});
  c.sounds.push_back({kHitSoundName, MakeHitBeep()});
  c.sounds.push_back({kBlipSoundName, MakeBlip()});
  return c;
}

bool MakeFolders(const std::string& folder) {
  const std::filesystem::path root(folder);
  for (const char* sub : {"Images", "Sounds"}) {
    std::error_code error;
    std::filesystem::create_directories(root / sub, error);
    if (error) {
      std::fprintf(stderr, "make-assets: cannot make %s: %s\n", (root / sub).c_str(),
                   error.message().c_str());
      return false;
    }
  }
  return true;
}

bool WriteAll(const Catalogue& catalogue, const std::string& folder) {
  if (!MakeFolders(folder)) return false;
  const std::filesystem::path root(folder);
  bool ok = true;
  for (const PictureFile& file : catalogue.pictures)
    ok = WriteTiff((root / file.name).string(), file.picture) && ok;
  for (const SoundFile& file : catalogue.sounds)
    ok = WriteWave((root / file.name).string(), file.samples) && ok;
  return ok;
}

}  // namespace assets
