// Writes a 16-bit view as a PNG picture (8-bit RGB), for looking at replayed frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace match_sim {

// `pixels` holds width x height display pixels in the screen's current pixel format. False
// when the file cannot be written.
bool WritePng(const std::string& path, const std::vector<uint16_t>& pixels, int width, int height);

}  // namespace match_sim
