// The start screen, the vote with its random order and double start, and the end test.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/hud.h"
#include "game/match_fixture.h"

namespace {

using StartScreenTest = MatchTest;
using VoteTest = MatchTest;
using EndTest = MatchTest;

// The draws the match will take next from the generator seeded with `seed`.
struct Draws {
  explicit Draws(uint32_t seed) {
    SeedRandom(seed);
    for (int& d : draw) d = Random();
    SeedRandom(seed);
  }
  int draw[3];
};

TEST_F(StartScreenTest, CountsDownThreeSecondsThenOpensTheVote) {
  match_.state.votes[2] = 4;
  match_.Update();
  EXPECT_EQ(match_.state.round_start, Now());
  EXPECT_EQ(match_.state.round_duration, START_MS);
  Placements shown;
  OverlayItems(match_.state, Score(LEFT), Score(RIGHT), Now(), &shown);
  // 0:03 and the start screen's instruction.
  const std::vector<Placement> all(shown.begin(), shown.end());
  for (const Placement& p :
       {Placement{Art::kNumber, 0, 370, 70}, Placement{Art::kNumber, NUMBER_SEPARATOR, 388, 70},
        Placement{Art::kNumber, 0, 406, 70}, Placement{Art::kNumber, 3, 424, 70},
        Placement{Art::kInstruction, 5, 295, 100}}) {
    EXPECT_NE(std::find(all.begin(), all.end(), p), all.end()) << p.index << " at " << p.x;
  }

  Advance(START_MS - 1);
  match_.Update();
  EXPECT_EQ(match_.state.game_state, GAME_START);
  EXPECT_EQ(Plays(vote_), 0u);
  Advance(1);
  match_.Update();
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  EXPECT_EQ(Plays(vote_), 1u);
  EXPECT_EQ(match_.state.round_start, Now());
  EXPECT_EQ(match_.state.round_duration, VOTE_MS);
  for (const int v : match_.state.votes) EXPECT_EQ(v, 0);
}

TEST_F(VoteTest, EveryHitIsAVoteWithTheHitSound) {
  match_.StartRound(GAME_VOTE, 0);
  Hits(2, NO_COLOUR);
  Hits(2, 3);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(match_.state.votes[2], 2);
  EXPECT_EQ(match_.state.votes[3], 1);
  EXPECT_EQ(Plays(hit_), 3u);
  EXPECT_EQ(match_.state.game_state, GAME_VOTE);
  // The vote has no time limit.
  Advance(10 * VOTE_MS);
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
    EXPECT_EQ(match_.state.round_start, Now());
    EXPECT_EQ(match_.state.round_duration, ROUND_MS);
    // The order draw comes first, then the target.
    if (colour != GAME_ECHO) {
      EXPECT_EQ(match_.state.target, next.draw[1] / 8192);
    }
  }
}

TEST_F(VoteTest, BothVotesCountInTheDrawnOrderAndTheLaterStartStands) {
  // Colour 0 and colour 1 each stand at nine; the left votes 0, the right 1.
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    match_.StartRound(GAME_VOTE, 0);
    match_.state.votes[0] = 9;
    match_.state.votes[1] = 9;
    const Draws next(seed);
    Hits(0, 1);
    const bool left_first = next.draw[0] >= 16384;
    EXPECT_EQ(match_.state.game_state, left_first ? GAME_STREAK : GAME_RUNS) << "seed " << seed;
    EXPECT_EQ(match_.state.target, next.draw[2] / 8192) << "seed " << seed;
    EXPECT_EQ(match_.state.votes[0], 10);
    EXPECT_EQ(match_.state.votes[1], 10);
  }
}

TEST_F(VoteTest, BothHittingTheColourAtNineStartItTwice) {
  match_.StartRound(GAME_VOTE, 0);
  match_.state.votes[3] = 9;
  const Draws next(7);
  Hits(3, 3);
  EXPECT_EQ(match_.state.game_state, GAME_PURGE);
  EXPECT_EQ(match_.state.votes[3], 11);
  EXPECT_EQ(match_.state.target, next.draw[2] / 8192);
  EXPECT_EQ(Plays(hit_), 2u);
}

TEST_F(VoteTest, DrawsTheOrderEvenWithoutHits) {
  match_.StartRound(GAME_VOTE, 0);
  const Draws next(5);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(Random(), next.draw[1]);
}

TEST_F(EndTest, AScoreBelowZeroEndsTheGameMidRound) {
  match_.StartRound(GAME_STREAK, 0);
  match_.players[RIGHT].score = 400;
  Hits(NO_COLOUR, 2);
  match_.EndTest();
  EXPECT_EQ(Score(RIGHT), -100);
  EXPECT_EQ(match_.state.game_state, GAME_OVER);
  // Nothing moves or scores any more.
  Advance(ROUND_MS);
  match_.Update();
  match_.EndTest();
  EXPECT_EQ(match_.state.game_state, GAME_OVER);
  EXPECT_EQ(match_.state.rounds_left, 10);
}

TEST_F(EndTest, ZeroIsNotBelowZeroAndTheLastRoundEndsTheGame) {
  const struct {
    int left;
    int right;
    int rounds;
    bool over;
  } cases[] = {
      {0, 0, 1, false},  {-1, 0, 1, true},   {0, -1, 1, true},
      {10, 10, 0, true}, {10, 10, -1, true}, {10, 10, 10, false},
  };
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
