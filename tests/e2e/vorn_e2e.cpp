// A stand-in for the game, for end-to-end runs of the desktop back end under a real X server.
// It starts the engine windowed at 800 x 600 and fills the view every frame with one colour that
// tells the test what the engine has seen:
//
//   D held            green  (0x07E0)
//   left arrow held   blue   (0x001F)
//   last typed 'w'    white  (0xFFFF)
//   otherwise         red    (0xF800)
//
// The top-left 16 x 16 pixels are always grey 0x8410, to check the 5-6-5 conversion on screen.
//
// `vorn-e2e --measure SECONDS` closes its window after that many seconds of presenting and
// prints the frames presented in that time: "presented N frames in T ms (F fps)".
// `vorn-e2e --scale N` opens the window at up to N times its size. Every press of the left
// button prints the pointer's view coordinates: "click X Y".
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "platform/sdl/sdl_platform.h"

namespace {

struct Measurement {
  uint32_t seconds = 0;  // 0: no measurement, run until closed
  bool started = false;
  uint32_t start_ms = 0;
  uint64_t start_frames = 0;
};

// The hooks have no arguments; the stand-in's state lives with main and is reached from here.
struct E2eState {
  platform::sdl::SdlPlatform* platform = nullptr;
  Measurement measurement;
  int was_down = 0;
};

E2eState& State() {
  static E2eState state;
  return state;
}

uint16_t FrameColour() {
  if (Vorn.keys['D'] != 0) return 0x07E0;
  if (Vorn.keys[platform::VK_LEFT] != 0) return 0x001F;
  if (Vorn.char_count > 0 && Vorn.char_buf[Vorn.char_count - 1] == 'w') return 0xFFFF;
  return 0xF800;
}

void Measure() {
  Measurement& m = State().measurement;
  if (m.seconds == 0) return;
  platform::sdl::SdlPlatform& sdl = *State().platform;
  const uint64_t frames = sdl.FramesPresented();
  // The clock starts with the first frame on screen, so start-up does not count.
  if (!m.started) {
    if (frames == 0) return;
    m.started = true;
    m.start_ms = sdl.Milliseconds();
    m.start_frames = frames;
    return;
  }
  const uint32_t elapsed = sdl.Milliseconds() - m.start_ms;
  if (elapsed < m.seconds * 1000) return;
  const uint64_t presented = frames - m.start_frames;
  std::printf("presented %llu frames in %u ms (%.1f fps)\n",
              static_cast<unsigned long long>(presented), elapsed,
              static_cast<double>(presented) * 1000.0 / elapsed);
  std::fflush(stdout);
  m.seconds = 0;
  sdl.Windows().DestroyWindow(Vorn.hwnd);
}

}  // namespace

void GameInit() {
  Vorn.Initialize(0, 800, 600);
}

int GameRun() {
  if (!Vorn.ViewLock()) return Vorn.ViewUpdate();
  const uint16_t colour = FrameColour();
  for (int y = 0; y <= Vorn.clip_bottom; ++y) {
    uint16_t* row = Vorn.view + y * Vorn.view_stride;
    for (int x = 0; x <= Vorn.clip_right; ++x) row[x] = (x < 16 && y < 16) ? 0x8410 : colour;
  }
  Vorn.ViewUnlock();
  const int shown = Vorn.ViewUpdate();
  Measure();
  if (Vorn.mouse_down != 0 && State().was_down == 0) {
    std::printf("click %d %d\n", Vorn.mouse_x, Vorn.mouse_y);
    std::fflush(stdout);
  }
  State().was_down = Vorn.mouse_down;
  return shown;
}

int main(int argc, char** argv) {
  platform::sdl::SdlPlatform sdl;
  State().platform = &sdl;
  if (argc == 3 && std::strcmp(argv[1], "--measure") == 0) {
    State().measurement.seconds = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  }
  if (argc == 3 && std::strcmp(argv[1], "--scale") == 0) {
    sdl.windows().SetOpeningScale(std::atoi(argv[2]));
  }
  Vorn.UsePlatform(&sdl);
  char command_line[] = "";
  const int result = WinMain(nullptr, nullptr, command_line, 1);
  Vorn.UsePlatform(nullptr);
  return result;
}
