#include "game/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "game/cpu_controller.h"
#include "game/cpu_hands.h"

namespace {

struct OptionRow {
  const char* name;
  const char* value;  // what it takes, for the usage line
  bool (*apply)(const char* value, GameOptions* out);
};

bool LeftSide(const char* value, GameOptions* out) {
  return ParseSide(value, false, &out->side[LEFT]);
}
bool RightSide(const char* value, GameOptions* out) {
  return ParseSide(value, false, &out->side[RIGHT]);
}

// No desktop is 16 times as large as the view in both directions.
constexpr long kLargestScale = 16;

bool WindowScale(const char* value, GameOptions* out) {
  long scale = 0;
  if (!ParseWhole(value, 1, kLargestScale, &scale)) return false;
  out->window_scale = static_cast<int>(scale);
  return true;
}

constexpr OptionRow kOptions[] = {
    {"--scale", "N (1 to 16)", WindowScale},
    {"--left", "keys|cpu[:LEVEL]", LeftSide},
    {"--right", "keys|cpu[:LEVEL]", RightSide},
};

}  // namespace

bool ParseWhole(const char* text, long low, long high, long* out) {
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < low || v > high) return false;
  *out = v;
  return true;
}

bool ParseSide(std::string_view text, bool simulator, SideChoice* out) {
  SideChoice choice;
  if (text == "keys" && !simulator) {
    choice.kind = SideChoice::Kind::Keys;
  } else if (text == "robot" && simulator) {
    choice.kind = SideChoice::Kind::Robot;
  } else if (text == "idle" && simulator) {
    choice.kind = SideChoice::Kind::Idle;
  } else if (text == "cpu") {
    choice = SideChoice{SideChoice::Kind::Cpu, CPU_LEVEL_DEFAULT};
  } else if (text.size() == 5 && text.substr(0, 4) == "cpu:" && text[4] >= '0' + CPU_LEVEL_MIN &&
             text[4] <= '0' + CPU_LEVEL_MAX) {
    choice = SideChoice{SideChoice::Kind::Cpu, text[4] - '0'};
  } else {
    return false;
  }
  *out = choice;
  return true;
}

bool ParseGameOptions(int argc, const char* const* argv, GameOptions* out, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    // The network options take their own shapes (an optional port, HOST:PORT).
    const ArgumentResult network = ParseNetArgument(argc, argv, &i, &out->net);
    if (network == ArgumentResult::Taken) continue;
    if (network == ArgumentResult::Bad) {
      *error = std::string("bad value for ") + argv[i];
      return false;
    }
    const OptionRow* row = nullptr;
    for (const OptionRow& r : kOptions) {
      if (std::strcmp(argv[i], r.name) == 0) row = &r;
    }
    if (row == nullptr) {
      *error = std::string("unknown option ") + argv[i];
      return false;
    }
    if (i + 1 >= argc || !row->apply(argv[i + 1], out)) {
      *error = std::string(row->name) + " takes " + row->value;
      return false;
    }
    ++i;
  }
  return true;
}

std::string GameUsage() {
  std::string usage = "usage: vorn";
  for (const OptionRow& r : kOptions) usage += std::string(" [") + r.name + " " + r.value + "]";
  usage += " [--host [PORT] | --join HOST[:PORT]] [--input-delay N (0 to 8)] [--cpu[:LEVEL]]";
  return usage;
}

std::unique_ptr<Controller> MakeController(const SideChoice& choice, int side, uint32_t seed) {
  if (choice.kind != SideChoice::Kind::Cpu) return nullptr;
  return std::make_unique<CpuController>(choice.level, side, seed);
}
