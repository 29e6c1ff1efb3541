#include "game/hud.h"

#include <cstdint>

#include "game/round_kinds.h"

namespace {

constexpr int kTargetX[2] = {172, 600};
constexpr int kTargetY = 390;
constexpr int kVoteRowY = 333;
constexpr int kVoteRowStep = 36;
constexpr int kTallyDx = 6;
constexpr int kTallyDy = 4;

constexpr int kMultiplierY = 360;
// Mark and digit columns: two digits from 16 on, else one.
constexpr int kMultiplierWide[2][3] = {{158, 176, 194}, {586, 604, 622}};
constexpr int kMultiplierNarrow[2][2] = {{167, 185}, {595, 613}};

constexpr int kRoundsLabelX = 330;
constexpr int kRoundsLabelY = 10;
constexpr int kRoundsOnesX = 300;
constexpr int kRoundsTensX = 282;
constexpr int kRoundsY = 20;

constexpr int kTimerY = 70;
constexpr int kTimerX[4] = {370, 388, 406, 424};

constexpr int kScoreY = 20;
constexpr int kScoreEndX[2] = {148, 748};
constexpr int kScoreSignX[2] = {22, 622};
constexpr int kDigitStep = 18;
constexpr int kScoreDigits = 7;

constexpr int kMessageX = 295;
constexpr int kMessageY = 100;

// A digit is always a digit: whatever the value, it selects one of number images 0 to 9.
int Digit(long long v) {
  const long long d = v % 10;
  return static_cast<int>(d < 0 ? -d : d);
}

void Targets(int colour_left, int colour_right, Placements* out) {
  if (colour_left != NO_COLOUR) out->Add(Art::kTarget, colour_left, kTargetX[LEFT], kTargetY);
  if (colour_right != NO_COLOUR) out->Add(Art::kTarget, colour_right, kTargetX[RIGHT], kTargetY);
}

// The instruction picture of a state, or -1 for one without.
int InstructionOf(int game_state) {
  if (const RoundKind* round = RoundKindOf(game_state)) return round->instruction;
  if (game_state == GAME_VOTE) return INSTRUCTION_VOTE;
  if (game_state == GAME_START) return INSTRUCTION_START;
  return -1;
}

}  // namespace

void MultiplierItems(int player, int m, Placements* out) {
  if (m >= MAX_MULTIPLIER) {
    const int* x = kMultiplierWide[player];
    out->Add(Art::kNumber, NUMBER_MARK, x[0], kMultiplierY);
    out->Add(Art::kNumber, Digit(m / 10), x[1], kMultiplierY);
    out->Add(Art::kNumber, Digit(m), x[2], kMultiplierY);
  } else if (m >= 2) {
    const int* x = kMultiplierNarrow[player];
    out->Add(Art::kNumber, NUMBER_MARK, x[0], kMultiplierY);
    out->Add(Art::kNumber, Digit(m), x[1], kMultiplierY);
  }
}

void StateItems(const MatchState& m, Placements* out) {
  if (m.game_state == GAME_VOTE) {
    for (int i = 0; i < 4; ++i) {
      const int y = kVoteRowY + kVoteRowStep * i;
      out->Add(Art::kTarget, i, kTargetX[LEFT], y);
      out->Add(Art::kTarget, i, kTargetX[RIGHT], y);
      // Tallies stay below ten while the vote is shown: the tenth vote starts a round.
      out->Add(Art::kNumber, Digit(m.votes[i]), kTargetX[LEFT] + kTallyDx, y + kTallyDy);
      out->Add(Art::kNumber, Digit(m.votes[i]), kTargetX[RIGHT] + kTallyDx, y + kTallyDy);
    }
    return;
  }
  const RoundKind* round = RoundKindOf(m.game_state);
  if (round == nullptr) return;
  if (round->multipliers) {
    MultiplierItems(LEFT, m.multiplier[LEFT], out);
    MultiplierItems(RIGHT, m.multiplier[RIGHT], out);
  }
  if (round->targets == RoundTargets::kRoundColour) {
    Targets(m.target, m.target, out);
  } else {
    Targets(m.pending[LEFT], m.pending[RIGHT], out);
  }
}

void RoundsItems(int rounds_left, Placements* out) {
  // Clearing both rings in the last purge round takes the count below zero; the game is over
  // then, and zero is what is left.
  const int r = rounds_left < 0 ? 0 : rounds_left;
  out->Add(Art::kRoundsLabel, 0, kRoundsLabelX, kRoundsLabelY);
  out->Add(Art::kNumber, Digit(r), kRoundsOnesX, kRoundsY);
  if (r / 10 > 0) out->Add(Art::kNumber, Digit(r / 10), kRoundsTensX, kRoundsY);
}

void TimerItems(int remaining_ms, Placements* out) {
  int s = remaining_ms / 1000;
  if (s < 0) s = 0;
  out->Add(Art::kNumber, Digit(s / 60), kTimerX[0], kTimerY);
  out->Add(Art::kNumber, NUMBER_SEPARATOR, kTimerX[1], kTimerY);
  out->Add(Art::kNumber, Digit((s % 60) / 10), kTimerX[2], kTimerY);
  out->Add(Art::kNumber, Digit(s), kTimerX[3], kTimerY);
}

void ScoreItems(int player, int score, Placements* out) {
  // Wide enough that the magnitude of the most negative int is still representable.
  long long v = score;
  if (v < 0) {
    out->Add(Art::kNumber, NUMBER_SIGN, kScoreSignX[player], kScoreY);
    v = -v;
  }
  int x = kScoreEndX[player];
  for (int i = 0; i < kScoreDigits && x > kScoreSignX[player]; ++i) {
    out->Add(Art::kNumber, Digit(v), x, kScoreY);
    v /= 10;
    x -= kDigitStep;
  }
}

void MessageItems(const MatchState& m, int left_score, int right_score, Placements* out) {
  if (m.game_state != GAME_OVER) {
    const int instruction = InstructionOf(m.game_state);
    if (instruction >= 0) out->Add(Art::kInstruction, instruction, kMessageX, kMessageY);
    return;
  }
  if (left_score < 0 && right_score < 0) {
    out->Add(Art::kInstruction, RESULT_BOTH_BELOW, kMessageX, kMessageY);
  } else if (left_score > right_score) {
    out->Add(Art::kInstruction, RESULT_LEFT_WINS, kMessageX, kMessageY);
  } else if (right_score > left_score) {
    out->Add(Art::kInstruction, RESULT_RIGHT_WINS, kMessageX, kMessageY);
  }
}

void ComputerMarkItems(int player, Placements* out) {
  // Under the score, level with its sign.
  out->Add(Art::kComputerMark, 0, player == LEFT ? 22 : 622, 46);
}

void OverlayItems(const MatchState& m, int left_score, int right_score, int now, Placements* out) {
  RoundsItems(m.rounds_left, out);
  if (m.game_state != GAME_VOTE && m.game_state != GAME_OVER) TimerItems(RemainingMs(m, now), out);
  ScoreItems(LEFT, left_score, out);
  ScoreItems(RIGHT, right_score, out);
  MessageItems(m, left_score, right_score, out);
}
