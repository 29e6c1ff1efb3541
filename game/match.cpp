#include "game/match.h"

#include "engine/core/random.h"
#include "engine/core/vorn.h"

namespace {

constexpr int kHitPoints = 1000;
constexpr int kMissPoints = 500;
constexpr int kRunPoints = 500;  // times the square of the run's length
constexpr int kClearBonus = 100000;
constexpr int kTilePenalty = 1000;
// Handle the left player first when the draw is at least this (half the generator's range).
constexpr int kLeftFirst = 16384;
// Scales a draw of 0 to 32767 to a colour 0 to 3.
constexpr double kColourScale = 1.0 / 8192.0;

}  // namespace

int MatchClock() {
  return static_cast<int>(Vorn.backend->Milliseconds());
}

void Match::Play(SoundX* clip) {
  if (clip != nullptr) Vorn.SoundPlay(clip, 0);
}

bool Match::TimeUp() const {
  return RemainingMs(state, MatchClock()) <= 0;
}

void Match::StartRound(int kind, int value) {
  state.game_state = kind;
  switch (kind) {
    case GAME_RUNS:
    case GAME_PURGE:
      state.round_duration = ROUND_MS;
      state.target = value;
      break;
    case GAME_STREAK:
      state.multiplier[LEFT] = state.multiplier[RIGHT] = 1;
      state.target = value;
      state.round_duration = ROUND_MS;
      break;
    case GAME_ECHO:
      state.round_duration = ROUND_MS;
      state.multiplier[LEFT] = state.multiplier[RIGHT] = 1;
      state.pending[LEFT] = state.pending[RIGHT] = NO_COLOUR;
      break;
    case GAME_VOTE:
      for (int& v : state.votes) v = 0;
      state.round_duration = VOTE_MS;
      Play(sounds.vote);
      break;
    default:
      break;
  }
  state.round_start = MatchClock();
}

void Match::CastVote(int colour) {
  state.votes[colour] += 1;
  if (state.votes[colour] > VOTES_TO_DECIDE) {
    StartRound(colour, static_cast<int>(Random() * kColourScale));
  }
}

void Match::Update() {
  switch (state.game_state) {
    case GAME_START:
      StartScreen();
      break;
    case GAME_VOTE:
    case GAME_RUNS:
    case GAME_STREAK:
    case GAME_ECHO:
    case GAME_PURGE:
      state.last_hit[LEFT] = players[LEFT].Update();
      state.last_hit[RIGHT] = players[RIGHT].Update();
      HandleHits();
      break;
    default:  // game over: nothing moves any more
      break;
  }
}

void Match::HandleHits() {
  switch (state.game_state) {
    case GAME_VOTE:
      VoteHits();
      break;
    case GAME_RUNS:
      RunsHits();
      break;
    case GAME_STREAK:
      StreakHits();
      break;
    case GAME_ECHO:
      EchoHits();
      break;
    case GAME_PURGE:
      PurgeHits();
      break;
    default:
      break;
  }
}

void Match::EndTest() {
  if (players[LEFT].score < 0 || players[RIGHT].score < 0 || state.rounds_left < 1) {
    state.game_state = GAME_OVER;
  }
}

void Match::StartScreen() {
  if (state.round_start == 0) {
    state.round_start = MatchClock();
    state.round_duration = START_MS;
  }
  if (TimeUp()) StartRound(GAME_VOTE, 0);
}

void Match::VoteHits() {
  // When both hit in the same frame, a coin decides whose vote counts first; both count.
  const int first = Random() >= kLeftFirst ? LEFT : RIGHT;
  for (const int p : {first, 1 - first}) {
    if (state.last_hit[p] == NO_HIT) continue;
    CastVote(players[p].HitColour(state.last_hit[p]));
    Play(sounds.hit);
  }
}

void Match::EndRound() {
  state.rounds_left -= 1;
  StartRound(GAME_VOTE, 0);
}

void Match::RunsHits() {
  for (const int p : {LEFT, RIGHT}) {
    if (state.last_hit[p] != NO_HIT) Play(sounds.hit);
  }
  if (!TimeUp()) return;
  int sum[2] = {0, 0};
  for (const int p : {LEFT, RIGHT}) {
    for (const int n : players[p].RunLengths(state.target)) sum[p] += kRunPoints * n * n;
  }
  players[LEFT].score += sum[LEFT] - sum[RIGHT];
  players[RIGHT].score += sum[RIGHT] - sum[LEFT];
  EndRound();
}

void Match::Reward(int p) {
  players[p].score += kHitPoints * state.multiplier[p];
  const int doubled = state.multiplier[p] * 2;
  state.multiplier[p] = doubled > MAX_MULTIPLIER ? MAX_MULTIPLIER : doubled;
  Play(sounds.hit);
}

void Match::Penalise(int p) {
  state.multiplier[p] = 1;
  players[p].score -= kMissPoints;
  Play(sounds.miss);
}

void Match::StreakHits() {
  for (const int p : {LEFT, RIGHT}) {
    if (state.last_hit[p] == NO_HIT) continue;
    if (players[p].HitColour(state.last_hit[p]) == state.target) {
      Reward(p);
    } else {
      Penalise(p);
    }
  }
  if (TimeUp()) EndRound();
}

void Match::EchoHits() {
  // Answer one's own pending colour first; only then may a hit set the opponent's, so that an
  // answered colour can be set anew in the same frame.
  for (const int p : {LEFT, RIGHT}) {
    if (state.last_hit[p] == NO_HIT || state.pending[p] == NO_COLOUR) continue;
    if (players[p].HitColour(state.last_hit[p]) == state.pending[p]) {
      Reward(p);
      state.pending[p] = NO_COLOUR;
    } else {
      Penalise(p);
    }
  }
  for (const int p : {LEFT, RIGHT}) {
    const int other = 1 - p;
    if (state.last_hit[p] != NO_HIT && state.pending[other] == NO_COLOUR) {
      state.pending[other] = players[p].HitColour(state.last_hit[p]);
    }
  }
  if (TimeUp()) EndRound();
}

void Match::PurgeHits() {
  // Both hits are judged before any tile is passed: a tile given to a ring can land on the very
  // tile that ring's player has just hit and would turn a hit of the target into a miss.
  int hit_colour[2] = {NO_COLOUR, NO_COLOUR};
  for (const int p : {LEFT, RIGHT}) {
    if (state.last_hit[p] != NO_HIT) hit_colour[p] = players[p].HitColour(state.last_hit[p]);
  }
  for (const int p : {LEFT, RIGHT}) {
    if (state.last_hit[p] == NO_HIT) continue;
    if (hit_colour[p] == state.target) {
      players[1 - p].GiveTile(state.target);
      Play(sounds.hit);
    } else {
      Play(sounds.miss);
    }
  }
  // Both clearance tests run, so two rings cleared in the same frame both pay.
  for (const int p : {LEFT, RIGHT}) {
    const int other = 1 - p;
    if (!players[p].HasColour(state.target)) {
      players[p].score += kClearBonus;
      players[other].score -= kTilePenalty * players[other].CountColour(state.target);
      EndRound();
    }
  }
  // After a clearance the vote has just started its own clock, so this cannot end it again.
  if (TimeUp()) {
    for (const int p : {LEFT, RIGHT}) {
      players[p].score -= kTilePenalty * players[p].CountColour(state.target);
    }
    EndRound();
  }
}
