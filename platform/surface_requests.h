// The checks every back end makes of a request for a surface before it asks for memory: that
// what was asked is complete and consistent, and no larger than the back end's largest side. The
// engine relies on each refusal giving the same result whichever back end it runs on.
#pragma once

#include "platform/platform.h"

namespace platform {

// The sides of pixel memory: at least 1, and at most `max_side`. A larger one is refused as out of
// memory, before any is asked for.
inline Result CheckSurfaceSides(int width, int height, int max_side) {
  if (width < 1 || height < 1) return DDERR_INVALIDPARAMS;
  if (width > max_side || height > max_side) return DDERR_OUTOFMEMORY;
  return OK;
}

// A request for an off-screen surface: both sides given and within bounds, and no part of a flip
// chain (a back buffer only comes with its screen).
inline Result CheckPlainRequest(const SurfaceDesc& desc, int max_side) {
  if ((desc.flags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) {
    return DDERR_INVALIDPARAMS;
  }
  if ((desc.caps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER)) != 0) return DDERR_INVALIDCAPS;
  return CheckSurfaceSides(desc.width, desc.height, max_side);
}

// A request for the screen: a flip chain needs exclusive mode and exactly one back buffer.
inline Result CheckScreenRequest(const SurfaceDesc& desc, bool exclusive) {
  if ((desc.caps & DDSCAPS_FLIP) == 0) return OK;
  if (!exclusive) return DDERR_NOEXCLUSIVEMODE;
  if ((desc.caps & DDSCAPS_COMPLEX) == 0 || (desc.flags & DDSD_BACKBUFFERCOUNT) == 0 ||
      desc.back_buffer_count != 1) {
    return DDERR_INVALIDPARAMS;
  }
  return OK;
}

}  // namespace platform
