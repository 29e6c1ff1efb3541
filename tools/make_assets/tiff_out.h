// Writes pictures as the game reads them: uncompressed, 8 bits per sample, chunky RGB in one
// strip, with a fourth sample marked as unassociated alpha only when the picture has one.
#pragma once

#include <string>

#include "tools/make_assets/canvas.h"

namespace assets {

// False (with a line on standard error) when the file cannot be written.
bool WriteTiff(const std::string& path, const Picture& picture);

}  // namespace assets
