// The halo's movement and its bounce off the ring: reflection, the inward push, the drag of a
// spinning ring, the clamp, and the shift of its direction across 0/360.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/random.h"
#include "game/player.h"

namespace {

void Place(Halo* h, float x, float y, float vx, float vy) {
  h->x = x;
  h->y = y;
  h->vx = vx;
  h->vy = vy;
}

TEST(HaloTest, SetupAimsAtTheStartDirection) {
  Halo h;
  h.Setup(0.0f, -40.0f, 90.0f);
  EXPECT_EQ(h.x, 0.0f);
  EXPECT_EQ(h.y, -40.0f);
  EXPECT_NEAR(h.vx, 0.0f, 1e-5);
  EXPECT_NEAR(h.vy, 2.5f, 1e-6);
  h.Setup(0.0f, -40.0f, 45.0f);
  EXPECT_NEAR(h.vx, 2.5 * std::sqrt(0.5), 1e-5);
  EXPECT_NEAR(h.vy, 2.5 * std::sqrt(0.5), 1e-5);
}

TEST(HaloTest, MoveStepsAndRecomputesTheDirection) {
  struct Case {
    float x, y, vx, vy;
    float direction;
  };
  const Case cases[] = {
      {9.0f, 0.0f, 1.0f, 0.0f, 0.0f},      {0.0f, 9.0f, 0.0f, 1.0f, 90.0f},
      {-9.0f, 0.0f, -1.0f, 0.0f, 180.0f},  {0.0f, -9.0f, 0.0f, -1.0f, 270.0f},
      {1.0f, 1.0f, -1.0f, -1.0f, 270.0f},  // at the centre
      {10.0f, -10.0f, 0.0f, 0.0f, 315.0f}, {-10.0f, -10.0f, 0.0f, 0.0f, 225.0f},
      {-10.0f, 10.0f, 0.0f, 0.0f, 135.0f}, {10.0f, 10.0f, 0.0f, 0.0f, 45.0f},
  };
  for (const Case& c : cases) {
    Halo h;
    Place(&h, c.x, c.y, c.vx, c.vy);
    h.Move();
    EXPECT_EQ(h.x, c.x + c.vx);
    EXPECT_EQ(h.y, c.y + c.vy);
    EXPECT_NEAR(h.direction, c.direction, 1e-3) << c.x << ", " << c.y;
  }
}

// A direction a hair below 360 rounds to 360 as a float and must still end in range.
TEST(HaloTest, DirectionStaysBelow360) {
  Halo h;
  Place(&h, 100.0f, -1e-6f, 0.0f, 0.0f);
  h.Move();
  EXPECT_GE(h.direction, 0.0f);
  EXPECT_LT(h.direction, 360.0f);
}

TEST(HaloTest, NoContactInsideTheRing) {
  Halo h;
  Place(&h, 139.9f, 0.0f, 2.0f, 1.0f);
  h.direction = 0.0f;
  EXPECT_FALSE(h.Bounce(RING_RADIUS, 2.0f));
  EXPECT_EQ(h.vx, 2.0f);
  EXPECT_EQ(h.vy, 1.0f);
  h.x = 140.0f;
  EXPECT_TRUE(h.Bounce(RING_RADIUS, 0.0f));
}

TEST(HaloTest, BounceAtRestReflectsAndPushesInward) {
  struct Case {
    float x, y, vx, vy, direction;
    float out_vx, out_vy;
  };
  const Case cases[] = {
      {150.0f, 0.0f, 2.0f, 1.0f, 0.0f, -3.0f, 1.0f},
      {0.0f, 150.0f, 1.0f, 2.0f, 90.0f, 1.0f, -3.0f},
      {-150.0f, 0.0f, 0.0f, 0.0f, 180.0f, 1.0f, 0.0f},  // standing still: only the push
      {150.0f, 0.0f, 3.5f, 0.0f, 0.0f, -4.0f, 0.0f},    // -4.5 clamped
      {0.0f, -150.0f, -1.0f, -1.9f, 270.0f, -1.0f, 2.9f},
      {0.0f, -150.0f, 0.0f, -3.9f, 270.0f, 0.0f, 4.0f},  // 3.9 + 1 clamped
  };
  for (const Case& c : cases) {
    Halo h;
    Place(&h, c.x, c.y, c.vx, c.vy);
    h.direction = c.direction;
    ASSERT_TRUE(h.Bounce(RING_RADIUS, 0.0f));
    EXPECT_NEAR(h.vx, c.out_vx, 1e-5) << c.x << ", " << c.y;
    EXPECT_NEAR(h.vy, c.out_vy, 1e-5) << c.x << ", " << c.y;
    EXPECT_EQ(h.x, c.x);  // the position is never corrected
    EXPECT_EQ(h.y, c.y);
  }
}

// At the bottom of the ring (direction 90) a ring turning toward larger angles moves its surface
// toward -x; the halo takes up a fifth of that movement: 31 * (cos 92 - cos 90) for spin 2.
TEST(HaloTest, ASpinningRingDragsTheHaloAlong) {
  for (const float spin : {2.0f, -2.0f, 0.5f}) {
    Halo h;
    Place(&h, 0.0f, 150.0f, 0.0f, 0.0f);
    h.direction = 90.0f;
    ASSERT_TRUE(h.Bounce(RING_RADIUS, spin));
    const double expected = -31.0 * std::sin(spin * 3.141592 / 180.0);
    EXPECT_NEAR(h.vx, expected, 0.002) << spin;
    EXPECT_LT(h.vx * spin, 0.0f);
    EXPECT_NEAR(h.vy, -1.0, 0.03);
  }
}

TEST(HaloTest, BounceShiftsTheDirectionAcrossTheSeam) {
  struct Case {
    float direction, spin, shifted;
  };
  const Case cases[] = {
      {359.0f, 2.0f, -1.0f}, {1.0f, -2.0f, 361.0f},  {359.0f, 1.0f, 359.0f},
      {0.0f, 0.0f, 0.0f},    {180.0f, 2.5f, 180.0f},
  };
  for (const Case& c : cases) {
    const double a = c.direction * DEG_TO_RAD;
    Halo h;
    Place(&h, static_cast<float>(150 * std::cos(a)), static_cast<float>(150 * std::sin(a)), 0.0f,
          0.0f);
    h.direction = c.direction;
    ASSERT_TRUE(h.Bounce(RING_RADIUS, c.spin));
    EXPECT_EQ(h.direction, c.shifted) << c.direction << " + " << c.spin;
    // The drag is the same as without the shift: a whole turn does not change cos or sin.
    const double b = (c.direction + c.spin) * DEG_TO_RAD;
    EXPECT_NEAR(h.vx, -std::cos(a) + 31.0 * (std::cos(b) - std::cos(a)), 1e-3);
    EXPECT_NEAR(h.vy, -std::sin(a) + 31.0 * (std::sin(b) - std::sin(a)), 1e-3);
  }
}

TEST(HaloTest, NoVelocityComponentAbove4AfterABounce) {
  SeedRandom(99);
  const auto uniform = [](double lo, double hi) { return lo + (hi - lo) * Random() / 32767.0; };
  for (int i = 0; i < 20000; ++i) {
    const double a = uniform(0.0, 360.0) * DEG_TO_RAD;
    const double d = uniform(140.0, 160.0);
    Halo h;
    Place(&h, static_cast<float>(d * std::cos(a)), static_cast<float>(d * std::sin(a)),
          static_cast<float>(uniform(-4.0, 4.0)), static_cast<float>(uniform(-4.0, 4.0)));
    h.Move();
    if (!h.Bounce(RING_RADIUS, static_cast<float>(uniform(-30.0, 30.0)))) continue;
    ASSERT_LE(std::fabs(h.vx), 4.0f);
    ASSERT_LE(std::fabs(h.vy), 4.0f);
  }
}

// The position is not corrected, so a halo that is still at d >= 140 after its move touches
// again, with a fresh reflection, until the pushes have brought it inside.
TEST(HaloTest, EveryUpdateAtTheRingIsANewContact) {
  Halo h;
  Place(&h, 0.0f, 150.0f, 0.0f, 0.5f);
  int contacts = 0;
  for (int i = 0; i < 40; ++i) {
    h.Move();
    const bool at_ring = std::hypot(h.x, h.y) >= 140.0;
    EXPECT_EQ(h.Bounce(RING_RADIUS, 0.0f), at_ring) << "update " << i;
    contacts += at_ring ? 1 : 0;
  }
  EXPECT_GT(contacts, 5);
  EXPECT_LT(std::hypot(h.x, h.y), 140.0);
}

}  // namespace
