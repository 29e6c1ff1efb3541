// A player: the keyboard's and the pad's input value, the spin rule by figure state, the order of
// its update (spin, figure, halo, tiles, bounce and hit test). The figure's state machine on the
// frame's clock reading: every sequence from its entry, the fixed and spin-dependent gates, the
// stop states that keep the old step time. The ring's rules (tile rotation, the hit test with its
// wrap-around windows, the tile given in a purge round) and the halo's (movement, reflection, the
// inward push, the drag of a spinning ring, the clamp, the shift of its direction across 0/360).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <tuple>
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
  // Puts the figure into `state` at `frame`, as if it had just stepped.
  void Enter(int state, int frame) {
    c_.state = static_cast<CharacterState>(state), c_.frame = frame, c_.step_time = now_;
  }
  // The figure's frame and state after a step `after_ms` after the last.
  std::tuple<int, int> Step(uint32_t after_ms, Spin key, float spin = 0.0f) {
    c_.Step(key, spin, now_ += after_ms);
    return {c_.frame, static_cast<int>(c_.state)};
  }

  uint32_t now_ = 100000;
  Player p_;
  Character& c_ = p_.character;
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
// 45 ms pass, while the spin before the change (2.35) would need 50 ms. With the ring at rest, a
// contact at direction 90 hits tile 6 (colour 2, which becomes 3); still at the ring after the
// next move, it hits tile 6 again (colour 3, which becomes 0).
TEST_F(PlayerTest, UpdateStepsTheFigureWithTheNewSpinAndHitsWhereTheHaloTouches) {
  Start(1);
  p_.character.state = CharacterState::kFirstLoop, p_.character.frame = 24;
  p_.spin = 2.35f;
  UpdateAfter(45, F);
  EXPECT_EQ(std::tuple(p_.spin, p_.character.frame), std::tuple(2.5f, 23));
  p_ = Player{};
  Start(0);
  p_.halo.y = 145.0f;
  p_.halo.vy = 0.5f;
  for (const int colour : {2, 3}) {
    EXPECT_EQ(UpdateAfter(0, N), 6);
    EXPECT_EQ(std::tuple(p_.tiles[6].colour, p_.HitColour(6)),
              std::tuple((colour + 1) % 4, colour));
  }
}

// Each token is the frame one step shows (long after the previous step), with ":state" when
// the state changes on that step.
TEST_F(PlayerTest, FigureShowsEverySequenceFromItsEntry) {
  // clang-format off
  const struct { int state, frame; Spin key; float spin; const char* shown; } cases[] = {
      {0, 30, F, 0, "29 28 27 26:1"}, {0, 30, S, 0, "31 32 33 34:2"},
      {0, 27, N, 0, "28 29 30 30"}, {0, 33, N, 0, "32 31 30"},
      {1, 24, S, 2, "5:3 4 3 2:12 1 0 42 41 40 34:2 35"}, {12, 2, N, -0.15f, "1 0 43 44 45 46:6"},
      {2, 36, F, -2, "55:4 56 57 58:11"}, {11, 58, N, 0.15f, "59 60 17 16 15 14:5"},
      {11, 58, F, 0.5f, "59 60 18 19 20 26:1"}, {1, 24, N, 2, "20:7 19 18 17 16 15 14:5"},
      {2, 36, N, -2, "40:9 41 42 43 44 45 46:6"}, {5, 12, F, 1, "15:8 16 17 18 19 20 26:1"},
      {6, 48, S, -1, "45:10 44 43 42 41 40 34:2"},
      {5, 12, N, 0.05f, "8:13 7 6 30:0"}, {5, 12, S, -0.1f, "8:13 7 6 30:0"},
      {6, 48, N, -0.05f, "52:14 53 54 30:0"}, {6, 48, F, 0.1f, "52:14 53 54 30:0"},
      // The loops, while their key (or the coasting spin) lasts.
      {1, 26, F, 2.5f, "25 24 23 22 21 26 25"}, {2, 34, S, -2.5f, "35 36 37 38 39 34"},
      {5, 14, N, 1, "13 12 11 10 9 14"}, {6, 46, N, -1, "47 48 49 50 51 46"},
      // The second parts of a change turn back when the other key comes.
      {11, 40, S, 1, "5:3"}, {12, 40, F, -1, "55:4"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " at " << c.frame << ", key "
                                    << static_cast<int>(c.key) << ": " << c.shown);
    Enter(c.state, c.frame);
    std::istringstream tokens(c.shown);
    std::string token;
    for (int state = c.state; tokens >> token;) {
      const std::size_t colon = token.find(':');
      if (colon != std::string::npos) state = std::stoi(token.substr(colon + 1));
      ASSERT_EQ(Step(1000, c.key, c.spin), std::tuple(std::stoi(token.substr(0, colon)), state))
          << token;
    }
  }
}

// Each gate is tried one millisecond short of its first passing time, then at it; only the
// stop states 13 and 14 keep the old step time.
TEST_F(PlayerTest, FigureStepsOnlyWhenTheGatePasses) {
  // clang-format off
  const struct { int state, frame; Spin key; float spin; uint32_t first_passing_ms; } cases[] = {
      {0, 30, F, 0, 20}, {1, 24, F, 0, 120}, {1, 24, F, 1, 90}, {1, 24, F, 2.5f, 45},
      {2, 36, S, -2.5f, 45}, {2, 36, S, 2.5f, 195}, {5, 12, N, 0.1f, 145}, {6, 48, N, -1, 100},
      {6, 48, S, 0, 150}, {3, 5, S, 0, 20}, {11, 58, N, 0.15f, 20}, {13, 8, N, 0, 20}, {14, 52, N, 0, 20},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << ", spin " << c.spin);
    Enter(c.state, c.frame);
    const uint32_t entered = c_.step_time;
    EXPECT_EQ(std::get<0>(Step(c.first_passing_ms - 1, c.key, c.spin)), c.frame);
    EXPECT_EQ(c_.step_time, entered);
    EXPECT_NE(std::get<0>(Step(1, c.key, c.spin)), c.frame);
    EXPECT_EQ(c_.step_time, c.state == 13 || c.state == 14 ? entered : now_);
  }
}

// Once 0.02 s have passed since the last renewed step, the stop states advance on every update
// and the neutral state then passes its gate at once. The clock's wrap at 2^32 does not stall the
// gates.
TEST_F(PlayerTest, FigureStopStatesRunAtFullRateAcrossTheWrap) {
  Enter(5, 10);
  ASSERT_EQ(Step(200, N, 0.05f), std::tuple(8, 13));
  const uint32_t renewed = c_.step_time;
  EXPECT_EQ(Step(19, N), std::tuple(8, 13));
  now_ += 1;
  for (const int frame : {7, 6, 30, 29})  // the clock stands still from here on
    EXPECT_EQ(std::get<0>(Step(0, frame == 29 ? F : N)), frame);
  EXPECT_EQ(std::tuple(static_cast<int>(c_.state), c_.step_time), std::tuple(0, renewed + 20));
  now_ = 0xFFFFFFF0u;
  Enter(0, 30);
  EXPECT_EQ(std::get<0>(Step(19, F)), 30);
  EXPECT_EQ(std::get<0>(Step(1, F)), 29);
}

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
