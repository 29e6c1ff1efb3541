// Chooses the platform back end and runs the program's entry on it.
//
// The desktop back end is used when it was built and can start. VORN_BACKEND names another one
// from the table instead, e.g. VORN_BACKEND=headless for a run without a display (which ends on
// its own after a number of frames).
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "platform/backends.h"

namespace {

constexpr int kShowNormal = 1;

}  // namespace

int main() {
  const char* wanted = std::getenv("VORN_BACKEND");
  std::unique_ptr<platform::Platform> backend;
  if (wanted != nullptr && *wanted != '\0') {
    backend = platform::OpenBackend(wanted);
    if (backend == nullptr) {
      std::fprintf(stderr, "vorn: the back end \"%s\" is not available\n", wanted);
      return 1;
    }
  } else {
    backend = platform::OpenBackend("sdl");
    if (backend == nullptr) {
      std::fprintf(stderr,
                   "vorn: no display back end is available (VORN_BACKEND=headless runs without "
                   "a display)\n");
      return 1;
    }
  }
  Vorn.UsePlatform(backend.get());
  char command_line[] = "";
  const int result = WinMain(nullptr, nullptr, command_line, kShowNormal);
  Vorn.UsePlatform(nullptr);
  return result;
}
