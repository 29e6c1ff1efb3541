#include "platform/sdl/sdl_surfaces.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_layout.h"

namespace platform::sdl {

// ---------------------------------------------------------------------------------------------
// Both kinds

Result SdlSurface::IsLost() {
  return released_ ? DDERR_INVALIDOBJECT : OK;
}

Result SdlSurface::Restore() {
  return released_ ? DDERR_INVALIDOBJECT : OK;
}

void SdlSurface::Release() {
  if (released_) return;
  released_ = true;
  Free();
}

Result SdlSurface::Describe(SurfaceDesc* desc, int pitch) const {
  if (released_) return DDERR_INVALIDOBJECT;
  // The size field tells a description from stray memory.
  if (desc == nullptr || desc->size != SURFACE_DESC_SIZE) return DDERR_INVALIDPARAMS;
  desc->flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->width = width_;
  desc->height = height_;
  desc->pitch = pitch;
  desc->caps = caps_;
  desc->pixel_format = PixelFormat{16, kRedMask, kGreenMask, kBlueMask};
  return OK;
}

// ---------------------------------------------------------------------------------------------
// Pixel memory

MemorySurface::MemorySurface(SdlDisplay& display, int width, int height, uint32_t caps, int pitch,
                             std::vector<uint16_t> pixels)
    : SdlSurface(display, width, height, caps), pitch_(pitch), pixels_(std::move(pixels)) {}

Result MemorySurface::GetAttachedSurface(uint32_t /*caps*/, Surface** out) {
  if (out != nullptr) *out = nullptr;
  return released_ ? DDERR_INVALIDOBJECT : DDERR_NOTFOUND;
}

Result MemorySurface::GetSurfaceDesc(SurfaceDesc* desc) {
  return Describe(desc, pitch_);
}

Result MemorySurface::Lock(SurfaceDesc* desc, uint32_t /*flags*/) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (desc == nullptr) return DDERR_INVALIDPARAMS;
  if (locked_) return DDERR_SURFACEBUSY;
  const Result described = Describe(desc, pitch_);
  if (described != OK) return described;
  // A frame drawn but never shown (the window is not in front) would otherwise let the next
  // one start at once, and the game would race while it is in the background.
  if (locked_before_ && !presented_since_lock_) display_.pacer().Wait();
  locked_before_ = true;
  presented_since_lock_ = false;
  locked_ = true;
  desc->surface = pixels_.data();
  return OK;
}

Result MemorySurface::Unlock() {
  if (released_) return DDERR_INVALIDOBJECT;
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return OK;
}

Result MemorySurface::Flip(uint32_t /*flags*/) {
  return released_ ? DDERR_INVALIDOBJECT : DDERR_NOTFLIPPABLE;
}

Result MemorySurface::BltFast(int x, int y, Surface* source, uint32_t /*flags*/) {
  if (released_) return DDERR_INVALIDOBJECT;
  auto* from = dynamic_cast<MemorySurface*>(source);
  if (from == nullptr) return DDERR_INVALIDPARAMS;  // the screen cannot be read back
  if (from->released()) return DDERR_INVALIDOBJECT;
  if (from == this) return DDERR_INVALIDPARAMS;  // copies within one surface are not offered
  if (locked_ || from->locked()) return DDERR_SURFACEBUSY;
  // The part of the source that lands inside this surface, in source coordinates; worked out
  // in 64 bits so that no position, however far off, can overflow.
  const int64_t at_x = x;
  const int64_t at_y = y;
  const int64_t left = std::max<int64_t>(0, -at_x);
  const int64_t top = std::max<int64_t>(0, -at_y);
  const int64_t right = std::min<int64_t>(from->width(), width_ - at_x);
  const int64_t bottom = std::min<int64_t>(from->height(), height_ - at_y);
  if (right <= left || bottom <= top) return OK;
  const auto bytes = static_cast<std::size_t>(right - left) * sizeof(uint16_t);
  for (int64_t row = top; row < bottom; ++row) {
    const uint16_t* src = from->pixels_.data() + row * (from->pitch_ / 2) + left;
    uint16_t* dst = pixels_.data() + (row + at_y) * (pitch_ / 2) + (left + at_x);
    std::memcpy(dst, src, bytes);
  }
  return OK;
}

void MemorySurface::Free() {
  locked_ = false;
  pixels_.clear();
  pixels_.shrink_to_fit();
}

// ---------------------------------------------------------------------------------------------
// The screen

ScreenSurface::ScreenSurface(SdlDisplay& display, int width, int height, uint32_t caps,
                             Window window, SDL_Renderer* renderer, MemorySurface* back)
    : SdlSurface(display, width, height, caps), window_(window), renderer_(renderer), back_(back) {}

Result ScreenSurface::GetAttachedSurface(uint32_t caps, Surface** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (released_) return DDERR_INVALIDOBJECT;
  if (back_ == nullptr || (caps & DDSCAPS_BACKBUFFER) == 0 || back_->released()) {
    return DDERR_NOTFOUND;
  }
  *out = back_;
  return OK;
}

Result ScreenSurface::GetSurfaceDesc(SurfaceDesc* desc) {
  return Describe(desc, width_ * 2);
}

// The screen is not pixel memory here: nothing draws into it except presentation.
Result ScreenSurface::Lock(SurfaceDesc* /*desc*/, uint32_t /*flags*/) {
  return released_ ? DDERR_INVALIDOBJECT : DDERR_GENERIC;
}

Result ScreenSurface::Unlock() {
  return released_ ? DDERR_INVALIDOBJECT : DDERR_NOTLOCKED;
}

Result ScreenSurface::Flip(uint32_t /*flags*/) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (back_ == nullptr) return DDERR_NOTFLIPPABLE;
  if (back_->released()) return DDERR_INVALIDOBJECT;
  return Present(*back_);
}

// The window's client area is the only part of the screen this back end draws to, so the copy
// lands there whatever position it names: a position gone stale when the window moved cannot
// put the picture in the wrong place.
Result ScreenSurface::BltFast(int /*x*/, int /*y*/, Surface* source, uint32_t /*flags*/) {
  if (released_) return DDERR_INVALIDOBJECT;
  auto* from = dynamic_cast<MemorySurface*>(source);
  if (from == nullptr) return DDERR_INVALIDPARAMS;
  if (from->released()) return DDERR_INVALIDOBJECT;
  return Present(*from);
}

Result ScreenSurface::Present(MemorySurface& source) {
  // A frame still being drawn is not shown half-done.
  if (source.locked()) return DDERR_SURFACEBUSY;
  if (texture_ == nullptr || texture_width_ != source.width() ||
      texture_height_ != source.height()) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                 source.width(), source.height());
    texture_width_ = texture_ != nullptr ? source.width() : 0;
    texture_height_ = texture_ != nullptr ? source.height() : 0;
    if (texture_ == nullptr) return DDERR_OUTOFMEMORY;
  }
  SDL_Rect area{0, 0, source.width(), source.height()};
  int logical = 0;
  SDL_RenderGetLogicalSize(renderer_, &logical, nullptr);
  if (logical == 0) {
    // A window of any size: the view scaled to fit what is actually drawn, which can differ
    // from the size the window reports. Whole multiples keep pixels crisp; a fractional fit is
    // smoothed so that its rows and columns do not come out unevenly wide.
    int drawn_width = 0;
    int drawn_height = 0;
    if (SDL_GetRendererOutputSize(renderer_, &drawn_width, &drawn_height) != 0) {
      return DDERR_GENERIC;
    }
    const ViewPlacement placed =
        PlaceView(source.width(), source.height(), drawn_width, drawn_height);
    area = SDL_Rect{placed.x, placed.y, placed.width, placed.height};
    SDL_SetTextureScaleMode(texture_, placed.whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  }
  if (SDL_UpdateTexture(texture_, nullptr, source.pixels(), source.pitch()) != 0 ||
      SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer_) != 0 ||
      SDL_RenderCopy(renderer_, texture_, nullptr, &area) != 0) {
    return DDERR_GENERIC;
  }
  // The picture is ready; it goes on screen on the beat.
  display_.pacer().Wait();
  SDL_RenderPresent(renderer_);
  source.MarkPresented();
  display_.CountPresent();
  return OK;
}

void ScreenSurface::Free() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
  display_.windows().ReleaseRenderer(window_);
  renderer_ = nullptr;
  // The back buffer of a chain goes with its screen.
  if (back_ != nullptr) back_->Release();
  display_.ScreenGone(this);
}

}  // namespace platform::sdl
