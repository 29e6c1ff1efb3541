#include "game/cpu_values.h"

#include "game/cpu_random.h"

namespace {

// Hits scored in thousands of points: a hit that counts pays 1 x the multiplier, a miss 0.5.
constexpr float kMiss = -0.5f;
// A run of n target tiles pays 0.5 x n squared.
constexpr float kRunUnit = 0.5f;
// Worth of moving a tile one colour closer to the target when the hit itself pays nothing:
// small, so that a paying hit always comes first.
constexpr float kCloser = 0.1f;
// A miss that makes a target tile is worth most of the hit it makes possible.
constexpr float kMakesTarget = 0.4f;
// With this few target tiles left on its ring, a miss that makes a new one is the better miss.
constexpr int kFewTargets = 2;

// How the computer likes the four round kinds when it votes freely: it wins most where a good
// aim pays most, the streak and the purge.
constexpr float kTaste[TILE_COLOURS] = {0.2f, 0.35f, 0.15f, 0.3f};

int Count(const CpuRing& r, int c) {
  int n = 0;
  for (const int colour : r.colour) n += colour == c ? 1 : 0;
  return n;
}

// Hits that pay `multiplier` on colour `c` and cost on any other.
void Scoring(const CpuRing& r, int c, int multiplier, float out[]) {
  const bool few = Count(r, c) <= kFewTargets;
  for (int i = 0; i < RING_TILES; ++i) {
    const int colour = r.colour[i];
    if (colour == c) {
      out[i] = static_cast<float>(multiplier);
    } else {
      out[i] = kMiss + ((few && (colour + 1) % TILE_COLOURS == c) ? kMakesTarget : 0.0f);
    }
  }
}

// Length of the run of colour `c` next to tile `i` going one way round (`step` +1 or -1).
int RunBeside(const CpuRing& r, int i, int step, int c) {
  int n = 0;
  for (int k = 1; k < RING_TILES; ++k) {
    if (r.colour[(i + step * k + RING_TILES) % RING_TILES] != c) break;
    ++n;
  }
  return n;
}

void Runs(const CpuView& v, int side, int, float out[]) {
  const CpuRing& r = v.ring[side];
  const int t = v.target;
  for (int i = 0; i < RING_TILES; ++i) {
    const int before = RunBeside(r, i, -1, t);
    int after = RunBeside(r, i, +1, t);
    if (before + after > RING_TILES - 1) after = RING_TILES - 1 - before;
    const int whole = before + 1 + after;
    const float joined = static_cast<float>(whole * whole - before * before - after * after);
    const int steps_away = (t - r.colour[i] + TILE_COLOURS) % TILE_COLOURS;
    if (steps_away == 0) {
      out[i] = -kRunUnit * joined;  // breaks the run it stands in
    } else if (steps_away == 1) {
      out[i] = kRunUnit * joined;  // joins the runs on either side
    } else {
      out[i] = kCloser / static_cast<float>(steps_away - 1);
    }
  }
}

void Streak(const CpuView& v, int side, int, float out[]) {
  Scoring(v.ring[side], v.target, v.multiplier[side], out);
}

void Echo(const CpuView& v, int side, int, float out[]) {
  const int mine = v.pending[side];
  if (mine != NO_COLOUR) {
    Scoring(v.ring[side], mine, v.multiplier[side], out);
    return;
  }
  // A free hit names the colour the opponent must answer: the one its ring has least of.
  const CpuRing& theirs = v.ring[1 - side];
  for (int i = 0; i < RING_TILES; ++i) {
    out[i] = -kCloser * static_cast<float>(Count(theirs, v.ring[side].colour[i])) /
             static_cast<float>(RING_TILES / TILE_COLOURS);
  }
}

void Purge(const CpuView& v, int side, int, float out[]) {
  const CpuRing& r = v.ring[side];
  for (int i = 0; i < RING_TILES; ++i) {
    switch ((v.target - r.colour[i] + TILE_COLOURS) % TILE_COLOURS) {
      case 0:
        out[i] = 1.0f;  // passes a target tile over
        break;
      case 1:
        out[i] = -1.0f;  // would make a new target tile of its own
        break;
      case 2:
        out[i] = -kCloser;
        break;
      default:
        out[i] = 0.0f;
        break;
    }
  }
}

void Vote(const CpuView& v, int side, int vote_colour, float out[]) {
  const CpuRing& r = v.ring[side];
  for (int i = 0; i < RING_TILES; ++i) {
    const int c = r.colour[i];
    // A colour one vote short of deciding would start its round at once.
    out[i] = c == vote_colour ? 1.0f : (v.votes[c] >= VOTES_TO_DECIDE ? kMiss : 0.0f);
  }
}

using Valuer = void (*)(const CpuView&, int, int, float[]);
// By game state: the four round kinds, then the vote.
constexpr Valuer kValuers[] = {Runs, Streak, Echo, Purge, Vote};

}  // namespace

void TileValues(const CpuView& v, int side, int vote_colour, float out[RING_TILES]) {
  if (v.kind < GAME_RUNS || v.kind > GAME_VOTE) {
    for (int i = 0; i < RING_TILES; ++i) out[i] = 0.0f;
    return;
  }
  kValuers[v.kind](v, side, vote_colour, out);
}

int PickVoteColour(float spread, CpuRandom& dice) {
  float roll = dice.Unit();
  for (int c = 0; c < TILE_COLOURS - 1; ++c) {
    const float share = (1.0f - spread) * kTaste[c] + spread / TILE_COLOURS;
    if (roll < share) return c;
    roll -= share;
  }
  return TILE_COLOURS - 1;
}
