// match-sim: replays a match of the real game on the headless back end.
//
//   match-sim --seed N [--frames N] [--ms-per-frame 16] [--png DIR [--png-every N]]
//             [--until-over] [--data DIR] [--keys LIST] [--raw FILE]
//
// GameInit and GameRun run as the program runs them (GameRun's drawing only for the frames
// written as pictures), with the game's random generator seeded with N, the clock advanced by a
// fixed step before every frame, and two robot players whose key presses follow their own
// schedules seeded from N. The output has one line per change of the game state, one per sound
// played (in the order played) and a final result line; the same arguments give the same output,
// line for line.
//
// --left and --right choose who plays a side: the key robot (the default), the computer at a
// level 1 to 3 (cpu alone is level 2), or nobody (idle).
//
// --data DIR uses the game's data in DIR (folders Images and Sounds, as make-assets writes
// them); without it the data is generated into a temporary folder that is removed at the end.
// Without --until-over the replay runs --frames frames (default 3600, a minute at 60 frames per
// second); with it, until the game is over or --frames frames have run, if given.
//
// --keys LIST plays the keys of the list instead of the robots: FRAME+KEY presses and FRAME-KEY
// releases KEY (a capital letter or a decimal virtual-key code) before that frame, e.g.
// "30+D,90-D". --raw FILE writes the last frame's pixels, 16 bits each, little-endian, row after
// row, so that another back end's picture of the same frames can be compared with it.
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/options.h"
#include "game/round_kinds.h"
#include "platform/headless/headless.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/text.h"
#include "tools/match_sim/play_log.h"
#include "tools/match_sim/png_writer.h"
#include "tools/match_sim/robots.h"

namespace {

struct Options {
  bool has_seed = false;
  uint32_t seed = 0;
  long frames = 0;  // 0: not given
  long ms_per_frame = 16;
  std::string png_dir;
  long png_every = 60;
  bool until_over = false;
  std::string data;
  bool scripted = false;
  std::vector<match_sim::ScriptedKey> keys;
  std::string raw;
  SideChoice side[2] = {{SideChoice::Kind::Robot, 0}, {SideChoice::Kind::Robot, 0}};
};

int Usage() {
  std::fprintf(stderr,
               "usage: match-sim --seed N [--frames N] [--ms-per-frame 16] "
               "[--png DIR [--png-every N]] [--until-over] [--data DIR] [--keys LIST] "
               "[--raw FILE] [--left|--right robot|cpu[:LEVEL]|idle]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    long v = 0;
    if (arg == "--until-over") {
      o->until_over = true;
    } else if (!has_value) {
      return false;
    } else if (arg == "--seed") {
      if (!ParseWhole(argv[++i], 0, 4294967295L, &v)) return false;
      o->seed = static_cast<uint32_t>(v);
      o->has_seed = true;
    } else if (arg == "--frames") {
      if (!ParseWhole(argv[++i], 1, 100000000L, &o->frames)) return false;
    } else if (arg == "--ms-per-frame") {
      if (!ParseWhole(argv[++i], 1, 60000, &o->ms_per_frame)) return false;
    } else if (arg == "--png") {
      o->png_dir = argv[++i];
    } else if (arg == "--png-every") {
      if (!ParseWhole(argv[++i], 1, 100000000L, &o->png_every)) return false;
    } else if (arg == "--left" || arg == "--right") {
      if (!ParseSide(argv[++i], true, &o->side[arg == "--left" ? LEFT : RIGHT])) return false;
    } else if (arg == "--data") {
      o->data = argv[++i];
    } else if (arg == "--keys") {
      o->scripted = true;
      if (!match_sim::ParseKeys(argv[++i], &o->keys)) return false;
    } else if (arg == "--raw") {
      o->raw = argv[++i];
    } else {
      return false;
    }
  }
  return o->has_seed;
}

// The working folder with the game's data: the one given, or a fresh one filled by the asset
// generator and removed when the replay ends.
class DataFolder {
 public:
  bool Enter(const std::string& given) {
    if (!given.empty()) return chdir(given.c_str()) == 0;
    char pattern[] = "/tmp/vorn-match-sim-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    temporary_ = pattern;
    assets::Fonts fonts;
    return fonts.ok() && assets::WriteAll(assets::DrawAll(fonts), temporary_) &&
           chdir(temporary_.c_str()) == 0;
  }
  ~DataFolder() {
    if (temporary_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(temporary_, ignored);
  }

 private:
  std::string temporary_;
};

// Hands every waiting window message to the engine, as the program's loop does between frames.
void PumpMessages() {
  platform::WindowSystem& windows = Vorn.backend->Windows();
  platform::Message message;
  while (windows.PeekMessage(&message)) {
    if (message.message == platform::WM_QUIT) return;
    windows.TranslateMessage(message);
    windows.DispatchMessage(message);
  }
}

const char* SoundName(const platform::SoundBuffer* buffer) {
  const struct {
    const SoundX* clip;
    const char* name;
  } clips[] = {{&game_assets.hit, "hit"}, {&game_assets.miss, "miss"}, {&game_assets.vote, "vote"}};
  for (const auto& c : clips) {
    if (c.clip->buffer >= 0 && c.clip->buffer < Vorn.sound_count &&
        Vorn.sound_buffers[c.clip->buffer] == buffer) {
      return c.name;
    }
  }
  return "other";
}

// The back buffer as it stands after the frame, row by row without padding.
bool ReadView(std::vector<uint16_t>* pixels, int* width, int* height) {
  platform::SurfaceDesc desc;
  if (Vorn.dd_back == nullptr || Vorn.dd_back->Lock(&desc, platform::DDLOCK_WAIT) != platform::OK)
    return false;
  *width = Vorn.clip_right + 1;
  *height = Vorn.clip_bottom + 1;
  pixels->resize(static_cast<size_t>(*width) * static_cast<size_t>(*height));
  const auto* base = static_cast<const uint8_t*>(desc.surface);
  for (int y = 0; y < *height; ++y) {
    std::memcpy(pixels->data() + static_cast<size_t>(y) * static_cast<size_t>(*width),
                base + static_cast<size_t>(y) * static_cast<size_t>(desc.pitch),
                static_cast<size_t>(*width) * sizeof(uint16_t));
  }
  Vorn.dd_back->Unlock();
  return true;
}

// The back buffer's pixels as 16-bit little-endian values, row after row.
bool WriteRaw(const std::string& path, std::vector<uint16_t>* pixels) {
  int width = 0;
  int height = 0;
  if (!ReadView(pixels, &width, &height)) return false;
  std::vector<uint8_t> bytes;
  bytes.reserve(pixels->size() * 2);
  for (const uint16_t p : *pixels) {
    bytes.push_back(static_cast<uint8_t>(p & 0xFF));
    bytes.push_back(static_cast<uint8_t>(p >> 8));
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

const char* Outcome() {
  if (game.match.game_state != GAME_OVER) return "unfinished";
  const int left = game.players[LEFT].score;
  const int right = game.players[RIGHT].score;
  if (left < 0 && right < 0) return "both-below-zero";
  if (left > right) return "left-wins";
  if (right > left) return "right-wins";
  return "draw";
}

void PrintState(const char* prefix, long frame, uint32_t ms) {
  std::printf("%sframe=%ld ms=%" PRIu32 " state=%d rounds_left=%d left=%d right=%d", prefix, frame,
              ms, game.match.game_state, game.match.rounds_left, game.players[LEFT].score,
              game.players[RIGHT].score);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return Usage();
  const std::string png_dir =
      options.png_dir.empty() ? "" : std::filesystem::absolute(options.png_dir).string();
  if (!png_dir.empty()) std::filesystem::create_directories(png_dir);

  DataFolder data;
  if (!data.Enter(options.data)) {
    std::fprintf(stderr, "match-sim: cannot use the game's data in %s\n",
                 options.data.empty() ? "a temporary folder" : options.data.c_str());
    return 1;
  }

  platform::headless::Config config;
  config.keep_frames = 0;
  config.echo_message_boxes = true;
  platform::headless::HeadlessPlatform headless(config);
  match_sim::PlayLog log(headless);
  Vorn.UsePlatform(&log);
  Vorn.show_cmd = 1;
  FixGameSeed(options.seed);
  ChooseSides(options.side);
  GameInit();
  if (Vorn.status != STATUS_RUNNING) {
    Vorn.ReportError();
    return 1;
  }

  // Another window stands in front, so frames are drawn but not presented: a replay needs no
  // record of presented frames, and its pictures are read from the back buffer instead.
  headless.SetForegroundWindow(nullptr);
  match_sim::Robot robots[2] = {
      match_sim::Robot('D', 'F', options.seed * 2u + 1u),
      match_sim::Robot(platform::VK_LEFT, platform::VK_RIGHT, options.seed * 2u + 2u)};
  const long last_frame =
      options.frames > 0 ? options.frames : (options.until_over ? 100000000L : 3600L);
  const auto step = static_cast<uint32_t>(options.ms_per_frame);
  int shown_state = -1;
  int kinds[ROUND_KINDS] = {};
  std::vector<uint16_t> pixels;
  long frame = 0;
  while (frame < last_frame) {
    ++frame;
    headless.Advance(step);
    if (options.scripted) {
      match_sim::PostKeys(options.keys, frame, &headless);
    }
    for (const int side : {LEFT, RIGHT}) {
      if (!options.scripted && options.side[side].kind == SideChoice::Kind::Robot) {
        robots[side].Step(&headless);
      }
    }
    PumpMessages();
    const bool pictured = !png_dir.empty() && frame % options.png_every == 0;
    // --raw writes the last frame's pixels; with --until-over the last frame is known only once
    // it has been played, so every frame is drawn then.
    const bool last = !options.raw.empty() && (frame == last_frame || options.until_over);
    if (pictured || last) {
      GameRun();
    } else {
      // Drawing changes nothing the match evolves, so a frame no picture is taken of is only
      // stepped: the keys as the game reads them, the step, its sounds.
      const uint32_t now = headless.Milliseconds();
      PlaySounds(Step(game, now, ReadControllers(now)), &game_assets);
    }
    const uint32_t ms = headless.Milliseconds();
    for (const platform::SoundBuffer* played : log.TakePlays()) {
      std::printf("frame=%ld ms=%" PRIu32 " sound=%s\n", frame, ms, SoundName(played));
    }
    if (game.match.game_state != shown_state) {
      shown_state = game.match.game_state;
      if (RoundKindOf(shown_state) != nullptr) ++kinds[shown_state];
      PrintState("", frame, ms);
      std::printf("\n");
    }
    if (pictured) {
      int width = 0;
      int height = 0;
      char name[64];
      std::snprintf(name, sizeof name, "/frame%07ld.png", frame);
      if (!ReadView(&pixels, &width, &height) ||
          !match_sim::WritePng(png_dir + name, pixels, width, height)) {
        std::fprintf(stderr, "match-sim: cannot write %s%s\n", png_dir.c_str(), name);
        return 1;
      }
    }
    if (options.until_over && game.match.game_state == GAME_OVER) break;
  }
  if (!options.raw.empty() && !WriteRaw(options.raw, &pixels)) {
    std::fprintf(stderr, "match-sim: cannot write %s\n", options.raw.c_str());
    return 1;
  }
  PrintState("result ", frame, headless.Milliseconds());
  std::printf(" rounds_played=");
  for (int k = 0; k < ROUND_KINDS; ++k) std::printf(k == 0 ? "%d" : ",%d", kinds[k]);
  std::printf(" outcome=%s\n", Outcome());
  Vorn.UsePlatform(nullptr);
  return 0;
}
