// The figure's state machine on the headless clock: every sequence from its entry state, the
// clock gates (fixed and spin-dependent), and the stop states that keep the old step time.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/core/vorn.h"
#include "game/character.h"
#include "support/headless_engine.h"

namespace {

struct Shown {
  int frame;
  int state;
};

class CharacterStepTest : public testing::Test {
 protected:
  void SetUp() override {
    headless_ = &UseFreshHeadless();
    headless_->SetTime(500000);
  }

  // Puts the figure into `state` at `frame`, as if it had just stepped.
  void Enter(int state, int frame) {
    c_.state = state;
    c_.frame = frame;
    c_.step_time = static_cast<int>(headless_->Milliseconds());
  }

  // Steps once per entry, long enough after the previous step for any gate, and compares.
  void ExpectSequence(int key, float spin, const std::vector<Shown>& shown) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
      headless_->Advance(1000);
      c_.Step(key, spin);
      ASSERT_EQ(c_.frame, shown[i].frame) << "step " << i;
      ASSERT_EQ(c_.state, shown[i].state) << "step " << i;
    }
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  Character c_;
};

struct SequenceCase {
  const char* name;
  int state;
  int frame;
  int key;
  float spin;
  std::vector<Shown> shown;
};

TEST_F(CharacterStepTest, EverySequenceFromItsEntry) {
  const SequenceCase cases[] = {
      {"rest, first key", 0, 30, KEY_FIRST, 0.0f, {{29, 0}, {28, 0}, {27, 0}, {26, 1}}},
      {"rest, second key", 0, 30, KEY_SECOND, 0.0f, {{31, 0}, {32, 0}, {33, 0}, {34, 2}}},
      {"first loop, second key", 1, 24, KEY_SECOND, 2.0f, {{5, 3}, {4, 3}, {3, 3}, {2, 12}}},
      {"turning at 2, no key",
       12,
       2,
       KEY_NONE,
       -0.15f,
       {{1, 12}, {0, 12}, {43, 12}, {44, 12}, {45, 12}, {46, 6}}},
      {"turning at 2, second key",
       12,
       2,
       KEY_SECOND,
       -0.5f,
       {{1, 12}, {0, 12}, {42, 12}, {41, 12}, {40, 12}, {34, 2}}},
      {"second loop, first key", 2, 36, KEY_FIRST, -2.0f, {{55, 4}, {56, 4}, {57, 4}, {58, 11}}},
      {"turning at 58, no key",
       11,
       58,
       KEY_NONE,
       0.15f,
       {{59, 11}, {60, 11}, {17, 11}, {16, 11}, {15, 11}, {14, 5}}},
      {"turning at 58, first key",
       11,
       58,
       KEY_FIRST,
       0.5f,
       {{59, 11}, {60, 11}, {18, 11}, {19, 11}, {20, 11}, {26, 1}}},
      {"first loop, released",
       1,
       24,
       KEY_NONE,
       2.0f,
       {{20, 7}, {19, 7}, {18, 7}, {17, 7}, {16, 7}, {15, 7}, {14, 5}}},
      {"second loop, released",
       2,
       36,
       KEY_NONE,
       -2.0f,
       {{40, 9}, {41, 9}, {42, 9}, {43, 9}, {44, 9}, {45, 9}, {46, 6}}},
      {"coasting first way, first key",
       5,
       12,
       KEY_FIRST,
       1.0f,
       {{15, 8}, {16, 8}, {17, 8}, {18, 8}, {19, 8}, {20, 8}, {26, 1}}},
      {"coasting second way, second key",
       6,
       48,
       KEY_SECOND,
       -1.0f,
       {{45, 10}, {44, 10}, {43, 10}, {42, 10}, {41, 10}, {40, 10}, {34, 2}}},
      {"coasting first way, slow, no key",
       5,
       12,
       KEY_NONE,
       0.05f,
       {{8, 13}, {7, 13}, {6, 13}, {30, 0}}},
      {"coasting first way, slow, second key",
       5,
       12,
       KEY_SECOND,
       -0.1f,
       {{8, 13}, {7, 13}, {6, 13}, {30, 0}}},
      {"coasting second way, slow, no key",
       6,
       48,
       KEY_NONE,
       -0.05f,
       {{52, 14}, {53, 14}, {54, 14}, {30, 0}}},
      {"coasting second way, slow, first key",
       6,
       48,
       KEY_FIRST,
       0.1f,
       {{52, 14}, {53, 14}, {54, 14}, {30, 0}}},
      {"rest, no key, leaning", 0, 27, KEY_NONE, 0.0f, {{28, 0}, {29, 0}, {30, 0}, {30, 0}}},
      {"rest, no key, leaning the other way", 0, 33, KEY_NONE, 0.0f, {{32, 0}, {31, 0}, {30, 0}}},
  };
  for (const SequenceCase& sc : cases) {
    SCOPED_TRACE(sc.name);
    Enter(sc.state, sc.frame);
    ExpectSequence(sc.key, sc.spin, sc.shown);
  }
}

TEST_F(CharacterStepTest, LoopsWrapWhileTheirKeyIsHeld) {
  Enter(1, 26);
  ExpectSequence(KEY_FIRST, 2.5f, {{25, 1}, {24, 1}, {23, 1}, {22, 1}, {21, 1}, {26, 1}, {25, 1}});
  Enter(2, 34);
  ExpectSequence(KEY_SECOND, -2.5f, {{35, 2}, {36, 2}, {37, 2}, {38, 2}, {39, 2}, {34, 2}});
  Enter(5, 14);
  ExpectSequence(KEY_NONE, 1.0f, {{13, 5}, {12, 5}, {11, 5}, {10, 5}, {9, 5}, {14, 5}});
  Enter(6, 46);
  ExpectSequence(KEY_NONE, -1.0f, {{47, 6}, {48, 6}, {49, 6}, {50, 6}, {51, 6}, {46, 6}});
  // The turning states run round their whole range while the key keeps pushing through them.
  Enter(11, 59);
  ExpectSequence(KEY_FIRST, 1.0f, {{60, 11}, {18, 11}});
  Enter(12, 1);
  ExpectSequence(KEY_SECOND, -1.0f, {{0, 12}, {42, 12}});
  // A change of key inside the turning states starts the other turn.
  Enter(11, 40);
  ExpectSequence(KEY_SECOND, 1.0f, {{5, 3}});
  Enter(12, 40);
  ExpectSequence(KEY_FIRST, -1.0f, {{55, 4}});
}

// Pressing the second key in the first-key loop, held throughout: 5 down to 0, 42 down to 40,
// then the second-key loop from 34.
TEST_F(CharacterStepTest, ChangeOfDirectionRunsThroughTheTurn) {
  Enter(1, 23);
  ExpectSequence(KEY_SECOND, 0.0f,
                 {{5, 3},
                  {4, 3},
                  {3, 3},
                  {2, 12},
                  {1, 12},
                  {0, 12},
                  {42, 12},
                  {41, 12},
                  {40, 12},
                  {34, 2},
                  {35, 2}});
}

struct GateCase {
  const char* name;
  int state;
  int frame;
  int key;
  float spin;
  uint32_t first_passing_ms;
};

// Each gate is tried one millisecond short and then exactly at its first passing time.
TEST_F(CharacterStepTest, StepsOnlyWhenTheGatePasses) {
  const GateCase cases[] = {
      {"rest", 0, 30, KEY_FIRST, 0.0f, 20},
      {"first loop, still", 1, 24, KEY_FIRST, 0.0f, 120},
      {"first loop, spin 1", 1, 24, KEY_FIRST, 1.0f, 90},
      {"first loop, full spin", 1, 24, KEY_FIRST, 2.5f, 45},
      {"second loop, still", 2, 36, KEY_SECOND, 0.0f, 120},
      {"second loop, full spin", 2, 36, KEY_SECOND, -2.5f, 45},
      {"second loop, spin against it", 2, 36, KEY_SECOND, 2.5f, 195},
      {"coasting first way, spin 1", 5, 12, KEY_NONE, 1.0f, 100},
      {"coasting first way, spin 0.1", 5, 12, KEY_NONE, 0.1f, 145},
      {"coasting second way, spin -1", 6, 48, KEY_NONE, -1.0f, 100},
      {"coasting second way, still", 6, 48, KEY_SECOND, 0.0f, 150},
      {"turn first part", 3, 5, KEY_SECOND, 0.0f, 20},
      {"turn first part, other way", 4, 55, KEY_FIRST, 0.0f, 20},
      {"release", 7, 20, KEY_NONE, 2.0f, 20},
      {"first key again", 8, 15, KEY_FIRST, 1.0f, 20},
      {"second release", 9, 40, KEY_NONE, -2.0f, 20},
      {"second key again", 10, 45, KEY_SECOND, -1.0f, 20},
      {"turn second part", 11, 58, KEY_NONE, 0.15f, 20},
      {"turn second part, other way", 12, 2, KEY_NONE, -0.15f, 20},
      {"stop", 13, 8, KEY_NONE, 0.0f, 20},
      {"stop, other way", 14, 52, KEY_NONE, 0.0f, 20},
  };
  for (const GateCase& gc : cases) {
    SCOPED_TRACE(gc.name);
    Enter(gc.state, gc.frame);
    const int entered = c_.step_time;
    headless_->Advance(gc.first_passing_ms - 1);
    c_.Step(gc.key, gc.spin);
    EXPECT_EQ(c_.frame, gc.frame);
    EXPECT_EQ(c_.state, gc.state);
    EXPECT_EQ(c_.step_time, entered);
    headless_->Advance(1);
    c_.Step(gc.key, gc.spin);
    EXPECT_NE(c_.frame, gc.frame);
    const bool renews = gc.state != 13 && gc.state != 14;
    EXPECT_EQ(c_.step_time, renews ? static_cast<int>(headless_->Milliseconds()) : entered);
  }
}

// From rest, a held first key leans one frame per update that comes more than 0.02 s after the
// previous step, however many updates come in between.
TEST_F(CharacterStepTest, RestStepsOnlyAfter20Milliseconds) {
  Enter(0, 30);
  std::vector<int> frames = {30};
  std::vector<uint32_t> times;
  for (int update = 0; update < 200; ++update) {
    headless_->Advance(1);
    c_.Step(KEY_FIRST, 0.0f);
    if (frames.back() != c_.frame) {
      frames.push_back(c_.frame);
      times.push_back(headless_->Milliseconds() - 500000);
    }
    if (c_.state == 1) break;
  }
  EXPECT_EQ(frames, (std::vector<int>{30, 29, 28, 27, 26}));
  EXPECT_EQ(times, (std::vector<uint32_t>{20, 40, 60, 80}));
}

// The stop states do not renew the step time: once 0.02 s have passed since the last renewed
// step, they advance on every update, and the neutral state then passes its gate at once.
TEST_F(CharacterStepTest, StopStatesRunAtFullRate) {
  Enter(5, 10);
  headless_->Advance(200);
  c_.Step(KEY_NONE, 0.05f);
  ASSERT_EQ(c_.state, 13);
  ASSERT_EQ(c_.frame, 8);
  const int renewed = c_.step_time;
  headless_->Advance(19);
  c_.Step(KEY_NONE, 0.0f);
  EXPECT_EQ(c_.frame, 8);
  headless_->Advance(1);
  c_.Step(KEY_NONE, 0.0f);  // the clock stands still from here on
  EXPECT_EQ(c_.frame, 7);
  c_.Step(KEY_NONE, 0.0f);
  EXPECT_EQ(c_.frame, 6);
  c_.Step(KEY_NONE, 0.0f);
  EXPECT_EQ(c_.frame, 30);
  EXPECT_EQ(c_.state, 0);
  EXPECT_EQ(c_.step_time, renewed);
  c_.Step(KEY_FIRST, 0.0f);
  EXPECT_EQ(c_.frame, 29);
  EXPECT_EQ(c_.step_time, renewed + 20);
  c_.Step(KEY_FIRST, 0.0f);
  EXPECT_EQ(c_.frame, 29);
}

TEST_F(CharacterStepTest, StatesOutsideTheTableDoNothing) {
  for (const int state : {-1, 15, 100}) {
    Enter(state, 30);
    const int entered = c_.step_time;
    headless_->Advance(1000);
    c_.Step(KEY_FIRST, 1.0f);
    EXPECT_EQ(c_.state, state);
    EXPECT_EQ(c_.frame, 30);
    EXPECT_EQ(c_.step_time, entered);
  }
}

// The millisecond clock wraps at 2^32; the time since the last step is still measured right.
TEST_F(CharacterStepTest, GateMeasuresAcrossTheClockWrap) {
  headless_->SetTime(0xFFFFFFF0u);
  Enter(0, 30);
  headless_->Advance(19);  // now 3
  c_.Step(KEY_FIRST, 0.0f);
  EXPECT_EQ(c_.frame, 30);
  headless_->Advance(1);
  c_.Step(KEY_FIRST, 0.0f);
  EXPECT_EQ(c_.frame, 29);
  EXPECT_EQ(c_.step_time, 4);
}

}  // namespace
