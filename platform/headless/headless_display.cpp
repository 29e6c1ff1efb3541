#include "platform/headless/headless_display.h"

#include <algorithm>
#include <cstring>

namespace platform::headless {

namespace {

// Larger surfaces than this are refused: no real display offers them, and a mistaken request
// must not try to allocate gigabytes.
constexpr int kMaxSide = 8192;

bool SideOk(int side) {
  return side > 0 && side <= kMaxSide;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Display object

PixelFormat HeadlessDisplay::Format() const {
  PixelFormat format;
  format.rgb_bit_count = 16;
  if (platform_.config().layout == Layout::k565) {
    format.red_mask = 0xF800;
    format.green_mask = 0x07E0;
    format.blue_mask = 0x001F;
  } else {
    format.red_mask = 0x7C00;
    format.green_mask = 0x03E0;
    format.blue_mask = 0x001F;
  }
  return format;
}

Result HeadlessDisplay::SetCooperativeLevel(Window window, uint32_t flags) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kDisplayCooperativeLevel); r != OK) return r;
  const WindowInfo* info = platform_.FindWindow(window);
  if (info == nullptr || info->destroyed) return DDERR_INVALIDPARAMS;
  const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
  const bool normal = (flags & DDSCL_NORMAL) != 0;
  // Exclusive and full-screen go together, and neither with normal.
  if (exclusive != fullscreen || (normal && exclusive) || (!normal && !exclusive)) {
    return DDERR_INVALIDPARAMS;
  }
  cooperative_flags_ = flags;
  return OK;
}

Result HeadlessDisplay::SetDisplayMode(int width, int height, int bits_per_pixel) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kSetDisplayMode); r != OK) return r;
  if ((cooperative_flags_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
  if (!SideOk(width) || !SideOk(height) || bits_per_pixel != 16) return DDERR_UNSUPPORTEDMODE;
  platform_.SetScreen(width, height, bits_per_pixel);
  return OK;
}

HeadlessSurface* HeadlessDisplay::Make(int width, int height, int pitch, uint32_t caps) {
  surfaces_.push_back(
      std::make_unique<HeadlessSurface>(platform_, *this, width, height, pitch, caps));
  return surfaces_.back().get();
}

Result HeadlessDisplay::CreateSurface(const SurfaceDesc& desc, Surface** out) {
  *out = nullptr;
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kCreateSurface); r != OK) return r;
  if (cooperative_flags_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
  if ((desc.flags & DDSD_CAPS) == 0) return DDERR_INVALIDPARAMS;
  const uint32_t memory = platform_.config().video_memory ? DDSCAPS_VIDEOMEMORY : 0;

  if ((desc.caps & DDSCAPS_PRIMARYSURFACE) != 0) {
    if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    // The screen has the screen's size; a primary never takes a size of its own.
    if ((desc.flags & (DDSD_WIDTH | DDSD_HEIGHT)) != 0) return DDERR_INVALIDPARAMS;
    const bool chain = (desc.caps & DDSCAPS_FLIP) != 0;
    if (chain) {
      if ((desc.caps & DDSCAPS_COMPLEX) == 0 || (desc.flags & DDSD_BACKBUFFERCOUNT) == 0 ||
          desc.back_buffer_count != 1) {
        return DDERR_INVALIDCAPS;
      }
      if ((cooperative_flags_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
    }
    const int width = platform_.ScreenWidth();
    const int height = platform_.ScreenHeight();
    if (!SideOk(width) || !SideOk(height)) return DDERR_INVALIDPIXELFORMAT;
    const uint32_t chain_caps = chain ? (DDSCAPS_FLIP | DDSCAPS_COMPLEX) : 0;
    HeadlessSurface* front =
        Make(width, height, width * 2, DDSCAPS_PRIMARYSURFACE | chain_caps | memory);
    if (chain) {
      const int pitch = std::max(platform_.config().back_pitch, width * 2);
      front->Attach(Make(width, height, pitch, DDSCAPS_BACKBUFFER | chain_caps | memory));
    }
    primary_ = front;
    *out = front;
    return OK;
  }

  if ((desc.flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) {
    return DDERR_INVALIDPARAMS;
  }
  if (!SideOk(desc.width) || !SideOk(desc.height)) return DDERR_INVALIDPARAMS;
  if ((desc.caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER)) != 0) return DDERR_INVALIDCAPS;
  const int pitch = std::max(platform_.config().back_pitch, desc.width * 2);
  *out = Make(desc.width, desc.height, pitch, DDSCAPS_OFFSCREENPLAIN | memory);
  return OK;
}

void HeadlessDisplay::Release() {
  if (released_) {
    platform_.CountReleaseError();
    return;
  }
  released_ = true;
}

void HeadlessDisplay::LoseAll() {
  for (auto& surface : surfaces_) {
    if (!surface->released()) surface->Lose();
  }
}

int HeadlessDisplay::Live() const {
  return static_cast<int>(std::count_if(surfaces_.begin(), surfaces_.end(),
                                        [](const auto& s) { return !s->released(); }));
}

void HeadlessDisplay::PrimaryGone(HeadlessSurface* surface) {
  if (primary_ == surface) primary_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Surfaces

HeadlessSurface::HeadlessSurface(HeadlessPlatform& platform, HeadlessDisplay& display, int width,
                                 int height, int pitch, uint32_t caps)
    : platform_(platform),
      display_(display),
      width_(width),
      height_(height),
      pitch_(pitch),
      caps_(caps),
      pixels_(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height)) {}

const uint16_t* HeadlessSurface::Row(int y) const {
  return reinterpret_cast<const uint16_t*>(pixels_.data() + static_cast<std::size_t>(y) * pitch_);
}

uint16_t* HeadlessSurface::Row(int y) {
  return reinterpret_cast<uint16_t*>(pixels_.data() + static_cast<std::size_t>(y) * pitch_);
}

uint16_t HeadlessSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Row(y)[x];
}

Result HeadlessSurface::GetAttachedSurface(uint32_t caps, Surface** out) {
  *out = nullptr;
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kGetAttachedSurface); r != OK) return r;
  if (attached_ == nullptr || (caps & DDSCAPS_BACKBUFFER) == 0) return DDERR_NOTFOUND;
  *out = attached_;
  return OK;
}

void HeadlessSurface::Describe(SurfaceDesc* desc) const {
  desc->flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->width = width_;
  desc->height = height_;
  desc->pitch = pitch_;
  desc->caps = caps_;
  desc->back_buffer_count = attached_ != nullptr ? 1 : 0;
  desc->pixel_format = display_.Format();
}

Result HeadlessSurface::GetSurfaceDesc(SurfaceDesc* desc) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (desc->size != SURFACE_DESC_SIZE) return DDERR_INVALIDPARAMS;
  if (const Result r = platform_.TakeFault(Op::kGetSurfaceDesc); r != OK) return r;
  Describe(desc);
  return OK;
}

Result HeadlessSurface::Lock(SurfaceDesc* desc, uint32_t) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (desc->size != SURFACE_DESC_SIZE) return DDERR_INVALIDPARAMS;
  if (const Result r = platform_.TakeFault(Op::kLock); r != OK) return r;
  if (lost_) return DDERR_SURFACELOST;
  if (locked_) return DDERR_SURFACEBUSY;
  Describe(desc);
  desc->surface = pixels_.data();
  locked_ = true;
  return OK;
}

Result HeadlessSurface::Unlock() {
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kUnlock); r != OK) return r;
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return OK;
}

Result HeadlessSurface::Flip(uint32_t) {
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kFlip); r != OK) return r;
  if (!primary() || attached_ == nullptr) return DDERR_NOTFLIPPABLE;
  if (lost_ || attached_->lost_) return DDERR_SURFACELOST;
  if (locked_ || attached_->locked_) return DDERR_SURFACEBUSY;
  // The two buffers trade places; their pitches may differ, so they swap row by row.
  for (int y = 0; y < height_; ++y) std::swap_ranges(Row(y), Row(y) + width_, attached_->Row(y));
  platform_.RecordPresent(PresentKind::kFlip, 0, 0, Row(0), width_, height_, pitch_ / 2);
  return OK;
}

Result HeadlessSurface::BltFast(int x, int y, Surface* source_surface, uint32_t) {
  if (released_) return DDERR_INVALIDOBJECT;
  auto* source = static_cast<HeadlessSurface*>(source_surface);
  if (source == nullptr || source->released_) return DDERR_INVALIDPARAMS;
  if (const Result r = platform_.TakeFault(Op::kBltFast); r != OK) return r;
  if (lost_ || source->lost_) return DDERR_SURFACELOST;
  if (locked_ || source->locked_) return DDERR_SURFACEBUSY;
  // Only the part that lands on this surface is copied.
  const int x0 = std::max(x, 0);
  const int y0 = std::max(y, 0);
  const int x1 = std::min(x + source->width_, width_);
  const int y1 = std::min(y + source->height_, height_);
  for (int row = y0; row < y1; ++row) {
    if (x1 <= x0) break;
    std::memcpy(Row(row) + x0, source->Row(row - y) + (x0 - x),
                static_cast<std::size_t>(x1 - x0) * 2);
  }
  if (primary()) {
    platform_.RecordPresent(PresentKind::kCopy, x, y, source->Row(0), source->width_,
                            source->height_, source->pitch_ / 2);
  }
  return OK;
}

Result HeadlessSurface::IsLost() {
  if (released_) return DDERR_INVALIDOBJECT;
  return lost_ ? DDERR_SURFACELOST : OK;
}

Result HeadlessSurface::Restore() {
  if (released_) return DDERR_INVALIDOBJECT;
  if (const Result r = platform_.TakeFault(Op::kRestore); r != OK) return r;
  // Restoring the front of a chain restores the chain; the pixels are not kept.
  lost_ = false;
  std::fill(pixels_.begin(), pixels_.end(), uint8_t{0});
  if (attached_ != nullptr && attached_->lost_) {
    attached_->lost_ = false;
    std::fill(attached_->pixels_.begin(), attached_->pixels_.end(), uint8_t{0});
  }
  return OK;
}

void HeadlessSurface::Release() {
  if (released_) {
    platform_.CountReleaseError();
    return;
  }
  released_ = true;
  locked_ = false;
  display_.PrimaryGone(this);
}

}  // namespace platform::headless
