#include "platform/headless/headless_sound_buffer.h"

#include <algorithm>
#include <memory>

namespace platform::headless {

Result CreateHeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc,
                                 SoundBuffer** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (!PcmStore::Acceptable(desc)) return DSERR_INVALIDPARAM;
  *out = platform.AdoptSoundBuffer(std::make_unique<HeadlessSoundBuffer>(platform, desc));
  return OK;
}

HeadlessSoundBuffer::HeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc)
    : platform_(platform), store_(desc), cursor_time_(platform.Milliseconds()) {}

void HeadlessSoundBuffer::Advance() {
  const uint32_t now = platform_.Milliseconds();
  if (playing_) {
    const WaveFormat& format = store_.Format();
    const uint64_t moved = static_cast<uint64_t>(now - cursor_time_) * format.avg_bytes_per_sec /
                           1000u / format.block_align * format.block_align;
    const uint64_t end = store_.Size();
    if (position_ + moved >= end) {
      position_ = static_cast<uint32_t>(end);
      playing_ = false;
    } else {
      position_ += static_cast<uint32_t>(moved);
    }
  }
  cursor_time_ = now;
}

bool HeadlessSoundBuffer::IsPlaying() {
  Advance();
  return playing_;
}

uint32_t HeadlessSoundBuffer::Position() {
  Advance();
  return position_;
}

Result HeadlessSoundBuffer::GetCaps(BufferCaps* caps) {
  if (const Result fault = platform_.TakeFault(Op::kBufferGetCaps); fault != OK) return fault;
  return store_.GetCaps(caps);
}

Result HeadlessSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                                 void** region2, uint32_t* bytes2, uint32_t /*flags*/) {
  if (const Result fault = platform_.TakeFault(Op::kBufferLock); fault != OK) return fault;
  const Result result = store_.Lock(offset, bytes, region1, bytes1, region2, bytes2);
  if (result == OK) ++locks_;
  return result;
}

Result HeadlessSoundBuffer::Restore() {
  if (const Result fault = platform_.TakeFault(Op::kBufferRestore); fault != OK) return fault;
  return store_.Released() ? DSERR_INVALIDCALL : OK;
}

Result HeadlessSoundBuffer::Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
  if (const Result fault = platform_.TakeFault(Op::kBufferUnlock); fault != OK) return fault;
  const Result result = store_.Unlock(region1, bytes1, region2, bytes2);
  if (result == OK) ++unlocks_;
  return result;
}

Result HeadlessSoundBuffer::SetCurrentPosition(uint32_t position) {
  if (const Result fault = platform_.TakeFault(Op::kBufferSetPosition); fault != OK) return fault;
  if (const Result refused = store_.CheckPosition(position); refused != OK) return refused;
  Advance();
  const uint32_t block = store_.Format().block_align;
  position_ = position / block * block;
  return OK;
}

Result HeadlessSoundBuffer::Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t /*flags*/) {
  if (const Result fault = platform_.TakeFault(Op::kBufferPlay); fault != OK) return fault;
  if (store_.Released()) return DSERR_INVALIDCALL;
  Advance();
  plays_.push_back({platform_.Milliseconds(), position_, playing_});
  // A buffer whose cursor stands at its end has nothing left to play.
  playing_ = position_ < store_.Size();
  return OK;
}

void HeadlessSoundBuffer::Release() {
  if (store_.Released()) {
    platform_.CountReleaseError();
    return;
  }
  store_.MarkReleased();
  playing_ = false;
}

}  // namespace platform::headless
