// Where the heads-up display puts its pictures, for the values that change its shape.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "game/hud.h"

namespace {

using P = Placement;
constexpr Art N = Art::kNumber;
constexpr Art T = Art::kTarget;
constexpr Art I = Art::kInstruction;

std::vector<Placement> ToVector(const Placements& list) {
  return {list.begin(), list.end()};
}

struct MultiplierCase {
  int player;
  int multiplier;
  std::vector<Placement> expected;
};

TEST(HudMultiplier, ShowsMarkAndDigitsOnlyFromTwo) {
  const MultiplierCase cases[] = {
      {LEFT, 0, {}},
      {LEFT, 1, {}},
      {LEFT, 2, {{N, 12, 167, 360}, {N, 2, 185, 360}}},
      {LEFT, 8, {{N, 12, 167, 360}, {N, 8, 185, 360}}},
      {LEFT, 16, {{N, 12, 158, 360}, {N, 1, 176, 360}, {N, 6, 194, 360}}},
      {RIGHT, 1, {}},
      {RIGHT, 4, {{N, 12, 595, 360}, {N, 4, 613, 360}}},
      {RIGHT, 16, {{N, 12, 586, 360}, {N, 1, 604, 360}, {N, 6, 622, 360}}},
  };
  for (const MultiplierCase& c : cases) {
    Placements out;
    MultiplierItems(c.player, c.multiplier, &out);
    EXPECT_EQ(ToVector(out), c.expected) << "player " << c.player << " x" << c.multiplier;
  }
}

TEST(HudRounds, TensOnlyFromTenAndNeverOutsideTheDigits) {
  const Placement label{Art::kRoundsLabel, 0, 330, 10};
  const struct {
    int rounds;
    std::vector<Placement> expected;
  } cases[] = {
      {10, {label, {N, 0, 300, 20}, {N, 1, 282, 20}}},
      {9, {label, {N, 9, 300, 20}}},
      {1, {label, {N, 1, 300, 20}}},
      {0, {label, {N, 0, 300, 20}}},
      // Both rings cleared in the last purge round.
      {-1, {label, {N, 0, 300, 20}}},
      {-11, {label, {N, 0, 300, 20}}},
  };
  for (const auto& c : cases) {
    Placements out;
    RoundsItems(c.rounds, &out);
    EXPECT_EQ(ToVector(out), c.expected) << "rounds " << c.rounds;
  }
}

TEST(HudTimer, MinutesSeparatorTensOnesTruncatedAndNeverNegative) {
  const struct {
    int remaining_ms;
    int digits[3];  // minutes, tens of seconds, seconds
  } cases[] = {
      {60000, {1, 0, 0}}, {59999, {0, 5, 9}}, {3000, {0, 0, 3}},  {2999, {0, 0, 2}},
      {999, {0, 0, 0}},   {0, {0, 0, 0}},     {-1500, {0, 0, 0}}, {30000, {0, 3, 0}},
  };
  for (const auto& c : cases) {
    Placements out;
    TimerItems(c.remaining_ms, &out);
    const std::vector<Placement> expected = {{N, c.digits[0], 370, 70},
                                             {N, NUMBER_SEPARATOR, 388, 70},
                                             {N, c.digits[1], 406, 70},
                                             {N, c.digits[2], 424, 70}};
    EXPECT_EQ(ToVector(out), expected) << c.remaining_ms << " ms";
  }
}

TEST(HudScore, SevenDigitsLowestFirstWithSignWhenNegative) {
  const struct {
    int player;
    int score;
    int sign_x;     // 0: no sign
    int digits[7];  // lowest first
  } cases[] = {
      {LEFT, 50000, 0, {0, 0, 0, 0, 5, 0, 0}},      {RIGHT, 288000, 0, {0, 0, 0, 8, 8, 2, 0}},
      {LEFT, 0, 0, {0, 0, 0, 0, 0, 0, 0}},          {LEFT, -500, 22, {0, 0, 5, 0, 0, 0, 0}},
      {RIGHT, -1234, 622, {4, 3, 2, 1, 0, 0, 0}},   {LEFT, 123456789, 0, {9, 8, 7, 6, 5, 4, 3}},
      {RIGHT, INT_MIN, 622, {8, 4, 6, 3, 8, 4, 7}},
  };
  for (const auto& c : cases) {
    Placements out;
    ScoreItems(c.player, c.score, &out);
    std::vector<Placement> expected;
    if (c.sign_x != 0) expected.push_back({N, NUMBER_SIGN, c.sign_x, 20});
    const int end_x = c.player == LEFT ? 148 : 748;
    for (int i = 0; i < 7; ++i) expected.push_back({N, c.digits[i], end_x - 18 * i, 20});
    EXPECT_EQ(ToVector(out), expected) << "player " << c.player << " score " << c.score;
  }
}

TEST(HudMessage, InstructionOfTheStateOrTheResult) {
  const struct {
    int state;
    int left;
    int right;
    std::vector<Placement> expected;
  } cases[] = {
      {GAME_START, 50000, 50000, {{I, 5, 295, 100}}},
      {GAME_VOTE, 50000, 50000, {{I, 4, 295, 100}}},
      {GAME_PURGE, -5, 50000, {{I, 3, 295, 100}}},
      {GAME_OVER, 60000, 40000, {{I, 6, 295, 100}}},
      {GAME_OVER, 40000, 60000, {{I, 7, 295, 100}}},
      {GAME_OVER, -1, -2, {{I, 8, 295, 100}}},
      {GAME_OVER, -3, -3, {{I, 8, 295, 100}}},
      {GAME_OVER, -1, 0, {{I, 7, 295, 100}}},
      {GAME_OVER, 50000, 50000, {}},
  };
  for (const auto& c : cases) {
    MatchState m;
    m.game_state = c.state;
    Placements out;
    MessageItems(m, c.left, c.right, &out);
    EXPECT_EQ(ToVector(out), c.expected) << "state " << c.state << " " << c.left << ":" << c.right;
  }
}

TEST(HudStateItems, EachStateShowsItsOwnItems) {
  MatchState m;
  m.target = 2;
  m.multiplier[LEFT] = 16;
  m.multiplier[RIGHT] = 1;
  m.pending[LEFT] = NO_COLOUR;
  m.pending[RIGHT] = 3;
  const std::vector<Placement> targets = {{T, 2, 172, 390}, {T, 2, 600, 390}};
  const struct {
    int state;
    std::vector<Placement> expected;
  } cases[] = {
      {GAME_RUNS, targets},
      {GAME_PURGE, targets},
      {GAME_STREAK,
       {{N, 12, 158, 360}, {N, 1, 176, 360}, {N, 6, 194, 360}, targets[0], targets[1]}},
      {GAME_ECHO, {{N, 12, 158, 360}, {N, 1, 176, 360}, {N, 6, 194, 360}, {T, 3, 600, 390}}},
      {GAME_START, {}},
      {GAME_OVER, {}},
  };
  for (const auto& c : cases) {
    m.game_state = c.state;
    Placements out;
    StateItems(m, &out);
    EXPECT_EQ(ToVector(out), c.expected) << "state " << c.state;
  }
}

TEST(HudStateItems, VoteShowsEveryColourRowWithTheSharedTallies) {
  MatchState m;
  m.game_state = GAME_VOTE;
  const int tallies[4] = {0, 9, 3, 7};
  for (int i = 0; i < 4; ++i) m.votes[i] = tallies[i];
  Placements out;
  StateItems(m, &out);
  ASSERT_EQ(out.size(), 16);
  const int rows[4] = {333, 369, 405, 441};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out[4 * i + 0], (P{T, i, 172, rows[i]}));
    EXPECT_EQ(out[4 * i + 1], (P{T, i, 600, rows[i]}));
    EXPECT_EQ(out[4 * i + 2], (P{N, tallies[i], 178, rows[i] + 4}));
    EXPECT_EQ(out[4 * i + 3], (P{N, tallies[i], 606, rows[i] + 4}));
  }
}

TEST(HudOverlay, NoTimerInTheVoteOrAfterTheGame) {
  for (const int state :
       {GAME_RUNS, GAME_STREAK, GAME_ECHO, GAME_PURGE, GAME_VOTE, GAME_START, GAME_OVER}) {
    MatchState m;
    m.game_state = state;
    m.round_start = 1000;
    m.round_duration = ROUND_MS;
    Placements out;
    OverlayItems(m, 50000, 50000, 1000, &out);
    bool has_separator = false;
    for (const Placement& p : out) {
      has_separator |= p.art == N && p.index == NUMBER_SEPARATOR && p.x == 388 && p.y == 70;
    }
    EXPECT_EQ(has_separator, state != GAME_VOTE && state != GAME_OVER) << "state " << state;
  }
}

}  // namespace
