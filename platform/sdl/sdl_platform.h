// The desktop back end: a real window through SDL, keyboard, pointer and gamepads, the engine's
// 16-bit view presented at a steady 60 frames per second, message boxes, SDL's clock, and sound.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/backends.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_windows.h"

namespace platform::sdl {

class SdlPlatform final : public Platform {
 public:
  SdlPlatform() = default;
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  WindowSystem& Windows() override { return windows_; }
  Result CreateDisplay(Display** out) override;
  Result CreateSound(Sound** out) override;
  uint32_t Milliseconds() override;

  SdlWindows& windows() { return windows_; }
  // Frames put on screen so far, by every display made.
  uint64_t FramesPresented() const;

 private:
  // Declared first so that it outlives the displays, whose surfaces draw into its windows.
  SdlWindows windows_;
  std::vector<std::unique_ptr<SdlDisplay>> displays_;
};

}  // namespace platform::sdl

namespace platform {

// A new SDL back end; SDL starts its video when the first window class is registered.
std::unique_ptr<Platform> CreateSdlPlatform(const BackendSettings& settings = {});

}  // namespace platform
