#include "support/sound_clips.h"

#include <cstring>

TestClip::TestClip(uint16_t clip_channels, uint16_t clip_bits, int32_t clip_rate,
                   const std::string& bytes) {
  channels = clip_channels;
  bits = clip_bits;
  rate = clip_rate;
  SetSamples(bytes);
}

void TestClip::SetSamples(const std::string& bytes) {
  data = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(data.get(), bytes.data(), bytes.size());
  size = static_cast<int32_t>(bytes.size());
  frames = size / (channels * (bits / 8));
  length = static_cast<float>(frames) / static_cast<float>(rate);
  dirty = 1;
}

std::string TestClip::Samples() const {
  return {reinterpret_cast<const char*>(data.get()), static_cast<size_t>(size)};
}
