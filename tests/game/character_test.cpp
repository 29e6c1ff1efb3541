// The figure's state machine on the frame's clock reading: every sequence from its entry, the
// fixed and spin-dependent gates, the stop states that keep the old step time.
#include "game/character.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

constexpr Spin N = Spin::None, F = Spin::First, S = Spin::Second;

class CharacterTest : public testing::Test {
 protected:
  // Puts the figure into `state` at `frame`, as if it had just stepped.
  void Enter(int state, int frame) {
    c_.state = static_cast<CharacterState>(state), c_.frame = frame, c_.step_time = now_;
  }
  // The frame and state after a step `after_ms` after the last.
  std::tuple<int, int> Step(uint32_t after_ms, Spin key, float spin = 0.0f) {
    c_.Step(key, spin, now_ += after_ms);
    return {c_.frame, static_cast<int>(c_.state)};
  }

  uint32_t now_ = 500000;
  Character c_;
};

// Each token is the frame one step shows (long after the previous step), with ":state" when
// the state changes on that step.
TEST_F(CharacterTest, EverySequenceFromItsEntry) {
  // clang-format off
  const struct { int state, frame; Spin key; float spin; const char* shown; } cases[] = {
      {0, 30, F, 0, "29 28 27 26:1"}, {0, 30, S, 0, "31 32 33 34:2"},
      {0, 27, N, 0, "28 29 30 30"}, {0, 33, N, 0, "32 31 30"},
      {1, 24, S, 2, "5:3 4 3 2:12 1 0 42 41 40 34:2 35"}, {12, 2, N, -0.15f, "1 0 43 44 45 46:6"},
      {2, 36, F, -2, "55:4 56 57 58:11"}, {11, 58, N, 0.15f, "59 60 17 16 15 14:5"},
      {11, 58, F, 0.5f, "59 60 18 19 20 26:1"}, {1, 24, N, 2, "20:7 19 18 17 16 15 14:5"},
      {2, 36, N, -2, "40:9 41 42 43 44 45 46:6"}, {5, 12, F, 1, "15:8 16 17 18 19 20 26:1"},
      {6, 48, S, -1, "45:10 44 43 42 41 40 34:2"},
      {5, 12, N, 0.05f, "8:13 7 6 30:0"}, {5, 12, S, -0.1f, "8:13 7 6 30:0"},
      {6, 48, N, -0.05f, "52:14 53 54 30:0"}, {6, 48, F, 0.1f, "52:14 53 54 30:0"},
      // The loops, while their key (or the coasting spin) lasts.
      {1, 26, F, 2.5f, "25 24 23 22 21 26 25"}, {2, 34, S, -2.5f, "35 36 37 38 39 34"},
      {5, 14, N, 1, "13 12 11 10 9 14"}, {6, 46, N, -1, "47 48 49 50 51 46"},
      // The second parts of a change turn back when the other key comes.
      {11, 40, S, 1, "5:3"}, {12, 40, F, -1, "55:4"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " at " << c.frame << ", key "
                                    << static_cast<int>(c.key) << ": " << c.shown);
    Enter(c.state, c.frame);
    std::istringstream tokens(c.shown);
    std::string token;
    for (int state = c.state; tokens >> token;) {
      const std::size_t colon = token.find(':');
      if (colon != std::string::npos) state = std::stoi(token.substr(colon + 1));
      ASSERT_EQ(Step(1000, c.key, c.spin), std::tuple(std::stoi(token.substr(0, colon)), state))
          << token;
    }
  }
}

// Each gate is tried one millisecond short of its first passing time, then at it; only the
// stop states 13 and 14 keep the old step time.
TEST_F(CharacterTest, StepsOnlyWhenTheGatePasses) {
  // clang-format off
  const struct { int state, frame; Spin key; float spin; uint32_t first_passing_ms; } cases[] = {
      {0, 30, F, 0, 20}, {1, 24, F, 0, 120}, {1, 24, F, 1, 90}, {1, 24, F, 2.5f, 45},
      {2, 36, S, -2.5f, 45}, {2, 36, S, 2.5f, 195}, {5, 12, N, 0.1f, 145}, {6, 48, N, -1, 100},
      {6, 48, S, 0, 150}, {3, 5, S, 0, 20}, {11, 58, N, 0.15f, 20}, {13, 8, N, 0, 20}, {14, 52, N, 0, 20},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << ", spin " << c.spin);
    Enter(c.state, c.frame);
    const uint32_t entered = c_.step_time;
    EXPECT_EQ(std::get<0>(Step(c.first_passing_ms - 1, c.key, c.spin)), c.frame);
    EXPECT_EQ(c_.step_time, entered);
    EXPECT_NE(std::get<0>(Step(1, c.key, c.spin)), c.frame);
    EXPECT_EQ(c_.step_time, c.state == 13 || c.state == 14 ? entered : now_);
  }
}

// Once 0.02 s have passed since the last renewed step, the stop states advance on every update
// and the neutral state then passes its gate at once. A state outside the table does nothing;
// the clock's wrap at 2^32 does not stall the gates.
TEST_F(CharacterTest, StopStatesRunAtFullRateOddStatesDoNothing) {
  Enter(5, 10);
  ASSERT_EQ(Step(200, N, 0.05f), std::tuple(8, 13));
  const uint32_t renewed = c_.step_time;
  EXPECT_EQ(Step(19, N), std::tuple(8, 13));
  now_ += 1;
  for (const int frame : {7, 6, 30, 29})  // the clock stands still from here on
    EXPECT_EQ(std::get<0>(Step(0, frame == 29 ? F : N)), frame);
  EXPECT_EQ(std::tuple(static_cast<int>(c_.state), c_.step_time), std::tuple(0, renewed + 20));
  for (const int state : {-1, 15}) {
    Enter(state, 30);
    EXPECT_EQ(Step(1000, F, 1.0f), std::tuple(30, state));
  }
  now_ = 0xFFFFFFF0u;
  Enter(0, 30);
  EXPECT_EQ(std::get<0>(Step(19, F)), 30);
  EXPECT_EQ(std::get<0>(Step(1, F)), 29);
}

}  // namespace
