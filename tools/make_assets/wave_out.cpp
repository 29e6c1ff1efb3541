#include "tools/make_assets/wave_out.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace assets {

bool WriteWave(const std::string& path, const std::vector<float>& samples) {
  SF_INFO info{};
  info.samplerate = kSoundRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "make-assets: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
    return false;
  }
  // No peak chunk and no text chunks: the reader steps over unknown chunks four bytes at a
  // time and would lose the samples behind one of an unlucky size.
  sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);

  std::vector<int16_t> pcm(samples.size());
  std::transform(samples.begin(), samples.end(), pcm.begin(), [](float s) {
    return static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
  });
  const sf_count_t written = sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
  const bool ok = written == static_cast<sf_count_t>(pcm.size()) && sf_close(file) == 0;
  if (!ok) std::fprintf(stderr, "make-assets: cannot write %s\n", path.c_str());
  return ok;
}

}  // namespace assets
