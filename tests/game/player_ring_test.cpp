// The ring's own rules: tile rotation, the hit test with its wrap-around windows, and the
// queries the match asks (run lengths, counts, handing over a tile).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/core/random.h"
#include "game/player.h"

namespace {

// A ring in its start position (colours 0, 1, 2, 3 repeated, colour 0 at angle 0), without
// pictures. Tiles in `members`, when given, get colour `c` and all others (c + 1) mod 4.
void StartRing(Player* p, int c = -1, const std::set<int>& members = {}) {
  for (int i = 0; i < RING_TILES; ++i) {
    p->tiles[i].Setup(i % TILE_COLOURS, static_cast<float>(15 * i), RING_RADIUS, nullptr);
    if (c >= 0) p->tiles[i].colour = members.count(i) ? c : (c + 1) % 4;
  }
}

std::vector<int> Colours(const Player& p) {
  std::vector<int> colours;
  for (const RingTile& t : p.tiles) colours.push_back(t.colour);
  return colours;
}

std::set<int> Range(int first, int last) {
  std::set<int> s;
  for (int i = first; i <= last; ++i) s.insert(i);
  return s;
}

TEST(RingTileTest, RotateTurnsPositionAndKeepsTheAngleInRange) {
  struct Case {
    float start, spin, angle;
  };
  // clang-format off
  const Case cases[] = {{0, 90, 90}, {0, -1, 359}, {359, 2, 1}, {0, -1e-6f, 0},
                        {350, 1000, 270}, {10, -725, 5}};  // spins past a whole turn
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.spin);
    RingTile t;
    t.Setup(0, c.start, RING_RADIUS, nullptr);
    t.Rotate(c.spin);
    EXPECT_GE(t.angle, 0.0f);
    EXPECT_LT(t.angle, 360.0f);
    EXPECT_NEAR(t.angle, c.angle, 1e-3);
    EXPECT_NEAR(t.x, 155.0 * std::cos(c.angle * DEG_TO_RAD), 0.02);
    EXPECT_NEAR(t.y, 155.0 * std::sin(c.angle * DEG_TO_RAD), 0.02);
  }
}

TEST(HitTestTest, AdvancesTheTilesWhoseWindowHoldsTheDirection) {
  struct Case {
    float direction;
    std::set<int> advanced;
    int result;
  };
  // clang-format off
  const Case cases[] = {
      {90, {6}, 6}, {200, {13}, 13}, {3, {0}, 0},
      {97.5f, {6, 7}, 7}, {82.5f, {5, 6}, 6}, {7.5f, {0, 1}, 1},  // borders: the higher index
      {355, {0}, 0}, {352.5f, {0, 23}, 23},                        // across the seam
      {-1, {0}, 0}, {361, {0}, 0},                                 // shifted by a bounce
  };
  // clang-format on
  for (const Case& c : cases) {
    Player p;
    StartRing(&p);
    EXPECT_EQ(p.HitTest(c.direction), c.result) << c.direction;
    for (int i = 0; i < RING_TILES; ++i) {
      EXPECT_EQ(p.tiles[i].colour, (i + (c.advanced.count(i) ? 1 : 0)) % 4) << c.direction;
    }
  }
}

TEST(HitTestTest, WindowsFollowTheTurnedRingAndHitColourLooksBack) {
  Player p;
  StartRing(&p);
  for (RingTile& t : p.tiles) t.Rotate(-5.0f);  // tile 0 now at 355, tile 1 at 10
  EXPECT_EQ(p.HitTest(2.0f), 0);                // 355's window reaches 2.5 across the seam
  EXPECT_EQ(p.HitTest(3.0f), 1);
  EXPECT_EQ(p.HitTest(349.0f), 0);
  EXPECT_EQ(p.tiles[0].colour, 2);  // advanced twice from 0
  EXPECT_EQ(p.HitColour(0), 1);
  ASSERT_EQ(p.HitTest(40.0f), 3);  // colour 3 becomes 0 and reports 3
  EXPECT_EQ(p.tiles[3].colour, 0);
  EXPECT_EQ(p.HitColour(3), 3);
}

TEST(RingQueryTest, RunLengthsAreCircularAndWhole) {
  struct Case {
    std::set<int> members;
    std::vector<int> runs;  // sorted
  };
  const Case cases[] = {
      {{22, 23, 0, 1}, {4}},
      {{5, 6, 7, 20, 21, 22, 23}, {3, 4}},
      {Range(0, 23), {24}},
      {{}, {}},
      {{0}, {1}},
      {{23}, {1}},
      {Range(0, 22), {23}},
      {Range(1, 23), {23}},
      {{0, 1, 3, 4, 5, 23}, {3, 3}},
      {{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}, std::vector<int>(12, 1)},
  };
  for (const Case& c : cases) {
    Player p;
    StartRing(&p, 2, c.members);
    std::vector<int> runs = p.RunLengths(2);
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, c.runs) << "with " << c.members.size() << " tiles";
    EXPECT_EQ(p.CountColour(2), static_cast<int>(c.members.size()));
    EXPECT_EQ(p.HasColour(2), !c.members.empty());
  }
}

// Seed 1 draws 16838 first, slot 12 (colour 0 on the start ring), so tile 13 is the one given.
TEST(GiveTileTest, StartsAtTheDrawnSlot) {
  Player p;
  StartRing(&p);
  std::vector<int> expected = Colours(p);
  expected[13] = 0;
  SeedRandom(1);
  p.GiveTile(0);
  EXPECT_EQ(Colours(p), expected);
}

TEST(GiveTileTest, SearchesAroundTheWholeRingAndChangesNothingWhenAllMatch) {
  for (uint32_t seed = 0; seed < 200; ++seed) {
    for (const int odd_one : {0, 11, 23}) {
      Player p;
      StartRing(&p, 1, Range(0, 23));
      p.tiles[odd_one].colour = 3;
      SeedRandom(seed);
      p.GiveTile(1);
      ASSERT_EQ(p.CountColour(1), 24) << "seed " << seed << ", tile " << odd_one;
      p.GiveTile(1);
      ASSERT_EQ(p.CountColour(1), 24);
    }
  }
}

}  // namespace
