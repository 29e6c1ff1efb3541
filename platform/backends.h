// The table of back ends by name, so that one binary can hold several and pick one at run time.
#pragma once

#include <memory>
#include <span>

#include "platform/platform.h"

namespace platform {

// What the program's options ask of a back end; those without windows ignore it.
struct BackendSettings {
  int window_scale = 1;  // framed windows open at up to this whole multiple of their size
};

struct BackendEntry {
  const char* name;
  // A ready back end, or null when it cannot start here (no display, no device).
  std::unique_ptr<Platform> (*open)(const BackendSettings& settings);
};

// Every back end built into this binary, the display back end first: "sdl" on the desktop,
// "web" on a page, when built, then "headless" always.
std::span<const BackendEntry> Backends();

// The back end of that name, opened; null for an unknown name or one that cannot start.
std::unique_ptr<Platform> OpenBackend(const char* name, const BackendSettings& settings = {});

}  // namespace platform
