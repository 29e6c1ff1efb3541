// The real GameInit and GameRun on the headless engine with the generated data.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/random.h"
#include "game/frame.h"
#include "game/game_fixture.h"
#include "platform/headless/headless_sound_buffer.h"

namespace {

using platform::headless::HeadlessSoundBuffer;

TEST_F(GameTest, InitLoadsEveryPictureAndClipAndPutsTheMatchOnItsStartScreen) {
  EXPECT_TRUE(headless_->MessageBoxes().empty());
  std::vector<const Image*> masked;
  for (const Image& i : game_assets.tiles) masked.push_back(&i);
  for (const Image& i : game_assets.targets) masked.push_back(&i);
  for (const Image& i : game_assets.numbers) masked.push_back(&i);
  for (const Image& i : game_assets.instructions) masked.push_back(&i);
  masked.push_back(&game_assets.rounds);
  for (const Image* i : masked) {
    EXPECT_GT(i->width, 0);
    EXPECT_EQ(i->purpose, DRAW_MASKED);
  }
  EXPECT_EQ(game_assets.background.purpose, DRAW_PLAIN);
  for (const SoundX* clip : {&game_assets.hit, &game_assets.miss, &game_assets.vote}) {
    EXPECT_GT(clip->frames, 0);
  }
  EXPECT_NE(game_assets.vote.data, game_assets.miss.data);

  EXPECT_EQ(match.state.game_state, GAME_START);
  EXPECT_EQ(match.state.rounds_left, 10);
  EXPECT_EQ(match.state.round_start, 0);
  EXPECT_EQ(match.state.last_hit[LEFT], NO_HIT);
  EXPECT_EQ(match.players[LEFT].score, 50000);
  EXPECT_EQ(match.players[RIGHT].score, 50000);
  EXPECT_EQ(match.players[LEFT].centre_x, 200.0f);
  EXPECT_EQ(match.players[RIGHT].centre_x, 628.0f);
  EXPECT_EQ(match.players[RIGHT].centre_y, 420.0f);

  // Both halos set off in the one direction drawn after seeding.
  SeedRandom(kSeed);
  const double theta = HaloStartDirection(Random()) * DEG_TO_RAD;
  for (const Player& p : match.players) {
    EXPECT_NEAR(p.halo.vx, 2.5 * std::cos(theta), 1e-5);
    EXPECT_NEAR(p.halo.vy, 2.5 * std::sin(theta), 1e-5);
  }
}

TEST(HaloStart, SpansAQuarterTurnAroundStraightDown) {
  EXPECT_FLOAT_EQ(HaloStartDirection(0), 45.0f);
  EXPECT_FLOAT_EQ(HaloStartDirection(32767), 135.0f);
  EXPECT_FLOAT_EQ(HaloStartDirection(16384), static_cast<float>(16384 * (90.0 / 32767) + 45));
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

TEST_F(GameTest, VoteOpensWithItsSoundAndEveryClipPlaysFromTheStart) {
  Run(1);
  Run(1, START_MS);
  ASSERT_EQ(match.state.game_state, GAME_VOTE);
  EXPECT_TRUE(ShowsAt(game_assets.instructions[4], 295, 100));
  ASSERT_GE(game_assets.vote.buffer, 0);
  // Rings spin and halos bounce in the vote; every hit plays the hit clip from its start.
  Vorn.keys[0x44] = 1;
  Vorn.keys[0x27] = 1;
  Run(600);
  const auto& buffers = headless_->SoundBuffers();
  for (const SoundX* clip : {&game_assets.vote, &game_assets.hit}) {
    ASSERT_GE(clip->buffer, 0);
    const auto* buffer = static_cast<HeadlessSoundBuffer*>(buffers[clip->buffer].get());
    ASSERT_FALSE(buffer->Plays().empty());
    for (const auto& play : buffer->Plays()) EXPECT_EQ(play.position, 0u);
  }
  int votes = 0;
  for (const int v : match.state.votes) votes += v;
  const auto* hit = static_cast<HeadlessSoundBuffer*>(buffers[game_assets.hit.buffer].get());
  if (match.state.game_state == GAME_VOTE) {
    EXPECT_EQ(static_cast<int>(hit->Plays().size()), votes);
  }
  EXPECT_TRUE(headless_->MessageBoxes().empty());
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
