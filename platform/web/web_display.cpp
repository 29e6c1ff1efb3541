#include "platform/web/web_display.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/surface_requests.h"

namespace platform::web {

// One kind of surface serves every use: pixel memory that can be locked, copied and, when it is
// the screen, shown. The screen's own pixels hold what was last shown, so that a lock of the
// screen reads back the picture on the page.
class WebSurface final : public Surface {
 public:
  WebSurface(WebDisplay& display, int width, int height, uint32_t caps)
      : display_(display),
        width_(width),
        height_(height),
        caps_(caps),
        pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

  void Attach(WebSurface* back) { back_ = back; }

  Result GetAttachedSurface(uint32_t caps, Surface** out) override {
    if (out == nullptr) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (released_) return DDERR_INVALIDOBJECT;
    if (back_ == nullptr || (caps & DDSCAPS_BACKBUFFER) == 0 || back_->released_) {
      return DDERR_NOTFOUND;
    }
    *out = back_;
    return OK;
  }

  Result GetSurfaceDesc(SurfaceDesc* desc) override {
    if (released_) return DDERR_INVALIDOBJECT;
    // The size field tells a description from stray memory.
    if (desc == nullptr || desc->size != SURFACE_DESC_SIZE) return DDERR_INVALIDPARAMS;
    desc->flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->width = width_;
    desc->height = height_;
    desc->pitch = width_ * 2;
    desc->caps = caps_;
    desc->pixel_format = PixelFormat{16, 0xF800, 0x07E0, 0x001F};
    return OK;
  }

  Result Lock(SurfaceDesc* desc, uint32_t /*flags*/) override {
    if (locked_) return DDERR_SURFACEBUSY;
    if (const Result described = GetSurfaceDesc(desc); described != OK) return described;
    locked_ = true;
    desc->surface = pixels_.data();
    return OK;
  }

  Result Unlock() override {
    if (released_) return DDERR_INVALIDOBJECT;
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    return OK;
  }

  Result Flip(uint32_t /*flags*/) override {
    if (released_) return DDERR_INVALIDOBJECT;
    if (back_ == nullptr) return DDERR_NOTFLIPPABLE;
    if (back_->released_) return DDERR_INVALIDOBJECT;
    return BltFast(0, 0, back_, 0);
  }

  Result BltFast(int x, int y, Surface* source, uint32_t /*flags*/) override {
    if (released_) return DDERR_INVALIDOBJECT;
    auto* from = dynamic_cast<WebSurface*>(source);
    if (from == nullptr || from == this) return DDERR_INVALIDPARAMS;
    if (from->released_) return DDERR_INVALIDOBJECT;
    // A picture still being drawn is not copied half-done.
    if (locked_ || from->locked_) return DDERR_SURFACEBUSY;
    if (IsScreen()) {
      // The canvas is the window's client area and nothing else: a copy to the screen shows
      // the whole picture there, whatever position it names.
      pixels_ = from->pixels_;
      width_ = from->width_;
      height_ = from->height_;
      display_.Present(pixels_.data(), width_, height_, width_);
      return OK;
    }
    // The part of the source that lands inside this surface, worked out in 64 bits so that no
    // position, however far off, can overflow.
    const int64_t left = std::max<int64_t>(0, -int64_t{x});
    const int64_t top = std::max<int64_t>(0, -int64_t{y});
    const int64_t right = std::min<int64_t>(from->width_, int64_t{width_} - x);
    const int64_t bottom = std::min<int64_t>(from->height_, int64_t{height_} - y);
    for (int64_t row = top; row < bottom; ++row) {
      std::memcpy(&pixels_[static_cast<std::size_t>((row + y) * width_ + left + x)],
                  &from->pixels_[static_cast<std::size_t>(row * from->width_ + left)],
                  static_cast<std::size_t>(right - left) * 2);
    }
    return OK;
  }

  // Page memory is never taken away.
  Result IsLost() override { return released_ ? DDERR_INVALIDOBJECT : OK; }
  Result Restore() override { return released_ ? DDERR_INVALIDOBJECT : OK; }

  void Release() override {
    if (released_) return;
    released_ = true;
    locked_ = false;
    pixels_ = {};
    if (IsScreen()) {
      // The back buffer of a chain goes with its screen.
      if (back_ != nullptr) back_->Release();
      display_.ScreenGone();
    }
  }

 private:
  bool IsScreen() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }

  WebDisplay& display_;
  int width_;
  int height_;
  uint32_t caps_;
  std::vector<uint16_t> pixels_;
  WebSurface* back_ = nullptr;
  bool locked_ = false;
  bool released_ = false;
};

namespace {

// Larger surfaces than any page shows are refused before memory is asked for.
constexpr int kMaxSide = 8192;

}  // namespace

WebDisplay::WebDisplay(int desktop_width, int desktop_height, PresentFn present)
    : desktop_width_(desktop_width),
      desktop_height_(desktop_height),
      present_(std::move(present)) {}

WebDisplay::~WebDisplay() = default;

Result WebDisplay::SetCooperativeLevel(Window window, uint32_t flags) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (window == nullptr) return DDERR_INVALIDPARAMS;
  // Full-screen and exclusive go together; normal stands alone.
  if (flags != DDSCL_NORMAL && flags != (DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE)) {
    return DDERR_INVALIDPARAMS;
  }
  level_ = flags;
  return OK;
}

// A page cannot change the display's mode: the mode's size becomes the screen's, and the page
// scales the canvas to fit.
Result WebDisplay::SetDisplayMode(int width, int height, int bits_per_pixel) {
  if (released_) return DDERR_INVALIDOBJECT;
  if ((level_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return DDERR_INVALIDPARAMS;
  if (bits_per_pixel != 16) return DDERR_UNSUPPORTEDMODE;
  mode_width_ = width;
  mode_height_ = height;
  return OK;
}

Result WebDisplay::CreateSurface(const SurfaceDesc& desc, Surface** out) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  if (released_) return DDERR_INVALIDOBJECT;
  if (desc.caps & DDSCAPS_PRIMARYSURFACE) return CreateScreen(desc, out);
  if (const Result checked = CheckPlainRequest(desc, kMaxSide); checked != OK) return checked;
  WebSurface* surface =
      Memory(desc.width, desc.height, (desc.caps & ~DDSCAPS_VIDEOMEMORY) | DDSCAPS_OFFSCREENPLAIN);
  if (surface == nullptr) return DDERR_OUTOFMEMORY;
  *out = surface;
  return OK;
}

Result WebDisplay::CreateScreen(const SurfaceDesc& desc, Surface** out) {
  if (level_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
  if (has_screen_) return DDERR_PRIMARYSURFACEALREADYEXISTS;
  const bool exclusive = (level_ & DDSCL_EXCLUSIVE) != 0;
  if (const Result checked = CheckScreenRequest(desc, exclusive); checked != OK) return checked;
  const bool chain = (desc.caps & DDSCAPS_FLIP) != 0;
  const int width = exclusive && mode_width_ > 0 ? mode_width_ : desktop_width_;
  const int height = exclusive && mode_height_ > 0 ? mode_height_ : desktop_height_;
  const uint32_t caps =
      (desc.caps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX)) | DDSCAPS_VIDEOMEMORY;
  WebSurface* screen = Memory(width, height, caps);
  if (screen == nullptr) return DDERR_OUTOFMEMORY;
  if (chain) {
    WebSurface* back = Memory(width, height, DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    if (back == nullptr) {
      screen->Release();
      return DDERR_OUTOFMEMORY;
    }
    screen->Attach(back);
  }
  has_screen_ = true;
  *out = screen;
  return OK;
}

WebSurface* WebDisplay::Memory(int width, int height, uint32_t caps) {
  try {
    surfaces_.push_back(std::make_unique<WebSurface>(*this, width, height, caps));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return surfaces_.back().get();
}

void WebDisplay::Present(const uint16_t* pixels, int width, int height, int stride) const {
  if (present_) present_(pixels, width, height, stride);
}

void WebDisplay::Release() {
  released_ = true;
}

}  // namespace platform::web
