// A small PNG writer (8-bit RGB, no interlace) for the contact sheet.
#pragma once

#include <string>

#include "tools/make_assets/canvas.h"

namespace assets {

// Writes the picture's colour (its alpha is dropped). False when the file cannot be written.
bool WritePng(const std::string& path, const Picture& picture);

}  // namespace assets
