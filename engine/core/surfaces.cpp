// The display surfaces: the front/back pair, the view geometry and pixel format taken from the
// back buffer, and their release at exit.
#include <cstddef>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/files/debug_log.h"

namespace {

using platform::Result;

// Log line for a refused first request of the full-screen front surface; null for results
// that are not logged.
const char* FrontSurfaceLogLine(Result result) {
  switch (result) {
    case platform::DDERR_OUTOFMEMORY:
      return "<WinDX::CreateSurface> Out of Memory\n";
    case platform::DDERR_INVALIDPARAMS:
      return "<WinDX::CreateSurface> Invalid Params\n";
    case platform::DDERR_INCOMPATIBLEPRIMARY:
      return "<WinDX::CreateSurface> Incompatible Primary\n";
    case platform::DDERR_INVALIDCAPS:
      return "<WinDX::CreateSurface> Invalid Caps\n";
    case platform::DDERR_INVALIDOBJECT:
      return "<WinDX::CreateSurface> Invalid Object\n";
    case platform::DDERR_INVALIDPIXELFORMAT:
      return "<WinDX::CreateSurface> Invalid Pixel Format\n";
    case platform::DDERR_NOALPHAHW:
      return "<WinDX::CreateSurface> No Alpha HW\n";
    case platform::DDERR_NOCOOPERATIVELEVELSET:
      return "<WinDX::CreateSurface> No Cooperate Level Set\n";
    case platform::DDERR_NOEXCLUSIVEMODE:
      return "<WinDX::CreateSurface> No Exclusive Mode\n";
    case platform::DDERR_NOFLIPHW:
      return "<WinDX::CreateSurface> No Flip HW\n";
    case platform::DDERR_NOZBUFFERHW:
      return "<WinDX::CreateSurface> No Z-Buffer HW\n";
    case platform::DDERR_OUTOFVIDEOMEMORY:
      return "<WinDX::CreateSurface> Out Of Video Memory\n";
    case platform::DDERR_NODIRECTDRAWHW:
      return "<WinDX::CreateSurface> No Direct Draw HW\n";
    case platform::DDERR_PRIMARYSURFACEALREADYEXISTS:
      return "<WinDX::CreateSurface> Primary Surface Already Exists\n";
    case platform::DDERR_NOEMULATION:
      return "<WinDX::CreateSurface> No Emulation\n";
    default:
      return nullptr;
  }
}

// Whether the surface described itself; a failed description leaves `desc` empty, so every
// test on it then reads "no".
bool Describe(platform::Surface* surface, platform::SurfaceDesc* desc) {
  *desc = platform::SurfaceDesc();
  desc->flags = platform::DDSD_HEIGHT | platform::DDSD_WIDTH | platform::DDSD_PITCH |
                platform::DDSD_PIXELFORMAT;
  return surface->GetSurfaceDesc(desc) == platform::OK;
}

// Releases a display object, if there is one, and forgets it.
template <typename T>
void ReleaseAndClear(T*& object) {
  if (object == nullptr) return;
  object->Release();
  object = nullptr;
}

}  // namespace

bool WinDX::CreateSurface() {
  ReleaseAndClear(dd_back);
  ReleaseAndClear(dd_front);

  if (fullscreen == 1) {
    if (dd->SetDisplayMode(view_stride, view_yres, screen_bpp) != platform::OK) {
      status = ERR_SETMODE;
      return false;
    }
    status = STATUS_MODE_SET;
    platform::SurfaceDesc desc;
    desc.flags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
    desc.back_buffer_count = 1;
    desc.caps =
        platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
    const Result first = dd->CreateSurface(desc, &dd_front);
    if (first != platform::OK) {
      if (const char* line = FrontSurfaceLogLine(first)) debug_log.Output(line, "");
      // Video memory is not asked for here, so this second request is the first one again.
      desc.caps &= ~platform::DDSCAPS_VIDEOMEMORY;
      if (dd->CreateSurface(desc, &dd_front) != platform::OK) {
        dd_front = nullptr;
        status = ERR_FRONTSURFACE;
        return false;
      }
    }
    status = STATUS_FRONT_CREATED;
    if (dd_front->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &dd_back) != platform::OK) {
      dd_back = nullptr;
      status = ERR_BACKSURFACE;
      return false;
    }
  } else {
    platform::SurfaceDesc front;
    front.flags = platform::DDSD_CAPS;
    front.caps = platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_VIDEOMEMORY;
    if (dd->CreateSurface(front, &dd_front) != platform::OK) {
      front.caps = platform::DDSCAPS_PRIMARYSURFACE;
      if (dd->CreateSurface(front, &dd_front) != platform::OK) {
        dd_front = nullptr;
        status = ERR_FRONTSURFACE;
        return false;
      }
    }
    platform::SurfaceDesc back;
    back.flags = platform::DDSD_CAPS | platform::DDSD_HEIGHT | platform::DDSD_WIDTH;
    back.height = view_yres;
    back.width = view_stride;
    back.caps = platform::DDSCAPS_OFFSCREENPLAIN;
    status = STATUS_FRONT_CREATED;
    if (dd->CreateSurface(back, &dd_back) != platform::OK) {
      // Video memory is not asked for here either: the second request repeats the first.
      back.caps &= ~platform::DDSCAPS_VIDEOMEMORY;
      if (dd->CreateSurface(back, &dd_back) != platform::OK) {
        dd_back = nullptr;
        status = ERR_BACKSURFACE;
        return false;
      }
    }
    // No clipper: copies into the screen are not clipped against other windows.
  }

  status = STATUS_SURFACES_CREATED;
  platform::SurfaceDesc front_desc;
  Describe(dd_front, &front_desc);
  debug_log.Output((front_desc.caps & platform::DDSCAPS_VIDEOMEMORY) != 0
                       ? "WinDX:: Front Buffer is in video memory.\n"
                       : "WinDX:: Front Buffer NOT IN VIDEO MEMORY.\n",
                   "");
  platform::SurfaceDesc back_desc;
  const bool described = Describe(dd_back, &back_desc);
  debug_log.Output((back_desc.caps & platform::DDSCAPS_VIDEOMEMORY) != 0
                       ? "WinDX:: Back Buffer is in video memory.\n"
                       : "WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n",
                   "");
  debug_log.Output((back_desc.caps & platform::DDSCAPS_BACKBUFFER) != 0
                       ? "WinDX:: Back Buffer is a valid flip (back) buffer.\n"
                       : "WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n",
                   "");
  // Every draw routine trusts the view to hold clip_right + 1 pixels a row and clip_bottom + 1
  // rows; a back buffer that cannot say so, or says it is smaller, would be drawn past its end.
  if (!described || back_desc.pitch / 2 < clip_right + 1 || back_desc.height < clip_bottom + 1) {
    status = ERR_BACKSURFACE;
    return false;
  }

  view_yres = back_desc.height;
  view_pitch = back_desc.pitch;
  view_stride = view_pitch / 2;

  draw_func = SixteenBitDrawTable();

  SetScreenFormat(static_cast<int>(back_desc.pixel_format.red_mask),
                  static_cast<int>(back_desc.pixel_format.green_mask),
                  static_cast<int>(back_desc.pixel_format.blue_mask));

  // One entry per row and one past the last, sized to the view so that no view height can
  // write beyond it. Offsets count 16-bit pixels, the unit of `view`, which indexes them.
  row_offset.assign(static_cast<std::size_t>(view_yres > 0 ? view_yres : 0) + 1, 0);
  for (std::size_t y = 0; y < row_offset.size(); ++y) {
    row_offset[y] = static_cast<int>(y) * view_stride;
  }

  int x = 0;
  int y = 0;
  backend->Windows().ClientToScreen(hwnd, &x, &y);
  win_x = x;
  win_y = y;

  active = 1;
  status = STATUS_RUNNING;
  return true;
}

void WinDX::CleanUp() {
  ReleaseAndClear(dd_back);
  ReleaseAndClear(dd_front);
  ReleaseAndClear(dd);
}
