// The real GameInit and GameRun on the headless engine with the generated data.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/random.h"
#include "game/game_fixture.h"

namespace {

TEST_F(GameTest, InitLoadsEverythingAndPutsTheMatchOnItsStartScreen) {
  EXPECT_TRUE(headless_->MessageBoxes().empty());
  for (const Image& i : game_assets.numbers) EXPECT_EQ(i.purpose, DRAW_MASKED);
  EXPECT_EQ(game_assets.rounds.purpose, DRAW_MASKED);
  EXPECT_EQ(game_assets.background.purpose, DRAW_PLAIN);
  // The vote sound is a clip of its own, from the miss sound's file.
  EXPECT_GT(game_assets.vote.frames, 0);
  EXPECT_NE(game_assets.vote.data, game_assets.miss.data);
  EXPECT_EQ(match.state.game_state, GAME_START);
  EXPECT_EQ(match.state.rounds_left, 10);
  EXPECT_EQ(match.players[LEFT].score, 50000);
  EXPECT_EQ(match.players[RIGHT].centre_x, 628.0f);
  // Both halos set off in the one direction drawn after seeding, 45 to 135 degrees.
  SeedRandom(kSeed);
  const double theta = (Random() * (90.0 / 32767) + 45) * DEG_TO_RAD;
  for (const Player& p : match.players) {
    EXPECT_NEAR(p.halo.vx, 2.5 * std::cos(theta), 1e-5);
    EXPECT_NEAR(p.halo.vy, 2.5 * std::sin(theta), 1e-5);
  }
}

TEST(GameLoading, PicturesLoadInTheirOrder) {
  // Without pictures every load reports its missing file, in the order of loading.
  ASSERT_TRUE(WriteGameData("."));
  std::filesystem::remove_all("Images");
  ResetGame();
  platform::headless::HeadlessPlatform& headless = UseFreshHeadless();
  Vorn.show_cmd = 1;
  FixGameSeed(3);
  GameInit();
  std::vector<std::string> expected;
  for (int i = 0; i < 4; ++i) {
    expected.push_back("Images\\tile0" + std::to_string(i) + ".tif");
    expected.push_back("Images\\target" + std::to_string(i) + ".tif");
  }
  for (int i = 0; i <= 12; ++i) {
    expected.push_back(std::string("Images\\num") + (i < 10 ? "0" : "") + std::to_string(i) +
                       ".tif");
  }
  for (int i = 0; i <= 8; ++i) expected.push_back("Images\\inst" + std::to_string(i) + ".tif");
  expected.push_back("Images\\background.tif");
  expected.push_back("Images\\rounds.tif");
  const auto& boxes = headless.MessageBoxes();
  ASSERT_GT(boxes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NE(boxes[i].text.find(expected[i]), std::string::npos)
        << "load " << i << " was " << boxes[i].text.substr(0, 60);
  }
  // The match still starts, with empty pictures.
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  GameRun();
  EXPECT_EQ(match.state.game_state, GAME_START);
  ResetGame();
}

TEST_F(GameTest, StartScreenCountsDownWhilePlayersStandStill) {
  Vorn.keys[0x44] = 1;  // D: would spin the left ring
  Vorn.keys[0x25] = 1;  // left arrow: the right ring
  const float halo_x = match.players[LEFT].halo.x;
  const float tile_angle = match.players[RIGHT].tiles[0].angle;
  Run(1);
  EXPECT_TRUE(ShowsAt(game_assets.instructions[5], 295, 100));
  EXPECT_TRUE(ShowsAt(game_assets.numbers[0], 370, 70));
  EXPECT_TRUE(ShowsAt(game_assets.numbers[10], 388, 70));
  EXPECT_TRUE(ShowsAt(game_assets.numbers[3], 424, 70));
  // Ten rounds left, shown as 1 0.
  EXPECT_TRUE(ShowsAt(game_assets.numbers[1], 282, 20));
  EXPECT_TRUE(ShowsAt(game_assets.numbers[0], 300, 20));
  EXPECT_TRUE(ShowsAt(game_assets.rounds, 330, 10));
  Run(100);
  EXPECT_TRUE(ShowsAt(game_assets.numbers[1], 424, 70));
  EXPECT_EQ(match.players[LEFT].halo.x, halo_x);
  EXPECT_EQ(match.players[RIGHT].tiles[0].angle, tile_angle);
  EXPECT_EQ(match.state.game_state, GAME_START);
}

TEST_F(GameTest, AFailedLockDrawsNothingAndTheGameGoesOn) {
  Run(1);
  const std::vector<uint16_t> before = Shown().pixels;
  const uint64_t presented = headless_->PresentCount();
  headless_->Fail(platform::headless::Op::kLock, platform::DDERR_SURFACELOST);
  Run(1, 1000);  // the timer would now read 0:01
  EXPECT_EQ(Vorn.status, STATUS_VIEWLOCK_FAILED);
  EXPECT_EQ(headless_->MessageBoxes().size(), 1u);
  EXPECT_EQ(headless_->PresentCount(), presented + 1);
  EXPECT_EQ(Shown().pixels, before);
  Run(1);
  EXPECT_NE(Shown().pixels, before);
  EXPECT_TRUE(ShowsAt(game_assets.numbers[1], 424, 70));
}

TEST_F(GameTest, GameOverShowsTheResult) {
  const struct {
    int left;
    int right;
    int result;  // -1: none
  } cases[] = {
      {60000, 40000, 6}, {40000, 60000, 7}, {-5, -1, 8}, {-1234, 3, 7}, {50000, 50000, -1},
  };
  Run(1);
  for (const auto& c : cases) {
    match.players[LEFT].score = c.left;
    match.players[RIGHT].score = c.right;
    match.state.rounds_left = 0;
    Run(1);
    EXPECT_EQ(match.state.game_state, GAME_OVER);
    for (int r = 6; r <= 8; ++r) {
      EXPECT_EQ(ShowsAt(game_assets.instructions[r], 295, 100), r == c.result)
          << c.left << ":" << c.right << " image " << r;
    }
    EXPECT_EQ(ShowsAt(game_assets.numbers[11], 22, 20), c.left < 0);
    const int lowest_left_digit = (c.left < 0 ? -c.left : c.left) % 10;
    EXPECT_TRUE(ShowsAt(game_assets.numbers[lowest_left_digit], 148, 20));
    // No timer once the game is over: the separator is gone.
    EXPECT_FALSE(ShowsAt(game_assets.numbers[10], 388, 70));
  }
}

}  // namespace
