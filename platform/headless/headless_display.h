// The headless display object and its 16-bit surfaces, with real pixel memory.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/headless/headless.h"

namespace platform::headless {

class HeadlessDisplay;

class HeadlessSurface final : public Surface {
 public:
  HeadlessSurface(HeadlessPlatform& platform, HeadlessDisplay& display, int width, int height,
                  int pitch, uint32_t caps);

  Result GetAttachedSurface(uint32_t caps, Surface** out) override;
  Result GetSurfaceDesc(SurfaceDesc* desc) override;
  Result Lock(SurfaceDesc* desc, uint32_t flags) override;
  Result Unlock() override;
  Result Flip(uint32_t flags) override;
  Result BltFast(int x, int y, Surface* source, uint32_t flags) override;
  Result IsLost() override;
  Result Restore() override;
  void Release() override;

  void Attach(HeadlessSurface* back) { attached_ = back; }
  void Lose() { lost_ = true; }
  bool released() const { return released_; }
  bool primary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
  uint16_t Pixel(int x, int y) const;

 private:
  const uint16_t* Row(int y) const;
  uint16_t* Row(int y);
  void Describe(SurfaceDesc* desc) const;

  HeadlessPlatform& platform_;
  HeadlessDisplay& display_;
  int width_;
  int height_;
  int pitch_;
  uint32_t caps_;
  std::vector<uint8_t> pixels_;
  HeadlessSurface* attached_ = nullptr;
  bool locked_ = false;
  bool lost_ = false;
  bool released_ = false;
};

class HeadlessDisplay final : public Display {
 public:
  explicit HeadlessDisplay(HeadlessPlatform& platform) : platform_(platform) {}

  Result SetCooperativeLevel(Window window, uint32_t flags) override;
  Result SetDisplayMode(int width, int height, int bits_per_pixel) override;
  Result CreateSurface(const SurfaceDesc& desc, Surface** out) override;
  void Release() override;

  uint32_t cooperative_flags() const { return cooperative_flags_; }
  bool released() const { return released_; }
  void LoseAll();
  int Live() const;
  void PrimaryGone(HeadlessSurface* surface);
  const HeadlessSurface* primary() const { return primary_; }
  PixelFormat Format() const;

 private:
  HeadlessSurface* Make(int width, int height, int pitch, uint32_t caps);

  HeadlessPlatform& platform_;
  uint32_t cooperative_flags_ = 0;
  bool released_ = false;
  HeadlessSurface* primary_ = nullptr;
  std::vector<std::unique_ptr<HeadlessSurface>> surfaces_;
};

}  // namespace platform::headless
