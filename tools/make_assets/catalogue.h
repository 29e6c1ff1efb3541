// Every file the game loads, drawn and synthesised in memory, and written out under the names
// the game asks for.
#pragma once

#include <string>
#include <vector>

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/text.h"

namespace assets {

struct PictureFile {
  std::string name;  // relative to the output folder, e.g. "Images/tile00.tif"
  Picture picture;
};

struct SoundFile {
  std::string name;  // e.g. "Sounds/blip.wav"
  std::vector<float> samples;
};

struct Catalogue {
  std::vector<PictureFile> pictures;
  std::vector<SoundFile> sounds;

  // The picture of that name; null when there is none.
  const Picture* Find(const std::string& name) const;
};

// Name helpers, the patterns the game loads.
std::string TileName(int colour);
std::string TargetName(int colour);
std::string NumberName(int index);
std::string InstructionName(int index);
std::string FigureName(int family, int frame);
extern const char* const kBackgroundName;
extern const char* const kRoundsName;
extern const char* const kComputerName;
extern const char* const kHaloName;
extern const char* const kHitSoundName;
extern const char* const kBlipSoundName;

Catalogue DrawAll(Fonts& fonts);
// Makes `folder`/Images and `folder`/Sounds. False (with a line on standard error) when either
// cannot be made.
bool MakeFolders(const std::string& folder);
// Writes every file under `folder`, making "Images" and "Sounds" as needed. False (with a line
// on standard error) when anything could not be written.
bool WriteAll(const Catalogue& catalogue, const std::string& folder);

}  // namespace assets
