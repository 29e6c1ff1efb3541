// The computer opponent: plays one side from what the screen shows, frame by frame. It reads
// the ring's spin and the halo's flight from the change since the last frame, picks the tile
// of its ring most worth hitting that it can still bring under the halo in time, and pushes the
// ring toward it, with the reaction time and aim of its level.
#pragma once

#include <cstdint>

#include "game/controller.h"
#include "game/cpu_hands.h"
#include "game/cpu_random.h"
#include "game/cpu_view.h"

class CpuController final : public Controller {
 public:
  // `level` 1 (easy) to 3 (hard); `seed` the match's seed.
  CpuController(int level, int side, uint32_t seed);

  // The key its hands hold in this frame, seen at `now_ms`.
  Spin Decide(const CpuView& v, uint32_t now_ms);
  // As a side's controller: decides from what the screen shows of `s`, for the side it was made
  // for.
  Spin Next(const GameState& s, int side, uint32_t now_ms) override;

  // The tile it aims at, or -1: for the display of a side it plays and for tests.
  int aim() const { return aim_; }

 private:
  // The key it wants now, before its hands carry it out.
  Spin Think(const CpuView& v, uint32_t now_ms);
  int ChooseTile(const CpuRing& r, float where, int frames, const float values[], float spin,
                 float coast) const;

  CpuLevel level_;
  int side_;
  CpuRandom dice_;
  CpuHands hands_;

  // What the last frame showed.
  bool seen_ = false;
  int kind_ = GAME_START;
  float ring_angle_ = 0.0f;
  float halo_x_ = 0.0f;
  float halo_y_ = 0.0f;
  float spin_ = 0.0f;
  uint32_t seen_at_ = 0;
  float frame_ms_ = 16.0f;  // the time between frames, smoothed

  int vote_colour_ = 0;
  int aim_ = -1;
  float aim_offset_ = 0.0f;
  Spin want_ = Spin::None;
};
