#include "tools/match_sim/tally.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace match_sim {

namespace {

bool IsRound(int state) {
  return RoundKindOf(state) != nullptr;
}

// The kind's title as a word of the summary line: "runs", "streak", ...
std::string KindWord(int kind) {
  std::string word = ROUND_KIND[kind].title;
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

}  // namespace

void SeriesTally::CloseRound(const GameState& s) {
  if (!IsRound(state_)) return;
  const int left = s.players[LEFT].score - round_start_score_[LEFT];
  const int right = s.players[RIGHT].score - round_start_score_[RIGHT];
  margin_sum_[state_] += left - right;
  ++rounds_[state_];
}

void SeriesTally::Observe(const GameState& s) {
  const int state = s.match.game_state;
  if (state == state_) return;
  // A round's last frame scores it (runs and purge pay at the end), so the round closes on the
  // frame that leaves it.
  CloseRound(s);
  if (IsRound(state)) {
    round_start_score_[LEFT] = s.players[LEFT].score;
    round_start_score_[RIGHT] = s.players[RIGHT].score;
  }
  state_ = state;
}

void SeriesTally::EndMatch(const GameState& s) {
  const int left = s.players[LEFT].score;
  const int right = s.players[RIGHT].score;
  ++matches_;
  if (s.match.game_state != GAME_OVER) {
    ++unfinished_;
  } else if ((left < 0 && right < 0) || left == right) {
    // Both below zero is shown as nobody's win.
    ++draws_;
  } else if (left > right) {
    ++left_wins_;
  } else {
    ++right_wins_;
  }
  state_ = -1;
}

void SeriesTally::PrintSummary() const {
  std::printf("summary matches=%d left_wins=%d right_wins=%d draws=%d", matches_, left_wins_,
              right_wins_, draws_);
  for (int kind = 0; kind < kKinds; ++kind) {
    const double mean =
        rounds_[kind] > 0 ? static_cast<double>(margin_sum_[kind]) / rounds_[kind] : 0.0;
    const std::string word = KindWord(kind);
    std::printf(" %s_rounds=%d %s_margin=%.0f", word.c_str(), rounds_[kind], word.c_str(), mean);
  }
  std::printf(" unfinished=%d\n", unfinished_);
}

}  // namespace match_sim
