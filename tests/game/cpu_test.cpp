// The computer opponent: its sense of the halo's flight and the ring's turn, what it thinks
// each tile is worth, its hands, and whether it actually scores in a round against nobody.
#include <gtest/gtest.h>

#include <cmath>

#include "game/cpu_aim.h"
#include "game/cpu_controller.h"
#include "game/cpu_random.h"
#include "game/cpu_values.h"
#include "game/game_fixture.h"
#include "game/match.h"

namespace {

// The first contact of a real halo, moved and bounced by the game's own code, against the
// prediction made from its first move.
TEST(CpuAim, PredictsTheRealHalosContact) {
  for (const float theta : {0.0f, 47.0f, 90.0f, 133.0f, 250.0f, 311.0f}) {
    Halo halo;
    halo.Setup(-30.0f, 25.0f, theta);
    const float x0 = halo.x, y0 = halo.y;
    halo.Move();
    const std::optional<Contact> c = PredictContact(halo.x, halo.y, halo.x - x0, halo.y - y0);
    ASSERT_TRUE(c.has_value());
    int frames = 0;
    do {
      halo.Move(), ++frames;
    } while (!halo.Bounce(RING_RADIUS, 0.0f));
    EXPECT_EQ(c->frames, frames) << theta;
    EXPECT_NEAR(AngleGap(c->direction, halo.direction), 0.0f, 0.5f) << theta;
  }
  EXPECT_FALSE(PredictContact(10.0f, 10.0f, 0.0f, 0.0f).has_value());
}

TEST(CpuAim, TurnsAndGaps) {
  // Coasting matches the ring's own decay, update by update.
  float spin = 2.0f, turned = 0.0f;
  for (int i = 0; i < 40; ++i) spin = static_cast<float>(spin * 0.98), turned += spin;
  EXPECT_NEAR(CoastTurn(2.0f, 40), turned, 1e-3);
  // A push stops at the top spin, then coasts.
  EXPECT_NEAR(PlannedTurn(2.4f, 0.15f, 3, 3), 7.5f, 1e-4);
  EXPECT_NEAR(PlannedTurn(0.0f, 0.15f, 2, 3), 0.15f + 0.3f + 0.3f * 0.98f, 1e-4);
  EXPECT_EQ(Reach(5, 5), 0.0f);
  EXPECT_NEAR(Reach(40, 0), 0.15f * 17 * 18 / 2 + 2.5f * 23, 1e-3);
  for (const auto& [a, b, gap] : {std::tuple{10.0f, 350.0f, 20.0f},
                                  {350.0f, 10.0f, -20.0f},
                                  {0.0f, 180.0f, -180.0f},
                                  {725.0f, 0.0f, 5.0f}})
    EXPECT_NEAR(AngleGap(a, b), gap, 1e-4) << a << " " << b;
}

CpuView ViewWithRing(int kind, const char* colours) {
  CpuView v;
  v.kind = kind;
  for (int i = 0; i < RING_TILES; ++i) v.ring[LEFT].colour[i] = colours[i] - '0';
  for (int i = 0; i < RING_TILES; ++i) v.ring[RIGHT].colour[i] = i % TILE_COLOURS;
  return v;
}

TEST(CpuValues, EachKindValuesWhatScores) {
  float out[RING_TILES];
  // Runs of 1s: tile 3 joins runs of 2 and 1 (16 - 4 - 1 = 11 squares), tile 1 breaks a run.
  CpuView v = ViewWithRing(GAME_RUNS, "110101333333333333333333");
  v.target = 1;
  TileValues(v, LEFT, 0, out);
  EXPECT_FLOAT_EQ(out[2], 0.5f * 11);
  EXPECT_FLOAT_EQ(out[1], -0.5f * 3);
  EXPECT_LT(out[6], out[2]);

  v = ViewWithRing(GAME_STREAK, "012301230123012301230123");
  v.target = 2, v.multiplier[LEFT] = 4;
  TileValues(v, LEFT, 0, out);
  EXPECT_EQ(std::tuple(out[2], out[1], out[3]), std::tuple(4.0f, -0.5f, -0.5f));

  // Echo: a pending colour scores like a streak; with none, name what the opponent lacks.
  v = ViewWithRing(GAME_ECHO, "012301230123012301230123");
  v.pending[LEFT] = 3, v.multiplier[LEFT] = 2;
  TileValues(v, LEFT, 0, out);
  EXPECT_EQ(std::tuple(out[3], out[0]), std::tuple(2.0f, -0.5f));
  v.pending[LEFT] = NO_COLOUR;
  for (int i = 0; i < 6; ++i) v.ring[RIGHT].colour[i] = 1;  // opponent short of 0 and rich in 1
  TileValues(v, LEFT, 0, out);
  EXPECT_GT(out[0], out[1]);

  // Purge: pass target tiles on, never make new ones.
  v = ViewWithRing(GAME_PURGE, "012301230123012301230123");
  v.target = 2;
  TileValues(v, LEFT, 0, out);
  EXPECT_GT(out[2], 0.0f);
  EXPECT_LT(out[1], out[0]);
  EXPECT_LT(out[1], out[3]);

  // Vote: its colour, and never a colour one vote short unless it is its own.
  v = ViewWithRing(GAME_VOTE, "012301230123012301230123");
  v.votes[3] = VOTES_TO_DECIDE;
  TileValues(v, LEFT, 1, out);
  EXPECT_GT(out[1], out[0]);
  EXPECT_LT(out[3], out[0]);
}

TEST(CpuValues, VotesSpreadOverAllKinds) {
  CpuRandom dice(7);
  int wide[TILE_COLOURS] = {}, narrow[TILE_COLOURS] = {};
  for (int i = 0; i < 4000; ++i) ++wide[PickVoteColour(1.0f, dice)];
  for (int i = 0; i < 4000; ++i) ++narrow[PickVoteColour(0.0f, dice)];
  for (int c = 0; c < TILE_COLOURS; ++c) EXPECT_NEAR(wide[c], 1000, 150) << c;
  EXPECT_GT(narrow[1], narrow[2] * 2);  // its taste: streak well before echo
}

TEST(CpuHands, KeysComeOutAReactionLater) {
  CpuHands hands(50);
  EXPECT_EQ(hands.Press(Spin::First, 1000), Spin::None);
  EXPECT_EQ(hands.Press(Spin::Second, 1030), Spin::None);
  EXPECT_EQ(hands.Press(Spin::None, 1050), Spin::First);
  EXPECT_EQ(hands.Press(Spin::None, 1200), Spin::None);
  // Across the wrap of the clock.
  CpuHands wrapping(50);
  wrapping.Press(Spin::Second, 0xFFFFFFF0u);
  EXPECT_EQ(wrapping.Press(Spin::None, 0x30u), Spin::Second);
}

class CpuMatchTest : public testing::Test {
 protected:
  // Plays a streak round of `frames` frames: the left side by a computer of `level`, the right
  // side touching no key. Returns the left side's share of hits on the target colour.
  double PlayStreak(int level, int frames) {
    s_.random = 1;
    for (const int side : {LEFT, RIGHT}) {
      Player& p = s_.players[side];
      p.index = side, p.score = START_SCORE, SetRing(&p);
      p.halo.Setup(0.0f, -40.0f, 70.0f);
      p.character.step_time = now_;
    }
    Match(s_, now_).StartRound(GAME_STREAK, 2);
    CpuController cpu(level, LEFT, 11);
    int hits = 0, good = 0;
    for (int i = 0; i < frames; ++i) {
      now_ += 16;
      const FrameInput in{{cpu.Next(s_, LEFT, now_), Spin::None}};
      Match(s_, now_).Update(in);
      const int hit = s_.match.last_hit[LEFT];
      if (hit != NO_HIT) ++hits, good += s_.players[LEFT].HitColour(hit) == 2;
    }
    return hits == 0 ? 0.0 : static_cast<double>(good) / hits;
  }
  int Score(int side) const { return s_.players[side].score; }

  GameState s_;
  uint32_t now_ = 100000;
};

// Against nobody the computer out-scores a ring left alone, and hits the target far more often
// than the one tile in four that chance gives.
TEST_F(CpuMatchTest, ScoresInAStreakRound) {
  const double share = PlayStreak(3, 3000);
  EXPECT_GT(share, 0.3);
  EXPECT_GT(Score(LEFT), Score(RIGHT) + 10000);
}

}  // namespace
