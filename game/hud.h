// The heads-up display: where each label, digit and badge of a frame goes. It only computes
// placements, so its layout can be checked without a view; the frame turns them into draws.
#pragma once

#include <array>
#include <cstdint>

#include "game/match_state.h"

// The picture families the display uses; the index picks one picture of the family.
enum class Art : uint8_t {
  kTarget,        // 0 to 3, by colour
  kNumber,        // 0 to 9 digits, 10 separator, 11 minus sign, 12 multiplier mark
  kInstruction,   // 0 to 3 by round kind, then vote, start, and the three results
  kRoundsLabel,   // index 0
  kComputerMark,  // index 0
};

constexpr int NUMBER_SEPARATOR = 10;
constexpr int NUMBER_SIGN = 11;
constexpr int NUMBER_MARK = 12;
constexpr int NUMBER_IMAGES = 13;
constexpr int INSTRUCTION_IMAGES = 9;
constexpr int INSTRUCTION_VOTE = 4;
constexpr int INSTRUCTION_START = 5;
constexpr int RESULT_LEFT_WINS = 6;
constexpr int RESULT_RIGHT_WINS = 7;
constexpr int RESULT_BOTH_BELOW = 8;

struct Placement {
  Art art;
  int index;
  int x;
  int y;
  bool operator==(const Placement&) const = default;
};

// A short, fixed-size list: a frame never places more than a few dozen pictures, and the frame
// runs thousands of times a second, so nothing here allocates.
class Placements {
 public:
  static constexpr int kCapacity = 48;
  void Add(Art art, int index, int x, int y) {
    if (count_ < kCapacity) items_[count_++] = Placement{art, index, x, y};
  }
  int size() const { return count_; }
  const Placement& operator[](int i) const { return items_[i]; }
  const Placement* begin() const { return items_.data(); }
  const Placement* end() const { return items_.data() + count_; }
  void clear() { count_ = 0; }

 private:
  std::array<Placement, kCapacity> items_{};
  int count_ = 0;
};

// What stands under the players: targets, pending echo colours, multipliers, vote rows.
void StateItems(const MatchState& m, Placements* out);
// A player's multiplier: the mark and one or two digits, nothing below 2.
void MultiplierItems(int player, int multiplier, Placements* out);
// The rounds label and the count of rounds left.
void RoundsItems(int rounds_left, Placements* out);
// The round timer as m:ss from the milliseconds left.
void TimerItems(int remaining_ms, Placements* out);
// A player's score: the sign when negative, then exactly seven digits.
void ScoreItems(int player, int score, Placements* out);
// The instruction of the state, or the result once the game is over.
void MessageItems(const MatchState& m, int left_score, int right_score, Placements* out);
// The mark under the score of a side the computer plays.
void ComputerMarkItems(int player, Placements* out);
// Everything drawn over the players, in drawing order: rounds, timer, scores, message.
void OverlayItems(const MatchState& m, int left_score, int right_score, int now, Placements* out);
