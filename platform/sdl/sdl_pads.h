// Gamepads through SDL's game controller layer, which gives every known pad the same named
// buttons and axes. Pads plugged in are opened, pads pulled out are closed, and their events
// become the pad messages of the window handler.
#pragma once

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_gamecontroller.h>

#include <vector>

#include "platform/platform.h"

namespace platform::sdl {

class SdlPads {
 public:
  SdlPads() = default;
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Starts SDL's game controller layer, once; pads already plugged in are announced by the
  // events that follow. False when it cannot start, and the program plays with keys alone.
  bool Start();
  // Appends the message a pad event stands for, addressed to `target`; true when the event was
  // a pad's (handled, even when it gave no message), false for any other event.
  bool Convert(const SDL_Event& event, Window target, std::vector<Message>* out);

 private:
  SDL_GameController* Opened(SDL_JoystickID id) const;

  bool started_ = false;
  std::vector<SDL_GameController*> open_;
};

}  // namespace platform::sdl
