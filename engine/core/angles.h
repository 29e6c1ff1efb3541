// Degrees and radians. Pi is taken as 3.141592 wherever the program turns an angle: the rings,
// the halos and the rotated pictures were all tuned with that value, and a match only replays
// the same if every turn uses it, bit for bit.
#pragma once

constexpr double PI_AS_TUNED = 3.141592;
constexpr double DEG_TO_RAD = PI_AS_TUNED / 180.0;
constexpr double RAD_TO_DEG = 180.0 / PI_AS_TUNED;

static_assert(DEG_TO_RAD == 0.01745328888888889 && RAD_TO_DEG == 57.29579143313326);
