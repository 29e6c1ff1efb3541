// The heads-up display's placements, and the real GameInit and GameRun on the headless engine
// with the generated data: set-up, sounds, loading order, start screen, a failed lock and the
// frame's result. The command line of the game and the match simulator, and a side handed to the
// computer: it turns its ring with no key held, the display marks it, and the first pad plays the
// other side. A pad on the desktop back end.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/frame.h"
#include "game/game_fixture.h"
#include "game/hud.h"
#include "game/options.h"
#include "platform/headless/headless_sound_buffer.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// A placement reads "N12@158,360": number image 12 at (158, 360); T is a target, I an
// instruction, R the rounds label.
template <typename F, typename... Args>
std::string Items(F add, Args... args) {
  Placements out;
  add(args..., &out);
  std::string s;
  for (const Placement& p : out) {
    s += (s.empty() ? "" : " ") + std::string(1, "TNIR"[static_cast<int>(p.art)]) +
         std::to_string(p.index) + '@' + std::to_string(p.x) + ',' + std::to_string(p.y);
  }
  return s;
}

TEST(Hud, PlacementsForTheValuesThatChangeTheirShape) {
  MatchState m{
      .target = 2, .multiplier = {16, 1}, .pending = {NO_COLOUR, 3}, .votes = {0, 9, 0, 7}};
  auto in = [m](int state) mutable { return m.game_state = state, m; };
  // clang-format off
  const struct { std::string shown, expected; } cases[] = {
      {Items(MultiplierItems, LEFT, 1) + Items(MultiplierItems, RIGHT, 16), "N12@586,360 N1@604,360 N6@622,360"},
      // Both rings cleared in the last purge round: never a picture outside the digits.
      {Items(RoundsItems, -1), "R0@330,10 N0@300,20"},
      {Items(TimerItems, 60000) + Items(TimerItems, -1500),
       "N1@370,70 N10@388,70 N0@406,70 N0@424,70N0@370,70 N10@388,70 N0@406,70 N0@424,70"},
      {Items(ScoreItems, RIGHT, -1234), "N11@622,20 N4@748,20 N3@730,20 N2@712,20 N1@694,20 N0@676,20 N0@658,20 N0@640,20"},
      {Items(ScoreItems, LEFT, INT_MIN), "N11@22,20 N8@148,20 N4@130,20 N6@112,20 N3@94,20 N8@76,20 N4@58,20 N7@40,20"},
      {Items(MessageItems, in(GAME_PURGE), -5, 1), "I3@295,100"},
      // At the end: who won, or both below zero, or nothing for a tie.
      {Items(MessageItems, in(GAME_OVER), 60000, 40000) + Items(MessageItems, in(GAME_OVER), -1234, 3), "I6@295,100I7@295,100"},
      {Items(MessageItems, in(GAME_OVER), -5, -1) + Items(MessageItems, in(GAME_OVER), 7, 7), "I8@295,100"},
      {Items(StateItems, in(GAME_ECHO)), "N12@158,360 N1@176,360 N6@194,360 T3@600,390"},
      {Items(StateItems, in(GAME_VOTE)),
       "T0@172,333 T0@600,333 N0@178,337 N0@606,337 T1@172,369 T1@600,369 N9@178,373 N9@606,373 "
       "T2@172,405 T2@600,405 N0@178,409 N0@606,409 T3@172,441 T3@600,441 N7@178,445 N7@606,445"},
      {Items(StateItems, in(GAME_START)) + Items(StateItems, in(GAME_OVER)), ""},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
  // The timer's separator shows in the rounds and on the start screen only.
  for (int state = GAME_RUNS; state <= GAME_OVER; ++state)
    EXPECT_EQ(Items(OverlayItems, in(state), 1, 1, 0).find("N10@388,70") != std::string::npos,
              state != GAME_VOTE && state != GAME_OVER)
        << state;
}

// GameInit loads everything without a message and puts the match on its start screen. A hit then
// plays the hit clip and a miss the other; the vote sound is a clip of its own, from the miss
// sound's file.
TEST_F(GameTest, InitLoadsEverythingPutsTheMatchOnItsStartScreenAndPlaysEachSound) {
  EXPECT_EQ(
      std::tuple(game.match.game_state, game.match.rounds_left, headless_->MessageBoxes().size()),
      std::tuple(GAME_START, 10, size_t{0}));
  // The figures at rest, stepped at the clock's reading at set-up, in their side's family of
  // pictures; both halos set off at 2.5 in one direction, 45 to 135 degrees.
  EXPECT_EQ(std::tuple(game.players[LEFT].halo.vx, game.players[LEFT].halo.vy),
            std::tuple(game.players[RIGHT].halo.vx, game.players[RIGHT].halo.vy));
  for (const Player& p : game.players) {
    EXPECT_EQ(std::tuple(p.centre_x, p.centre_y, p.score, p.halo.y, RingColours(p)),
              std::tuple(p.index == LEFT ? 200 : 628, 420, 50000, -40.0f, kStartRing));
    EXPECT_EQ(std::tuple(p.character.frame, p.character.step_time, p.character.index),
              std::tuple(30, 5000u, p.index));
    EXPECT_TRUE(std::abs(std::hypot(p.halo.vx, p.halo.vy) - 2.5) < 1e-5 &&
                p.halo.vy >= std::abs(p.halo.vx) - 1e-5f)
        << p.halo.vx << ", " << p.halo.vy;
  }
  EXPECT_TRUE(game_assets.vote.frames > 0 && game_assets.vote.data != game_assets.miss.data);
  SoundEvents events;
  for (const Sound s : {Sound::Hit, Sound::Hit, Sound::Miss}) events.Add(s);
  PlaySounds(events, &game_assets);
  const auto plays = [](const SoundX& clip) {
    if (clip.buffer < 0) return size_t{0};
    auto& buffer = *Vorn.sound_buffers[clip.buffer];
    return dynamic_cast<platform::headless::HeadlessSoundBuffer&>(buffer).Plays().size();
  };
  EXPECT_EQ(std::tuple(plays(game_assets.hit), plays(game_assets.miss), plays(game_assets.vote)),
            std::tuple(2u, 1u, 0u));
}

// Without pictures every load reports its missing file, in the order of loading: tile and target
// by colour, 13 numbers, 9 instructions, background, rounds label, then each side's halo and 61
// figures. The match still starts and runs with empty pictures, which draw nothing and report
// nothing more, even over a work image left full of last frame's tile.
TEST(GameLoading, WithoutPicturesEachLoadReportsAndNothingIsDrawn) {
  ASSERT_TRUE(WriteGameData());
  std::filesystem::remove_all("Images");
  FixGameSeed(3);
  auto& headless = StartGame();
  const auto& boxes = headless.MessageBoxes();
  ASSERT_EQ(boxes.size(), 8u + 13 + 9 + 2 + 2 * 62);
  // clang-format off
  for (const auto& [at, name] : {std::pair{0, "Images\\tile00.tif"}, {29, "Images\\inst8.tif"},
                                 {31, "Images\\rounds.tif"}, {32, "Images/halo.tif"},
                                 {94, "Images/halo.tif"}, {155, "Images\\zappo060.tif"}})
    EXPECT_NE(boxes[at].text.find(name), std::string::npos) << at << ": " << boxes[at].text;
  // clang-format on
  Image& work = game_assets.tile_work;
  work.Create(80, 80, IMAGE_RGB16 | IMAGE_ALPHA);
  std::memset(work.data, 0xFF, 80 * 80 * 2);
  work.purpose = DRAW_MASKED;
  GameRun();
  EXPECT_EQ(std::tuple(game.match.game_state, Vorn.status, boxes.size()),
            std::tuple(GAME_START, STATUS_RUNNING, 156u));
  for (const uint16_t p : headless.LastFrame()->pixels) ASSERT_EQ(p, 0);
  ResetGame();
}

// The start screen counts down from 0:03 under instruction 5, with ten rounds shown as 1 0,
// while the players stand still. A failed lock is reported by the engine; that frame draws
// nothing and presents what the back buffer last held, and the next frame draws again.
TEST_F(GameTest, StartScreenCountsDownAndAFailedLockDrawsNothing) {
  Vorn.keys[0x44] = Vorn.keys[platform::VK_LEFT] = 1;  // D and the left arrow would spin the rings
  Run(1);
  const GameAssets& a = game_assets;
  // clang-format off
  for (const auto& [image, x, y] : {std::tuple{&a.instructions[5], 295, 100}, {&a.numbers[3], 424, 70},
                                    {&a.numbers[1], 282, 20}, {&a.rounds, 330, 10}})
    EXPECT_TRUE(ShowsAt(*image, x, y)) << x << ", " << y;
  // clang-format on
  const std::vector<uint16_t> before = Shown().pixels;
  const uint64_t presented = headless_->PresentCount();
  headless_->Fail(platform::headless::Op::kLock, platform::DDERR_SURFACELOST);
  Run(1, 1000);  // the timer would now read 0:01
  EXPECT_EQ(std::tuple(Vorn.status, headless_->MessageBoxes().size(), headless_->PresentCount()),
            std::tuple(STATUS_VIEWLOCK_FAILED, 1u, presented + 1));
  EXPECT_EQ(Shown().pixels, before);
  Run(50);
  EXPECT_TRUE(ShowsAt(game_assets.numbers[1], 424, 70));
  EXPECT_EQ(std::tuple(game.players[LEFT].halo.x, game.players[RIGHT].tiles[0].angle,
                       game.match.game_state),
            std::tuple(0.0f, 0.0f, GAME_START));
  // The frame's result is the presentation's: 0 while the screen is still busy drawing.
  headless_->Fail(platform::headless::Op::kBltFast, platform::DDERR_WASSTILLDRAWING);
  EXPECT_EQ(GameRun(), 0);
  EXPECT_EQ(GameRun(), 1);
}

// Every number an option takes is read here: all of the text, within its range. Beyond long,
// strtol would clamp it to the very top of an open range. The options that cannot go together: a
// replay plays the recorded sides, and a network match is not recorded. The network options take
// their own shapes, a level for the computer among them.
TEST(Options, NumbersSidesAndTheirErrors) {
  // clang-format off
  const struct { const char* text; long high; bool ok; } cases[] = {
      {"0", 5, true}, {"5", 5, true}, {"4294967295", 4294967295L, true}, {"6", 5, false}, {"-1", 5, false},
      {"", 5, false}, {"3x", 5, false}, {"x3", 5, false}, {"99999999999999999999", LONG_MAX, false}};
  // clang-format on
  for (const auto& c : cases) {
    long v = -7;
    EXPECT_EQ(std::tuple(ParseWhole(c.text, 0, c.high, &v), v),
              std::tuple(c.ok, c.ok ? std::stol(c.text) : -7))
        << c.text;
  }
  GameOptions o;
  std::string error;
  const auto parse = [&](std::vector<const char*> args) {
    args.insert(args.begin(), "vorn");
    return ParseGameOptions(static_cast<int>(args.size()), args.data(), &o, &error);
  };
  ASSERT_TRUE(parse({"--right", "cpu", "--left", "cpu:3", "--scale", "2"}));
  EXPECT_EQ(std::tuple(o.side[LEFT].kind, o.side[LEFT].level, o.side[RIGHT].kind,
                       o.side[RIGHT].level, o.window_scale),
            std::tuple(SideChoice::Kind::Cpu, 3, SideChoice::Kind::Cpu, 2, 2));
  ASSERT_TRUE(parse({"--host", "--cpu:3", "--input-delay", "4"}));
  EXPECT_EQ(std::tuple(o.net.role, o.net.port, o.net.cpu_level, o.net.input_delay),
            std::tuple(NetPlayOptions::Role::Host, 7531, 3, 4));
  const std::string side = "--left takes keys|cpu[:LEVEL]";
  // clang-format off
  const std::pair<std::vector<const char*>, std::string> refused[] = {
      {{"--left", "cpu:4"}, side}, {{"--left", "robot"}, side}, {{"--left"}, side},
      {{"--computer"}, "unknown option --computer"}, {{"--scale", "17"}, ""}, {{"--cpu:4"}, ""},
      {{"--replay", "a", "--left", "cpu"}, ""}, {{"--record", "a", "--host"}, ""},
      {{"--replay", "a", "--record", "b"}, ""}, {{"--record", ""}, ""}};
  // clang-format on
  for (const auto& [args, message] : refused) {
    EXPECT_FALSE(parse(args)) << args[0] << " " << args.size();
    EXPECT_TRUE(message.empty() || error == message) << error;
  }
  SideChoice choice;
  EXPECT_TRUE(ParseSide("idle", true, &choice) && choice.kind == SideChoice::Kind::Idle);
  EXPECT_FALSE(ParseSide("idle", false, &choice) || ParseSide("cpu:0", true, &choice) ||
               ParseSide("cpu:", true, &choice));
}

// With the computer on the left, the first pad plays the right side, the one still played at
// this screen.
TEST_F(GameTest, AComputerPlaysItsSideIsMarkedAndLeavesTheFirstPadToTheOther) {
  const SideChoice sides[2] = {{SideChoice::Kind::Cpu, 3}, {}};
  ChooseSides(sides);
  headless_ = &StartGame({.start_time = 5000});
  ChooseSides(std::array<SideChoice, 2>{}.data());
  Run(400);  // the start screen, then the first seconds of the vote
  EXPECT_NE(game.players[LEFT].tiles[0].angle, 0.0f);
  EXPECT_EQ(std::tuple(game.players[RIGHT].spin, game.players[RIGHT].tiles[0].angle),
            std::tuple(0.0f, 0.0f));
  EXPECT_TRUE(ShowsAt(game_assets.computer_mark, 22, 46));
  EXPECT_FALSE(ShowsAt(game_assets.computer_mark, 622, 46));
  headless_->PostPadAdded(6);
  headless_->PostPadButton(6, platform::PAD_BUTTON_DPAD_LEFT, true);
  Pump(*headless_);
  Run(40);
  EXPECT_GT(game.players[RIGHT].spin, 1.0f);
}

// A pad on the desktop back end, without hardware: SDL's virtual pad, on its dummy video driver,
// turns the left ring and leaves the right one alone; unplugged, it leaves its slot free.
TEST(PadOnSdl, AVirtualPadTurnsTheLeftRing) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_TRUE(WriteGameData());
  ResetGame();
  ResetEngine();
  std::unique_ptr<platform::Platform> sdl = platform::CreateSdlPlatform();
  Vorn.UsePlatform(sdl.get());
  Vorn.show_cmd = 1;
  FixGameSeed(1);
  GameInit();
  ASSERT_EQ(Vorn.status, STATUS_RUNNING);
  game.match.game_state = GAME_VOTE;  // past the start screen's count-down

  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int device = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(device, 0) << SDL_GetError();
  SDL_Joystick* stick = SDL_JoystickOpen(device);
  ASSERT_NE(stick, nullptr);
  // The engine's loop: every waiting message, then a frame.
  const auto frames = [](int count) {
    for (int i = 0; i < count; ++i) Pump(*Vorn.backend), GameRun();
  };
  frames(2);
  ASSERT_NE(Vorn.pads.InSlot(0), nullptr);
  SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  // The figure first leans into the turn for a few of its steps, which follow the real clock.
  for (int i = 0; i < 600 && game.players[LEFT].spin < 1.0f; ++i) frames(1);
  EXPECT_EQ(std::tuple(game.players[LEFT].spin >= 1.0f, game.players[RIGHT].spin),
            std::tuple(true, 0.0f));
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(device);
  frames(2);
  EXPECT_EQ(Vorn.pads.InSlot(0), nullptr);
  Vorn.CleanUp();
  Vorn.ds->Release();  // the engine keeps its sound object to the end of the program
  ResetGame();
  ResetEngine();
  sdl.reset();
}

}  // namespace
