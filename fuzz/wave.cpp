// Feeds arbitrary bytes to the WAVE decoding core as a file, and checks what it claims to have
// read against the file it was given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/sound/wave_reader.h"
#include "fuzz/check.h"

namespace {

// One scratch file per fuzzing process, removed when the process ends. In memory where there is
// a memory file system: rewriting a file on disk thousands of times a second is slow.
struct ScratchFile {
  std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                     "/fuzz-wave-" + std::to_string(getpid()) + ".wav";
  ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& InputPath() {
  static const ScratchFile scratch;
  return scratch.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  WaveData wave;
  const WaveResult result = DecodeWave(InputPath().c_str(), &wave);
  Check(result != WAVE_NOT_FOUND);
  if (result == WAVE_LOADED) {
    Check(wave.channels > 0 && wave.bits >= 8);
    if (wave.has_samples) {
      // The samples never exceed the file, and every byte of them can be read.
      Check(wave.size >= 0 && static_cast<size_t>(wave.size) <= size);
      Check(wave.frames == wave.size / (wave.channels * (wave.bits / 8)));
      uint32_t sum = 0;
      for (int32_t i = 0; i < wave.size; ++i) sum += wave.samples[static_cast<size_t>(i)];
      Check(wave.bits <= 16 || sum == 0);
    }
  }
  return 0;
}
