#include "platform/headless/headless_sound_buffer.h"

#include <algorithm>
#include <memory>

namespace platform::headless {

namespace {

// The formats a sound device takes: PCM of 8 or 16 bits, whole frames, a sensible rate.
bool Acceptable(const BufferDesc& desc) {
  if (desc.size != 20 || desc.format == nullptr) return false;
  const WaveFormat& f = *desc.format;
  if (f.format_tag != WAVE_FORMAT_PCM || f.channels == 0 || f.channels > 8) return false;
  if (f.bits_per_sample != 8 && f.bits_per_sample != 16) return false;
  if (f.samples_per_sec < 100 || f.samples_per_sec > 200000) return false;
  if (f.block_align != f.channels * (f.bits_per_sample / 8)) return false;
  if (f.avg_bytes_per_sec != f.samples_per_sec * f.block_align) return false;
  return desc.buffer_bytes > 0 && desc.buffer_bytes % f.block_align == 0;
}

}  // namespace

Result CreateHeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc,
                                 SoundBuffer** out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (!Acceptable(desc)) return DSERR_INVALIDPARAM;
  *out = platform.AdoptSoundBuffer(std::make_unique<HeadlessSoundBuffer>(platform, desc));
  return OK;
}

HeadlessSoundBuffer::HeadlessSoundBuffer(HeadlessPlatform& platform, const BufferDesc& desc)
    : platform_(platform),
      format_(*desc.format),
      flags_(desc.flags),
      bytes_(desc.buffer_bytes, 0),
      cursor_time_(platform.Milliseconds()) {}

void HeadlessSoundBuffer::Advance() {
  const uint32_t now = platform_.Milliseconds();
  if (playing_) {
    const uint64_t moved = static_cast<uint64_t>(now - cursor_time_) * format_.avg_bytes_per_sec /
                           1000u / format_.block_align * format_.block_align;
    const uint64_t end = bytes_.size();
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
  if (released_) return DSERR_INVALIDCALL;
  if (caps == nullptr || caps->size != 20) return DSERR_INVALIDPARAM;
  caps->flags = flags_;
  caps->buffer_bytes = static_cast<uint32_t>(bytes_.size());
  return OK;
}

Result HeadlessSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                                 void** region2, uint32_t* bytes2, uint32_t /*flags*/) {
  if (const Result fault = platform_.TakeFault(Op::kBufferLock); fault != OK) return fault;
  if (released_ || locked_) return DSERR_INVALIDCALL;
  if (region1 == nullptr || bytes1 == nullptr || offset > bytes_.size() ||
      bytes > bytes_.size() - offset) {
    return DSERR_INVALIDPARAM;
  }
  locked_ = true;
  locked_region_ = bytes_.data() + offset;
  locked_bytes_ = bytes;
  *region1 = locked_region_;
  *bytes1 = bytes;
  if (region2 != nullptr) *region2 = nullptr;
  if (bytes2 != nullptr) *bytes2 = 0;
  ++locks_;
  return OK;
}

Result HeadlessSoundBuffer::Restore() {
  if (const Result fault = platform_.TakeFault(Op::kBufferRestore); fault != OK) return fault;
  return released_ ? DSERR_INVALIDCALL : OK;
}

Result HeadlessSoundBuffer::Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
  if (const Result fault = platform_.TakeFault(Op::kBufferUnlock); fault != OK) return fault;
  if (!locked_ || region1 != locked_region_ || bytes1 != locked_bytes_ || region2 != nullptr ||
      bytes2 != 0) {
    return DSERR_INVALIDPARAM;
  }
  locked_ = false;
  ++unlocks_;
  return OK;
}

Result HeadlessSoundBuffer::SetCurrentPosition(uint32_t position) {
  if (const Result fault = platform_.TakeFault(Op::kBufferSetPosition); fault != OK) return fault;
  if (released_) return DSERR_INVALIDCALL;
  if (position > bytes_.size()) return DSERR_INVALIDPARAM;
  Advance();
  position_ = position / format_.block_align * format_.block_align;
  return OK;
}

Result HeadlessSoundBuffer::Play(uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t /*flags*/) {
  if (const Result fault = platform_.TakeFault(Op::kBufferPlay); fault != OK) return fault;
  if (released_) return DSERR_INVALIDCALL;
  Advance();
  plays_.push_back({platform_.Milliseconds(), position_, playing_});
  // A buffer whose cursor stands at its end has nothing left to play.
  playing_ = position_ < bytes_.size();
  return OK;
}

void HeadlessSoundBuffer::Release() {
  if (released_) {
    platform_.CountReleaseError();
    return;
  }
  released_ = true;
  playing_ = false;
}

}  // namespace platform::headless
