// Scoring of the four round kinds, hit by hit, and the end of each round.
#include <gtest/gtest.h>

#include "game/match_fixture.h"

namespace {

using RoundsTest = MatchTest;

TEST_F(RoundsTest, RunsScoreSquaredRunsAtTheTimeLimitZeroSum) {
  const struct {
    const char *left, *right;
    int target, left_gain;  // the right player's change is its negation
  } cases[] = {
      // All 24 of the target are one run; the other ring has six runs of one.
      {"222222222222222222222222", "012301230123012301230123", 2, 288000 - 3000},
      // Tiles 22, 23, 0 and 1 are one run across the seam.
      {"330000000000000000000033", "000000000000000000000000", 3, 8000},
      // Runs of 3 and 4, against the same on the other side.
      {"000000000000000000000000", "000001110000000000001111", 1, -12500},
      {"111111111111111111111111", "111111111111111111111111", 1, 0},
  };
  for (const auto& c : cases) {
    match_.players[LEFT].score = match_.players[RIGHT].score = START_SCORE;
    match_.state.rounds_left = 10;
    match_.StartRound(GAME_RUNS, c.target);
    Advance(ROUND_MS - 1);
    Hits(0, 1);  // hits only sound
    EXPECT_EQ(Score(LEFT), START_SCORE);
    SetRing(LEFT, c.left);
    SetRing(RIGHT, c.right);
    Advance(1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - START_SCORE, c.left_gain) << c.left << " / " << c.right;
    EXPECT_EQ(Score(RIGHT) - START_SCORE, -c.left_gain) << c.left << " / " << c.right;
    EXPECT_EQ(match_.state.game_state, GAME_VOTE);
    EXPECT_EQ(match_.state.rounds_left, 9);
  }
  EXPECT_EQ(Plays(hit_), 8u);
  EXPECT_EQ(Plays(vote_), 4u);
}

TEST_F(RoundsTest, StreakMultiplierDoublesToSixteenAndAMissResetsIt) {
  match_.StartRound(GAME_STREAK, 3);
  const struct {
    int colour, gain, multiplier_after;
  } steps[] = {{3, 1000, 2},   {3, 2000, 4},   {3, 4000, 8}, {3, 8000, 16},
               {3, 16000, 16}, {3, 16000, 16}, {0, -500, 1}, {3, 1000, 2}};
  for (const auto& s : steps) {
    const int before = Score(LEFT);
    Hits(s.colour, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - before, s.gain);
    EXPECT_EQ(match_.state.multiplier[LEFT], s.multiplier_after);
  }
  EXPECT_EQ(Plays(hit_), 7u);
  EXPECT_EQ(Plays(miss_), 1u);
  EXPECT_EQ(match_.state.multiplier[RIGHT], 1);  // each player has its own
  Advance(ROUND_MS);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  EXPECT_EQ(match_.state.round_start, Now());
  EXPECT_EQ(match_.state.rounds_left, 9);
}

TEST_F(RoundsTest, ARoundLastsItsMinuteWhereverTheClockStands) {
  // Across the top of a signed int, and across the wrap of the 32-bit clock.
  for (const uint32_t start : {0x7FFFFFFFu - 20000, 0xFFFFFFFFu - 20000}) {
    headless_->SetTime(start);
    match_.StartRound(GAME_STREAK, 0);
    Advance(ROUND_MS - 1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(match_.state.game_state, GAME_STREAK) << start;
    Advance(1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(match_.state.game_state, GAME_VOTE) << start;
  }
}

TEST_F(RoundsTest, EchoColoursAreSetByTheOpponentAndAnswered) {
  match_.state.multiplier[LEFT] = 7;
  match_.StartRound(GAME_ECHO, 0);
  EXPECT_EQ(match_.state.multiplier[LEFT], 1);
  const struct {
    int left_hit, right_hit, left_gain, right_gain, left_pending, right_pending;
  } frames[] = {
      // Nothing pending: the first hits only set the opponent's colour.
      {1, 2, 0, 0, 2, 1},
      // Answering scores; a hit never replaces a colour still pending.
      {2, NO_COLOUR, 1000, 0, NO_COLOUR, 1},
      {NO_COLOUR, 1, 0, 1000, 1, NO_COLOUR},
      // A wrong answer costs 500 and keeps the colour; the hit still sets the opponent's.
      {3, NO_COLOUR, -500, 0, 1, 3},
      // Both answer, and each colour answered is set anew in the same frame.
      {1, 3, 1000, 2000, 3, 1},
  };
  for (const auto& f : frames) {
    const int left = Score(LEFT), right = Score(RIGHT);
    Hits(f.left_hit, f.right_hit);
    EXPECT_EQ(Score(LEFT) - left, f.left_gain) << f.left_hit << "," << f.right_hit;
    EXPECT_EQ(Score(RIGHT) - right, f.right_gain) << f.left_hit << "," << f.right_hit;
    EXPECT_EQ(match_.state.pending[LEFT], f.left_pending) << f.left_hit << "," << f.right_hit;
    EXPECT_EQ(match_.state.pending[RIGHT], f.right_pending) << f.left_hit << "," << f.right_hit;
  }
  EXPECT_EQ(Plays(hit_), 4u);
  EXPECT_EQ(Plays(miss_), 1u);
}

TEST_F(RoundsTest, PurgeClearanceAndTimeLimit) {
  const struct {
    const char *left, *right;
    int target, rounds_before;
    uint32_t after_ms;
    int left_gain, right_gain, rounds_after;
  } cases[] = {
      // A ring without the target when the round begins ends it in its first frame.
      {"000000000000000000000000", "012301230123012301230123", 1, 10, 0, 100000, -6000, 9},
      // Both clear in one frame: both bonuses, two rounds counted, below zero at the end.
      {"000000000000000000000000", "020202020202020202020202", 3, 1, 0, 100000, 100000, -1},
      // At the time limit each pays for its own target tiles.
      {"111000000000000000000000", "111111111100000000000000", 1, 10, ROUND_MS, -3000, -10000, 9},
      // A clearance at the time limit opens the vote, whose fresh clock is not up.
      {"000000000000000000000000", "111100000000000000000000", 1, 10, ROUND_MS + 5, 100000, -4000,
       9},
  };
  for (const auto& c : cases) {
    match_.players[LEFT].score = match_.players[RIGHT].score = START_SCORE;
    match_.state.rounds_left = c.rounds_before;
    match_.StartRound(GAME_PURGE, c.target);
    SetRing(LEFT, c.left);
    SetRing(RIGHT, c.right);
    Advance(c.after_ms);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - START_SCORE, c.left_gain) << c.left << " / " << c.right;
    EXPECT_EQ(Score(RIGHT) - START_SCORE, c.right_gain) << c.left << " / " << c.right;
    EXPECT_EQ(match_.state.rounds_left, c.rounds_after) << c.left << " / " << c.right;
    EXPECT_EQ(match_.state.game_state, GAME_VOTE);
    EXPECT_EQ(match_.state.target, c.target);
  }
}

TEST_F(RoundsTest, PurgeTargetHitsPassATileToTheOpponentOthersMiss) {
  match_.StartRound(GAME_PURGE, 2);
  Hits(2, NO_COLOUR);
  EXPECT_EQ(match_.players[RIGHT].CountColour(2), 7);
  Hits(NO_COLOUR, 0);
  EXPECT_EQ(match_.players[LEFT].CountColour(2), 6);
  EXPECT_EQ(Plays(hit_), 1u);
  EXPECT_EQ(Plays(miss_), 1u);
  EXPECT_EQ(Score(LEFT), START_SCORE);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
}

}  // namespace
