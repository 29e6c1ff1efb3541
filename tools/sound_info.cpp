// sound-inspect [--raw OUT] FILE: loads FILE as the game loads a sound clip and prints what the
// clip holds; with --raw, also writes the clip's sample bytes to OUT. Message boxes appear on
// standard error as "CAPTION: TEXT", and a file the game could not load ends this tool the way
// it ends the game.
#include <cstdio>
#include <cstring>

#include "engine/core/vorn.h"
#include "engine/sound/soundx.h"
#include "platform/headless/headless.h"

namespace {

int Usage() {
  std::fputs("usage: sound-inspect [--raw OUT] FILE\n", stderr);
  return 2;
}

bool WriteRaw(const char* path, const SoundX& clip) {
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return false;
  const size_t size = clip.data != nullptr ? static_cast<size_t>(clip.size) : 0;
  // A clip without samples (refused or unloaded) writes an empty file: fwrite is not given its
  // null pointer.
  const bool ok = size == 0 || std::fwrite(clip.data.get(), 1, size, out) == size;
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const char* raw = nullptr;
  const char* name = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--raw") == 0 && i + 1 < argc) {
      raw = argv[++i];
    } else if (name == nullptr && argv[i][0] != '-') {
      name = argv[i];
    } else {
      return Usage();
    }
  }
  if (name == nullptr) return Usage();

  platform::headless::Config config;
  config.echo_message_boxes = true;
  platform::headless::HeadlessPlatform headless(config);
  Vorn.UsePlatform(&headless);

  // Static, as the game's clips are: its samples live until the program ends.
  static SoundX clip;
  const bool loaded = clip.Load(name);
  std::printf("loaded=%d rate=%d bits=%d channels=%d frames=%d size=%d length=%g dirty=%d\n",
              loaded ? 1 : 0, clip.rate, clip.bits, clip.channels, clip.frames, clip.size,
              static_cast<double>(clip.length), clip.dirty);
  if (raw != nullptr && !WriteRaw(raw, clip)) {
    std::fprintf(stderr, "sound-inspect: cannot write %s\n", raw);
    return 1;
  }
  return 0;
}
