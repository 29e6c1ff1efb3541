// The SDL sound object: PCM buffers that play once from their position, mixed together into one
// SDL audio device. Each buffer's samples are converted to the device's format by SDL when the
// buffer is unlocked.
#pragma once

#include "platform/platform.h"

namespace platform {

// Opens the default audio device (or the one SDL_AUDIODRIVER names) and makes a sound object on
// it. DSERR_NODRIVER when no device can be opened; *out is then null.
Result CreateSdlSound(Sound** out);

}  // namespace platform
