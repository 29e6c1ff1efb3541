#include "game/replay_run.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "engine/core/vorn.h"
#include "game/frame.h"
#include "game/game.h"
#include "game/replay.h"
#include "game/step.h"

namespace {

// After its last frame a replay shows the final picture this long, then the program ends.
constexpr uint32_t kHoldMs = 2000;
// Behind its recording by more than this (the window was dragged, the machine was busy), a replay
// goes on from where it stands instead of racing through what it missed.
constexpr int32_t kLateMs = 250;

struct ReplayRun {
  ReplayRecorder recorder;
  std::optional<ReplaySource> source;
  std::string path;
  // This run's clock reading that stands for the moment the recording started.
  uint32_t origin = 0;
  std::optional<uint32_t> ended_at;
  bool stopping = false;
};

ReplayRun run;

void Quit(int status) {
  run.stopping = true;
  Vorn.backend->Windows().PostQuitMessage(status);
}

// Says why the replay cannot go on, on standard error and in a box, and ends the program with
// the status of a refused file.
int Mismatch(size_t frame) {
  const std::string why = run.path +
                          " no longer plays as it was recorded: the match differs at "
                          "frame " +
                          std::to_string(frame) + " (it was recorded with other rules)";
  std::fprintf(stderr, "vorn: %s\n", why.c_str());
  Vorn.backend->Windows().MessageBox(Vorn.hwnd, why.c_str(), "Vorn", platform::MB_OK);
  Quit(-1);
  return 1;
}

// Nothing is due yet: let the machine rest a moment rather than spin.
int Wait() {
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 1;
}

}  // namespace

bool RecordTo(const std::string& path, std::string* error) {
  return run.recorder.Open(path, error);
}

bool ReplayFrom(const std::string& path, std::string* error) {
  Replay replay;
  std::string why;
  if (!LoadReplay(path, &replay, &why)) {
    *error = path + " cannot be replayed: " + why;
    return false;
  }
  run.path = path;
  run.source.emplace(std::move(replay));
  run.ended_at.reset();
  run.stopping = false;
  FixGameSeed(run.source->header().seed);
  const SideChoice sides[SIDES] = {ReplaySideChoice(run.source->header().side[LEFT]),
                                   ReplaySideChoice(run.source->header().side[RIGHT])};
  ChooseSides(sides);
  return true;
}

bool Replaying() {
  return run.source.has_value();
}

void BeginRecordOrReplay(GameState* s, uint32_t seed, const SideChoice sides[SIDES],
                         uint32_t start_ms) {
  // A game that did not start records nothing; its file is removed at the end.
  if (Vorn.status != STATUS_RUNNING) return;
  if (!run.source) return run.recorder.Begin(MakeReplayHeader(seed, sides, start_ms));
  *s = run.source->Start();
  run.origin = start_ms;
  for (const int side : {LEFT, RIGHT})
    UseController(side, std::make_unique<ReplayController>(*run.source));
  // Someone watching a replay may well have another window in front.
  Vorn.present_unfocused = true;
}

void RecordFrame(uint32_t now_ms, FrameInput in, const GameState& after) {
  run.recorder.Frame(now_ms, in, after);
}

void EndRecording(const GameState& s) {
  run.recorder.Finish(s);
}

int ReplayWindowFrame(GameState* s, GameAssets* assets) {
  if (run.stopping) return 1;
  ReplaySource& source = *run.source;
  const uint32_t now = Vorn.backend->Milliseconds();
  if (EscapeHeld()) {
    Quit(0);
    return 1;
  }
  if (source.Ended()) {
    if (!run.ended_at) run.ended_at = now;
    if (now - *run.ended_at >= kHoldMs) Quit(0);
    return Wait();
  }
  const uint32_t start_ms = source.header().start_ms;
  const auto behind = [&] {
    return static_cast<int32_t>((now - run.origin) - (source.Now() - start_ms));
  };
  if (behind() > kLateMs) run.origin = now - (source.Now() - start_ms);
  uint32_t shown_ms = 0;
  bool stepped = false;
  // Every frame that is due, each with its own clock reading and sounds; the last one is drawn.
  while (!source.Ended() && behind() >= 0) {
    shown_ms = source.Now();
    PlaySounds(Step(*s, shown_ms, ReadControllers(shown_ms)), assets);
    if (!source.Advance(*s)) return Mismatch(source.played());
    stepped = true;
  }
  if (!stepped) return Wait();
  if (Vorn.ViewLock()) {
    DrawMatch(*s, assets, shown_ms);
    Vorn.ViewUnlock();
  }
  return Vorn.ViewUpdate();
}
