// The display object on SDL: the cooperative level (windowed or full-screen), the display mode,
// and the surfaces it makes. It owns them: Release frees what SDL holds for them, and the
// objects themselves go with the display, so that a pointer the engine still keeps after
// releasing is recognised rather than followed into freed memory.
#pragma once

#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_pacer.h"
#include "platform/sdl/sdl_windows.h"

namespace platform::sdl {

class SdlSurface;
class ScreenSurface;

class SdlDisplay final : public Display {
 public:
  explicit SdlDisplay(SdlWindows& windows, FramePacer pacer = FramePacer());
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  Result SetCooperativeLevel(Window window, uint32_t flags) override;
  Result SetDisplayMode(int width, int height, int bits_per_pixel) override;
  Result CreateSurface(const SurfaceDesc& desc, Surface** out) override;
  void Release() override;

  bool released() const { return released_; }
  // Frames presented by this display's screen.
  uint64_t FramesPresented() const { return frames_presented_; }

  // Used by the surfaces.
  SdlWindows& windows() { return windows_; }
  FramePacer& pacer() { return pacer_; }
  void CountPresent() { ++frames_presented_; }
  void ScreenGone(const ScreenSurface* screen);

 private:
  bool Exclusive() const;
  Result CreateScreen(const SurfaceDesc& desc, Surface** out);
  Result CreateMemory(int width, int height, uint32_t caps, SdlSurface** out);

  SdlWindows& windows_;
  FramePacer pacer_;
  Window window_ = nullptr;
  uint32_t level_ = 0;
  int mode_width_ = 0;  // 0 until a display mode is set
  int mode_height_ = 0;
  const ScreenSurface* screen_ = nullptr;
  bool released_ = false;
  uint64_t frames_presented_ = 0;
  std::vector<std::unique_ptr<SdlSurface>> surfaces_;
};

}  // namespace platform::sdl
