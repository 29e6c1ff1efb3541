// Writes a sound as a PCM WAVE file whose sample chunk follows the format chunk directly, the
// layout the game's reader walks.
#pragma once

#include <string>
#include <vector>

namespace assets {

// The one format every sound of the game shares.
constexpr int kSoundRate = 22050;

// Samples in [-1, 1], written as 16-bit mono at kSoundRate. False (with a line on standard
// error) when the file cannot be written.
bool WriteWave(const std::string& path, const std::vector<float>& samples);

}  // namespace assets
