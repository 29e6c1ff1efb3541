// Sound clips for tests, built in memory.
#pragma once

#include <cstdint>
#include <string>

#include "engine/sound/soundx.h"

struct TestClip : SoundX {
  TestClip() = default;
  // A clip as a load would leave it: format, `bytes` as samples, frames from the frame size.
  TestClip(uint16_t clip_channels, uint16_t clip_bits, int32_t clip_rate, const std::string& bytes);

  // Replaces the samples, as a reload does.
  void SetSamples(const std::string& bytes);
  std::string Samples() const;
};
