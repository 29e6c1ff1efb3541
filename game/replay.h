// Recording a match into a file as it is played, and playing one back: a recording stands in for
// both sides' controllers and for the clock, and tells where the match no longer follows it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "game/controller.h"
#include "game/game_state.h"
#include "game/options.h"
#include "game/replay_format.h"

ReplayHeader MakeReplayHeader(uint32_t seed, const SideChoice sides[SIDES], uint32_t start_ms);
SideChoice ReplaySideChoice(ReplaySide side);

// Writes as the match goes, so that a recording holds every frame up to its end marker.
class ReplayRecorder {
 public:
  ReplayRecorder() = default;
  ReplayRecorder(const ReplayRecorder&) = delete;
  ReplayRecorder& operator=(const ReplayRecorder&) = delete;
  ~ReplayRecorder();

  // Creates the file (a relative path in the working folder). False with a line in `error`.
  bool Open(const std::string& path, std::string* error);
  void Begin(const ReplayHeader& header);
  // After each step: the frame's clock reading, both inputs and the state they led to. Once the
  // match is over the recording ends by itself.
  void Frame(uint32_t now_ms, FrameInput in, const GameState& after);
  // The program ends: the end marker, unless the match's end wrote it. A recording that never
  // began (the game did not start) is removed.
  void Finish(const GameState& s);
  bool recording() const { return encoder_.has_value(); }

 private:
  void End(ReplayEnd why, const GameState& s);
  void Write();
  void Close();

  std::FILE* file_ = nullptr;
  std::string path_;
  std::optional<ReplayEncoder> encoder_;
};

// Reads and checks a whole recording. False with one line in `why`.
bool LoadReplay(const std::string& path, Replay* out, std::string* why);

// A recording being played: the frame to play next, its clock reading and inputs.
class ReplaySource {
 public:
  explicit ReplaySource(Replay replay) : replay_(std::move(replay)) {}

  const ReplayHeader& header() const { return replay_.header; }
  // The match as the recording began it.
  GameState Start() const { return NewGame(replay_.header.seed, replay_.header.start_ms); }
  bool Ended() const { return next_ >= replay_.frames.size(); }
  uint32_t Now() const { return replay_.frames[next_].ms; }
  FrameInput Input() const { return replay_.frames[next_].input; }
  // Frames played so far.
  size_t played() const { return next_; }
  size_t frames() const { return replay_.frames.size(); }
  // After the frame has been stepped: moves on, false when the state is not the one recorded.
  bool Advance(const GameState& after);

 private:
  Replay replay_;
  size_t next_ = 0;
};

// Both sides' inputs, as recorded.
class ReplayController final : public Controller {
 public:
  explicit ReplayController(const ReplaySource& source) : source_(source) {}
  Spin Next(const GameState&, int side, uint32_t) override {
    return source_.Ended() ? Spin::None : source_.Input().side[side == RIGHT ? RIGHT : LEFT];
  }

 private:
  const ReplaySource& source_;
};
