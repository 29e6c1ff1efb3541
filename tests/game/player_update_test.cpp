// A player's update: its keys, the spin rule by figure state, and the order of the update's
// steps (spin, figure, halo, tiles, bounce and hit test) on the headless clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/core/vorn.h"
#include "game/player.h"
#include "platform/messages.h"
#include "support/headless_engine.h"

namespace {

constexpr uint8_t KEY_D = 0x44;
constexpr uint8_t KEY_F = 0x46;

class PlayerUpdateTest : public testing::Test {
 protected:
  void SetUp() override {
    headless_ = &UseFreshHeadless();
    headless_->SetTime(100000);
  }

  // A player in its start position without its pictures: ring at rest, halo still at the
  // centre, figure at rest.
  void Start(Player* p, int index) {
    p->index = index;
    for (int i = 0; i < RING_TILES; ++i) {
      p->tiles[i].Setup(i % TILE_COLOURS, static_cast<float>(15 * i), RING_RADIUS, nullptr);
    }
    p->character.step_time = static_cast<int>(headless_->Milliseconds());
  }

  void Hold(uint8_t key) { Vorn.keys[key] = 1; }

  static std::vector<int> Colours(const Player& p) {
    std::vector<int> colours;
    for (const RingTile& t : p.tiles) colours.push_back(t.colour);
    return colours;
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
};

TEST_F(PlayerUpdateTest, KeysByPlayerFirstKeyFirst) {
  struct Case {
    int index;
    std::vector<uint8_t> held;
    int key;
  };
  constexpr uint8_t L = platform::VK_LEFT;
  constexpr uint8_t R = platform::VK_RIGHT;
  // clang-format off
  const Case cases[] = {
      {0, {}, KEY_NONE}, {0, {KEY_D}, KEY_FIRST}, {0, {KEY_F}, KEY_SECOND},
      {0, {KEY_D, KEY_F}, KEY_FIRST}, {0, {L, R}, KEY_NONE},
      {1, {L}, KEY_FIRST}, {1, {R}, KEY_SECOND}, {1, {R, L}, KEY_FIRST}, {1, {KEY_D, KEY_F}, KEY_NONE},
  };
  // clang-format on
  for (const Case& c : cases) {
    std::memset(Vorn.keys, 0, sizeof Vorn.keys);
    for (const uint8_t k : c.held) Hold(k);
    Player p;
    p.index = c.index;
    EXPECT_EQ(p.ReadKeys(), c.key) << "player " << c.index << ", " << c.held.size() << " keys";
  }
}

TEST_F(PlayerUpdateTest, SpinRuleByKeyAndFigureState) {
  struct Case {
    int key, state;
    float before, after;
  };
  constexpr int K1 = KEY_FIRST;
  constexpr int K2 = KEY_SECOND;
  constexpr int K0 = KEY_NONE;
  const float d = 0.98f;  // 1.0 decayed
  // clang-format off
  const Case cases[] = {
      {K1, 1, 1, 1.15f}, {K1, 5, 0, 0.15f}, {K1, 8, 2.4f, 2.5f}, {K1, 1, 2.5f, 2.5f},
      {K1, 1, -0.25f, -0.1f},  // the sum is taken in double
      {K1, 6, -1, -0.85f}, {K1, 6, 0.1f, 0.15f},
      {K1, 11, -2, 0}, {K1, 11, 0, 0.15f}, {K1, 11, 2.5f, 2.65f}, {K1, 11, 100, 100.15f},
      {K1, 0, 1, d}, {K1, 2, 1, d}, {K1, 3, 1, d}, {K1, 4, 1, d}, {K1, 7, 1, d}, {K1, 9, 1, d},
      {K1, 10, 1, d}, {K1, 12, 1, d}, {K1, 13, 1, d}, {K1, 14, 1, d},
      {K2, 2, -1, -1.15f}, {K2, 6, 0, -0.15f}, {K2, 10, -2.4f, -2.5f}, {K2, 2, -2.5f, -2.5f},
      {K2, 5, 1, 0.85f}, {K2, 5, -0.1f, -0.15f},
      {K2, 12, 2, 0}, {K2, 12, 0, -0.15f}, {K2, 12, -2.5f, -2.65f},
      {K2, 0, 1, d}, {K2, 1, 1, d}, {K2, 8, 1, d}, {K2, 11, 1, d}, {K2, 13, 1, d},
      {K0, 11, -2, 0.15f}, {K0, 12, 2, -0.15f}, {K0, 0, 1, d}, {K0, 1, 1, d}, {K0, 6, -1, -d},
      {K0, 0, 0.960400045f, 0.941192031f},  // the product is taken in double
  };
  // clang-format on
  for (const Case& c : cases) {
    Player p;
    p.character.state = c.state;
    p.spin = c.before;
    p.ChangeSpin(c.key);
    EXPECT_EQ(p.spin, c.after) << "key " << c.key << ", state " << c.state << ", spin " << c.before;
  }
}

// With no key held the spin decays by 0.98 per update toward 0, and the tiles turn by it.
TEST_F(PlayerUpdateTest, SpinDecaysWithoutKeysAndTurnsTheRing) {
  Player p;
  Start(&p, 0);
  p.spin = 2.0f;
  double angle = 0.0;
  float previous = p.spin;
  for (int i = 0; i < 300; ++i) {
    headless_->Advance(5);
    p.Update();
    ASSERT_LT(p.spin, previous);
    ASSERT_GT(p.spin, 0.0f);
    EXPECT_NEAR(p.spin, previous * 0.98, 1e-6);
    angle += p.spin;
    previous = p.spin;
  }
  EXPECT_LT(p.spin, 0.01f);
  EXPECT_NEAR(p.tiles[0].angle, angle, 1e-2);
  EXPECT_NEAR(p.tiles[6].angle, angle + 90.0, 1e-2);
}

// From rest the first key first leans the figure (the spin only decays), then, once it is in
// its loop, speeds the ring up by 0.15 per update to 2.5.
TEST_F(PlayerUpdateTest, FirstKeyFromRestLeansBeforeSpinning) {
  Player p;
  Start(&p, 0);
  Hold(KEY_D);
  for (int i = 0; i < 4; ++i) {
    headless_->Advance(20);
    EXPECT_EQ(p.Update(), -1);
    EXPECT_EQ(p.spin, 0.0f);
  }
  ASSERT_EQ(p.character.state, 1);
  ASSERT_EQ(p.character.frame, 26);
  for (int i = 1; i <= 20; ++i) {
    headless_->Advance(1);
    p.Update();
    EXPECT_NEAR(p.spin, std::min(2.5, 0.15 * i), 1e-5) << "update " << i;
  }
  EXPECT_EQ(p.spin, 2.5f);
}

// The figure is stepped with the spin of this update: at the limit the loop's gate is 0.045 s,
// which 45 ms pass, while the spin before the change (2.35) would need 50 ms.
TEST_F(PlayerUpdateTest, FigureStepsWithTheNewSpin) {
  Player p;
  Start(&p, 1);
  Hold(platform::VK_LEFT);
  p.character.state = 1;
  p.character.frame = 24;
  p.spin = 2.35f;
  headless_->Advance(45);
  p.Update();
  EXPECT_EQ(p.spin, 2.5f);
  EXPECT_EQ(p.character.frame, 23);
}

// With the ring at rest, a contact at direction 90 hits tile 6 (colour 2, which becomes 3).
TEST_F(PlayerUpdateTest, ContactAt90HitsTile6) {
  Player p;
  Start(&p, 0);
  p.halo.y = 145.0f;
  p.halo.vy = 0.5f;
  EXPECT_EQ(p.Update(), 6);
  EXPECT_EQ(p.tiles[6].colour, 3);
  EXPECT_EQ(p.HitColour(6), 2);
  EXPECT_FLOAT_EQ(p.halo.vy, -1.5f);
  // Still at the ring after the next move: a new contact, tile 6 again (colour 3 -> 0).
  EXPECT_EQ(p.Update(), 6);
  EXPECT_EQ(p.tiles[6].colour, 0);
  EXPECT_EQ(p.HitColour(6), 3);
}

// A long run with the ring pushed and coasting: the halo stays inside the ring and every hit
// names a real tile whose colour before the hit HitColour reports.
TEST_F(PlayerUpdateTest, LongRunStaysInsideTheRing) {
  Player p;
  Start(&p, 0);
  p.halo.Setup(0.0f, -40.0f, 77.0f);
  Hold(KEY_D);
  int hits = 0;
  for (int i = 0; i < 20000; ++i) {
    headless_->Advance(1);
    if (i % 3000 == 1500) Vorn.keys[KEY_D] ^= 1;  // let the ring coast now and then
    const std::vector<int> before = Colours(p);
    const int hit = p.Update();
    ASSERT_TRUE(hit >= -1 && hit < RING_TILES) << hit;
    ASSERT_LT(std::hypot(p.halo.x, p.halo.y), 160.0);
    if (hit < 0) continue;
    ASSERT_EQ(p.HitColour(hit), before[static_cast<std::size_t>(hit)]);
    ++hits;
  }
  EXPECT_GT(hits, 100);
}

}  // namespace
