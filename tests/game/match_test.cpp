// The match hit by hit: the start screen, the vote with its random order and double start, the
// scoring of the four round kinds, the end of each round and the end test; the match as a value,
// whose checksum sees every word of it.
#include "game/match.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

#include "game/game_fixture.h"

namespace {

class MatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s_.random = 1;
    for (Player& p : s_.players) p.score = START_SCORE, SetRing(&p);
  }
  // Runs `op` on the match at the test's clock, counting the sounds it asks for.
  template <typename Op>
  void With(Op op) {
    Match m(s_, now_);
    op(m);
    for (int i = 0; i < SOUNDS; ++i) plays_[i] += m.events().count[i];
  }
  // One frame's handling of a hit of each colour (NO_COLOUR: none) on tile 0, which is left
  // showing the next colour as a hit leaves it.
  void Hits(int left_colour, int right_colour) {
    const int colours[2] = {left_colour, right_colour};
    for (int p = 0; p < 2; ++p) {
      state().last_hit[p] = colours[p] == NO_COLOUR ? NO_HIT : 0;
      if (colours[p] != NO_COLOUR) s_.players[p].tiles[0].colour = (colours[p] + 1) % 4;
    }
    With([](Match& m) { m.HandleHits(); });
  }
  void StartRound(int kind, int value) {
    With([&](Match& m) { m.StartRound(kind, value); });
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
  int& Score(int player) { return s_.players[player].score; }
  std::tuple<int, int> Plays() const {  // hits, misses
    return {plays_[static_cast<int>(Sound::Hit)], plays_[static_cast<int>(Sound::Miss)]};
  }
  int Votes() const { return plays_[static_cast<int>(Sound::Vote)]; }

  GameState s_;
  uint32_t now_ = 100000;
  int plays_[SOUNDS] = {};
};

// The start screen lasts three seconds, then the vote opens empty. Every hit is a vote, the order
// is drawn every frame, and the vote has no time limit. The tenth vote starts the round of its
// colour: the order is drawn first, then the target (which an echo round leaves as it was). With
// two colours at nine both votes count in the drawn order; on one colour at nine the round starts
// twice and the second target stands.
TEST_F(MatchTest, StartScreenVotesAndTheDoubleStart) {
  state().votes[2] = 4;
  With([](Match& m) { m.Update(FrameInput{}); });
  const int start = static_cast<int>(now_);
  now_ += START_MS - 1;
  With([](Match& m) { m.Update(FrameInput{}); });
  EXPECT_EQ(std::tuple(state().game_state, state().round_start), std::tuple(GAME_START, start));
  now_ += 1;
  With([](Match& m) { m.Update(FrameInput{}); });
  EXPECT_EQ(std::tuple(state().game_state, state().round_duration, Votes(), state().votes[2]),
            std::tuple(GAME_VOTE, VOTE_MS, 1, 0));
  StartRound(GAME_VOTE, 0);
  Hits(2, 3);
  Hits(2, NO_COLOUR);
  const auto frame = Draws(5);
  now_ += 10 * VOTE_MS;
  Hits(NO_COLOUR, NO_COLOUR);
  EXPECT_EQ(NextRandom(&s_.random), frame[1]);
  EXPECT_EQ(std::tuple(state().game_state, state().votes[2], state().votes[3], Plays()),
            std::tuple(GAME_VOTE, 2, 1, std::tuple(3, 0)));
  // The votes at nine are those of the hits; the round that starts last stands.
  const auto decide = [&](uint32_t seed, int left, int right) {
    StartRound(GAME_VOTE, 0);
    for (const int colour : {left, right})
      if (colour != NO_COLOUR) state().votes[colour] = 9;
    const int old_target = state().target;
    const auto next = Draws(seed);
    Hits(left, right);
    const int last = right != NO_COLOUR && next[0] >= 16384 ? right : left;
    const int target = last == GAME_ECHO ? old_target : next[right == NO_COLOUR ? 1 : 2] / 8192;
    EXPECT_EQ(std::tuple(state().game_state, state().round_duration, state().target),
              std::tuple(last, ROUND_MS, target))
        << "seed " << seed;
  };
  for (int colour = 0; colour < 4; ++colour) decide(40 + colour, colour, NO_COLOUR);
  for (uint32_t seed = 1; seed <= 8; ++seed) decide(seed, 0, 1);
  decide(7, 3, 3);
  EXPECT_EQ(state().votes[3], 11);
}

// A score below zero or no rounds left ends the game, also mid-round, and it stays over.
TEST_F(MatchTest, EndTestRunsAfterEveryUpdate) {
  // clang-format off
  const struct { int left, right, rounds; bool over; } cases[] = {
      {0, 0, 1, false}, {10, 10, 10, false}, {-1, 0, 1, true}, {10, 10, 0, true}, {0, -1, 1, true}};
  // clang-format on
  for (const auto& c : cases) {
    StartRound(GAME_RUNS, 0);
    Score(LEFT) = c.left, Score(RIGHT) = c.right, state().rounds_left = c.rounds;
    Match(s_, now_).EndTest();
    EXPECT_EQ(state().game_state == GAME_OVER, c.over)
        << c.left << ":" << c.right << " " << c.rounds;
  }
  now_ += ROUND_MS;
  With([](Match& m) { m.Update(FrameInput{}); });
  EXPECT_EQ(std::tuple(state().game_state, state().rounds_left), std::tuple(GAME_OVER, 1));
}

// Runs score at the time limit, zero-sum: the right player's change is the left's negated.
// Purge rounds end at a clearance (at once if a ring holds no target when the round begins;
// both bonuses and two rounds counted when both clear) or at the time limit, where each pays
// for its own target tiles. A clearance at the time limit opens the vote, whose clock is fresh.
TEST_F(MatchTest, RunsAndPurgeRoundsScoreTheirRings) {
  // clang-format off
  const struct { int kind, target; const char *left, *right; int rounds; uint32_t after_ms;
                 int left_gain, right_gain, rounds_after; } cases[] = {
      {GAME_RUNS, 2, "222222222222222222222222", kStartRing, 10, ROUND_MS, 288000 - 3000, 3000 - 288000, 9},
      {GAME_RUNS, 3, "330000000000000000000033", "000000000000000000000000", 10, ROUND_MS, 8000, -8000, 9},
      {GAME_RUNS, 1, "000000000000000000000000", "000001110000000000001111", 10, ROUND_MS, -12500, 12500, 9},
      {GAME_PURGE, 1, "000000000000000000000000", kStartRing, 10, 0, 100000, -6000, 9},
      {GAME_PURGE, 2, kStartRing, "000000000000000000000000", 10, 0, -6000, 100000, 9},
      {GAME_PURGE, 3, "000000000000000000000000", "020202020202020202020202", 1, 0, 100000, 100000, -1},
      {GAME_PURGE, 1, "111000000000000000000000", "111111111100000000000000", 10, ROUND_MS, -3000, -10000, 9},
      {GAME_PURGE, 1, "000000000000000000000000", "111100000000000000000000", 10, ROUND_MS + 5, 100000, -4000, 9},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << " / " << c.right);
    Score(LEFT) = Score(RIGHT) = START_SCORE;
    state().rounds_left = c.rounds;
    StartRound(c.kind, c.target);
    SetRing(&s_.players[LEFT], c.left);
    SetRing(&s_.players[RIGHT], c.right);
    now_ += c.after_ms;
    Hits(NO_COLOUR, NO_COLOUR);
    EXPECT_EQ(std::tuple(Score(LEFT) - START_SCORE, Score(RIGHT) - START_SCORE, state().rounds_left,
                         state().game_state, state().target),
              std::tuple(c.left_gain, c.right_gain, c.rounds_after, GAME_VOTE, c.target));
  }
  EXPECT_EQ(Votes(), 9);  // the vote opens at every end, twice at the double clearance
}

// Streak: the multiplier doubles to 16, a miss costs 500 and resets it. Echo starts afresh with
// nothing pending: the first hits only set the opponent's colour. Answering scores; a hit never
// replaces a colour still pending; a wrong answer costs 500 and keeps the colour, and the hit
// still sets the opponent's.
TEST_F(MatchTest, StreakAndEchoScoreHitByHit) {
  // `left`/`right`: each side's multiplier after a streak frame, its pending colour after an
  // echo's.
  // clang-format off
  const struct { int kind, left_hit, right_hit, left_gain, right_gain, left, right; } frames[] = {
      {GAME_STREAK, 3, NO_COLOUR, 1000, 0, 2, 1}, {GAME_STREAK, 3, NO_COLOUR, 2000, 0, 4, 1},
      {GAME_STREAK, 3, NO_COLOUR, 4000, 0, 8, 1}, {GAME_STREAK, 3, NO_COLOUR, 8000, 0, 16, 1},
      {GAME_STREAK, 3, NO_COLOUR, 16000, 0, 16, 1}, {GAME_STREAK, 0, NO_COLOUR, -500, 0, 1, 1},
      {GAME_STREAK, 3, NO_COLOUR, 1000, 0, 2, 1},
      {GAME_ECHO, 1, 2, 0, 0, 2, 1}, {GAME_ECHO, 2, NO_COLOUR, 1000, 0, NO_COLOUR, 1},
      {GAME_ECHO, NO_COLOUR, 1, 0, 1000, 1, NO_COLOUR}, {GAME_ECHO, 3, NO_COLOUR, -500, 0, 1, 3},
      {GAME_ECHO, 1, 3, 1000, 2000, 3, 1}};
  // clang-format on
  for (const auto& f : frames) {
    SCOPED_TRACE(testing::Message() << f.kind << ": " << f.left_hit << "," << f.right_hit);
    if (f.kind != state().game_state) StartRound(f.kind, 3);
    const int left = Score(LEFT), right = Score(RIGHT);
    Hits(f.left_hit, f.right_hit);
    const int* after = f.kind == GAME_STREAK ? state().multiplier : state().pending;
    EXPECT_EQ(std::tuple(Score(LEFT) - left, Score(RIGHT) - right, after[LEFT], after[RIGHT]),
              std::tuple(f.left_gain, f.right_gain, f.left, f.right));
  }
  EXPECT_EQ(Plays(), std::tuple(10, 2));
}

// Runs, streak and echo rounds last their minute exactly, also across the top of a signed int and
// across the clock's wrap, and their end opens the vote with one round fewer. Hits only sound
// before the end of a runs round.
TEST_F(MatchTest, TimedRoundsEndAfterTheirMinute) {
  for (const int kind : {GAME_RUNS, GAME_STREAK, GAME_ECHO}) {
    for (const uint32_t start : {100000u, 0x7FFFFFFFu - 20000, 0xFFFFFFFFu - 20000}) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << " from " << start);
      now_ = start;
      state().rounds_left = 10, Score(LEFT) = Score(RIGHT) = START_SCORE;
      StartRound(kind, 0);
      now_ += ROUND_MS - 1;
      Hits(kind == GAME_RUNS ? 0 : NO_COLOUR, kind == GAME_RUNS ? 1 : NO_COLOUR);
      EXPECT_EQ(std::tuple(state().game_state, Score(LEFT), Score(RIGHT)),
                std::tuple(kind, START_SCORE, START_SCORE));
      now_ += 1;
      Hits(NO_COLOUR, NO_COLOUR);
      EXPECT_EQ(std::tuple(state().game_state, state().round_start, state().rounds_left),
                std::tuple(GAME_VOTE, static_cast<int>(now_), 9));
    }
  }
  EXPECT_EQ(Plays(), std::tuple(6, 0));
}

// During a purge round a hit of the target passes a tile to the opponent; any other hit misses.
// When both hit the target in one frame, the tile passed to the right ring may land on the tile
// the right player has just hit (seed 2 draws slot 0): that hit still counts.
TEST_F(MatchTest, PurgeTargetHitsPassATileToTheOpponentOthersMiss) {
  StartRound(GAME_PURGE, 2);
  Hits(2, NO_COLOUR);
  Hits(NO_COLOUR, 0);
  EXPECT_EQ(std::tuple(s_.players[LEFT].CountColour(2), s_.players[RIGHT].CountColour(2)),
            std::tuple(6, 7));
  Hits(NO_COLOUR, 2);
  s_.random = 2;
  Hits(2, 2);
  EXPECT_EQ(std::tuple(s_.players[RIGHT].tiles[0].colour, s_.players[LEFT].CountColour(2), Plays(),
                       Score(LEFT), Score(RIGHT)),
            std::tuple(2, 8, std::tuple(4, 1), START_SCORE, START_SCORE));
}

// Every field is a 32-bit word, so a change of any one word must show; so must two players'
// values trading places.
TEST(StateTest, ChecksumSeesEveryWord) {
  const GameState base = NewGame(3, 500);
  static_assert(sizeof base % 4 == 0);
  for (std::size_t at = 0; at < sizeof base; at += 4) {
    GameState changed = base;
    reinterpret_cast<unsigned char*>(&changed)[at] ^= 1;
    EXPECT_NE(Checksum(changed), Checksum(base)) << "word at byte " << at;
  }
  GameState swapped = base, other = base;
  swapped.players[LEFT].score = other.players[RIGHT].score = 1;
  swapped.players[RIGHT].score = other.players[LEFT].score = 2;
  EXPECT_NE(Checksum(swapped), Checksum(other));
}

}  // namespace
