// The computer opponent: its sense of the ring's turn, what it thinks each tile is worth, its
// hands, and whether it actually scores, by level, against nobody.
#include <gtest/gtest.h>

#include "game/cpu_aim.h"
#include "game/cpu_controller.h"
#include "game/cpu_values.h"
#include "game/game_fixture.h"
#include "game/match.h"

namespace {

// Coasting matches the ring's own decay, update by update; a push stops at the top spin, then
// coasts.
TEST(CpuAim, TurnsAndGaps) {
  float spin = 2.0f, turned = 0.0f;
  for (int i = 0; i < 40; ++i) spin = static_cast<float>(spin * 0.98), turned += spin;
  EXPECT_NEAR(CoastTurn(2.0f, 40), turned, 1e-3);
  EXPECT_NEAR(PlannedTurn(2.4f, 0.15f, 3, 3), 7.5f, 1e-4);
  EXPECT_NEAR(PlannedTurn(0.0f, 0.15f, 2, 3), 0.15f + 0.3f + 0.3f * 0.98f, 1e-4);
  EXPECT_EQ(std::tuple(AngleGap(10.0f, 350.0f), AngleGap(725.0f, 0.0f)), std::tuple(20.0f, 5.0f));
}

// A streak tile is worth its multiplier, a wrong one a miss; in a purge round target tiles are
// worth passing on and no tile is worth turning into one. The computer's keys come out a reaction
// later, also across the wrap of the clock.
TEST(Cpu, TileValuesAndHands) {
  CpuView v;
  for (int side : {LEFT, RIGHT})
    for (int i = 0; i < RING_TILES; ++i) v.ring[side].colour[i] = i % TILE_COLOURS;
  v.kind = GAME_STREAK, v.target = 2, v.multiplier[LEFT] = 4;
  float out[RING_TILES];
  TileValues(v, LEFT, 0, out);
  EXPECT_EQ(std::tuple(out[2], out[1], out[3]), std::tuple(4.0f, -0.5f, -0.5f));
  v.kind = GAME_PURGE;
  TileValues(v, LEFT, 0, out);
  EXPECT_TRUE(out[2] > 0.0f && out[1] < out[0] && out[1] < out[3]);
  CpuHands hands(50), wrapping(50);
  EXPECT_EQ(hands.Press(Spin::First, 1000), Spin::None);
  EXPECT_EQ(hands.Press(Spin::Second, 1030), Spin::None);
  EXPECT_EQ(hands.Press(Spin::None, 1050), Spin::First);
  EXPECT_EQ(hands.Press(Spin::None, 1200), Spin::None);
  wrapping.Press(Spin::Second, 0xFFFFFFF0u);
  EXPECT_EQ(wrapping.Press(Spin::None, 0x30u), Spin::Second);
}

// Plays a streak round of 3000 frames: the left side by a computer of `level`, the right side
// touching no key. Returns the left side's share of hits on the target colour.
double PlayStreak(GameState& s, int level) {
  uint32_t now = 100000;
  s.random = 1;
  for (const int side : {LEFT, RIGHT}) {
    Player& p = s.players[side];
    p.index = side, p.score = START_SCORE, SetRing(&p);
    p.halo.Setup(0.0f, -40.0f, 70.0f);
    p.character.step_time = now;
  }
  Match(s, now).StartRound(GAME_STREAK, 2);
  CpuController cpu(level, LEFT, 11);
  int hits = 0, good = 0;
  for (int i = 0; i < 3000; ++i) {
    now += 16;
    Match(s, now).Update(FrameInput{{cpu.Next(s, LEFT, now), Spin::None}});
    const int hit = s.match.last_hit[LEFT];
    if (hit != NO_HIT) ++hits, good += s.players[LEFT].HitColour(hit) == 2;
  }
  return hits == 0 ? 0.0 : static_cast<double>(good) / hits;
}

// Against nobody the hard computer out-scores a ring left alone and the easy computer by far,
// and hits the target more often than the easy one does.
TEST(CpuMatch, ScoresInAStreakRoundTheHardLevelMost) {
  GameState easy, hard;
  EXPECT_GT(PlayStreak(hard, 3), PlayStreak(easy, 1));
  EXPECT_GT(hard.players[LEFT].score, hard.players[RIGHT].score + 30000);
  EXPECT_GT(hard.players[LEFT].score, easy.players[LEFT].score + 30000);
}

}  // namespace
