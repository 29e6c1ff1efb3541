// Pictures composed the way the game composes them, for the contact sheet: masked drawing (any
// alpha above 0 is opaque), tiles turned by the game's inverse-mapped rotation, positions as
// the game places them, and colours cut down to the 16-bit display's 5-6-5 steps.
#pragma once

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/catalogue.h"

namespace assets {

// Covers the picture with copies of `tile` from its top-left corner.
void DrawTiledOn(Picture& target, const Picture& tile);
// Copies every pixel whose alpha is not 0, with the top-left at (x, y), clipped.
void DrawMaskedOn(Picture& target, const Picture& source, int x, int y);
// The source turned by `angle` degrees (counter-clockwise on screen) into a size × size picture,
// every destination pixel taking the source pixel under it; pixels outside the source are
// transparent.
Picture Turned(const Picture& source, float angle, int size);
// Rounds every colour to what a 5-6-5 display shows.
void ToDisplayColours(Picture& picture);

// What the screen shows in two moments of a match: a vote and a streak round.
Picture VoteScene(const Catalogue& catalogue);
Picture StreakScene(const Catalogue& catalogue);

}  // namespace assets
