#include "engine/core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

std::vector<int> Draw(uint32_t seed, int count) {
  SeedRandom(seed);
  std::vector<int> values(static_cast<std::size_t>(count));
  for (int& v : values) v = Random();
  return values;
}

// The first ten values after seeding with 1, as the C language's portable example gives them.
TEST(RandomTest, FollowsTheDocumentedSequenceAndRepeatsPerSeed) {
  EXPECT_EQ(Draw(1, 10),
            (std::vector<int>{16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}));
  EXPECT_EQ(Draw(20240101, 50), Draw(20240101, 50));
  EXPECT_NE(Draw(20240102, 50), Draw(20240101, 50));
}

// Every value lies in 0 to 32767, both ends come up, and the slots the game derives from a draw
// (r * 24 / 32768 for a tile, r * 2^-13 for a colour) come up about equally often.
TEST(RandomTest, CoversTheWholeRangeEvenly) {
  constexpr int kDraws = 1 << 20;
  const std::vector<int> values = Draw(12345, kDraws);
  EXPECT_EQ(*std::min_element(values.begin(), values.end()), 0);
  EXPECT_EQ(*std::max_element(values.begin(), values.end()), RANDOM_MAX);
  std::array<int, 24> slots{};
  std::array<int, 4> colours{};
  for (const int r : values) {
    ++slots[static_cast<std::size_t>(r * 24 / 32768)];
    ++colours[static_cast<std::size_t>(r >> 13)];
  }
  for (const int n : slots) EXPECT_NEAR(n, kDraws / 24, kDraws / 24 / 20);
  for (const int n : colours) EXPECT_NEAR(n, kDraws / 4, kDraws / 4 / 50);
}

}  // namespace
