// The match as a value: a step reads only its arguments, copies step alike, and the checksum
// sees every word of it.
#include <gtest/gtest.h>

#include <cstring>

#include "game/game_state.h"
#include "game/step.h"

namespace {

// Inputs that change every few frames, so that both rings turn both ways.
FrameInput Script(uint32_t frame) {
  return FrameInput{{static_cast<Spin>((frame / 37) % 3), static_cast<Spin>((frame / 23 + 1) % 3)}};
}

// No engine is started here: a step that reached for the clock, the keys or the sound would
// crash rather than pass. Another seed gives another match.
TEST(StateTest, CopiesStepAlike) {
  GameState a = NewGame(7, 1000), b = NewGame(8, 1000), copy_at_500;
  for (uint32_t frame = 0; frame < 3000; ++frame) {
    if (frame == 500) copy_at_500 = a;
    Step(a, 1000 + 16 * frame, Script(frame)), Step(b, 1000 + 16 * frame, Script(frame));
  }
  EXPECT_NE(a.match.game_state, GAME_START);
  for (uint32_t frame = 500; frame < 3000; ++frame)
    Step(copy_at_500, 1000 + 16 * frame, Script(frame));
  EXPECT_EQ(std::memcmp(&copy_at_500, &a, sizeof a), 0);
  EXPECT_NE(Checksum(b), Checksum(a));
}

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
