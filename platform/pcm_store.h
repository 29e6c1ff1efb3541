// The bytes of one PCM sound buffer and the rules for reaching them, shared by every back end:
// which formats a buffer accepts, what its capabilities report, and how it is locked and
// unlocked. A back end adds how the bytes are played.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform {

class PcmStore {
 public:
  // PCM of 8 or 16 bits, whole frames, a sensible rate and a consistent byte rate.
  static bool Acceptable(const BufferDesc& desc) {
    if (desc.size != BUFFER_DESC_SIZE || desc.format == nullptr) return false;
    const WaveFormat& f = *desc.format;
    if (f.format_tag != WAVE_FORMAT_PCM || f.channels == 0 || f.channels > 8) return false;
    if (f.bits_per_sample != 8 && f.bits_per_sample != 16) return false;
    if (f.samples_per_sec < 100 || f.samples_per_sec > 200000) return false;
    if (f.block_align != f.channels * (f.bits_per_sample / 8)) return false;
    if (f.avg_bytes_per_sec != f.samples_per_sec * f.block_align) return false;
    return desc.buffer_bytes > 0 && desc.buffer_bytes % f.block_align == 0;
  }

  // Only for a description that Acceptable passed. The bytes start silent-zero.
  explicit PcmStore(const BufferDesc& desc)
      : format_(*desc.format), flags_(desc.flags), bytes_(desc.buffer_bytes, 0) {}

  Result GetCaps(BufferCaps* caps) const {
    if (released_) return DSERR_INVALIDCALL;
    if (caps == nullptr || caps->size != BUFFER_CAPS_SIZE) return DSERR_INVALIDPARAM;
    caps->flags = flags_;
    caps->buffer_bytes = Size();
    return OK;
  }

  // The requested range as one region; the second region is always empty.
  Result Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1, void** region2,
              uint32_t* bytes2) {
    if (released_ || locked_) return DSERR_INVALIDCALL;
    if (region1 == nullptr || bytes1 == nullptr || offset > Size() || bytes > Size() - offset) {
      return DSERR_INVALIDPARAM;
    }
    locked_ = true;
    locked_region_ = bytes_.data() + offset;
    locked_bytes_ = bytes;
    *region1 = locked_region_;
    *bytes1 = bytes;
    if (region2 != nullptr) *region2 = nullptr;
    if (bytes2 != nullptr) *bytes2 = 0;
    return OK;
  }

  // Must give back exactly the region Lock gave.
  Result Unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
    if (!locked_ || region1 != locked_region_ || bytes1 != locked_bytes_ || region2 != nullptr ||
        bytes2 != 0) {
      return DSERR_INVALIDPARAM;
    }
    locked_ = false;
    return OK;
  }

  // Moving the play cursor: within the buffer, on a live buffer.
  Result CheckPosition(uint32_t position) const {
    if (released_) return DSERR_INVALIDCALL;
    return position > Size() ? DSERR_INVALIDPARAM : OK;
  }

  const WaveFormat& Format() const { return format_; }
  uint32_t Flags() const { return flags_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
  bool Released() const { return released_; }
  void MarkReleased() { released_ = true; }

 private:
  WaveFormat format_;
  uint32_t flags_;
  std::vector<uint8_t> bytes_;
  bool locked_ = false;
  void* locked_region_ = nullptr;
  uint32_t locked_bytes_ = 0;
  bool released_ = false;
};

}  // namespace platform
