// The desktop icon: a ring of the four tile colours around a halo, on a rounded dark badge.
#pragma once

#include "tools/make_assets/canvas.h"

namespace assets {

// The icon at `size` × `size` pixels, with soft alpha around the badge. Drawn from shapes at
// every size rather than scaled, so each size is sharp.
Picture DrawIcon(int size);

}  // namespace assets
