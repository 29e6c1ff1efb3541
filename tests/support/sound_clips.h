// Sound clips for tests, built in memory, that free their samples when the test ends (the
// engine's own clips live until the program ends and never do).
#pragma once

#include <cstdint>
#include <string>

#include "engine/sound/soundx.h"

struct TestClip : SoundX {
  TestClip() = default;
  // A clip as a load would leave it: format, `bytes` as samples, frames from the frame size.
  TestClip(uint16_t clip_channels, uint16_t clip_bits, int32_t clip_rate, const std::string& bytes);
  ~TestClip() { delete[] data; }

  // Replaces the samples, as a reload does.
  void SetSamples(const std::string& bytes);
  std::string Samples() const;
};

// Frees the engine's sound registry tables, which resetting the engine only drops; for tests
// that start the engine more than once.
void FreeSoundRegistry();
