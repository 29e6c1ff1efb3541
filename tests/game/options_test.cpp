// The command line of the game and the match simulator, and a side handed to the computer: it
// turns its ring with no key held, the display marks it, and the first pad plays the other side.
#include "game/options.h"

#include <gtest/gtest.h>

#include <climits>

#include "game/game_fixture.h"

namespace {

// Every number an option takes is read here: all of the text, within its range.
TEST(Options, WholeNumbersAreAllOfTheTextAndWithinRange) {
  const struct {
    const char* text;
    long low, high;
    bool ok;
    long value;
  } cases[] = {
      {"0", 0, 5, true, 0},
      {"5", 0, 5, true, 5},
      {"4294967295", 0, 4294967295L, true, 4294967295L},
      {"6", 0, 5, false, 0},
      {"-1", 0, 5, false, 0},
      {"", 0, 5, false, 0},
      {"3x", 0, 5, false, 0},
      {"x3", 0, 5, false, 0},
      // Beyond long: strtol would clamp it to the very top of an open range.
      {"99999999999999999999", 0, LONG_MAX, false, 0},
  };
  for (const auto& c : cases) {
    long v = -7;
    EXPECT_EQ(ParseWhole(c.text, c.low, c.high, &v), c.ok) << c.text;
    EXPECT_EQ(v, c.ok ? c.value : -7) << c.text;
  }
}

TEST(Options, SidesAndTheirErrors) {
  GameOptions o;
  std::string error;
  const char* cpu_right[] = {"vorn", "--right", "cpu", "--left", "cpu:3"};
  ASSERT_TRUE(ParseGameOptions(5, cpu_right, &o, &error));
  EXPECT_EQ(
      std::tuple(o.side[LEFT].kind, o.side[LEFT].level, o.side[RIGHT].kind, o.side[RIGHT].level),
      std::tuple(SideChoice::Kind::Cpu, 3, SideChoice::Kind::Cpu, 2));
  for (const auto& [argc, bad, message] : {std::tuple{3, "cpu:4", "--left takes keys|cpu[:LEVEL]"},
                                           {3, "robot", "--left takes keys|cpu[:LEVEL]"},
                                           {2, "", "--left takes keys|cpu[:LEVEL]"}}) {
    const char* argv[] = {"vorn", "--left", bad};
    EXPECT_FALSE(ParseGameOptions(argc, argv, &o, &error)) << bad;
    EXPECT_EQ(error, message) << bad;
  }
  const char* scaled[] = {"vorn", "--scale", "2"};
  ASSERT_TRUE(ParseGameOptions(3, scaled, &o, &error));
  EXPECT_EQ(o.window_scale, 2);
  const char* too_large[] = {"vorn", "--scale", "17"};
  EXPECT_FALSE(ParseGameOptions(3, too_large, &o, &error));
  const char* unknown[] = {"vorn", "--computer"};
  EXPECT_FALSE(ParseGameOptions(2, unknown, &o, &error));
  EXPECT_EQ(error, "unknown option --computer");
  // The network options take their own shapes, a level for the computer among them.
  const char* network[] = {"vorn", "--host", "--cpu:3", "--input-delay", "4"};
  ASSERT_TRUE(ParseGameOptions(5, network, &o, &error));
  EXPECT_EQ(o.net.role, NetPlayOptions::Role::Host);
  EXPECT_EQ(o.net.port, 7531);
  EXPECT_EQ(o.net.cpu_level, 3);
  EXPECT_EQ(o.net.input_delay, 4);
  const char* bad_level[] = {"vorn", "--cpu:4"};
  EXPECT_FALSE(ParseGameOptions(2, bad_level, &o, &error));

  SideChoice side;
  EXPECT_TRUE(ParseSide("idle", true, &side));
  EXPECT_EQ(side.kind, SideChoice::Kind::Idle);
  EXPECT_FALSE(ParseSide("idle", false, &side));
  EXPECT_FALSE(ParseSide("cpu:0", true, &side));
  EXPECT_FALSE(ParseSide("cpu:", true, &side));
}

class ComputerSideTest : public GameTest {
 protected:
  void SetUp() override {
    const SideChoice sides[2] = {{SideChoice::Kind::Cpu, 3}, {}};
    ChooseSides(sides);
    GameTest::SetUp();
  }
  void TearDown() override {
    const SideChoice keys[2] = {};
    ChooseSides(keys);
    GameTest::TearDown();
  }
};

// With the computer on the left, the first pad plays the right side, the one still played at
// this screen.
TEST_F(ComputerSideTest, PlaysItsSideIsMarkedAndLeavesTheFirstPadToTheOther) {
  Run(400);  // the start screen, then the first seconds of the vote
  EXPECT_NE(game.players[LEFT].tiles[0].angle, 0.0f);
  EXPECT_EQ(std::tuple(game.players[RIGHT].spin, game.players[RIGHT].tiles[0].angle),
            std::tuple(0.0f, 0.0f));
  EXPECT_TRUE(ShowsAt(game_assets.computer_mark, 22, 46));
  EXPECT_FALSE(ShowsAt(game_assets.computer_mark, 622, 46));
  headless_->PostPadAdded(6);
  headless_->PostPadButton(6, platform::PAD_BUTTON_DPAD_LEFT, true);
  platform::Message m;
  while (headless_->Windows().PeekMessage(&m)) headless_->Windows().DispatchMessage(m);
  Run(40);
  EXPECT_GT(game.players[RIGHT].spin, 1.0f);
}

}  // namespace
