#include "platform/headless/headless_sound.h"

namespace platform::headless {

Result HeadlessSound::SetCooperativeLevel(Window window, uint32_t level) {
  if (released_) return DSERR_INVALIDCALL;
  if (const Result r = platform_.TakeFault(Op::kSoundCooperativeLevel); r != OK) return r;
  const WindowInfo* info = platform_.FindWindow(window);
  if (info == nullptr || info->destroyed || level == 0) return DSERR_INVALIDPARAM;
  level_ = level;
  return OK;
}

Result HeadlessSound::CreateSoundBuffer(const BufferDesc& desc, SoundBuffer** out) {
  *out = nullptr;
  if (released_) return DSERR_INVALIDCALL;
  if (const Result r = platform_.TakeFault(Op::kCreateSoundBuffer); r != OK) return r;
  // Buffers may only be made once the program has said how it shares the device.
  if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
  return CreateHeadlessSoundBuffer(platform_, desc, out);
}

void HeadlessSound::Release() {
  if (released_) {
    platform_.CountReleaseError();
    return;
  }
  released_ = true;
}

}  // namespace platform::headless
