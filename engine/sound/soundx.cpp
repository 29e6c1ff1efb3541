#include "engine/sound/soundx.h"

#include <string>
#include <utility>

#include "engine/core/data_error.h"
#include "engine/core/exit.h"
#include "engine/sound/wave_reader.h"

namespace {

// The not-found text, around the file's name.
const char kNotFoundBefore[] = ".WAV File Not Found: ";
const char kNotFoundAfter[] =
    "\n\nMake sure paths and names of WAV files are correct. If you started the game outside of "
    "Visual C++, make sure the executable is in the correct location to find sounds.";
const char kInvalid[] =
    ".WAV Format Invalid: \n\nInvalid WAV Format. Not all types of WAV files are supported. Try "
    "saving your WAV file with a different program, or with 'extra wav information' turned off.";

// Shows the box and ends the program once it is closed: the game cannot run with a sound missing.
[[noreturn]] void FailLoad(const std::string& text) {
  ShowDataError(text.c_str());
  VornExit(-1);
}

std::string NotFoundText(const char* name) {
  return std::string(kNotFoundBefore) + name + kNotFoundAfter;
}

}  // namespace

bool SoundX::Load(const char* name) {
  WaveData wave;
  switch (DecodeWave(name, &wave)) {
    case WAVE_NOT_FOUND:
      FailLoad(NotFoundText(name));
    case WAVE_INVALID:
      FailLoad(kInvalid);
    case WAVE_NOT_PCM:
      return false;
    case WAVE_LOADED:
      break;
  }
  rate = wave.rate;
  bits = wave.bits;
  channels = wave.channels;
  if (wave.has_samples) {
    size = wave.size;
    frames = wave.frames;
    length = wave.length;
    data = std::move(wave.samples);
  }
  dirty = 1;
  return true;
}
