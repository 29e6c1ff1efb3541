// The sound object of a web page: PCM buffers played through the page's Web Audio, each one
// once from its position, all mixed by the browser.
#pragma once

#include "platform/platform.h"

namespace platform::web {

// A sound object; the page makes its audio context at the first key or click, since browsers
// start sound only after a gesture. Until then plays are silent but keep their rules.
Result CreateWebSound(Sound** out);

}  // namespace platform::web
