// Chooses the platform back end and runs the program's entry on it.
//
// The display back end of the build (the desktop's, or the page's in a browser) is used when it
// can start. VORN_BACKEND names another one from the table instead, e.g. VORN_BACKEND=headless for
// a run without a display (which ends on its own after a number of frames).
//
// Options: `--scale N` opens the window at the largest whole multiple of its size up to N that
// fits the desktop (the view is drawn at its own size and scaled to the window); `--host [PORT]`,
// `--join HOST[:PORT]` and `--input-delay N` play a network match.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/net_play.h"
#include "platform/backends.h"

namespace {

constexpr int kShowNormal = 1;
// No desktop is 16 times as large as the view in both directions.
constexpr long kLargestScale = 16;

int Usage() {
  std::fprintf(stderr,
               "usage: vorn [--scale N] [--host [PORT] | --join HOST[:PORT]] [--input-delay N]   "
               "(N from 1 to %ld)\n",
               kLargestScale);
  return 2;
}

// False for anything but the options above, each given whole and in range.
bool ParseOptions(int argc, char** argv, platform::BackendSettings* settings, NetPlayOptions* net) {
  for (int i = 1; i < argc; ++i) {
    const ArgumentResult network = ParseNetArgument(argc, argv, &i, net);
    if (network == ArgumentResult::Taken) continue;
    if (network == ArgumentResult::Bad) return false;
    if (std::strcmp(argv[i], "--scale") != 0 || i + 1 >= argc) return false;
    const char* text = argv[++i];
    char* end = nullptr;
    const long scale = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || scale < 1 || scale > kLargestScale) return false;
    settings->window_scale = static_cast<int>(scale);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  platform::BackendSettings settings;
  NetPlayOptions net;
  if (!ParseOptions(argc, argv, &settings, &net)) return Usage();
  UseNetPlay(net);
  const char* wanted = std::getenv("VORN_BACKEND");
  std::unique_ptr<platform::Platform> backend;
  if (wanted != nullptr && *wanted != '\0') {
    backend = platform::OpenBackend(wanted, settings);
    if (backend == nullptr) {
      std::fprintf(stderr, "vorn: the back end \"%s\" is not available\n", wanted);
      return 1;
    }
  } else {
    // The table lists the display back end first; a build without one has only "headless".
    const platform::BackendEntry& display = platform::Backends().front();
    if (std::string_view(display.name) != "headless") backend = display.open(settings);
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
