// The command line of the game and the match simulator, and a side handed to the computer: it
// turns its ring with no key held, the display marks it, and the first pad plays the other side.
#include "game/options.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/game_fixture.h"

namespace {

// Every number an option takes is read here: all of the text, within its range.
TEST(Options, WholeNumbersAreAllOfTheTextAndWithinRange) {
  // clang-format off
  const struct { const char* text; long low, high; bool ok; long value; } cases[] = {
      {"0", 0, 5, true, 0}, {"5", 0, 5, true, 5}, {"4294967295", 0, 4294967295L, true, 4294967295L},
      {"6", 0, 5, false, 0}, {"-1", 0, 5, false, 0}, {"", 0, 5, false, 0}, {"3x", 0, 5, false, 0},
      {"x3", 0, 5, false, 0},
      // Beyond long: strtol would clamp it to the very top of an open range.
      {"99999999999999999999", 0, LONG_MAX, false, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    long v = -7;
    EXPECT_EQ(ParseWhole(c.text, c.low, c.high, &v), c.ok) << c.text;
    EXPECT_EQ(v, c.ok ? c.value : -7) << c.text;
  }
}

// Also the options that cannot go together: a replay plays the recorded sides, and a network
// match is not recorded.
TEST(Options, SidesAndTheirErrors) {
  GameOptions o;
  std::string error;
  const auto parse = [&](std::vector<const char*> args) {
    args.insert(args.begin(), "vorn");
    return ParseGameOptions(static_cast<int>(args.size()), args.data(), &o, &error);
  };
  ASSERT_TRUE(parse({"--right", "cpu", "--left", "cpu:3"}));
  EXPECT_EQ(
      std::tuple(o.side[LEFT].kind, o.side[LEFT].level, o.side[RIGHT].kind, o.side[RIGHT].level),
      std::tuple(SideChoice::Kind::Cpu, 3, SideChoice::Kind::Cpu, 2));
  ASSERT_TRUE(parse({"--scale", "2"}));
  EXPECT_EQ(o.window_scale, 2);
  // The network options take their own shapes, a level for the computer among them.
  ASSERT_TRUE(parse({"--host", "--cpu:3", "--input-delay", "4"}));
  EXPECT_EQ(std::tuple(o.net.role, o.net.port, o.net.cpu_level, o.net.input_delay),
            std::tuple(NetPlayOptions::Role::Host, 7531, 3, 4));
  const std::string side_error = "--left takes keys|cpu[:LEVEL]";
  const std::pair<std::vector<const char*>, std::string> refused[] = {
      {{"--left", "cpu:4"}, side_error},
      {{"--left", "robot"}, side_error},
      {{"--left"}, side_error},
      {{"--computer"}, "unknown option --computer"},
      {{"--scale", "17"}, ""},
      {{"--cpu:4"}, ""},
      {{"--replay", "a", "--left", "cpu"}, ""},
      {{"--record", "a", "--host"}, ""},
      {{"--replay", "a", "--record", "b"}, ""},
      {{"--record", ""}, ""}};
  for (const auto& [args, message] : refused) {
    EXPECT_FALSE(parse(args)) << args[0] << " " << args.size();
    EXPECT_TRUE(message.empty() || error == message) << error;
  }

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
