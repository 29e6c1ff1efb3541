// The browser back end: the program on a web page, built with Emscripten. The engine's view on
// a canvas, the page's keys and focus, Web Audio, a clock held while the page is hidden, and
// the message loop run from the browser's animation frames at a steady 60 steps a second.
#pragma once

#include <memory>

#include "platform/backends.h"
#include "platform/platform.h"

namespace platform {

// The back end of the page the program runs in. The canvas is scaled to fit the browser's
// window whatever the settings ask.
std::unique_ptr<Platform> CreateWebPlatform(const BackendSettings& settings);

}  // namespace platform
