// One sound clip: the samples of a PCM WAVE file and the link to its platform buffer.
#pragma once

#include <cstdint>
#include <memory>

class SoundX {
 public:
  SoundX() = default;
  SoundX(const SoundX&) = delete;
  SoundX& operator=(const SoundX&) = delete;

  bool Load(const char* name);
  bool NeedsFill() const { return buffer == -1 || dirty == 1; }

  int32_t rate = 0;
  uint16_t bits = 0;
  uint16_t channels = 0;
  float length = 0.0f;
  int32_t frames = 0;
  int32_t size = 0;
  std::unique_ptr<uint8_t[]> data;  // the samples, or null when the clip has none
  int32_t buffer = -1;
  uint8_t dirty = 1;
};
