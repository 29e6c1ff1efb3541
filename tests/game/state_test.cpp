// The match as a value: a step reads only its arguments, copies step alike, and the checksum
// sees every field.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "game/game_state.h"
#include "game/step.h"

namespace {

// Inputs that change every few frames, so that both rings turn both ways.
FrameInput Script(int frame) {
  return FrameInput{{static_cast<Spin>((frame / 37) % 3), static_cast<Spin>((frame / 23 + 1) % 3)}};
}

// No engine is started here: a step that reached for the clock, the keys or the sound would
// crash rather than pass.
TEST(StateTest, CopiesStepAlikeAndAskForSounds) {
  GameState a = NewGame(7, 1000);
  SoundEvents heard;
  GameState copy_at_500;
  for (int frame = 0; frame < 3000; ++frame) {
    if (frame == 500) copy_at_500 = a;
    const SoundEvents e = Step(a, 1000 + 16u * frame, Script(frame));
    for (int i = 0; i < SOUNDS; ++i)
      heard.count[i] = static_cast<uint8_t>(heard.count[i] + e.count[i]);
  }
  EXPECT_TRUE(heard.Has(Sound::Vote));
  EXPECT_TRUE(heard.Has(Sound::Hit));
  EXPECT_NE(a.match.game_state, GAME_START);
  for (int frame = 500; frame < 3000; ++frame) Step(copy_at_500, 1000 + 16u * frame, Script(frame));
  EXPECT_EQ(Checksum(copy_at_500), Checksum(a));
  EXPECT_EQ(std::memcmp(&copy_at_500, &a, sizeof a), 0);
  // Another seed, another match.
  GameState b = NewGame(8, 1000);
  for (int frame = 0; frame < 3000; ++frame) Step(b, 1000 + 16u * frame, Script(frame));
  EXPECT_NE(Checksum(b), Checksum(a));
}

TEST(StateTest, ChecksumSeesEveryField) {
  const GameState base = NewGame(3, 500);
  const std::vector<std::function<void(GameState&)>> changes = {
      [](GameState& s) { s.match.game_state = GAME_VOTE; },
      [](GameState& s) { s.match.round_start += 1; },
      [](GameState& s) { s.match.round_duration += 1; },
      [](GameState& s) { s.match.rounds_left -= 1; },
      [](GameState& s) { s.match.target = 3; },
      [](GameState& s) { s.match.multiplier[RIGHT] = 2; },
      [](GameState& s) { s.match.pending[LEFT] = 1; },
      [](GameState& s) { s.match.votes[3] = 1; },
      [](GameState& s) { s.match.last_hit[RIGHT] = 4; },
      [](GameState& s) { s.players[RIGHT].score += 1; },
      [](GameState& s) { s.players[LEFT].spin = 0.15f; },
      [](GameState& s) { s.players[LEFT].spin = -0.0f; },
      [](GameState& s) { s.players[LEFT].character.state = CharacterState::kFirstLoop; },
      [](GameState& s) { s.players[RIGHT].character.frame = 31; },
      [](GameState& s) { s.players[LEFT].character.step_time += 1; },
      [](GameState& s) { s.players[RIGHT].tiles[23].colour = 0; },
      [](GameState& s) { s.players[LEFT].tiles[5].angle += 0.001f; },
      [](GameState& s) { s.players[RIGHT].tiles[0].y += 0.001f; },
      [](GameState& s) { s.players[LEFT].halo.vx = -s.players[LEFT].halo.vx; },
      [](GameState& s) { s.players[RIGHT].halo.direction += 1.0f; },
      [](GameState& s) { s.random += 1; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    GameState changed = base;
    changes[i](changed);
    EXPECT_NE(Checksum(changed), Checksum(base)) << "change " << i;
  }
  // Swapping the two players' scores is a different state too.
  GameState swapped = base;
  swapped.players[LEFT].score = 1, swapped.players[RIGHT].score = 2;
  GameState other = base;
  other.players[LEFT].score = 2, other.players[RIGHT].score = 1;
  EXPECT_NE(Checksum(swapped), Checksum(other));
}

}  // namespace
