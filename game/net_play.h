// A network match in the game's window: the host waits for its opponent on the start screen
// (whose timer does not run until the opponent is there), the joiner connects, then both play
// frames at 60 per second on the network clock, the local side from the keyboard, the remote side
// from the other machine.
#pragma once

#include <cstdint>
#include <string>

#include "game/assets.h"
#include "game/game_state.h"
#include "game/online/protocol.h"
#include "game/online/rollback.h"

struct NetPlayOptions {
  enum class Role : uint8_t { Local, Host, Join };
  Role role = Role::Local;
  std::string address;  // the joiner's host
  uint16_t port = online::kDefaultPort;
  int input_delay = online::kDefaultInputDelay;
  bool input_delay_given = false;
  int cpu_level = 0;  // the computer plays the local side at this level; 0 for the keyboard
};

enum class ArgumentResult : uint8_t { NotOurs, Taken, Bad };
// Reads one of --host [PORT], --join HOST[:PORT], --input-delay N, --cpu[:LEVEL] at argv[*i],
// moving *i past what it took.
ArgumentResult ParseNetArgument(int argc, const char* const* argv, int* i, NetPlayOptions* options);

// Chooses a network match for the game's run (before GameInit).
void UseNetPlay(const NetPlayOptions& options);
bool NetPlayActive();

// GameRun's frame in a network match: returns what presenting the view returned.
int NetPlayFrame(GameState* s, GameAssets* assets);
