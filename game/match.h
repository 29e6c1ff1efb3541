// The match's rules for one frame: turns the players' hits into votes and score changes, runs the
// start screen, the vote and the four round kinds against the frame's clock reading, and decides
// when the game is over. It works on a state it is handed and collects the sounds it asks for.
#pragma once

#include <cstdint>

#include "engine/core/random.h"
#include "game/game_state.h"
#include "game/input.h"
#include "game/step.h"

class Match {
 public:
  Match(GameState& s, uint32_t now_ms) : s_(s), now_(now_ms) {}

  // Enters state `kind` and resets what belongs to it; `value` is the target colour of runs,
  // streak and purge rounds and is ignored otherwise. The state's clock starts now.
  void StartRound(int kind, int value);
  // Counts one vote for `colour`; the tenth vote for a colour starts its round.
  void CastVote(int colour);

  // One frame's update for the current state (players, hits, the state's clock).
  void Update(FrameInput in);
  // The end of the game: a score below zero or no rounds left. Runs after every update.
  void EndTest();

  // The part of an update after the players have moved: handles `last_hit` as the current state
  // does and tests its time. Split out so that hits can be handed in directly.
  void HandleHits();

  const SoundEvents& events() const { return events_; }

 private:
  void StartScreen();
  void VoteHits();
  void RunsHits();
  void StreakHits();
  void EchoHits();
  void PurgeHits();
  // A correct hit of a streak or echo round, and a wrong one.
  void Reward(int player);
  void Penalise(int player);
  void EndRound();
  bool TimeUp() const;
  int Draw() { return NextRandom(&s_.random); }

  using HitRule = void (Match::*)();
  static const HitRule kRoundHits[];

  GameState& s_;
  MatchState& state_ = s_.match;
  Player (&players_)[2] = s_.players;
  const uint32_t now_;
  SoundEvents events_;
};
