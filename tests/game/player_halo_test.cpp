// The halo's movement and its bounce off the ring: reflection, the inward push, the drag of a
// spinning ring, the clamp, and the shift of its direction across 0/360.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/random.h"
#include "game/player.h"

namespace {

void Place(Halo* h, float x, float y, float vx, float vy, float direction = 0.0f) {
  h->x = x;
  h->y = y;
  h->vx = vx;
  h->vy = vy;
  h->direction = direction;
}

TEST(HaloTest, MoveStepsAndRecomputesTheDirection) {
  struct Case {
    float x, y, vx, vy, direction;
  };
  // clang-format off
  const Case cases[] = {
      {9, 0, 1, 0, 0}, {0, 9, 0, 1, 90}, {-9, 0, -1, 0, 180}, {0, -9, 0, -1, 270},
      {1, 1, -1, -1, 270},  // at the centre
      {10, -10, 0, 0, 315}, {-10, -10, 0, 0, 225}, {-10, 10, 0, 0, 135}, {10, 10, 0, 0, 45},
      {100, -1e-6f, 0, 0, 0},  // a hair below 360 rounds to 360 as a float: still in range
  };
  // clang-format on
  for (const Case& c : cases) {
    Halo h;
    Place(&h, c.x, c.y, c.vx, c.vy);
    h.Move();
    EXPECT_EQ(h.x, c.x + c.vx);
    EXPECT_EQ(h.y, c.y + c.vy);
    EXPECT_NEAR(h.direction, c.direction, 1e-3) << c.x << ", " << c.y;
    EXPECT_LT(h.direction, 360.0f);
  }
}

TEST(HaloTest, BounceAtRestReflectsAndPushesInward) {
  struct Case {
    float x, y, vx, vy, direction;
    bool contact;
    float out_vx, out_vy;
  };
  // clang-format off
  const Case cases[] = {
      {139.9f, 0, 2, 1, 0, false, 2, 1},  // inside: untouched
      {140, 0, 2, 1, 0, true, -3, 1},
      {150, 0, 2, 1, 0, true, -3, 1},
      {0, 150, 1, 2, 90, true, 1, -3},
      {-150, 0, 0, 0, 180, true, 1, 0},     // standing still: only the push
      {150, 0, 3.5f, 0, 0, true, -4, 0},    // -4.5 clamped
      {0, -150, -1, -1.9f, 270, true, -1, 2.9f},
      {0, -150, 0, -3.9f, 270, true, 0, 4},  // 4.9 clamped
  };
  // clang-format on
  for (const Case& c : cases) {
    Halo h;
    Place(&h, c.x, c.y, c.vx, c.vy, c.direction);
    EXPECT_EQ(h.Bounce(RING_RADIUS, 0.0f), c.contact) << c.x << ", " << c.y;
    EXPECT_NEAR(h.vx, c.out_vx, 1e-5) << c.x << ", " << c.y;
    EXPECT_NEAR(h.vy, c.out_vy, 1e-5) << c.x << ", " << c.y;
    EXPECT_EQ(h.x, c.x);  // the position is never corrected
  }
}

// At the bottom of the ring (direction 90) a ring turning toward larger angles moves its surface
// toward -x; the halo takes up a fifth of that: 31 * (cos(90 + s) - cos 90), about -31 sin s.
// Across the seam only the stored direction is shifted by a turn; the drag stays the same.
TEST(HaloTest, ASpinningRingDragsTheHaloAlong) {
  struct Case {
    float direction, spin, shifted;
  };
  // clang-format off
  const Case cases[] = {{90, 2, 90}, {90, -2, 90}, {90, 0.5f, 90}, {359, 2, -1}, {1, -2, 361},
                        {359, 1, 359}, {0, 0, 0}, {180, 2.5f, 180}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << " + " << c.spin);
    const double a = c.direction * DEG_TO_RAD;
    Halo h;
    Place(&h, static_cast<float>(150 * std::cos(a)), static_cast<float>(150 * std::sin(a)), 0, 0,
          c.direction);
    ASSERT_TRUE(h.Bounce(RING_RADIUS, c.spin));
    EXPECT_EQ(h.direction, c.shifted);
    const double b = (c.direction + c.spin) * DEG_TO_RAD;
    EXPECT_NEAR(h.vx, -std::cos(a) + 31.0 * (std::cos(b) - std::cos(a)), 1e-3);
    EXPECT_NEAR(h.vy, -std::sin(a) + 31.0 * (std::sin(b) - std::sin(a)), 1e-3);
    if (c.direction == 90.0f) {
      EXPECT_NEAR(h.vx, -31.0 * std::sin(c.spin * DEG_TO_RAD), 2e-3);
    }
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

// The position is not corrected, so a halo still at d >= 140 after its move touches again,
// with a fresh reflection, until the pushes have brought it inside.
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
