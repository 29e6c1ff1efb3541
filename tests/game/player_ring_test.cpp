// The ring's own rules: tile placement and rotation, the hit test with its wrap-around windows,
// and the queries the match asks (run lengths, counts, handing over a tile).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/core/random.h"
#include "game/player.h"

namespace {

// A ring in its start position (colours 0, 1, 2, 3 repeated, colour 0 at angle 0), without
// loading any pictures.
void StartRing(Player* p) {
  for (int i = 0; i < RING_TILES; ++i) {
    p->tiles[i].Setup(i % TILE_COLOURS, static_cast<float>(15 * i), RING_RADIUS, nullptr);
  }
}

// Tiles in `members` get colour `c`, all others colour (c + 1) mod 4.
void Paint(Player* p, int c, const std::set<int>& members) {
  for (int i = 0; i < RING_TILES; ++i) p->tiles[i].colour = members.count(i) ? c : (c + 1) % 4;
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

TEST(RingTileTest, StartsOnTheCircleWithItsColourAndAWorkImage) {
  Player p;
  StartRing(&p);
  for (int i = 0; i < RING_TILES; ++i) {
    const RingTile& t = p.tiles[i];
    EXPECT_EQ(t.colour, i % 4);
    EXPECT_FLOAT_EQ(t.angle, 15.0f * static_cast<float>(i));
    EXPECT_NEAR(std::hypot(t.x, t.y), 155.0, 1e-3);
    EXPECT_EQ(t.scratch.width, 80);
    EXPECT_EQ(t.scratch.height, 80);
    EXPECT_EQ(t.scratch.format, IMAGE_RGB16 | IMAGE_ALPHA);
  }
  EXPECT_NEAR(p.tiles[6].x, 0.0f, 1e-3);  // angle 90 points down the screen
  EXPECT_NEAR(p.tiles[6].y, 155.0f, 1e-3);
  EXPECT_NEAR(p.tiles[12].x, -155.0f, 1e-3);
}

TEST(RingTileTest, RotateTurnsPositionAndKeepsTheAngleInRange) {
  struct Case {
    float start;
    float spin;
    float angle;
  };
  const Case cases[] = {
      {0.0f, 90.0f, 90.0f},   {0.0f, -1.0f, 359.0f},     {359.0f, 2.0f, 1.0f},
      {0.0f, -1e-6f, 0.0f},   {350.0f, 1000.0f, 270.0f},  // a spin past a whole turn
      {10.0f, -725.0f, 5.0f},
  };
  for (const Case& c : cases) {
    RingTile t;
    t.Setup(0, c.start, RING_RADIUS, nullptr);
    t.Rotate(c.spin);
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.spin);
    EXPECT_GE(t.angle, 0.0f);
    EXPECT_LT(t.angle, 360.0f);
    EXPECT_NEAR(t.angle, c.angle, 1e-3);
    // The position turns with the angle and stays on the circle.
    const double a = c.angle * DEG_TO_RAD;
    EXPECT_NEAR(t.x, 155.0 * std::cos(a), 0.02);
    EXPECT_NEAR(t.y, 155.0 * std::sin(a), 0.02);
  }
}

TEST(HitTestTest, AdvancesTheTilesWhoseWindowHoldsTheDirection) {
  struct Case {
    float direction;
    std::set<int> advanced;
    int result;
  };
  const Case cases[] = {
      {90.0f, {6}, 6},
      {97.5f, {6, 7}, 7},  // on the border: both advance, the higher index is reported
      {82.5f, {5, 6}, 6},
      {3.0f, {0}, 0},
      {355.0f, {0}, 0},       // tile 0's window seen from the far side of 360
      {352.5f, {0, 23}, 23},  // the border across the seam
      {7.5f, {0, 1}, 1},
      {-1.0f, {0}, 0},   // a direction shifted below 0 by a bounce
      {361.0f, {0}, 0},  // and one shifted above 360
      {200.0f, {13}, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.direction);
    Player p;
    StartRing(&p);
    const std::vector<int> before = Colours(p);
    EXPECT_EQ(p.HitTest(c.direction), c.result);
    for (int i = 0; i < RING_TILES; ++i) {
      const int expected = c.advanced.count(i) ? (before[i] + 1) % 4 : before[i];
      EXPECT_EQ(p.tiles[i].colour, expected) << "tile " << i;
    }
  }
}

TEST(HitTestTest, WindowsFollowTheTurnedRing) {
  Player p;
  StartRing(&p);
  for (RingTile& t : p.tiles) t.Rotate(-5.0f);  // tile 0 now at 355, tile 1 at 10
  EXPECT_EQ(p.HitTest(2.0f), 0);                // 355's window reaches 2.5 across the seam
  EXPECT_EQ(p.HitTest(3.0f), 1);
  EXPECT_EQ(p.HitTest(349.0f), 0);
}

TEST(HitTestTest, HitColourIsTheColourBeforeTheAdvance) {
  Player p;
  StartRing(&p);
  ASSERT_EQ(p.HitTest(90.0f), 6);  // colour 2 becomes 3
  EXPECT_EQ(p.tiles[6].colour, 3);
  EXPECT_EQ(p.HitColour(6), 2);
  ASSERT_EQ(p.HitTest(45.0f), 3);  // colour 3 becomes 0
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
      {{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}, std::vector<int>(12, 1)},
      {{0, 1, 3, 4, 5, 23}, {3, 3}},
  };
  for (const Case& c : cases) {
    Player p;
    StartRing(&p);
    Paint(&p, 2, c.members);
    std::vector<int> runs = p.RunLengths(2);
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, c.runs) << "with " << c.members.size() << " tiles";
    EXPECT_EQ(p.CountColour(2), static_cast<int>(c.members.size()));
    EXPECT_EQ(p.HasColour(2), !c.members.empty());
  }
}

TEST(RingQueryTest, CountsOnTheStartRing) {
  Player p;
  StartRing(&p);
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(p.CountColour(c), 6);
    EXPECT_TRUE(p.HasColour(c));
    EXPECT_EQ(p.RunLengths(c), std::vector<int>(6, 1));
  }
  EXPECT_EQ(p.CountColour(4), 0);
  EXPECT_FALSE(p.HasColour(-1));
}

// Seed 1 draws 16838 first, which is slot 12 (colour 0 on the start ring), so the first tile
// not of colour 0 from there on is tile 13.
TEST(GiveTileTest, StartsAtTheDrawnSlot) {
  Player p;
  StartRing(&p);
  std::vector<int> expected = Colours(p);
  expected[13] = 0;
  SeedRandom(1);
  p.GiveTile(0);
  EXPECT_EQ(Colours(p), expected);
}

TEST(GiveTileTest, SearchesAroundTheWholeRing) {
  for (uint32_t seed = 0; seed < 200; ++seed) {
    for (const int odd_one : {0, 11, 23}) {
      Player p;
      StartRing(&p);
      Paint(&p, 1, Range(0, 23));
      p.tiles[odd_one].colour = 3;
      SeedRandom(seed);
      p.GiveTile(1);
      ASSERT_EQ(p.CountColour(1), 24) << "seed " << seed << ", tile " << odd_one;
    }
  }
}

TEST(GiveTileTest, ChangesNothingOnARingAllOfThatColour) {
  Player p;
  StartRing(&p);
  Paint(&p, 3, Range(0, 23));
  const std::vector<int> before = Colours(p);
  SeedRandom(7);
  p.GiveTile(3);
  EXPECT_EQ(Colours(p), before);
}

TEST(GiveTileTest, ChangesExactlyOneTileFromAnySlot) {
  for (uint32_t seed = 0; seed < 100; ++seed) {
    Player p;
    StartRing(&p);
    const std::vector<int> before = Colours(p);
    SeedRandom(seed);
    p.GiveTile(2);
    int changed = 0;
    for (int i = 0; i < RING_TILES; ++i) {
      if (p.tiles[i].colour != before[i]) {
        ++changed;
        EXPECT_EQ(p.tiles[i].colour, 2);
      }
    }
    EXPECT_EQ(changed, 1) << "seed " << seed;
  }
}

}  // namespace
