// The display surfaces on SDL: 16-bit 5-6-5 pixel memory that the engine locks and draws into,
// and the screen, which presents such a surface in the window through a streaming texture that
// SDL converts to whatever the real display holds.
#pragma once

#include <SDL2/SDL_render.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform::sdl {

class SdlDisplay;

// The pixel layout of every surface here.
constexpr uint32_t kRedMask = 0xF800;
constexpr uint32_t kGreenMask = 0x07E0;
constexpr uint32_t kBlueMask = 0x001F;

// What both kinds share: the display they belong to, their capabilities, and release.
class SdlSurface : public Surface {
 public:
  SdlSurface(SdlDisplay& display, int width, int height, uint32_t caps)
      : display_(display), width_(width), height_(height), caps_(caps) {}

  Result IsLost() override;   // SDL keeps its surfaces; nothing is ever lost
  Result Restore() override;  // so there is nothing to restore either
  void Release() override;

  bool released() const { return released_; }
  int width() const { return width_; }
  int height() const { return height_; }

 protected:
  // Frees what the surface holds; called once, by the first Release.
  virtual void Free() = 0;
  Result Describe(SurfaceDesc* desc, int pitch) const;

  SdlDisplay& display_;
  int width_;
  int height_;
  uint32_t caps_;
  bool released_ = false;
};

// 16-bit pixels in memory: the back buffer of a flipping chain, or an off-screen surface.
class MemorySurface final : public SdlSurface {
 public:
  // `pixels` must hold pitch / 2 × height values.
  MemorySurface(SdlDisplay& display, int width, int height, uint32_t caps, int pitch,
                std::vector<uint16_t> pixels);

  Result GetAttachedSurface(uint32_t caps, Surface** out) override;
  Result GetSurfaceDesc(SurfaceDesc* desc) override;
  Result Lock(SurfaceDesc* desc, uint32_t flags) override;
  Result Unlock() override;
  Result Flip(uint32_t flags) override;
  Result BltFast(int x, int y, Surface* source, uint32_t flags) override;

  bool locked() const { return locked_; }
  int pitch() const { return pitch_; }
  const uint16_t* pixels() const { return pixels_.data(); }
  // Presentation tells the surface it was shown, which lets its next lock go without waiting.
  void MarkPresented() { presented_since_lock_ = true; }

 private:
  void Free() override;

  int pitch_;
  std::vector<uint16_t> pixels_;
  bool locked_ = false;
  bool locked_before_ = false;
  bool presented_since_lock_ = false;
};

// The screen: what a window shows. Copying a surface onto it, or flipping its chain, presents.
class ScreenSurface final : public SdlSurface {
 public:
  // `back` is the attached back buffer of a flipping chain, null for a lone screen surface.
  ScreenSurface(SdlDisplay& display, int width, int height, uint32_t caps, Window window,
                SDL_Renderer* renderer, MemorySurface* back);

  Result GetAttachedSurface(uint32_t caps, Surface** out) override;
  Result GetSurfaceDesc(SurfaceDesc* desc) override;
  Result Lock(SurfaceDesc* desc, uint32_t flags) override;
  Result Unlock() override;
  Result Flip(uint32_t flags) override;
  Result BltFast(int x, int y, Surface* source, uint32_t flags) override;

 private:
  void Free() override;
  Result Present(MemorySurface& source);

  Window window_;
  SDL_Renderer* renderer_;
  MemorySurface* back_;
  SDL_Texture* texture_ = nullptr;
  int texture_width_ = 0;
  int texture_height_ = 0;
};

}  // namespace platform::sdl
