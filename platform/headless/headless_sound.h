// The headless sound object: it keeps its cooperative level and hands buffer creation to
// CreateHeadlessSoundBuffer.
#pragma once

#include <cstdint>

#include "platform/headless/headless.h"

namespace platform::headless {

class HeadlessSound final : public Sound {
 public:
  explicit HeadlessSound(HeadlessPlatform& platform) : platform_(platform) {}

  Result SetCooperativeLevel(Window window, uint32_t level) override;
  Result CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) override;
  void Release() override;

  uint32_t level() const { return level_; }
  bool released() const { return released_; }

 private:
  HeadlessPlatform& platform_;
  uint32_t level_ = 0;
  bool released_ = false;
};

}  // namespace platform::headless
