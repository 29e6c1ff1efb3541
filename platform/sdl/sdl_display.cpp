#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>

#include <new>
#include <utility>

#include "platform/sdl/sdl_surfaces.h"
#include "platform/surface_requests.h"

namespace platform::sdl {
namespace {

// Larger surfaces than any display shows are refused before memory is asked for.
constexpr int kMaxSide = 16384;

int PitchFor(int width) {
  return (width * 2 + 3) / 4 * 4;
}  // rows start on 4-byte boundaries

}  // namespace

SdlDisplay::SdlDisplay(SdlWindows& windows, FramePacer pacer)
    : windows_(windows), pacer_(std::move(pacer)) {}

SdlDisplay::~SdlDisplay() {
  // Surfaces the engine never released still hold SDL objects.
  for (const auto& surface : surfaces_) surface->Release();
}

bool SdlDisplay::Exclusive() const {
  return (level_ & DDSCL_EXCLUSIVE) != 0;
}

Result SdlDisplay::SetCooperativeLevel(Window window, uint32_t flags) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (windows_.SdlWindow(window) == nullptr) return DDERR_INVALIDPARAMS;
  const uint32_t full = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE;
  // Full-screen and exclusive go together; normal stands alone.
  if (flags != DDSCL_NORMAL && flags != full) return DDERR_INVALIDPARAMS;
  window_ = window;
  level_ = flags;
  return OK;
}

Result SdlDisplay::SetDisplayMode(int width, int height, int bits_per_pixel) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (!Exclusive()) return DDERR_NOEXCLUSIVEMODE;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return DDERR_INVALIDPARAMS;
  // Every surface here is 16-bit; presentation converts to the real depth.
  if (bits_per_pixel != 16) return DDERR_UNSUPPORTEDMODE;
  SDL_Window* window = windows_.SdlWindow(window_);
  if (window == nullptr) return DDERR_NOCOOPERATIVELEVELSET;

  SDL_SetWindowSize(window, width, height);
  // The real mode nearest the request; where the display cannot change modes, the desktop's
  // own, with the view scaled to fit.
  const SDL_DisplayMode wanted{0, width, height, 0, nullptr};
  SDL_DisplayMode closest;
  const int index = SDL_GetWindowDisplayIndex(window);
  const bool moded = index >= 0 && SDL_GetClosestDisplayMode(index, &wanted, &closest) != nullptr &&
                     SDL_SetWindowDisplayMode(window, &closest) == 0 &&
                     SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
  if (!moded && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    return DDERR_UNSUPPORTEDMODE;
  }
  mode_width_ = width;
  mode_height_ = height;
  return OK;
}

Result SdlDisplay::CreateSurface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (released_) return DDERR_INVALIDOBJECT;
  if (desc.caps & DDSCAPS_PRIMARYSURFACE) return CreateScreen(desc, out);
  if (const Result checked = CheckPlainRequest(desc, kMaxSide); checked != OK) return checked;
  // Pixel memory is ordinary memory here, wherever it was asked for.
  SdlSurface* surface = nullptr;
  const Result made =
      CreateMemory(desc.width, desc.height,
                   (desc.caps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_OFFSCREENPLAIN, &surface);
  if (made == OK) *out = surface;
  return made;
}

Result SdlDisplay::CreateScreen(const SurfaceDesc& desc, Surface** out) {
  if (level_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
  if (screen_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
  if (const Result checked = CheckScreenRequest(desc, Exclusive()); checked != OK) return checked;
  const bool chain = (desc.caps & DDSCAPS_FLIP) != 0;
  // The screen is the desktop in a window, or the display mode in full-screen mode.
  int width = 0;
  int height = 0;
  SDL_Window* window = windows_.SdlWindow(window_);
  if (window == nullptr) return DDERR_INVALIDOBJECT;
  if (Exclusive()) {
    width = mode_width_;
    height = mode_height_;
    if (width == 0) SDL_GetWindowSize(window, &width, &height);
  } else {
    width = windows_.DesktopWidth();
    height = windows_.DesktopHeight();
  }
  if (width < 1 || height < 1) return DDERR_NODIRECTDRAWHW;

  SdlSurface* back = nullptr;
  if (chain) {
    const Result made =
        CreateMemory(width, height, DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX, &back);
    if (made != OK) return made;
  }
  SDL_Renderer* renderer = windows_.AcquireRenderer(window_);
  if (renderer == nullptr) {
    if (back != nullptr) back->Release();
    return DDERR_NODIRECTDRAWHW;
  }
  // Full-screen: the chain's picture fills the real mode, scaled whole if it differs.
  if (Exclusive()) SDL_RenderSetLogicalSize(renderer, width, height);

  const uint32_t caps =
      (desc.caps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX)) | DDSCAPS_VIDEOMEMORY;
  auto screen = std::make_unique<ScreenSurface>(*this, width, height, caps, window_, renderer,
                                                static_cast<MemorySurface*>(back));
  screen_ = screen.get();
  surfaces_.push_back(std::move(screen));
  *out = surfaces_.back().get();
  return OK;
}

Result SdlDisplay::CreateMemory(int width, int height, uint32_t caps, SdlSurface** out) {
  if (const Result checked = CheckSurfaceSides(width, height, kMaxSide); checked != OK) {
    return checked;
  }
  const int pitch = PitchFor(width);
  std::vector<uint16_t> pixels;
  try {
    pixels.assign(static_cast<std::size_t>(pitch / 2) * static_cast<std::size_t>(height), 0);
    surfaces_.push_back(
        std::make_unique<MemorySurface>(*this, width, height, caps, pitch, std::move(pixels)));
  } catch (const std::bad_alloc&) {
    return DDERR_OUTOFMEMORY;
  }
  *out = surfaces_.back().get();
  return OK;
}

void SdlDisplay::ScreenGone(const ScreenSurface* screen) {
  if (screen_ == screen) screen_ = nullptr;
}

void SdlDisplay::Release() {
  if (released_) return;
  released_ = true;
  // Leaving full-screen mode gives the desktop its own mode back.
  if (Exclusive() && mode_width_ != 0) {
    if (SDL_Window* window = windows_.SdlWindow(window_)) SDL_SetWindowFullscreen(window, 0);
  }
}

}  // namespace platform::sdl
