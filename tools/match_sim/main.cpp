// match-sim: replays a match of the real game on the headless back end.
//
//   match-sim --seed N [--frames N] [--ms-per-frame 16] [--png DIR [--png-every N]]
//             [--until-over] [--data DIR] [--keys LIST] [--raw FILE] [--record FILE]
//   match-sim --replay FILE [--png DIR [--png-every N]] [--data DIR] [--raw FILE]
//   match-sim --seeds A-B [--left|--right robot|cpu[:LEVEL]|idle] [--ms-per-frame 16]
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
//
// --record FILE writes the match as the game's --record does; --replay FILE plays such a file (the
// game's or match-sim's) with its seed, sides, clock readings and inputs, and fails with status
// 255 where the match no longer follows it. The result line ends with the state's checksum, so a
// recording and its replay end on the same line. --seeds A-B plays a whole match for every seed
// from A to B, prints each one's result line and then a summary: the wins of each side, the draws,
// and per round kind the rounds played and the left side's mean score margin in them.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/options.h"
#include "game/replay.h"
#include "game/round_kinds.h"
#include "game/step.h"
#include "platform/headless/headless.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/text.h"
#include "tools/match_sim/play_log.h"
#include "tools/match_sim/png_writer.h"
#include "tools/match_sim/robots.h"
#include "tools/match_sim/tally.h"

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
  bool sides_given = false;
  std::string record;
  std::string replay;
  bool has_seeds = false;
  uint32_t last_seed = 0;  // with --seeds; `seed` is the first
};

int Usage() {
  std::fprintf(stderr,
               "usage: match-sim --seed N [--frames N] [--ms-per-frame 16] "
               "[--png DIR [--png-every N]] [--until-over] [--data DIR] [--keys LIST] "
               "[--raw FILE] [--left|--right robot|cpu[:LEVEL]|idle] [--record FILE]\n"
               "       match-sim --replay FILE [--png DIR [--png-every N]] [--data DIR] "
               "[--raw FILE]\n"
               "       match-sim --seeds A-B [--left|--right robot|cpu[:LEVEL]|idle] "
               "[--ms-per-frame N] [--data DIR]\n");
  return 2;
}

// "A-B": seeds A to B, at most a hundred thousand of them.
bool ParseSeeds(const std::string& text, Options* o) {
  const size_t dash = text.find('-');
  long first = 0;
  long last = 0;
  if (dash == std::string::npos ||
      !ParseWhole(text.substr(0, dash).c_str(), 0, 4294967295L, &first) ||
      !ParseWhole(text.substr(dash + 1).c_str(), first, std::min(first + 99999L, 4294967295L),
                  &last)) {
    return false;
  }
  o->seed = static_cast<uint32_t>(first);
  o->last_seed = static_cast<uint32_t>(last);
  o->has_seeds = true;
  return true;
}

// Whether the options go together: one match by seed, a replay, or a series of seeds.
bool Consistent(const Options& o) {
  if (!o.replay.empty()) {
    return !o.has_seed && !o.has_seeds && !o.scripted && !o.sides_given && o.record.empty() &&
           o.frames == 0 && !o.until_over;
  }
  if (o.has_seeds) return !o.has_seed && o.record.empty() && o.png_dir.empty() && !o.scripted;
  return o.has_seed;
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
      o->sides_given = true;
    } else if (arg == "--seeds") {
      if (!ParseSeeds(argv[++i], o)) return false;
    } else if (arg == "--record") {
      o->record = argv[++i];
    } else if (arg == "--replay") {
      o->replay = argv[++i];
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
  return Consistent(*o);
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

// One match's run: the platform it plays on and what it is played with.
struct Run {
  const Options& options;
  platform::headless::HeadlessPlatform& headless;
  match_sim::PlayLog& log;
  std::string png_dir;
  ReplaySource* replay = nullptr;
  ReplayRecorder* recorder = nullptr;
  match_sim::SeriesTally* tally = nullptr;
  // A series prints only each match's result.
  bool quiet = false;
  std::vector<uint16_t> pixels;
};

struct Played {
  long frames = 0;
  int kinds[ROUND_KINDS] = {};
  bool failed = false;  // a picture could not be written, or a replay no longer matched
};

// Plays the match `game` holds, frame by frame, until its end, printing what happens.
Played PlayMatch(Run* run, uint32_t seed) {
  const Options& options = run->options;
  match_sim::Robot robots[2] = {
      match_sim::Robot('D', 'F', seed * 2u + 1u),
      match_sim::Robot(platform::VK_LEFT, platform::VK_RIGHT, seed * 2u + 2u)};
  long last_frame = options.frames > 0 ? options.frames : (options.until_over ? 100000000L : 3600L);
  if (run->replay != nullptr) last_frame = static_cast<long>(run->replay->frames());
  if (options.has_seeds) last_frame = 100000000L;
  const auto step = static_cast<uint32_t>(options.ms_per_frame);
  int shown_state = -1;
  Played out;
  long& frame = out.frames;
  while (frame < last_frame) {
    ++frame;
    // A replay sets the clock to each frame's recorded reading.
    run->headless.Advance(run->replay != nullptr ? run->replay->Now() - run->headless.Milliseconds()
                                                 : step);
    if (options.scripted) {
      match_sim::PostKeys(options.keys, frame, &run->headless);
    }
    for (const int side : {LEFT, RIGHT}) {
      if (!options.scripted && options.side[side].kind == SideChoice::Kind::Robot) {
        robots[side].Step(&run->headless);
      }
    }
    PumpMessages();
    const bool pictured = !run->png_dir.empty() && frame % options.png_every == 0;
    // --raw writes the last frame's pixels; with --until-over the last frame is known only once
    // it has been played, so every frame is drawn then.
    const bool last = !options.raw.empty() && (frame == last_frame || options.until_over);
    const uint32_t now = run->headless.Milliseconds();
    const FrameInput in = ReadControllers(now);
    if (pictured || last) {
      RunMatchFrame(&game, &game_assets, now, in);
    } else {
      // Drawing changes nothing the match evolves, so a frame no picture is taken of is only
      // stepped: the keys as the game reads them, the step, its sounds.
      PlaySounds(Step(game, now, in), &game_assets);
    }
    if (run->replay != nullptr && !run->replay->Advance(game)) {
      std::fprintf(stderr,
                   "match-sim: %s no longer plays as it was recorded: the match differs at frame "
                   "%ld\n",
                   options.replay.c_str(), frame);
      out.failed = true;
      return out;
    }
    if (run->recorder != nullptr) run->recorder->Frame(now, in, game);
    if (run->tally != nullptr) run->tally->Observe(game);
    const uint32_t ms = run->headless.Milliseconds();
    for (const platform::SoundBuffer* played : run->log.TakePlays()) {
      if (!run->quiet)
        std::printf("frame=%ld ms=%" PRIu32 " sound=%s\n", frame, ms, SoundName(played));
    }
    if (game.match.game_state != shown_state) {
      shown_state = game.match.game_state;
      if (RoundKindOf(shown_state) != nullptr) ++out.kinds[shown_state];
      if (!run->quiet) {
        PrintState("", frame, ms);
        std::printf("\n");
      }
    }
    if (pictured) {
      int width = 0;
      int height = 0;
      char name[64];
      std::snprintf(name, sizeof name, "/frame%07ld.png", frame);
      if (!ReadView(&run->pixels, &width, &height) ||
          !match_sim::WritePng(run->png_dir + name, run->pixels, width, height)) {
        std::fprintf(stderr, "match-sim: cannot write %s%s\n", run->png_dir.c_str(), name);
        out.failed = true;
        return out;
      }
    }
    if ((options.until_over || options.has_seeds) && game.match.game_state == GAME_OVER) break;
  }
  return out;
}

void PrintResult(const char* prefix, const Played& played, uint32_t ms) {
  PrintState(prefix, played.frames, ms);
  std::printf(" rounds_played=");
  for (int k = 0; k < ROUND_KINDS; ++k) std::printf(k == 0 ? "%d" : ",%d", played.kinds[k]);
  std::printf(" outcome=%s checksum=%016" PRIx64 "\n", Outcome(), Checksum(game));
}

// The next match of a series on the running engine: its seed, fresh players, no key held.
void NewMatch(const Options& options, uint32_t seed,
              platform::headless::HeadlessPlatform* headless) {
  std::memset(Vorn.keys, 0, sizeof Vorn.keys);
  game = NewGame(seed, headless->Milliseconds());
  for (const int side : {LEFT, RIGHT}) {
    std::unique_ptr<Controller> computer = MakeController(options.side[side], side, seed);
    UseController(side, computer ? std::move(computer) : std::make_unique<KeyboardController>());
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return Usage();
  // The files are read and created before the data folder becomes the working folder.
  std::optional<ReplaySource> replay;
  if (!options.replay.empty()) {
    Replay recorded;
    std::string why;
    if (!LoadReplay(options.replay, &recorded, &why)) {
      std::fprintf(stderr, "match-sim: %s cannot be replayed: %s\n", options.replay.c_str(),
                   why.c_str());
      return 255;
    }
    replay.emplace(std::move(recorded));
    options.seed = replay->header().seed;
    for (const int side : {LEFT, RIGHT})
      options.side[side] = ReplaySideChoice(replay->header().side[side]);
  }
  ReplayRecorder recorder;
  std::string error;
  if (!options.record.empty() && !recorder.Open(options.record, &error)) {
    std::fprintf(stderr, "match-sim: %s\n", error.c_str());
    return 255;
  }
  const std::string png_dir =
      options.png_dir.empty() ? "" : std::filesystem::absolute(options.png_dir).string();
  if (!png_dir.empty()) std::filesystem::create_directories(png_dir);
  // Written at the end, when the working folder may be a temporary one about to be removed.
  if (!options.raw.empty()) options.raw = std::filesystem::absolute(options.raw).string();

  DataFolder data;
  if (!data.Enter(options.data)) {
    std::fprintf(stderr, "match-sim: cannot use the game's data in %s\n",
                 options.data.empty() ? "a temporary folder" : options.data.c_str());
    return 1;
  }

  platform::headless::Config config;
  config.keep_frames = 0;
  config.echo_message_boxes = true;
  if (replay) config.start_time = replay->header().start_ms;
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
  Run run{options, headless, log, png_dir, nullptr, nullptr, nullptr, false, {}};
  int status = 0;
  if (options.has_seeds) {
    match_sim::SeriesTally tally;
    run.tally = &tally;
    run.quiet = true;
    for (uint64_t seed = options.seed; seed <= options.last_seed; ++seed) {
      NewMatch(options, static_cast<uint32_t>(seed), &headless);
      const Played played = PlayMatch(&run, static_cast<uint32_t>(seed));
      tally.EndMatch(game);
      const std::string prefix = "result seed=" + std::to_string(seed) + " ";
      PrintResult(prefix.c_str(), played, headless.Milliseconds());
    }
    tally.PrintSummary();
  } else {
    if (replay) {
      game = replay->Start();
      run.replay = &*replay;
      for (const int side : {LEFT, RIGHT})
        UseController(side, std::make_unique<ReplayController>(*replay));
    }
    if (!options.record.empty()) {
      recorder.Begin(MakeReplayHeader(options.seed, options.side, GameStartMs()));
      run.recorder = &recorder;
    }
    const Played played = PlayMatch(&run, options.seed);
    recorder.Finish(game);
    if (played.failed) {
      status = replay ? 255 : 1;
    } else if (!options.raw.empty() && !WriteRaw(options.raw, &run.pixels)) {
      std::fprintf(stderr, "match-sim: cannot write %s\n", options.raw.c_str());
      status = 1;
    } else {
      PrintResult("result ", played, headless.Milliseconds());
    }
  }
  Vorn.UsePlatform(nullptr);
  return status;
}
