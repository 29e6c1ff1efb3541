// A player: its keys, the spin rule by figure state, the order of its update (spin, figure,
// halo, tiles, bounce and hit test), its set-up and its drawing on a headless view.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "engine/images/draw.h"
#include "engine/images/image_loader.h"
#include "game/game_fixture.h"
#include "game/pad_input.h"
#include "platform/messages.h"

namespace {

constexpr uint8_t KEY_D = 0x44, KEY_F = 0x46, L = platform::VK_LEFT, R = platform::VK_RIGHT;
constexpr uint16_t kHalo = 0x2222, kFigure = 0x3333;

class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    headless_ = &StartHeadlessEngine();
    headless_->SetTime(100000);
    // Tile pictures with a band across their top, so that a turn shows.
    for (int c = 0; c < TILE_COLOURS; ++c) {
      MakeSolid(&tiles_[c], 20, 20, TileValue(c));
      for (int i = 0; i < 60; ++i) tiles_[c].pixels16()[i] = 0x7000;
    }
  }
  static uint16_t TileValue(int colour) { return static_cast<uint16_t>(0x1000 + colour); }
  // A player in its start position without pictures: ring at rest, halo still at the centre.
  void Start(int index) {
    p_.index = index;
    SetRing(&p_);
    p_.character.step_time = Now();
  }
  int Now() const { return static_cast<int>(headless_->Milliseconds()); }
  int UpdateAfter(uint32_t ms) {
    headless_->Advance(ms);
    return p_.Update();
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  Image tiles_[TILE_COLOURS];
  Player p_;
};

TEST_F(PlayerTest, KeysByPlayerFirstKeyFirst) {
  // clang-format off
  const struct { int index; std::vector<uint8_t> held; int key; } cases[] = {
      {0, {}, KEY_NONE}, {0, {KEY_D}, KEY_FIRST}, {0, {KEY_F}, KEY_SECOND}, {0, {KEY_D, KEY_F}, KEY_FIRST},
      {0, {L, R}, KEY_NONE}, {1, {L}, KEY_FIRST}, {1, {R}, KEY_SECOND}, {1, {R, L}, KEY_FIRST},
      {1, {KEY_D, KEY_F}, KEY_NONE}};
  // clang-format on
  for (const auto& c : cases) {
    std::memset(Vorn.keys, 0, sizeof Vorn.keys);
    for (const uint8_t k : c.held) Vorn.keys[k] = 1;
    p_.index = c.index;
    EXPECT_EQ(p_.ReadKeys(), c.key) << "player " << c.index << ", " << c.held.size() << " keys";
  }
}

// The pad in slot 0 plays the left side with its keys: D-pad, shoulders and stick beyond the
// dead zone; both held count as the first, as on the keyboard.
TEST_F(PlayerTest, APadJoinsItsSidesKeys) {
  headless_->PostPadAdded(3);
  const auto held = [this](std::initializer_list<int> buttons, int stick) {
    headless_->PostPadAxis(3, platform::PAD_AXIS_LEFTX, stick);
    for (int b = 0; b < platform::PAD_BUTTONS; ++b) headless_->PostPadButton(3, b, false);
    for (int b : buttons) headless_->PostPadButton(3, b, true);
    platform::Message m;
    while (headless_->Windows().PeekMessage(&m)) headless_->Windows().DispatchMessage(m);
    return p_.ReadKeys();
  };
  p_.index = 0;
  using namespace platform;
  // clang-format off
  const struct { std::initializer_list<int> buttons; int stick, key; } cases[] = {
      {{}, 0, KEY_NONE}, {{PAD_BUTTON_A, PAD_BUTTON_DPAD_UP}, PAD_DEAD_ZONE, KEY_NONE},
      {{PAD_BUTTON_DPAD_LEFT}, 0, KEY_FIRST}, {{PAD_BUTTON_LEFTSHOULDER}, 0, KEY_FIRST},
      {{}, -PAD_DEAD_ZONE - 1, KEY_FIRST}, {{PAD_BUTTON_DPAD_RIGHT}, 0, KEY_SECOND},
      {{PAD_BUTTON_RIGHTSHOULDER}, 0, KEY_SECOND}, {{}, 32767, KEY_SECOND},
      {{PAD_BUTTON_DPAD_RIGHT}, -32768, KEY_FIRST}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(held(c.buttons, c.stick), c.key) << c.stick;
  Vorn.keys[KEY_D] = 1;
  EXPECT_EQ(held({PAD_BUTTON_DPAD_RIGHT}, 0), KEY_FIRST);  // the keyboard still plays
  Vorn.keys[KEY_D] = 0;
  p_.index = 1;
  EXPECT_EQ(held({PAD_BUTTON_DPAD_LEFT}, 0), KEY_NONE);  // the right side has no pad yet
}

// With a computer on one side, the first pad plays the other; a second pad plays nothing then.
TEST(PadSides, SlotsGoToTheSidesNoComputerPlays) {
  Pads pads;
  pads.Add(8), pads.Add(9);
  const bool none[2] = {false, false}, left[2] = {true, false}, right[2] = {false, true};
  EXPECT_EQ(PadOfSide(pads, 0, none)->id, 8u);
  EXPECT_EQ(PadOfSide(pads, 1, none)->id, 9u);
  EXPECT_EQ(PadOfSide(pads, 0, left), nullptr);
  EXPECT_EQ(PadOfSide(pads, 1, left)->id, 8u);
  EXPECT_EQ(PadOfSide(pads, 0, right)->id, 8u);
  EXPECT_EQ(PadOfSide(pads, 1, right), nullptr);
}

// Key 1 is the first key, 2 the second, 0 none. In every state without a rule of its own for
// that key, the spin decays: 1 becomes 0.98.
TEST_F(PlayerTest, SpinRuleByKeyAndFigureState) {
  // clang-format off
  const struct { int key, state; float before, after; } cases[] = {
      {1, 1, 1, 1.15f}, {1, 5, 0, 0.15f}, {1, 8, 2.4f, 2.5f}, {1, 1, 2.5f, 2.5f},
      {1, 1, -0.25f, -0.1f},  // the sum is taken in double
      {1, 6, -1, -0.85f}, {1, 6, 0.1f, 0.15f},
      {1, 11, -2, 0}, {1, 11, 0, 0.15f}, {1, 11, 2.5f, 2.65f}, {1, 11, 100, 100.15f},
      {2, 2, -1, -1.15f}, {2, 6, 0, -0.15f}, {2, 10, -2.4f, -2.5f}, {2, 2, -2.5f, -2.5f},
      {2, 5, 1, 0.85f}, {2, 5, -0.1f, -0.15f},
      {2, 12, 2, 0}, {2, 12, 0, -0.15f}, {2, 12, -2.5f, -2.65f},
      {0, 11, -2, 0.15f}, {0, 12, 2, -0.15f}, {0, 6, -1, -0.98f},
      {0, 0, 0.960400045f, 0.941192031f},  // the product is taken in double
  };
  // clang-format on
  const auto expect = [this](int key, int state, float before, float after) {
    p_.character.state = state;
    p_.spin = before;
    p_.ChangeSpin(key);
    EXPECT_EQ(p_.spin, after) << "key " << key << ", state " << state << ", spin " << before;
  };
  for (const auto& c : cases) expect(c.key, c.state, c.before, c.after);
  const std::vector<int> decaying[3] = {
      {0, 1}, {0, 2, 3, 4, 7, 9, 10, 12, 13, 14}, {0, 1, 8, 11, 13}};
  for (int key = 0; key < 3; ++key)
    for (const int state : decaying[key]) expect(key, state, 1.0f, 0.98f);
}

// From rest the first key first leans the figure while the spin only decays by 0.98 per
// update; once the figure is in its loop, the spin grows by 0.15 per update to 2.5. The tiles
// turn by each update's spin.
TEST_F(PlayerTest, FirstKeyFromRestLeansBeforeSpinning) {
  Start(0);
  Vorn.keys[KEY_D] = 1;
  p_.spin = 1.0f;
  double angle = 0.0;
  for (int i = 1; i <= 24; ++i) {
    const float previous = p_.spin;
    EXPECT_EQ(UpdateAfter(i <= 4 ? 20 : 1), -1);
    const double expected = i <= 4 ? previous * 0.98 : std::min(2.5, previous + 0.15);
    EXPECT_NEAR(p_.spin, expected, 1e-5) << "update " << i;
    angle += p_.spin;
  }
  EXPECT_EQ(p_.spin, 2.5f);
  EXPECT_NEAR(p_.tiles[0].angle, angle, 1e-3);
  EXPECT_NEAR(p_.tiles[6].angle, angle + 90.0, 1e-3);
}

// The figure steps with this update's spin: at the limit the loop's gate is 0.045 s, which
// 45 ms pass, while the spin before the change (2.35) would need 50 ms.
TEST_F(PlayerTest, FigureStepsWithTheNewSpin) {
  Start(1);
  Vorn.keys[L] = 1;
  p_.character.state = 1, p_.character.frame = 24;
  p_.spin = 2.35f;
  UpdateAfter(45);
  EXPECT_EQ(p_.spin, 2.5f);
  EXPECT_EQ(p_.character.frame, 23);
}

// With the ring at rest, a contact at direction 90 hits tile 6 (colour 2, which becomes 3);
// still at the ring after the next move, it hits tile 6 again (colour 3, which becomes 0).
TEST_F(PlayerTest, ContactAt90HitsTile6) {
  Start(0);
  p_.halo.y = 145.0f;
  p_.halo.vy = 0.5f;
  for (const int colour : {2, 3}) {
    EXPECT_EQ(p_.Update(), 6);
    EXPECT_EQ(p_.tiles[6].colour, (colour + 1) % 4);
    EXPECT_EQ(p_.HitColour(6), colour);
  }
}

TEST_F(PlayerTest, HaloTilesAndFigureWhereTheyBelong) {
  for (const auto& [index, cx, figure_left] : {std::tuple{0, 200, 64}, std::tuple{1, 628, 492}}) {
    SCOPED_TRACE(index);
    // Plain pictures in place of the missing art files.
    p_.Setup(index, static_cast<float>(cx), 420.0f, START_SCORE, 90.0f, tiles_);
    MakeSolid(&p_.halo.image, 10, 10, kHalo);
    MakeSolid(&p_.character.frames[30], 8, 8, kFigure);
    LockClearView();
    p_.Draw();
    // The figure's top-left corner and the halo's, 27 left of and above (0, -40).
    for (const auto& [x, y, value] :
         {std::tuple{figure_left, 50, kFigure}, {cx - 27, 353, kHalo}}) {
      EXPECT_EQ(ViewAt(x, y), value);
      EXPECT_EQ(ViewAt(x + 7, y + 7), value);
      EXPECT_EQ(ViewAt(x - 1, y), 0);
      EXPECT_EQ(ViewAt(x, y - 1), 0);
    }
    EXPECT_EQ(ViewAt(figure_left + 8, 57), 0);
    EXPECT_EQ(ViewAt(cx - 27 + 9, 353 + 9), kHalo);
    // Each tile's picture is turned by 68.5 degrees less the tile's angle (so that it keeps
    // facing the centre) into its 80 x 80 work image, drawn 55 left of and above the tile: the
    // picture's middle is 15 left of and above the tile.
    for (int i = 0; i < RING_TILES; ++i) {
      Image expected;
      expected.Create(80, 80, IMAGE_RGB16 | IMAGE_ALPHA);
      RotateScale(tiles_[i % 4], &expected, 68.5f - p_.tiles[i].angle, 1.0f);
      EXPECT_EQ(std::memcmp(expected.data, p_.tiles[i].scratch.data, 80 * 80 * 2), 0) << i;
      const int tx = cx + static_cast<int>(p_.tiles[i].x),
                ty = 420 + static_cast<int>(p_.tiles[i].y);
      EXPECT_EQ(ViewAt(tx - 15, ty - 15), TileValue(i % 4)) << "tile " << i;
    }
    Vorn.ViewUnlock();
  }
}

// Tile pictures whose files were missing (prepared, but without pixels) draw nothing and report
// nothing, whatever the work images hold.
TEST_F(PlayerTest, MissingTilePicturesDrawNothing) {
  std::filesystem::remove_all("Images");
  Image missing[TILE_COLOURS];
  for (Image& m : missing) ImageLoader::Load("Images/missing.tif", &m, DRAW_MASKED);
  p_.Setup(0, 200.0f, 420.0f, START_SCORE, 90.0f, missing);
  for (RingTile& t : p_.tiles) {
    std::memset(t.scratch.data, 0xFF, 80 * 80 * 2);
    t.scratch.purpose = DRAW_MASKED;
  }
  const std::size_t boxes = headless_->MessageBoxes().size();
  LockClearView();
  p_.Draw();
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) ASSERT_EQ(ViewAt(x, y), 0) << x << ", " << y;
  Vorn.ViewUnlock();
  EXPECT_EQ(headless_->MessageBoxes().size(), boxes);
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

}  // namespace
