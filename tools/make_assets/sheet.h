// The contact sheet: two screens as the game would show them, then every picture on the
// game's background with its file name.
#pragma once

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/text.h"

namespace assets {

Picture DrawSheet(const Catalogue& catalogue, Fonts& fonts);

}  // namespace assets
