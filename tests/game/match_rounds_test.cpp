// Scoring of the four round kinds, hit by hit, and the end of each round.
#include <gtest/gtest.h>

#include <string>

#include "game/match_fixture.h"

namespace {

using RunsTest = MatchTest;
using StreakTest = MatchTest;
using EchoTest = MatchTest;
using PurgeTest = MatchTest;

TEST_F(RunsTest, ScoresSquaredRunsAtTheTimeLimitZeroSum) {
  const struct {
    const char* left;
    const char* right;
    int target;
    int left_gain;  // the right player's change is its negation
  } cases[] = {
      // A ring all of the target is one run of 24; the other ring has six runs of one.
      {"222222222222222222222222", "012301230123012301230123", 2, 288000 - 3000},
      // Tiles 22, 23, 0 and 1 form one run across the seam.
      {"330000000000000000000033", "000000000000000000000000", 3, 8000},
      // Runs of 3 (tiles 5 to 7) and 4 (tiles 20 to 23) against an empty ring.
      {"000001110000000000001111", "000000000000000000000000", 1, 12500},
      {"000000000000000000000000", "000001110000000000001111", 1, -12500},
      {"111111111111111111111111", "111111111111111111111111", 1, 0},
      {"000000000000000000000000", "000000000000000000000000", 3, 0},
  };
  for (const auto& c : cases) {
    match_.players[LEFT].score = match_.players[RIGHT].score = START_SCORE;
    match_.state.rounds_left = 10;
    match_.StartRound(GAME_RUNS, c.target);
    SetRing(LEFT, c.left);
    SetRing(RIGHT, c.right);
    Advance(ROUND_MS - 1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(match_.state.game_state, GAME_RUNS) << "one millisecond early";
    EXPECT_EQ(Score(LEFT), START_SCORE);
    Advance(1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - START_SCORE, c.left_gain) << c.left << " / " << c.right;
    EXPECT_EQ(Score(RIGHT) - START_SCORE, -c.left_gain) << c.left << " / " << c.right;
    EXPECT_EQ(match_.state.game_state, GAME_VOTE);
    EXPECT_EQ(match_.state.rounds_left, 9);
  }
}

TEST_F(RunsTest, HitsOnlySoundAndNeverScore) {
  match_.StartRound(GAME_RUNS, 0);
  Hits(0, 1);
  Hits(NO_COLOUR, 3);
  EXPECT_EQ(Plays(hit_), 3u);
  EXPECT_EQ(Plays(miss_), 0u);
  EXPECT_EQ(Score(LEFT), START_SCORE);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
}

TEST_F(StreakTest, MultiplierDoublesToSixteenAndAMissResetsIt) {
  match_.StartRound(GAME_STREAK, 3);
  EXPECT_EQ(match_.state.multiplier[LEFT], 1);
  const struct {
    int colour;
    int gain;
    int multiplier_after;
  } steps[] = {
      {3, 1000, 2},   {3, 2000, 4},   {3, 4000, 8}, {3, 8000, 16},
      {3, 16000, 16}, {3, 16000, 16}, {0, -500, 1}, {3, 1000, 2},
  };
  size_t hits = 0;
  size_t misses = 0;
  for (const auto& s : steps) {
    const int before = Score(LEFT);
    Hits(s.colour, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - before, s.gain);
    EXPECT_EQ(match_.state.multiplier[LEFT], s.multiplier_after);
    (s.gain > 0 ? hits : misses) += 1;
    EXPECT_EQ(Plays(hit_), hits);
    EXPECT_EQ(Plays(miss_), misses);
  }
  // The other player's multiplier is its own.
  EXPECT_EQ(match_.state.multiplier[RIGHT], 1);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
}

TEST_F(StreakTest, EndsAfterSixtySecondsWithoutScoring) {
  match_.StartRound(GAME_STREAK, 1);
  Advance(ROUND_MS);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  EXPECT_EQ(match_.state.rounds_left, 9);
  EXPECT_EQ(match_.state.round_start, Now());
  EXPECT_EQ(match_.state.round_duration, VOTE_MS);
  EXPECT_EQ(Plays(vote_), 1u);
}

TEST_F(EchoTest, PendingColoursAreSetByTheOpponentAndAnswered) {
  match_.state.multiplier[LEFT] = match_.state.multiplier[RIGHT] = 7;
  match_.StartRound(GAME_ECHO, 0);
  EXPECT_EQ(match_.state.pending[LEFT], NO_COLOUR);
  EXPECT_EQ(match_.state.pending[RIGHT], NO_COLOUR);
  EXPECT_EQ(match_.state.multiplier[LEFT], 1);
  EXPECT_EQ(match_.state.multiplier[RIGHT], 1);

  const struct {
    int left_hit;
    int right_hit;
    int left_gain;
    int right_gain;
    int left_pending;  // after the frame
    int right_pending;
  } frames[] = {
      // Nothing pending: the first hits only set the opponent's colour.
      {1, 2, 0, 0, 2, 1},
      // Answering one's own colour scores; a hit never replaces a colour still pending.
      {2, NO_COLOUR, 1000, 0, NO_COLOUR, 1},
      // The right player answers, and its hit sets the left's colour again.
      {NO_COLOUR, 1, 0, 1000, 1, NO_COLOUR},
      // A wrong answer costs 500 and keeps the colour; the hit still sets the opponent's.
      {3, NO_COLOUR, -500, 0, 1, 3},
      // Both answer in one frame, and each colour answered is set anew at once.
      {1, 3, 1000, 2000, 3, 1},
  };
  int line = 0;
  for (const auto& f : frames) {
    ++line;
    const int left = Score(LEFT);
    const int right = Score(RIGHT);
    Hits(f.left_hit, f.right_hit);
    EXPECT_EQ(Score(LEFT) - left, f.left_gain) << "frame " << line;
    EXPECT_EQ(Score(RIGHT) - right, f.right_gain) << "frame " << line;
    EXPECT_EQ(match_.state.pending[LEFT], f.left_pending) << "frame " << line;
    EXPECT_EQ(match_.state.pending[RIGHT], f.right_pending) << "frame " << line;
  }
  EXPECT_EQ(match_.state.multiplier[LEFT], 2);
  EXPECT_EQ(match_.state.multiplier[RIGHT], 4);
  EXPECT_EQ(Plays(hit_), 4u);
  EXPECT_EQ(Plays(miss_), 1u);
}

TEST_F(EchoTest, KeepsTheTargetOfTheRoundBefore) {
  match_.StartRound(GAME_STREAK, 3);
  match_.StartRound(GAME_VOTE, 0);
  match_.StartRound(GAME_ECHO, 1);
  EXPECT_EQ(match_.state.target, 3);
}

TEST_F(PurgeTest, ARingWithoutTheTargetEndsTheRoundInItsFirstFrame) {
  SetRing(LEFT, "000000000000000000000000");
  match_.StartRound(GAME_PURGE, 1);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Score(LEFT), START_SCORE + 100000);
  EXPECT_EQ(Score(RIGHT), START_SCORE - 6 * 1000);
  EXPECT_EQ(match_.state.rounds_left, 9);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  EXPECT_EQ(match_.state.target, 1);
}

TEST_F(PurgeTest, BothRingsClearInOneFramePayBothAndCountTwoRounds) {
  SetRing(LEFT, "000000000000000000000000");
  SetRing(RIGHT, "020202020202020202020202");
  match_.state.rounds_left = 1;
  match_.StartRound(GAME_PURGE, 3);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Score(LEFT), START_SCORE + 100000);
  EXPECT_EQ(Score(RIGHT), START_SCORE + 100000);
  EXPECT_EQ(match_.state.rounds_left, -1);
  EXPECT_EQ(Plays(vote_), 2u);  // the vote is entered twice
  match_.EndTest();
  EXPECT_EQ(match_.state.game_state, GAME_OVER);
}

TEST_F(PurgeTest, TargetHitsPassATileToTheOpponentOthersMiss) {
  SetRing(LEFT, "012301230123012301230123");
  SetRing(RIGHT, "012301230123012301230123");
  match_.StartRound(GAME_PURGE, 2);
  Hits(2, NO_COLOUR);
  EXPECT_EQ(match_.players[RIGHT].CountColour(2), 7);
  EXPECT_EQ(Plays(hit_), 1u);
  Hits(NO_COLOUR, 0);
  EXPECT_EQ(match_.players[LEFT].CountColour(2), 6);
  EXPECT_EQ(Plays(miss_), 1u);
  EXPECT_EQ(Score(LEFT), START_SCORE);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
}

TEST_F(PurgeTest, AtTheTimeLimitEachPaysForItsOwnTargetTiles) {
  SetRing(LEFT, "111000000000000000000000");
  SetRing(RIGHT, "111111111100000000000000");
  match_.StartRound(GAME_PURGE, 1);
  Advance(ROUND_MS);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Score(LEFT), START_SCORE - 3000);
  EXPECT_EQ(Score(RIGHT), START_SCORE - 10000);
  EXPECT_EQ(match_.state.rounds_left, 9);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
}

TEST_F(PurgeTest, AClearanceAtTheTimeLimitIsNotAlsoTheTimeLimit) {
  SetRing(LEFT, "000000000000000000000000");
  SetRing(RIGHT, "111100000000000000000000");
  match_.StartRound(GAME_PURGE, 1);
  Advance(ROUND_MS + 5);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Score(LEFT), START_SCORE + 100000);
  EXPECT_EQ(Score(RIGHT), START_SCORE - 4000);
  EXPECT_EQ(match_.state.rounds_left, 9);
}

}  // namespace
