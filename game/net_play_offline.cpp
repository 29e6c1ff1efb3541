// Network matches where the program has no network transport (a web page cannot open UDP
// sockets): the options are recognised, so that asking for one gets a clear answer instead of the
// usage line, and every match is local.
#include <cstdio>
#include <string>

#include "game/net_play.h"

ArgumentResult ParseNetArgument(int, const char* const* argv, int* i, NetPlayOptions*) {
  const std::string arg = argv[*i];
  if (arg != "--host" && arg != "--join" && arg != "--input-delay" && !arg.starts_with("--cpu")) {
    return ArgumentResult::NotOurs;
  }
  std::fprintf(stderr, "vorn: %s: network matches are not available in this build\n", arg.c_str());
  return ArgumentResult::Bad;
}

void UseNetPlay(const NetPlayOptions&) {}

bool NetPlayActive() {
  return false;
}

int NetPlayFrame(GameState*, GameAssets*) {
  return 0;
}
