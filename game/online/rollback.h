// Plays a two-player match with one side's inputs arriving late: the local side's inputs are
// known at once (after the input delay), the remote side's are predicted as its last known one,
// and when the real ones arrive and differ from what was played, the state goes back to the
// first wrong frame and the frames are played again, silently.
//
// `Game` supplies the match as a pure step:
//   typename Game::State                                    trivially copyable
//   typename Game::Sounds Game::Step(State&, uint32_t now_ms, const uint8_t input[2])
//   uint64_t Game::Checksum(const State&)
//   bool Game::Over(const State&)                            the match has ended
// Inputs are the wire's values (0, 1 or 2 for nothing, the first key, the second key), indexed by
// side (0 left, 1 right).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "game/online/protocol.h"

namespace online {

// Frames whose state is kept; a remote side further behind than this is waited for.
constexpr int kSavedStates = 8;
constexpr int kMaxInputDelay = 8;
constexpr int kDefaultInputDelay = 2;

// The clock of a network match: the same on both machines whatever their wall clocks read. 0 is
// kept out of it because the match reads 0 as "not started".
inline uint32_t NetClock(uint32_t frame) {
  return 1 + static_cast<uint32_t>(uint64_t{frame} * 1000 / 60);
}

struct ConfirmedFrame {
  uint8_t input[2];
};

template <class Game>
class Rollback {
 public:
  using State = typename Game::State;
  using Sounds = typename Game::Sounds;
  static_assert(std::is_trivially_copyable_v<State>, "states are saved by copying");

  // `limit` stops the match at that frame (it is the last state played), for runs of a set length.
  Rollback(const State& start, int local_side, int input_delay, uint32_t limit = UINT32_MAX)
      : live_(start),
        local_side_(local_side),
        delay_(std::clamp(input_delay, 0, kMaxInputDelay)),
        limit_(limit) {
    local_known_ = static_cast<uint32_t>(delay_);  // the first frames are played with no key held
    ConfirmUpTo(0);
  }

  uint32_t frame() const { return frame_; }  // the next frame to play; live() is its start
  const State& live() const { return live_; }
  int local_side() const { return local_side_; }
  int input_delay() const { return delay_; }
  // States up to this frame were played with both sides' real inputs.
  uint32_t confirmed() const { return confirmed_; }
  uint32_t remote_known() const { return remote_known_; }
  uint32_t local_known() const { return local_known_; }
  uint32_t acked() const { return acked_; }
  uint32_t rollbacks() const { return rollbacks_; }
  uint32_t max_rollback() const { return max_rollback_; }

  // The frame where the match ends, once confirmed (the limit or the match's own end), and the
  // checksum of its state.
  std::optional<uint32_t> finished() const { return finished_; }
  uint64_t final_checksum() const { return final_sum_; }
  // The first checksum frame where the two sides disagreed.
  std::optional<uint32_t> out_of_step() const { return out_of_step_; }
  // The latest confirmed frame that is a multiple of kChecksumEvery, and its checksum.
  uint32_t sum_frame() const { return latest_sum_frame_; }
  uint64_t sum() const { return latest_sum_; }

  // Every confirmed frame's inputs are appended here, in order, when given.
  void KeepConfirmedInputs(std::vector<ConfirmedFrame>* log) { log_ = log; }

  // Whether the next frame may be played: not past the end, not a predicted end (it waits for
  // the real inputs to confirm or undo it), not more than kSavedStates frames ahead of the remote
  // side's inputs, and not so far ahead of the remote side's acknowledgements that unsent inputs
  // would be overwritten.
  bool CanAdvance() const {
    return frame_ < limit_ && !finished_ && !Game::Over(live_) &&
           frame_ < remote_known_ + kSavedStates && local_known_ - acked_ < kWindow - 1;
  }

  // Plays the next frame with `local_input` as the local side's input `input_delay` frames from
  // now. Call only when CanAdvance().
  Sounds Advance(uint8_t local_input) {
    local_[local_known_ % kWindow] = local_input;
    ++local_known_;
    const Sounds sounds = Play(frame_);
    ++frame_;
    ConfirmUpTo(std::min(remote_known_, frame_));
    return sounds;
  }

  // The remote side's inputs from frame `first`. Inputs already known are skipped; a range that
  // starts after a gap is refused (false): the sender always starts at what was acknowledged.
  bool AddRemote(uint32_t first, const uint8_t* inputs, int count) {
    if (first > remote_known_) return false;
    std::optional<uint32_t> wrong;
    const uint32_t end = first + static_cast<uint32_t>(count);
    // Inputs far ahead of this side's frame would overwrite ones still needed; they come again.
    const uint32_t room = frame_ + kWindow - 2 * kSavedStates;
    for (uint32_t f = remote_known_; f < end && f < room; ++f) {
      const uint8_t value = inputs[f - first];
      remote_[f % kWindow] = value;
      if (f < frame_ && !wrong && played_remote_[f % kWindow] != value) wrong = f;
      ++remote_known_;
    }
    if (wrong) Replay(*wrong);
    ConfirmUpTo(std::min(remote_known_, frame_));
    return true;
  }

  // The remote side holds this side's inputs below `acked`; more than were ever made is refused.
  bool Acknowledge(uint32_t acked) {
    if (acked > local_known_) return false;
    acked_ = std::max(acked_, acked);
    return true;
  }

  // The remote side's checksum of its confirmed frame `frame` (a multiple of kChecksumEvery).
  void RemoteChecksum(uint32_t frame, uint64_t sum) {
    Note(remote_sums_, frame, sum);
    Compare(frame);
  }

  // The local inputs the remote side has not acknowledged, oldest first, at most `max`.
  int Unacked(uint32_t* first, uint8_t* out, int max) const {
    *first = acked_;
    const int count = static_cast<int>(std::min<uint32_t>(local_known_ - acked_, max));
    for (int i = 0; i < count; ++i) out[i] = local_[(acked_ + i) % kWindow];
    return count;
  }

 private:
  static constexpr uint32_t kWindow = 128;
  static constexpr uint32_t kSums = 16;
  struct Sum {
    uint32_t frame = UINT32_MAX;
    uint64_t sum = 0;
  };

  uint8_t Predicted() const {
    return remote_known_ == 0 ? 0 : remote_[(remote_known_ - 1) % kWindow];
  }

  // Saves the state at the start of frame f, then plays it.
  Sounds Play(uint32_t f) {
    saved_[f % kSavedStates] = live_;
    saved_frame_[f % kSavedStates] = f;
    const uint8_t remote = f < remote_known_ ? remote_[f % kWindow] : Predicted();
    played_remote_[f % kWindow] = remote;
    uint8_t input[2];
    input[local_side_] = local_[f % kWindow];
    input[1 - local_side_] = remote;
    return Game::Step(live_, NetClock(f), input);
  }

  // Back to the start of frame `from`, then every frame to the present again; their sounds were
  // heard when the frames were first played.
  void Replay(uint32_t from) {
    live_ = saved_[from % kSavedStates];
    for (uint32_t f = from; f < frame_; ++f) Play(f);
    ++rollbacks_;
    max_rollback_ = std::max(max_rollback_, frame_ - from);
  }

  const State& StateAt(uint32_t f) const { return f == frame_ ? live_ : saved_[f % kSavedStates]; }

  void ConfirmUpTo(uint32_t upto) {
    for (uint32_t f = confirmed_ + (started_ ? 1 : 0); f <= upto && !finished_; ++f) {
      started_ = true;
      confirmed_ = f;
      const State& s = StateAt(f);
      if (log_ != nullptr && f > 0) {
        const uint32_t i = (f - 1) % kWindow;
        ConfirmedFrame c;
        c.input[local_side_] = local_[i];
        c.input[1 - local_side_] = remote_[i];
        log_->push_back(c);
      }
      const bool over = Game::Over(s);
      if (f % kChecksumEvery == 0 || over || f == limit_) {
        const uint64_t sum = Game::Checksum(s);
        if (f % kChecksumEvery == 0) {
          latest_sum_frame_ = f;
          latest_sum_ = sum;
          Note(local_sums_, f, sum);
          Compare(f);
        }
        if (over || f == limit_) {
          finished_ = f;
          final_sum_ = sum;
        }
      }
    }
  }

  static void Note(std::array<Sum, kSums>& sums, uint32_t frame, uint64_t sum) {
    sums[frame / kChecksumEvery % kSums] = {frame, sum};
  }

  void Compare(uint32_t frame) {
    const Sum& mine = local_sums_[frame / kChecksumEvery % kSums];
    const Sum& theirs = remote_sums_[frame / kChecksumEvery % kSums];
    if (mine.frame == frame && theirs.frame == frame && mine.sum != theirs.sum &&
        (!out_of_step_ || frame < *out_of_step_)) {
      out_of_step_ = frame;
    }
  }

  State live_;
  std::array<State, kSavedStates> saved_{};
  std::array<uint32_t, kSavedStates> saved_frame_{};
  int local_side_;
  int delay_;
  uint32_t limit_;
  uint32_t frame_ = 0;
  uint32_t confirmed_ = 0;
  bool started_ = false;
  uint32_t local_known_ = 0;
  uint32_t remote_known_ = 0;
  uint32_t acked_ = 0;
  std::array<uint8_t, kWindow> local_{};
  std::array<uint8_t, kWindow> remote_{};
  std::array<uint8_t, kWindow> played_remote_{};
  std::array<Sum, kSums> local_sums_{};
  std::array<Sum, kSums> remote_sums_{};
  uint32_t latest_sum_frame_ = 0;
  uint64_t latest_sum_ = 0;
  std::optional<uint32_t> out_of_step_;
  std::optional<uint32_t> finished_;
  uint64_t final_sum_ = 0;
  uint32_t rollbacks_ = 0;
  uint32_t max_rollback_ = 0;
  std::vector<ConfirmedFrame>* log_ = nullptr;
};

}  // namespace online
