// The ring's rules (tile rotation, the hit test with its wrap-around windows, the queries the
// match asks) and the halo's (movement, reflection, the inward push, the drag of a spinning
// ring, the clamp, the shift of its direction across 0/360).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "game/game_fixture.h"

namespace {

TEST(RingTest, RotateTurnsPositionAndKeepsTheAngleInRange) {
  // The last two spin past a whole turn.
  // clang-format off
  const struct { float start, spin, angle; } cases[] = {
      {0, 90, 90}, {0, -1, 359}, {0, -1e-6f, 0}, {350, 1000, 270}, {10, -725, 5}};
  // clang-format on
  for (const auto& c : cases) {
    RingTile t;
    t.Setup(0, c.start, RING_RADIUS);
    t.Rotate(c.spin);
    EXPECT_TRUE(t.angle >= 0.0f && t.angle < 360.0f && std::abs(t.angle - c.angle) < 1e-3f &&
                std::hypot(t.x - 155.0 * std::cos(c.angle * DEG_TO_RAD),
                           t.y - 155.0 * std::sin(c.angle * DEG_TO_RAD)) < 0.02)
        << c.start << " + " << c.spin << ": " << t.angle << " at " << t.x << ", " << t.y;
  }
}

// On a border both tiles advance and the higher index is reported; directions shifted by a
// bounce past 0 or 360 find their tiles across the seam.
TEST(RingTest, HitTestAdvancesTheTilesWhoseWindowHoldsTheDirection) {
  // clang-format off
  const struct { float direction; std::set<int> advanced; int result; } cases[] = {
      {90, {6}, 6}, {200, {13}, 13}, {3, {0}, 0}, {97.5f, {6, 7}, 7}, {82.5f, {5, 6}, 6},
      {7.5f, {0, 1}, 1}, {355, {0}, 0}, {352.5f, {0, 23}, 23}, {-1, {0}, 0}, {361, {0}, 0}};
  // clang-format on
  Player p;
  for (const auto& c : cases) {
    SetRing(&p);
    EXPECT_EQ(p.HitTest(c.direction), c.result) << c.direction;
    for (int i = 0; i < RING_TILES; ++i)
      EXPECT_EQ(p.tiles[i].colour, (i + (c.advanced.count(i) ? 1 : 0)) % 4) << c.direction;
  }
  // The windows follow a turned ring: tile 0 at 355 reaches 2.5 across the seam, tile 1 is
  // at 10.
  SetRing(&p);
  for (RingTile& t : p.tiles) t.Rotate(-5.0f);
  EXPECT_EQ(std::tuple(p.HitTest(2.0f), p.HitTest(3.0f), p.HitTest(349.0f)), std::tuple(0, 1, 0));
  EXPECT_EQ(std::tuple(p.tiles[0].colour, p.HitColour(0)), std::tuple(2, 1));
}

// Colour 2 marks the tiles of the runs.
TEST(RingTest, RunLengthsAreCircularAndWhole) {
  // clang-format off
  const struct { const char* ring; std::vector<int> runs; } cases[] = {  // runs sorted
      {"223333333333333333333322", {4}},  {"333332223333333333332222", {3, 4}},
      {"222222222222222222222222", {24}}, {"333333333333333333333333", {}},
      {"322222222222222222222222", {23}}, {"223222333333333333333332", {3, 3}}};
  // clang-format on
  Player p;
  for (const auto& c : cases) {
    SetRing(&p, c.ring);
    std::vector<int> runs = p.RunLengths(2);
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(std::tuple(runs, p.CountColour(2), p.HasColour(2)),
              std::tuple(c.runs, std::count(c.ring, c.ring + 24, '2'), !c.runs.empty()))
        << c.ring;
  }
}

TEST(RingTest, GiveTileStartsAtTheDrawnSlotAndSearchesTheWholeRing) {
  // Seed 1 draws 16838 first, slot 12 (colour 0 on the start ring), so tile 13 is the one given.
  Player p;
  SetRing(&p);
  uint32_t random = 1;
  p.GiveTile(0, &random);
  EXPECT_EQ(RingColours(p), "012301230123002301230123");
  // Whatever slot is drawn, the search goes round to the one tile of another colour.
  for (uint32_t seed = 0; seed < 200; ++seed) {
    SetRing(&p, "111111111111111111111113");
    random = seed;
    p.GiveTile(1, &random);
    ASSERT_EQ(p.CountColour(1), 24) << "seed " << seed;
  }
}

void Place(Halo* h, float x, float y, float vx, float vy, float direction = 0.0f) {
  h->x = x, h->y = y, h->vx = vx, h->vy = vy, h->direction = direction;
}

TEST(HaloTest, MoveStepsAndRecomputesTheDirection) {
  // The last lands a hair below 360, which rounds to 360 as a float: still in range.
  // clang-format off
  const struct { float x, y, vx, vy, direction; } cases[] = {
      {9, 0, 1, 0, 0}, {-9, 0, -1, 0, 180}, {1, 1, -1, -1, 270}, {10, -10, 0, 0, 315},
      {-10, 10, 0, 0, 135}, {100, -1e-6f, 0, 0, 0}};
  // clang-format on
  for (const auto& c : cases) {
    Halo h;
    Place(&h, c.x, c.y, c.vx, c.vy);
    h.Move();
    EXPECT_EQ(std::tuple(h.x, h.y, h.direction < 360.0f), std::tuple(c.x + c.vx, c.y + c.vy, true));
    EXPECT_NEAR(h.direction, c.direction, 1e-3) << c.x << ", " << c.y;
  }
}

// Inside the ring nothing changes; at it the velocity is reflected, pushed one unit inward and
// clamped to 4 a component; the position is never corrected. A spinning ring drags the halo by a
// fifth of its surface's movement, 31 * (cos(d + s) - cos d) in x, on top of the inward push, then
// the clamp. Across the seam only the stored direction is shifted by a turn.
TEST(HaloTest, BounceReflectsPushesInwardAndDrags) {
  // clang-format off
  const struct { float r, direction, spin, vx, vy; bool contact; float shifted, out_vx, out_vy; } cases[] = {
      {139.9f, 0, 0, 2, 1, false, 0, 2, 1}, {140, 0, 0, 2, 1, true, 0, -3, 1}, {150, 0, 0, 2, 1, true, 0, -3, 1},
      {150, 90, 0, 1, 2, true, 90, 1, -3}, {150, 180, 0, 0, 0, true, 180, 1, 0}, {150, 0, 0, 3.5f, 0, true, 0, -4, 0},
      {150, 270, 0, -1, -1.9f, true, 270, -1, 2.9f}, {150, 270, 0, 0, -3.9f, true, 270, 0, 4},
      {150, 90, 2, 0, 0, true, 90, -1.0818844f, -1.0188844f}, {150, 359, 2, 0, 0, true, -1, -0.9998477f, 1.0995016f},
      {150, 1, -2, 0, 0, true, 361, -0.9998477f, -1.0995016f}, {150, 359, 1, 0, 0, true, 359, -0.9951262f, 0.5584770f},
      {150, 90, 30, 0, 0, true, 90, -4, -4}};  // clamped after the drag
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.r << " at " << c.direction << " + " << c.spin);
    const double a = c.direction * DEG_TO_RAD;
    Halo h;
    Place(&h, static_cast<float>(c.r * std::cos(a)), static_cast<float>(c.r * std::sin(a)), c.vx,
          c.vy, c.direction);
    const float x = h.x;
    const bool contact = h.Bounce(RING_RADIUS, c.spin);
    EXPECT_EQ(std::tuple(contact, h.x, h.direction), std::tuple(c.contact, x, c.shifted));
    EXPECT_LT(std::hypot(h.vx - c.out_vx, h.vy - c.out_vy), 1e-4) << h.vx << ", " << h.vy;
  }
}

}  // namespace
