// A pad on the desktop back end, without hardware: SDL's virtual pad, on its dummy video driver,
// turns the left ring and leaves the right one alone; unplugged, it leaves its slot free.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "game/game_fixture.h"
#include "platform/sdl/sdl_platform.h"

namespace {

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
