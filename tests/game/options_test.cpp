// The command line of the game and the match simulator, and a side handed to the computer: it
// turns its ring with no key held, the display marks it, and the first pad plays the other side.
#include "game/options.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/game_fixture.h"

namespace {

// Every number an option takes is read here: all of the text, within its range. Beyond long,
// strtol would clamp it to the very top of an open range.
TEST(Options, WholeNumbersAreAllOfTheTextAndWithinRange) {
  // clang-format off
  const struct { const char* text; long high; bool ok; } cases[] = {
      {"0", 5, true}, {"5", 5, true}, {"4294967295", 4294967295L, true}, {"6", 5, false}, {"-1", 5, false},
      {"", 5, false}, {"3x", 5, false}, {"x3", 5, false}, {"99999999999999999999", LONG_MAX, false}};
  // clang-format on
  for (const auto& c : cases) {
    long v = -7;
    EXPECT_EQ(std::tuple(ParseWhole(c.text, 0, c.high, &v), v),
              std::tuple(c.ok, c.ok ? std::stol(c.text) : -7))
        << c.text;
  }
}

// Also the options that cannot go together: a replay plays the recorded sides, and a network
// match is not recorded. The network options take their own shapes, a level for the computer
// among them.
TEST(Options, SidesAndTheirErrors) {
  GameOptions o;
  std::string error;
  const auto parse = [&](std::vector<const char*> args) {
    args.insert(args.begin(), "vorn");
    return ParseGameOptions(static_cast<int>(args.size()), args.data(), &o, &error);
  };
  ASSERT_TRUE(parse({"--right", "cpu", "--left", "cpu:3", "--scale", "2"}));
  EXPECT_EQ(std::tuple(o.side[LEFT].kind, o.side[LEFT].level, o.side[RIGHT].kind,
                       o.side[RIGHT].level, o.window_scale),
            std::tuple(SideChoice::Kind::Cpu, 3, SideChoice::Kind::Cpu, 2, 2));
  ASSERT_TRUE(parse({"--host", "--cpu:3", "--input-delay", "4"}));
  EXPECT_EQ(std::tuple(o.net.role, o.net.port, o.net.cpu_level, o.net.input_delay),
            std::tuple(NetPlayOptions::Role::Host, 7531, 3, 4));
  const std::string side = "--left takes keys|cpu[:LEVEL]";
  // clang-format off
  const std::pair<std::vector<const char*>, std::string> refused[] = {
      {{"--left", "cpu:4"}, side}, {{"--left", "robot"}, side}, {{"--left"}, side},
      {{"--computer"}, "unknown option --computer"}, {{"--scale", "17"}, ""}, {{"--cpu:4"}, ""},
      {{"--replay", "a", "--left", "cpu"}, ""}, {{"--record", "a", "--host"}, ""},
      {{"--replay", "a", "--record", "b"}, ""}, {{"--record", ""}, ""}};
  // clang-format on
  for (const auto& [args, message] : refused) {
    EXPECT_FALSE(parse(args)) << args[0] << " " << args.size();
    EXPECT_TRUE(message.empty() || error == message) << error;
  }
  SideChoice choice;
  EXPECT_TRUE(ParseSide("idle", true, &choice) && choice.kind == SideChoice::Kind::Idle);
  EXPECT_FALSE(ParseSide("idle", false, &choice) || ParseSide("cpu:0", true, &choice) ||
               ParseSide("cpu:", true, &choice));
}

class ComputerSideTest : public GameTest {
 protected:
  void SetUp() override {
    const SideChoice sides[2] = {{SideChoice::Kind::Cpu, 3}, {}};
    ChooseSides(sides);
    GameTest::SetUp();
  }
  void TearDown() override {
    ChooseSides(std::array<SideChoice, 2>{}.data());
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
  Pump(*headless_);
  Run(40);
  EXPECT_GT(game.players[RIGHT].spin, 1.0f);
}

}  // namespace
