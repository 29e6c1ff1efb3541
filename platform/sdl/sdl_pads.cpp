#include "platform/sdl/sdl_pads.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "platform/messages.h"

namespace platform::sdl {
namespace {

// The handler's codes are SDL's own numbering of the standard layout, so no table is needed;
// buttons and axes beyond it (paddles, touchpads) are not passed on.
static_assert(PAD_BUTTON_A == SDL_CONTROLLER_BUTTON_A);
static_assert(PAD_BUTTON_BACK == SDL_CONTROLLER_BUTTON_BACK);
static_assert(PAD_BUTTON_START == SDL_CONTROLLER_BUTTON_START);
static_assert(PAD_BUTTON_LEFTSHOULDER == SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
static_assert(PAD_BUTTON_DPAD_RIGHT == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(PAD_BUTTONS == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
static_assert(PAD_AXIS_LEFTX == SDL_CONTROLLER_AXIS_LEFTX);
static_assert(PAD_AXIS_TRIGGERRIGHT == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
static_assert(PAD_AXES == SDL_CONTROLLER_AXIS_MAX);

uintptr_t PadId(SDL_JoystickID id) {
  return static_cast<uintptr_t>(static_cast<uint32_t>(id));
}

}  // namespace

SdlPads::~SdlPads() {
  // SDL_Quit, when it came first, has closed and freed every controller already.
  if (!started_ || SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) return;
  for (SDL_GameController* pad : open_) SDL_GameControllerClose(pad);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPads::Start() {
  if (started_) return true;
  // A pad's releases must arrive even while another window has the keyboard; otherwise a button
  // let go meanwhile stays held when the player comes back, and the ring spins on its own.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  return started_;
}

bool SdlPads::Convert(const SDL_Event& event, Window target, std::vector<Message>* out) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // `which` is a device index here; every later event names the pad by its instance id.
      SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
      if (pad == nullptr) return true;
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
      if (Opened(id) != nullptr) {
        SDL_GameControllerClose(pad);  // announced twice; SDL counted a second opening
        return true;
      }
      open_.push_back(pad);
      if (target != nullptr) out->push_back(Message{target, WM_PADADDED, PadId(id), 0});
      return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      SDL_GameController* pad = Opened(event.cdevice.which);
      if (pad == nullptr) return true;
      std::erase(open_, pad);
      SDL_GameControllerClose(pad);
      if (target != nullptr) {
        out->push_back(Message{target, WM_PADREMOVED, PadId(event.cdevice.which), 0});
      }
      return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const uint32_t message =
          event.type == SDL_CONTROLLERBUTTONDOWN ? WM_PADBUTTONDOWN : WM_PADBUTTONUP;
      if (target != nullptr && Opened(event.cbutton.which) != nullptr &&
          event.cbutton.button < PAD_BUTTONS) {
        out->push_back(Message{target, message, PadId(event.cbutton.which), event.cbutton.button});
      }
      return true;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (target != nullptr && Opened(event.caxis.which) != nullptr &&
          event.caxis.axis < PAD_AXES) {
        out->push_back(Message{target, WM_PADAXIS, PadId(event.caxis.which),
                               MakeLParam(event.caxis.axis, event.caxis.value)});
      }
      return true;
    default:
      return false;
  }
}

SDL_GameController* SdlPads::Opened(SDL_JoystickID id) const {
  const auto found = std::find_if(open_.begin(), open_.end(), [id](SDL_GameController* pad) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
  });
  return found != open_.end() ? *found : nullptr;
}

}  // namespace platform::sdl
