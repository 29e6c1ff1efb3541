// A small PNG writer (8-bit RGB or RGBA, no interlace) for the contact sheet and the icon.
#pragma once

#include <string>

#include "tools/make_assets/canvas.h"

namespace assets {

// Writes the picture's colour, and its alpha when it has one. False when the file cannot be
// written.
bool WritePng(const std::string& path, const Picture& picture);

}  // namespace assets
