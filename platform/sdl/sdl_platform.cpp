#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

#include "platform/sdl/sdl_sound.h"

namespace platform::sdl {

SdlPlatform::~SdlPlatform() {
  displays_.clear();
  // SDL's signal handlers and any subsystem started on the way (sound) go with SDL itself.
  SDL_Quit();
}

Result SdlPlatform::CreateDisplay(Display** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (!windows_.StartVideo()) return DDERR_NODIRECTDRAWHW;
  displays_.push_back(std::make_unique<SdlDisplay>(windows_));
  *out = displays_.back().get();
  return OK;
}

Result SdlPlatform::CreateSound(Sound** out) {
  return CreateSdlSound(out);
}

uint32_t SdlPlatform::Milliseconds() {
  return SDL_GetTicks();
}

uint64_t SdlPlatform::FramesPresented() const {
  uint64_t frames = 0;
  for (const auto& display : displays_) frames += display->FramesPresented();
  return frames;
}

}  // namespace platform::sdl

namespace platform {

std::unique_ptr<Platform> CreateSdlPlatform(const BackendSettings& settings) {
  auto sdl = std::make_unique<sdl::SdlPlatform>();
  sdl->windows().SetOpeningScale(settings.window_scale);
  return sdl;
}

}  // namespace platform
