// The match hit by hit: the start screen, the vote with its random order and double start, the
// scoring of the four round kinds, the end of each round and the end test.
#include "game/match.h"

#include <gtest/gtest.h>

#include <array>

#include "game/game_fixture.h"

namespace {

class MatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s_.random = 1;
    for (Player& p : s_.players) p.score = START_SCORE, SetRing(&p);
  }

  // One frame's handling of a hit of each colour (NO_COLOUR: none) on tile 0, which is left
  // showing the next colour as a hit leaves it.
  void Hits(int left_colour, int right_colour) {
    const int colours[2] = {left_colour, right_colour};
    for (int p = 0; p < 2; ++p) {
      state().last_hit[p] = colours[p] == NO_COLOUR ? NO_HIT : 0;
      if (colours[p] != NO_COLOUR) s_.players[p].tiles[0].colour = (colours[p] + 1) % 4;
    }
    Match m(s_, now_);
    m.HandleHits();
    Count(m);
  }
  void StartRound(int kind, int value) {
    Match m(s_, now_);
    m.StartRound(kind, value);
    Count(m);
  }
  void Update() {
    Match m(s_, now_);
    m.Update(FrameInput{});
    Count(m);
  }
  void EndTest() { Match(s_, now_).EndTest(); }
  void Count(const Match& m) {
    for (int i = 0; i < SOUNDS; ++i) plays_[i] += m.events().count[i];
  }
  // The first three numbers the generator gives after seeding with `seed`; leaves it so seeded.
  std::array<int, 3> Draws(uint32_t seed) {
    std::array<int, 3> draw;
    s_.random = seed;
    for (int& d : draw) d = NextRandom(&s_.random);
    s_.random = seed;
    return draw;
  }
  MatchState& state() { return s_.match; }
  void Scores(int left, int right) { Score(LEFT) = left, Score(RIGHT) = right; }
  void Advance(uint32_t ms) { now_ += ms; }
  int Now() const { return static_cast<int>(now_); }
  int& Score(int player) { return s_.players[player].score; }
  int Plays(Sound s) const { return plays_[static_cast<int>(s)]; }

  GameState s_;
  uint32_t now_ = 100000;
  int plays_[SOUNDS] = {};
};

constexpr Sound hit_ = Sound::Hit, miss_ = Sound::Miss, vote_ = Sound::Vote;

TEST_F(MatchTest, StartScreenLastsThreeSecondsThenTheVoteOpensEmpty) {
  state().votes[2] = 4;
  Update();
  EXPECT_EQ(state().round_start, Now());
  EXPECT_EQ(state().round_duration, START_MS);
  Advance(START_MS - 1);
  Update();
  EXPECT_EQ(state().game_state, GAME_START);
  Advance(1);
  Update();
  EXPECT_EQ(state().game_state, GAME_VOTE);
  EXPECT_EQ(Plays(vote_), 1);
  EXPECT_EQ(state().round_duration, VOTE_MS);
  for (const int v : state().votes) EXPECT_EQ(v, 0);
}

// Every hit is a vote, the order is drawn every frame, and the vote has no time limit. The
// tenth vote starts the round of its colour: the order is drawn first, then the target (which
// an echo round leaves as it was). With two colours at nine both votes count in the drawn
// order; on one colour at nine the round starts twice and the second target stands.
TEST_F(MatchTest, VotesAndTheDoubleStart) {
  StartRound(GAME_VOTE, 0);
  Hits(2, 3);
  Hits(2, NO_COLOUR);
  const auto frame = Draws(5);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(NextRandom(&s_.random), frame[1]);
  EXPECT_EQ(state().votes[2], 2);
  EXPECT_EQ(state().votes[3], 1);
  EXPECT_EQ(Plays(hit_), 3);
  Advance(10 * VOTE_MS);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(state().game_state, GAME_VOTE);
  for (int colour = 0; colour < 4; ++colour) {
    StartRound(GAME_VOTE, 0);
    state().votes[colour] = 9;
    const int old_target = state().target;
    const auto next = Draws(static_cast<uint32_t>(40 + colour));
    Hits(colour, NO_COLOUR);
    EXPECT_EQ(state().game_state, colour);
    EXPECT_EQ(state().round_duration, ROUND_MS);
    EXPECT_EQ(state().target, colour == GAME_ECHO ? old_target : next[1] / 8192);
  }
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    StartRound(GAME_VOTE, 0);
    state().votes[0] = state().votes[1] = 9;
    const auto next = Draws(seed);
    Hits(0, 1);
    EXPECT_EQ(state().game_state, next[0] >= 16384 ? GAME_STREAK : GAME_RUNS);
    EXPECT_EQ(state().target, next[2] / 8192) << "seed " << seed;
  }
  StartRound(GAME_VOTE, 0);
  state().votes[3] = 9;
  const auto next = Draws(7);
  Hits(3, 3);
  EXPECT_EQ(state().game_state, GAME_PURGE);
  EXPECT_EQ(state().votes[3], 11);
  EXPECT_EQ(state().target, next[2] / 8192);
}

TEST_F(MatchTest, EndTestRunsAfterEveryUpdate) {
  // A miss that takes a score below zero ends the game mid-round, and it stays over.
  StartRound(GAME_STREAK, 0);
  s_.players[RIGHT].score = 400;
  Hits(NO_COLOUR, 2);
  EndTest();
  EXPECT_EQ(state().game_state, GAME_OVER);
  Advance(ROUND_MS);
  Update();
  EXPECT_EQ(state().game_state, GAME_OVER);
  EXPECT_EQ(state().rounds_left, 10);
  // clang-format off
  const struct { int left, right, rounds; bool over; } cases[] = {
      {0, 0, 1, false}, {-1, 0, 1, true}, {0, -1, 1, true}, {10, 10, 0, true}, {10, 10, -1, true},
      {10, 10, 10, false}};
  // clang-format on
  for (const auto& c : cases) {
    StartRound(GAME_RUNS, 0);
    Scores(c.left, c.right);
    state().rounds_left = c.rounds;
    EndTest();
    EXPECT_EQ(state().game_state == GAME_OVER, c.over)
        << c.left << ":" << c.right << " " << c.rounds;
  }
}

// Runs score at the time limit, zero-sum: the right player's change is the left's negated.
// Purge rounds end at a clearance (at once if a ring holds no target when the round begins;
// both bonuses and two rounds counted when both clear) or at the time limit, where each pays
// for its own target tiles. A clearance at the time limit opens the vote, whose clock is fresh.
TEST_F(MatchTest, RunsAndPurgeRoundsScoreTheirRings) {
  // Before its time limit a runs round's hits only sound.
  StartRound(GAME_RUNS, 0);
  Advance(ROUND_MS - 1);
  Hits(0, 1);
  EXPECT_EQ(Score(LEFT), START_SCORE);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
  EXPECT_EQ(state().game_state, GAME_RUNS);
  EXPECT_EQ(Plays(hit_), 2);
  // clang-format off
  const struct { int kind, target; const char *left, *right; int rounds; uint32_t after_ms;
                 int left_gain, right_gain, rounds_after; } cases[] = {
      {GAME_RUNS, 2, "222222222222222222222222", kStartRing, 10, ROUND_MS, 288000 - 3000, 3000 - 288000, 9},
      {GAME_RUNS, 3, "330000000000000000000033", "000000000000000000000000", 10, ROUND_MS, 8000, -8000, 9},
      {GAME_RUNS, 1, "000000000000000000000000", "000001110000000000001111", 10, ROUND_MS, -12500, 12500, 9},
      {GAME_RUNS, 1, "111111111111111111111111", "111111111111111111111111", 10, ROUND_MS, 0, 0, 9},
      {GAME_PURGE, 1, "000000000000000000000000", kStartRing, 10, 0, 100000, -6000, 9},
      {GAME_PURGE, 2, kStartRing, "000000000000000000000000", 10, 0, -6000, 100000, 9},
      {GAME_PURGE, 3, "000000000000000000000000", "020202020202020202020202", 1, 0, 100000, 100000, -1},
      {GAME_PURGE, 1, "111000000000000000000000", "111111111100000000000000", 10, ROUND_MS, -3000, -10000, 9},
      {GAME_PURGE, 1, "000000000000000000000000", "111100000000000000000000", 10, ROUND_MS + 5, 100000, -4000, 9},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << " / " << c.right);
    Scores(START_SCORE, START_SCORE);
    state().rounds_left = c.rounds;
    StartRound(c.kind, c.target);
    SetRing(&s_.players[LEFT], c.left);
    SetRing(&s_.players[RIGHT], c.right);
    Advance(c.after_ms);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - START_SCORE, c.left_gain);
    EXPECT_EQ(Score(RIGHT) - START_SCORE, c.right_gain);
    EXPECT_EQ(state().rounds_left, c.rounds_after);
    EXPECT_EQ(state().game_state, GAME_VOTE);
    EXPECT_EQ(state().target, c.target);
  }
  EXPECT_EQ(Plays(vote_), 10);  // the vote opens at every end, twice at the double clearance
}

TEST_F(MatchTest, StreakMultiplierDoublesToSixteenAndAMissResetsIt) {
  StartRound(GAME_STREAK, 3);
  // clang-format off
  const struct { int colour, gain, multiplier_after; } steps[] = {
      {3, 1000, 2}, {3, 2000, 4}, {3, 4000, 8}, {3, 8000, 16}, {3, 16000, 16}, {3, 16000, 16},
      {0, -500, 1}, {3, 1000, 2}};
  // clang-format on
  for (const auto& s : steps) {
    const int before = Score(LEFT);
    Hits(s.colour, NO_COLOUR);
    EXPECT_EQ(Score(LEFT) - before, s.gain);
    EXPECT_EQ(state().multiplier[LEFT], s.multiplier_after);
  }
  EXPECT_EQ(Plays(hit_), 7);
  EXPECT_EQ(Plays(miss_), 1);
  EXPECT_EQ(state().multiplier[RIGHT], 1);  // each player has its own
  Advance(ROUND_MS);
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(state().game_state, GAME_VOTE);
  EXPECT_EQ(state().round_start, Now());
  EXPECT_EQ(state().rounds_left, 9);
  // A round lasts its minute across the top of a signed int and across the clock's wrap.
  for (const uint32_t start : {0x7FFFFFFFu - 20000, 0xFFFFFFFFu - 20000}) {
    now_ = start;
    StartRound(GAME_STREAK, 0);
    Advance(ROUND_MS - 1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(state().game_state, GAME_STREAK) << start;
    Advance(1);
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(state().game_state, GAME_VOTE) << start;
  }
}

// An echo round starts with nothing pending: the first hits only set the opponent's colour.
// Answering scores; a hit never replaces a colour still pending; a wrong answer costs 500 and
// keeps the colour, and the hit still sets the opponent's.
TEST_F(MatchTest, EchoColoursAreSetByTheOpponentAndAnswered) {
  state().multiplier[LEFT] = 7;
  StartRound(GAME_ECHO, 0);
  EXPECT_EQ(state().multiplier[LEFT], 1);
  // clang-format off
  const struct { int left_hit, right_hit, left_gain, right_gain, left_pending, right_pending; } frames[] = {
      {1, 2, 0, 0, 2, 1}, {2, NO_COLOUR, 1000, 0, NO_COLOUR, 1}, {NO_COLOUR, 1, 0, 1000, 1, NO_COLOUR},
      {3, NO_COLOUR, -500, 0, 1, 3}, {1, 3, 1000, 2000, 3, 1}};
  // clang-format on
  for (const auto& f : frames) {
    SCOPED_TRACE(testing::Message() << f.left_hit << "," << f.right_hit);
    const int left = Score(LEFT), right = Score(RIGHT);
    Hits(f.left_hit, f.right_hit);
    EXPECT_EQ(Score(LEFT) - left, f.left_gain);
    EXPECT_EQ(Score(RIGHT) - right, f.right_gain);
    EXPECT_EQ(state().pending[LEFT], f.left_pending);
    EXPECT_EQ(state().pending[RIGHT], f.right_pending);
  }
  EXPECT_EQ(Plays(hit_), 4);
  EXPECT_EQ(Plays(miss_), 1);
}

// During a purge round a hit of the target passes a tile to the opponent; any other hit misses.
// When both hit the target in one frame, the tile passed to the right ring may land on the tile
// the right player has just hit (seed 2 draws slot 0): that hit still counts.
TEST_F(MatchTest, PurgeTargetHitsPassATileToTheOpponentOthersMiss) {
  StartRound(GAME_PURGE, 2);
  Hits(2, NO_COLOUR);
  EXPECT_EQ(s_.players[RIGHT].CountColour(2), 7);
  Hits(NO_COLOUR, 0);
  EXPECT_EQ(s_.players[LEFT].CountColour(2), 6);
  Hits(NO_COLOUR, 2);
  EXPECT_EQ(s_.players[LEFT].CountColour(2), 7);
  s_.random = 2;
  Hits(2, 2);
  EXPECT_EQ(RingColours(s_.players[RIGHT]).substr(0, 1), "2");
  EXPECT_EQ(s_.players[LEFT].CountColour(2), 8);
  EXPECT_EQ(Plays(hit_), 4);
  EXPECT_EQ(Plays(miss_), 1);
  EXPECT_EQ(Score(LEFT), START_SCORE);
  EXPECT_EQ(Score(RIGHT), START_SCORE);
}

}  // namespace
