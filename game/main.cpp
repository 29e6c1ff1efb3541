// Chooses the platform back end and runs the program's entry on it.
//
// The display back end of the build (the desktop's, or the page's in a browser) is used when it
// can start. VORN_BACKEND names another one from the table instead, e.g. VORN_BACKEND=headless for
// a run without a display (which ends on its own after a number of frames).
//
// The options are read from the table in game/options.cpp.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/game.h"
#include "game/options.h"
#include "game/replay_run.h"
#include "platform/backends.h"

namespace {

constexpr int kShowNormal = 1;

}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  std::string error;
  if (!ParseGameOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "vorn: %s\n%s\n", error.c_str(), GameUsage().c_str());
    return 2;
  }
  ChooseSides(options.side);
  // A recording that cannot be played, or a file that cannot be written, is refused before a
  // window opens, with the status of a failed start.
  if (!options.replay.empty() && !ReplayFrom(options.replay, &error)) {
    std::fprintf(stderr, "vorn: %s\n", error.c_str());
    return 255;
  }
  platform::BackendSettings settings;
  settings.window_scale = options.window_scale;
  UseNetPlay(options.net);
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
  if (!options.record.empty() && !RecordTo(options.record, &error)) {
    std::fprintf(stderr, "vorn: %s\n", error.c_str());
    return 255;
  }
  Vorn.UsePlatform(backend.get());
  char command_line[] = "";
  const int result = WinMain(nullptr, nullptr, command_line, kShowNormal);
  EndRecording(game);
  Vorn.UsePlatform(nullptr);
  return result;
}
