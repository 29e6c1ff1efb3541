// The game's entry points: GameInit once before the message loop, GameRun whenever it is idle.
#include "game/game.h"

#include <ctime>
#include <optional>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/frame.h"
#include "game/net_play.h"
#include "game/replay_run.h"

GameState game;
GameAssets game_assets;

namespace {

std::optional<uint32_t> fixed_seed;
uint32_t used_seed = 0;
uint32_t start_ms = 0;
SideChoice chosen[SIDES];
std::unique_ptr<Controller> controllers[SIDES] = {std::make_unique<KeyboardController>(),
                                                  std::make_unique<KeyboardController>()};

}  // namespace

void FixGameSeed(uint32_t seed) {
  fixed_seed = seed;
}

uint32_t GameSeed() {
  return used_seed;
}

uint32_t GameStartMs() {
  return start_ms;
}

void UseController(int side, std::unique_ptr<Controller> controller) {
  controllers[side == RIGHT ? RIGHT : LEFT] = std::move(controller);
  // Pads go to the sides people play at this screen, the first pad to the leftmost of them, so
  // that with the computer on one side the first pad plays the other.
  int slot = 0;
  for (const std::unique_ptr<Controller>& c : controllers) {
    if (auto* keyboard = dynamic_cast<KeyboardController*>(c.get())) keyboard->ListenToPad(slot++);
  }
}

void ChooseSides(const SideChoice sides[2]) {
  for (const int side : {LEFT, RIGHT}) chosen[side] = sides[side];
}

void GameInit() {
  used_seed = fixed_seed ? *fixed_seed : static_cast<uint32_t>(std::time(nullptr));
  start_ms = InitMatch(&game, &game_assets, used_seed);
  for (const int side : {LEFT, RIGHT}) {
    std::unique_ptr<Controller> computer = MakeController(chosen[side], side, used_seed);
    if (computer == nullptr) continue;
    UseController(side, std::move(computer));
    LoadComputerMark(&game_assets, side);
  }
  BeginRecordOrReplay(&game, used_seed, chosen, start_ms);
}

int GameRun() {
  if (NetPlayActive()) return NetPlayFrame(&game, &game_assets);
  if (Replaying()) return ReplayWindowFrame(&game, &game_assets);
  // One clock reading for the whole frame: every timing rule, the controllers and the drawing
  // see the same instant.
  const uint32_t now = Vorn.backend->Milliseconds();
  const FrameInput in = ReadControllers(now);
  const int shown = RunMatchFrame(&game, &game_assets, now, in);
  RecordFrame(now, in, game);
  return shown;
}

FrameInput ReadControllers(uint32_t now_ms) {
  FrameInput in;
  for (int side = 0; side < SIDES; ++side) {
    in.side[side] = controllers[side]->Next(game, side, now_ms);
  }
  return in;
}
