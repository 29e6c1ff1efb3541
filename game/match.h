// The match: turns the players' hits into votes and score changes, runs the start screen, the
// vote and the four round kinds on the millisecond clock, and decides when the game is over.
#pragma once

#include "game/match_state.h"
#include "game/player.h"

class SoundX;

// The clips the match plays; any of them may be absent.
struct MatchSounds {
  SoundX* hit = nullptr;   // a hit that counts, any vote, any hit of a runs round
  SoundX* miss = nullptr;  // a hit that costs points, a wrong hit of a purge round
  SoundX* vote = nullptr;  // entering the vote
};

class Match {
 public:
  Match() = default;
  Match(const Match&) = delete;
  Match& operator=(const Match&) = delete;

  // Enters state `kind` and resets what belongs to it; `value` is the target colour of runs,
  // streak and purge rounds and is ignored otherwise. The state's clock starts now.
  void StartRound(int kind, int value);
  // Counts one vote for `colour`; the tenth vote for a colour starts its round.
  void CastVote(int colour);

  // One frame's update for the current state (players, hits, the state's clock).
  void Update();
  // The end of the game: a score below zero or no rounds left. Runs after every update.
  void EndTest();

  // The part of an update after the players have moved: handles `state.last_hit` as the
  // current state does and tests its time. Split out so that hits can be handed in directly.
  void HandleHits();

  MatchState state;
  Player players[2];
  MatchSounds sounds;

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
  void Play(SoundX* clip);
};

// The millisecond clock the match and its display read.
int MatchClock();
