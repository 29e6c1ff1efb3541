// Decoding of PCM RIFF/WAVE files into what a sound clip holds. The decoder never ends the
// program and shows nothing: it reports what it found, and the clip decides what follows.
#pragma once

#include <cstdint>
#include <memory>

enum WaveResult : int32_t {
  WAVE_LOADED = 0,   // read to its end; the format fields are set, the samples if it had any
  WAVE_NOT_PCM = 1,  // the format tag is not 1; nothing in the result is meaningful
  WAVE_NOT_FOUND = 2,
  WAVE_INVALID = 3,  // not RIFF/WAVE with the format chunk first, or a format we cannot size
};

struct WaveData {
  int32_t rate = 0;
  uint16_t bits = 0;
  uint16_t channels = 0;
  // Set only when a "data" chunk was found; the last one found wins.
  bool has_samples = false;
  int32_t size = 0;
  int32_t frames = 0;
  float length = 0.0f;
  std::unique_ptr<uint8_t[]> samples;
};

// Reads the named file (a "\"-separated name as the game gives it) into *out.
WaveResult DecodeWave(const char* name, WaveData* out);
