// A headless sound buffer: PCM bytes in memory and a play cursor that moves with the platform's
// clock, so that tests can see what was played, from where, when, and whether it still sounds.
//
// - Lock gives the requested range as one region (the second region is always empty); a buffer
//   that is already locked refuses with DSERR_INVALIDCALL, a range beyond the buffer with
//   DSERR_INVALIDPARAM. Unlock must give back the region Lock gave.
// - Play starts the buffer from its cursor and lets a playing buffer go on; it stops at the end
//   of the buffer, where the cursor then stays. SetCurrentPosition moves the cursor, also while
//   the buffer plays. The cursor advances by the format's bytes per second on the clock.
// - Every operation first asks the platform for an injected fault (Op::kBuffer...).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/pcm_store.h"

namespace platform::headless {

struct PlayRecord {
  uint32_t time = 0;      // platform clock when Play was called
  uint32_t position = 0;  // cursor, in bytes, at that moment
  bool was_playing = false;
};

class HeadlessSoundBuffer final : public SoundBuffer {
 public:
  HeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc);

  Result GetCaps(BufferCaps* caps) override;
  Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1, void** region2,
              uint32_t* bytes2, uint32_t flags) override;
  Result Restore() override;
  Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) override;
  Result SetCurrentPosition(uint32_t position) override;
  Result Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
  void Release() override;

  // What tests look at.
  const WaveFormat& Format() const { return store_.Format(); }
  uint32_t Flags() const { return store_.Flags(); }
  const std::vector<uint8_t>& Bytes() const { return store_.Bytes(); }
  const std::vector<PlayRecord>& Plays() const { return plays_; }
  int Locks() const { return locks_; }      // successful locks
  int Unlocks() const { return unlocks_; }  // successful unlocks
  bool Released() const { return store_.Released(); }
  bool IsPlaying();
  uint32_t Position();  // the play cursor now, in bytes

 private:
  // Brings the cursor up to the platform's clock.
  void Advance();

  HeadlessPlatform& platform_;
  PcmStore store_;
  std::vector<PlayRecord> plays_;
  int locks_ = 0;
  int unlocks_ = 0;
  bool playing_ = false;
  uint32_t position_ = 0;
  uint32_t cursor_time_ = 0;  // clock at which position_ was last brought up to date
};

}  // namespace platform::headless
