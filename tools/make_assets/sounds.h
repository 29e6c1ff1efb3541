// The game's two sounds, synthesised: a bright rising beep for a hit that counts and a lower
// blip for misses and the vote. Both are about a tenth of a second and start and end in
// silence, so that restarting them never clicks.
#pragma once

#include <vector>

namespace assets {

// Samples in [-1, 1] at kSoundRate (wave_out.h).
std::vector<float> MakeHitBeep();
std::vector<float> MakeBlip();

}  // namespace assets
