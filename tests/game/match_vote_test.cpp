// The start screen, the vote with its random order and double start, and the end test.
#include <gtest/gtest.h>

#include "game/match_fixture.h"

namespace {

using VoteTest = MatchTest;

// Seeds the generator and tells the first three numbers the match will draw from it.
struct Draws {
  explicit Draws(uint32_t seed) {
    SeedRandom(seed);
    for (int& d : draw) d = Random();
    SeedRandom(seed);
  }
  int draw[3];
};

TEST_F(VoteTest, StartScreenLastsThreeSecondsThenTheVoteOpensEmpty) {
  match_.state.votes[2] = 4;
  match_.Update();
  EXPECT_EQ(match_.state.round_start, Now());
  EXPECT_EQ(match_.state.round_duration, START_MS);
  Advance(START_MS - 1);
  match_.Update();
  EXPECT_EQ(match_.state.game_state, GAME_START);
  Advance(1);
  match_.Update();
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  EXPECT_EQ(Plays(vote_), 1u);
  EXPECT_EQ(match_.state.round_duration, VOTE_MS);
  for (const int v : match_.state.votes) EXPECT_EQ(v, 0);
}

TEST_F(VoteTest, EveryHitIsAVoteAndTheOrderIsDrawnEveryFrame) {
  match_.StartRound(GAME_VOTE, 0);
  Hits(2, 3);
  Hits(2, NO_COLOUR);
  const Draws next(5);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Random(), next.draw[1]);
  EXPECT_EQ(match_.state.votes[2], 2);
  EXPECT_EQ(match_.state.votes[3], 1);
  EXPECT_EQ(Plays(hit_), 3u);
  Advance(10 * VOTE_MS);  // the vote has no time limit
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
}

TEST_F(VoteTest, TheTenthVoteStartsTheRoundOfItsColourWithADrawnTarget) {
  for (int colour = 0; colour < 4; ++colour) {
    match_.StartRound(GAME_VOTE, 0);
    match_.state.votes[colour] = 9;
    const Draws next(static_cast<uint32_t>(40 + colour));
    Hits(colour, NO_COLOUR);
    EXPECT_EQ(match_.state.game_state, colour);
    EXPECT_EQ(match_.state.round_duration, ROUND_MS);
    // The order is drawn first, then the target (which an echo round leaves as it was).
    if (colour != GAME_ECHO) {
      EXPECT_EQ(match_.state.target, next.draw[1] / 8192);
    }
  }
}

TEST_F(VoteTest, BothVotesCountInTheDrawnOrderAndTheLaterStartStands) {
  // Colours 0 and 1 stand at nine; the left votes 0, the right 1.
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    match_.StartRound(GAME_VOTE, 0);
    match_.state.votes[0] = match_.state.votes[1] = 9;
    const Draws next(seed);
    Hits(0, 1);
    EXPECT_EQ(match_.state.game_state, next.draw[0] >= 16384 ? GAME_STREAK : GAME_RUNS);
    EXPECT_EQ(match_.state.target, next.draw[2] / 8192) << "seed " << seed;
  }
  // Both on the colour at nine: the round starts twice, the second target stands.
  match_.StartRound(GAME_VOTE, 0);
  match_.state.votes[3] = 9;
  const Draws next(7);
  Hits(3, 3);
  EXPECT_EQ(match_.state.game_state, GAME_PURGE);
  EXPECT_EQ(match_.state.votes[3], 11);
  EXPECT_EQ(match_.state.target, next.draw[2] / 8192);
}

TEST_F(VoteTest, EndTestRunsAfterEveryUpdate) {
  // A miss that takes a score below zero ends the game mid-round.
  match_.StartRound(GAME_STREAK, 0);
  match_.players[RIGHT].score = 400;
  Hits(NO_COLOUR, 2);
  match_.EndTest();
  EXPECT_EQ(match_.state.game_state, GAME_OVER);
  Advance(ROUND_MS);
  match_.Update();
  EXPECT_EQ(match_.state.game_state, GAME_OVER);
  EXPECT_EQ(match_.state.rounds_left, 10);

  const struct {
    int left, right, rounds;
    bool over;
  } cases[] = {{0, 0, 1, false},  {-1, 0, 1, true},   {0, -1, 1, true},
               {10, 10, 0, true}, {10, 10, -1, true}, {10, 10, 10, false}};
  for (const auto& c : cases) {
    match_.StartRound(GAME_RUNS, 0);
    match_.players[LEFT].score = c.left;
    match_.players[RIGHT].score = c.right;
    match_.state.rounds_left = c.rounds;
    match_.EndTest();
    EXPECT_EQ(match_.state.game_state == GAME_OVER, c.over)
        << c.left << ":" << c.right << " rounds " << c.rounds;
  }
}

}  // namespace
