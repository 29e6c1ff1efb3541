// Where the heads-up display puts its pictures, for the values that change its shape. A
// placement reads "N12@158,360": number image 12 at (158, 360); T is a target, I an
// instruction, R the rounds label.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/hud.h"

namespace {

std::string Show(const Placements& list) {
  std::string s;
  for (const Placement& p : list) {
    if (!s.empty()) s += ' ';
    s += "TNIR"[static_cast<int>(p.art)] + std::to_string(p.index) + '@' + std::to_string(p.x) +
         ',' + std::to_string(p.y);
  }
  return s;
}

template <typename F>
std::string Items(F&& add) {
  Placements out;
  add(&out);
  return Show(out);
}

TEST(Hud, MultipliersShowFromTwoWithTwoDigitsAtSixteen) {
  const struct {
    int player, m;
    const char* shown;
  } cases[] = {
      {LEFT, 1, ""},
      {LEFT, 2, "N12@167,360 N2@185,360"},
      {LEFT, 16, "N12@158,360 N1@176,360 N6@194,360"},
      {RIGHT, 8, "N12@595,360 N8@613,360"},
      {RIGHT, 16, "N12@586,360 N1@604,360 N6@622,360"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Items([&](Placements* o) { MultiplierItems(c.player, c.m, o); }), c.shown);
  }
}

TEST(Hud, RoundsTimerAndScores) {
  const struct {
    std::string shown, expected;
  } cases[] = {
      {Items([](Placements* o) { RoundsItems(10, o); }), "R0@330,10 N0@300,20 N1@282,20"},
      {Items([](Placements* o) { RoundsItems(9, o); }), "R0@330,10 N9@300,20"},
      // Both rings cleared in the last purge round: never a picture outside the digits.
      {Items([](Placements* o) { RoundsItems(-1, o); }), "R0@330,10 N0@300,20"},
      {Items([](Placements* o) { TimerItems(60000, o); }),
       "N1@370,70 N10@388,70 N0@406,70 N0@424,70"},
      {Items([](Placements* o) { TimerItems(59999, o); }),
       "N0@370,70 N10@388,70 N5@406,70 N9@424,70"},
      {Items([](Placements* o) { TimerItems(-1500, o); }),
       "N0@370,70 N10@388,70 N0@406,70 N0@424,70"},
      {Items([](Placements* o) { ScoreItems(LEFT, 50000, o); }),
       "N0@148,20 N0@130,20 N0@112,20 N0@94,20 N5@76,20 N0@58,20 N0@40,20"},
      {Items([](Placements* o) { ScoreItems(RIGHT, -1234, o); }),
       "N11@622,20 N4@748,20 N3@730,20 N2@712,20 N1@694,20 N0@676,20 N0@658,20 N0@640,20"},
      {Items([](Placements* o) { ScoreItems(LEFT, 123456789, o); }),
       "N9@148,20 N8@130,20 N7@112,20 N6@94,20 N5@76,20 N4@58,20 N3@40,20"},
      {Items([](Placements* o) { ScoreItems(LEFT, INT_MIN, o); }),
       "N11@22,20 N8@148,20 N4@130,20 N6@112,20 N3@94,20 N8@76,20 N4@58,20 N7@40,20"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
}

TEST(Hud, InstructionOfTheStateOrTheResult) {
  const struct {
    int state, left, right;
    const char* shown;
  } cases[] = {
      {GAME_START, 1, 1, "I5@295,100"},  {GAME_PURGE, -5, 1, "I3@295,100"},
      {GAME_OVER, 6, 4, "I6@295,100"},   {GAME_OVER, 4, 6, "I7@295,100"},
      {GAME_OVER, -1, -2, "I8@295,100"}, {GAME_OVER, -3, -3, "I8@295,100"},
      {GAME_OVER, -1, 0, "I7@295,100"},  {GAME_OVER, 5, 5, ""},
  };
  for (const auto& c : cases) {
    MatchState m;
    m.game_state = c.state;
    EXPECT_EQ(Items([&](Placements* o) { MessageItems(m, c.left, c.right, o); }), c.shown)
        << c.state << " " << c.left << ":" << c.right;
  }
}

TEST(Hud, EachStateShowsItsOwnItems) {
  MatchState m;
  m.target = 2;
  m.multiplier[LEFT] = 16;
  m.multiplier[RIGHT] = 1;
  m.pending[LEFT] = NO_COLOUR;
  m.pending[RIGHT] = 3;
  m.votes[1] = 9;
  m.votes[3] = 7;
  const struct {
    int state;
    const char* shown;
  } cases[] = {
      {GAME_RUNS, "T2@172,390 T2@600,390"},
      {GAME_STREAK, "N12@158,360 N1@176,360 N6@194,360 T2@172,390 T2@600,390"},
      {GAME_ECHO, "N12@158,360 N1@176,360 N6@194,360 T3@600,390"},
      {GAME_VOTE,
       "T0@172,333 T0@600,333 N0@178,337 N0@606,337 T1@172,369 T1@600,369 N9@178,373 N9@606,373 "
       "T2@172,405 T2@600,405 N0@178,409 N0@606,409 T3@172,441 T3@600,441 N7@178,445 N7@606,445"},
      {GAME_START, ""},
      {GAME_OVER, ""},
  };
  for (const auto& c : cases) {
    m.game_state = c.state;
    EXPECT_EQ(Items([&](Placements* o) { StateItems(m, o); }), c.shown) << "state " << c.state;
  }
}

TEST(Hud, NoTimerInTheVoteOrAfterTheGame) {
  for (int state = GAME_RUNS; state <= GAME_OVER; ++state) {
    MatchState m;
    m.game_state = state;
    const std::string shown = Items([&](Placements* o) { OverlayItems(m, 1, 1, 0, o); });
    EXPECT_EQ(shown.find("N10@388,70") != std::string::npos,
              state != GAME_VOTE && state != GAME_OVER);
  }
}

}  // namespace
