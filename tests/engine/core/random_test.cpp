#include "engine/core/random.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

std::vector<int> Draw(uint32_t seed, int count) {
  SeedRandom(seed);
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(Random());
  return values;
}

// The documented generator's first ten values after seeding with 1, as the C language's
// portable example gives them.
TEST(RandomTest, FollowsTheDocumentedSequence) {
  const std::vector<int> expected = {16838, 5758,  10113, 17515, 31051,
                                     5627,  23010, 7419,  16212, 4086};
  EXPECT_EQ(Draw(1, 10), expected);
}

TEST(RandomTest, ReseedingRepeatsTheSequenceAndOtherSeedsDiffer) {
  const std::vector<int> first = Draw(20240101, 50);
  EXPECT_EQ(Draw(20240101, 50), first);
  EXPECT_NE(Draw(20240102, 50), first);
}

// Every value lies in 0 to 32767, both ends are reached, and every slot the game derives from a
// draw (r * 24 / 32768 for a tile, r * 2^-13 for a colour) comes up about equally often.
TEST(RandomTest, CoversTheWholeRangeEvenly) {
  SeedRandom(12345);
  constexpr int kDraws = 1 << 20;
  int low = RANDOM_MAX;
  int high = 0;
  std::array<int, 24> slots{};
  std::array<int, 4> colours{};
  for (int i = 0; i < kDraws; ++i) {
    const int r = Random();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, RANDOM_MAX);
    low = std::min(low, r);
    high = std::max(high, r);
    ++slots[static_cast<std::size_t>(r * 24 / 32768)];
    ++colours[static_cast<std::size_t>(r >> 13)];
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, RANDOM_MAX);
  for (const int n : slots) EXPECT_NEAR(n, kDraws / 24, kDraws / 24 / 20);
  for (const int n : colours) EXPECT_NEAR(n, kDraws / 4, kDraws / 4 / 50);
}

}  // namespace
