#include "platform/backends.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless/headless.h"
#ifdef VORN_HAVE_SDL
#include "platform/sdl/sdl_platform.h"
#endif
#ifdef VORN_HAVE_WEB
#include "platform/web/web_platform.h"
#endif

namespace platform {

namespace {

// Run as a program, the headless back end has no script: it closes the main window after
// VORN_HEADLESS_FRAMES idle passes (300 unless set), advances its clock 16 ms per pass, and
// prints its message boxes on stderr, so that a run ends and its errors are seen.
std::unique_ptr<Platform> OpenHeadless(const BackendSettings& /*settings*/) {
  headless::Config config;
  config.close_after_idle_polls = 300;
  if (const char* frames = std::getenv("VORN_HEADLESS_FRAMES"); frames != nullptr) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(frames, &end, 10);
    if (end != frames && *end == '\0' && value > 0) config.close_after_idle_polls = value;
  }
  config.ms_per_idle_poll = 16;
  config.echo_message_boxes = true;
  config.keep_frames = 1;
  return std::make_unique<headless::HeadlessPlatform>(config);
}

// The display back end of the build goes first: it is the one the program starts on.
constexpr BackendEntry kBackends[] = {
#ifdef VORN_HAVE_SDL
    {"sdl", CreateSdlPlatform},
#endif
#ifdef VORN_HAVE_WEB
    {"web", CreateWebPlatform},
#endif
    {"headless", OpenHeadless},
};

}  // namespace

std::span<const BackendEntry> Backends() {
  return kBackends;
}

std::unique_ptr<Platform> OpenBackend(const char* name, const BackendSettings& settings) {
  if (name == nullptr) return nullptr;
  for (const BackendEntry& entry : kBackends) {
    if (std::strcmp(entry.name, name) == 0) return entry.open(settings);
  }
  return nullptr;
}

}  // namespace platform
