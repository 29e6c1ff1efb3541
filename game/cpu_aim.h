// The computer opponent's sense of motion: when and where the halo will next touch its ring,
// and how far the ring will have turned by then.
#pragma once

#include <optional>

struct Contact {
  int frames;       // updates from now until the touch, at least 1
  float direction;  // the halo's polar angle at the touch, degrees in [0, 360)
};

// The next touch of a halo at (x, y) moving (vx, vy) per update, flying straight until then
// (it only changes course at the ring). None when it is not moving.
std::optional<Contact> PredictContact(float x, float y, float vx, float vy);

// How far a ring spinning at `spin` degrees per update turns in `frames` updates with no key
// held: it slows by 2% every update.
float CoastTurn(float spin, int frames);

// How far a ring spinning at `spin` turns in `frames` updates when a key still held changes
// its spin by `push` per update (up to the top spin) for the first `push_frames` of them, and it
// coasts after that: what a player expects of the hands' last moves.
float PlannedTurn(float spin, float push, int push_frames, int frames);

// How far a held key can turn a ring from rest in `frames` updates when the push only begins
// after `lag` updates (the figure has to get into its stride first).
float Reach(int frames, int lag);

// The signed difference a - b of two angles in degrees, in [-180, 180).
float AngleGap(float a, float b);
