// What a series of matches came to: who won each, and how the scores moved in each kind of round,
// for weighing one way of playing against another.
#pragma once

#include "game/game_state.h"
#include "game/round_kinds.h"

namespace match_sim {

class SeriesTally {
 public:
  // Every frame, after its step.
  void Observe(const GameState& s);
  // A match has ended (or was cut short): counts its outcome; the next match starts afresh.
  void EndMatch(const GameState& s);
  // "summary matches=N left_wins=W right_wins=W draws=D", then per round kind the rounds played
  // and the left side's mean score margin over them, then the matches cut short.
  void PrintSummary() const;

 private:
  static constexpr int kKinds = ROUND_KINDS;

  void CloseRound(const GameState& s);

  int state_ = -1;
  int round_start_score_[2] = {0, 0};
  long long margin_sum_[kKinds] = {};
  int rounds_[kKinds] = {};
  int matches_ = 0;
  int left_wins_ = 0;
  int right_wins_ = 0;
  int draws_ = 0;
  int unfinished_ = 0;
};

}  // namespace match_sim
