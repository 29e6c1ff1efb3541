// The display object of a web page and its 16-bit surfaces: pixel memory the engine draws into,
// and the screen, which hands a finished picture to the page. The page's canvas takes the size
// of the picture shown; the desktop's own size only bounds the windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace platform::web {

// A finished picture: `height` rows of `width` 5-6-5 pixels, `stride` pixels apart.
using PresentFn = std::function<void(const uint16_t* pixels, int width, int height, int stride)>;

class WebSurface;

class WebDisplay final : public Display {
 public:
  WebDisplay(int desktop_width, int desktop_height, PresentFn present);
  ~WebDisplay() override;
  WebDisplay(const WebDisplay&) = delete;
  WebDisplay& operator=(const WebDisplay&) = delete;

  Result SetCooperativeLevel(Window window, uint32_t flags) override;
  Result SetDisplayMode(int width, int height, int bits_per_pixel) override;
  Result CreateSurface(const SurfaceDesc& desc, Surface** out) override;
  void Release() override;

  bool released() const { return released_; }
  void Present(const uint16_t* pixels, int width, int height, int stride) const;
  void ScreenGone() { has_screen_ = false; }

 private:
  Result CreateScreen(const SurfaceDesc& desc, Surface** out);
  WebSurface* Memory(int width, int height, uint32_t caps);

  int desktop_width_;
  int desktop_height_;
  PresentFn present_;
  uint32_t level_ = 0;
  int mode_width_ = 0;  // 0 until a display mode is set
  int mode_height_ = 0;
  bool has_screen_ = false;
  bool released_ = false;
  // The display owns its surfaces, so that a pointer kept after release is not followed into
  // freed memory.
  std::vector<std::unique_ptr<WebSurface>> surfaces_;
};

}  // namespace platform::web
