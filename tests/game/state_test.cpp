// The match as a value: the checksum sees every word of it.
#include <gtest/gtest.h>

#include <cstring>

#include "game/game_state.h"

namespace {

// Every field is a 32-bit word, so a change of any one word must show; so must two players'
// values trading places.
TEST(StateTest, ChecksumSeesEveryWord) {
  const GameState base = NewGame(3, 500);
  static_assert(sizeof base % 4 == 0);
  for (std::size_t at = 0; at < sizeof base; at += 4) {
    GameState changed = base;
    reinterpret_cast<unsigned char*>(&changed)[at] ^= 1;
    EXPECT_NE(Checksum(changed), Checksum(base)) << "word at byte " << at;
  }
  GameState swapped = base, other = base;
  swapped.players[LEFT].score = other.players[RIGHT].score = 1;
  swapped.players[RIGHT].score = other.players[LEFT].score = 2;
  EXPECT_NE(Checksum(swapped), Checksum(other));
}

}  // namespace
