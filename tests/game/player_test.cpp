// A player: the keyboard's and the pad's input value, the spin rule by figure state, the order of
// its update (spin, figure, halo, tiles, bounce and hit test).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/game_fixture.h"
#include "game/pad_input.h"
#include "platform/messages.h"

namespace {

using namespace platform;
constexpr uint8_t KEY_D = 0x44, KEY_F = 0x46, L = VK_LEFT, R = VK_RIGHT;
constexpr Spin N = Spin::None, F = Spin::First, S = Spin::Second;

TEST(KeyboardTest, KeysBySideFirstKeyFirst) {
  StartHeadlessEngine();
  // clang-format off
  const struct { int side; std::vector<uint8_t> held; Spin spin; } cases[] = {
      {0, {}, N}, {0, {KEY_D}, F}, {0, {KEY_F}, S}, {0, {KEY_D, KEY_F}, F}, {0, {L, R}, N},
      {1, {L}, F}, {1, {R}, S}, {1, {R, L}, F}, {1, {KEY_D, KEY_F}, N}};
  // clang-format on
  KeyboardController keyboard;
  for (const auto& c : cases) {
    std::memset(Vorn.keys, 0, sizeof Vorn.keys);
    for (const uint8_t k : c.held) Vorn.keys[k] = 1;
    EXPECT_EQ(keyboard.Next(GameState{}, c.side, 0), c.spin) << c.side << ", " << c.held.size();
  }
}

// The pad in slot 0 plays the left side with its keys: D-pad, shoulders and stick beyond the
// dead zone; both held count as the first, as on the keyboard, which still plays.
TEST(KeyboardTest, APadJoinsItsSidesKeys) {
  headless::HeadlessPlatform& headless = StartHeadlessEngine();
  headless.PostPadAdded(3);
  KeyboardController keyboard;
  const auto held = [&](std::initializer_list<int> buttons, int stick, int side = LEFT) {
    headless.PostPadAxis(3, PAD_AXIS_LEFTX, stick);
    for (int b = 0; b < PAD_BUTTONS; ++b) headless.PostPadButton(3, b, false);
    for (int b : buttons) headless.PostPadButton(3, b, true);
    Pump(headless);
    return keyboard.Next(GameState{}, side, 0);
  };
  // clang-format off
  const struct { std::initializer_list<int> buttons; int stick; Spin key; } cases[] = {
      {{}, 0, N}, {{PAD_BUTTON_A, PAD_BUTTON_DPAD_UP}, PAD_DEAD_ZONE, N}, {{PAD_BUTTON_DPAD_LEFT}, 0, F},
      {{PAD_BUTTON_LEFTSHOULDER}, 0, F}, {{}, -PAD_DEAD_ZONE - 1, F}, {{PAD_BUTTON_DPAD_RIGHT}, 0, S},
      {{PAD_BUTTON_RIGHTSHOULDER}, 0, S}, {{}, 32767, S}, {{PAD_BUTTON_DPAD_RIGHT}, -32768, F}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(held(c.buttons, c.stick), c.key) << c.stick;
  Vorn.keys[KEY_D] = 1;
  EXPECT_EQ(held({PAD_BUTTON_DPAD_RIGHT}, 0), F);
  Vorn.keys[KEY_D] = 0;
  EXPECT_EQ(held({PAD_BUTTON_DPAD_LEFT}, 0, RIGHT), N);  // the right side has no pad yet
}

class PlayerTest : public testing::Test {
 protected:
  // A player in its start position: ring at rest, halo still at the centre.
  void Start(int index) {
    p_.index = index;
    SetRing(&p_);
    p_.character.step_time = now_;
  }
  int UpdateAfter(uint32_t ms, Spin key) { return p_.Update(key, now_ += ms); }

  uint32_t now_ = 100000;
  Player p_;
};

// Key 1 is the first key, 2 the second, 0 none. In every state without a rule of its own for
// that key, the spin decays: 1 becomes 0.98.
TEST_F(PlayerTest, SpinRuleByKeyAndFigureState) {
  // clang-format off
  const struct { int key, state; float before, after; } cases[] = {
      {1, 1, 1, 1.15f}, {1, 5, 0, 0.15f}, {1, 8, 2.4f, 2.5f}, {1, 1, 2.5f, 2.5f}, {1, 6, -1, -0.85f},
      {1, 6, 0.1f, 0.15f}, {1, 11, -2, 0}, {1, 11, 0, 0.15f}, {1, 11, 2.5f, 2.65f}, {1, 11, 100, 100.15f},
      {2, 2, -1, -1.15f}, {2, 6, 0, -0.15f}, {2, 10, -2.4f, -2.5f}, {2, 2, -2.5f, -2.5f}, {2, 5, 1, 0.85f},
      {2, 5, -0.1f, -0.15f}, {2, 12, 2, 0}, {2, 12, 0, -0.15f}, {2, 12, -2.5f, -2.65f},
      {0, 11, -2, 0.15f}, {0, 12, 2, -0.15f}, {0, 6, -1, -0.98f},
      // The sum and the product are taken in double.
      {1, 1, -0.25f, -0.1f}, {0, 0, 0.960400045f, 0.941192031f}};
  // clang-format on
  const auto expect = [this](int key, int state, float before, float after) {
    p_.character.state = static_cast<CharacterState>(state);
    p_.spin = before;
    p_.ChangeSpin(static_cast<Spin>(key));
    EXPECT_EQ(p_.spin, after) << "key " << key << ", state " << state << ", spin " << before;
  };
  for (const auto& c : cases) expect(c.key, c.state, c.before, c.after);
  const std::vector<int> decaying[3] = {
      {0, 1}, {0, 2, 3, 4, 7, 9, 10, 12, 13, 14}, {0, 1, 8, 11, 13}};
  for (int key = 0; key < 3; ++key)
    for (const int state : decaying[key]) expect(key, state, 1.0f, 0.98f);
}

// The figure steps with this update's spin: at the limit the loop's gate is 0.045 s, which
// 45 ms pass, while the spin before the change (2.35) would need 50 ms.
TEST_F(PlayerTest, FigureStepsWithTheNewSpin) {
  Start(1);
  p_.character.state = CharacterState::kFirstLoop, p_.character.frame = 24;
  p_.spin = 2.35f;
  UpdateAfter(45, F);
  EXPECT_EQ(std::tuple(p_.spin, p_.character.frame), std::tuple(2.5f, 23));
}

// With the ring at rest, a contact at direction 90 hits tile 6 (colour 2, which becomes 3);
// still at the ring after the next move, it hits tile 6 again (colour 3, which becomes 0).
TEST_F(PlayerTest, ContactAt90HitsTile6) {
  Start(0);
  p_.halo.y = 145.0f;
  p_.halo.vy = 0.5f;
  for (const int colour : {2, 3}) {
    EXPECT_EQ(UpdateAfter(0, N), 6);
    EXPECT_EQ(std::tuple(p_.tiles[6].colour, p_.HitColour(6)),
              std::tuple((colour + 1) % 4, colour));
  }
}

}  // namespace
