#include "game/match.h"

#include "engine/core/random.h"
#include "game/round_kinds.h"

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

SoundEvents Step(GameState& s, uint32_t now_ms, FrameInput in) {
  Match m(s, now_ms);
  m.Update(in);
  m.EndTest();
  return m.events();
}

bool Match::TimeUp() const {
  return RemainingMs(state_, static_cast<int>(now_)) <= 0;
}

// The rules of each round kind's hits, in the order of ROUND_KIND.
const Match::HitRule Match::kRoundHits[ROUND_KINDS] = {&Match::RunsHits, &Match::StreakHits,
                                                       &Match::EchoHits, &Match::PurgeHits};

void Match::StartRound(int kind, int value) {
  state_.game_state = kind;
  if (const RoundKind* round = RoundKindOf(kind)) {
    state_.round_duration = ROUND_MS;
    if (round->multipliers) state_.multiplier[LEFT] = state_.multiplier[RIGHT] = 1;
    if (round->targets == RoundTargets::kRoundColour) {
      state_.target = value;
    } else {
      state_.pending[LEFT] = state_.pending[RIGHT] = NO_COLOUR;
    }
  } else if (kind == GAME_VOTE) {
    for (int& v : state_.votes) v = 0;
    state_.round_duration = VOTE_MS;
    events_.Add(Sound::Vote);
  }
  state_.round_start = static_cast<int>(now_);
}

void Match::CastVote(int colour) {
  state_.votes[colour] += 1;
  if (state_.votes[colour] > VOTES_TO_DECIDE) {
    StartRound(RoundVotedBy(colour), static_cast<int>(Draw() * kColourScale));
  }
}

void Match::Update(FrameInput in) {
  const int state = state_.game_state;
  if (state == GAME_START) {
    StartScreen();
  } else if (state == GAME_VOTE || RoundKindOf(state) != nullptr) {
    state_.last_hit[LEFT] = players_[LEFT].Update(in.side[LEFT], now_);
    state_.last_hit[RIGHT] = players_[RIGHT].Update(in.side[RIGHT], now_);
    HandleHits();
  }
  // Once the game is over nothing moves any more.
}

void Match::HandleHits() {
  const int state = state_.game_state;
  if (state == GAME_VOTE) {
    VoteHits();
  } else if (RoundKindOf(state) != nullptr) {
    (this->*kRoundHits[state])();
  }
}

void Match::EndTest() {
  if (players_[LEFT].score < 0 || players_[RIGHT].score < 0 || state_.rounds_left < 1) {
    state_.game_state = GAME_OVER;
  }
}

void Match::StartScreen() {
  if (state_.round_start == 0) {
    state_.round_start = static_cast<int>(now_);
    state_.round_duration = START_MS;
  }
  if (TimeUp()) StartRound(GAME_VOTE, 0);
}

void Match::VoteHits() {
  // When both hit in the same frame, a coin decides whose vote counts first; both count.
  const int first = Draw() >= kLeftFirst ? LEFT : RIGHT;
  for (const int p : {first, 1 - first}) {
    if (state_.last_hit[p] == NO_HIT) continue;
    CastVote(players_[p].HitColour(state_.last_hit[p]));
    events_.Add(Sound::Hit);
  }
}

void Match::EndRound() {
  state_.rounds_left -= 1;
  StartRound(GAME_VOTE, 0);
}

void Match::RunsHits() {
  for (const int p : {LEFT, RIGHT}) {
    if (state_.last_hit[p] != NO_HIT) events_.Add(Sound::Hit);
  }
  if (!TimeUp()) return;
  int sum[2] = {0, 0};
  for (const int p : {LEFT, RIGHT}) {
    for (const int n : players_[p].RunLengths(state_.target)) sum[p] += kRunPoints * n * n;
  }
  players_[LEFT].score += sum[LEFT] - sum[RIGHT];
  players_[RIGHT].score += sum[RIGHT] - sum[LEFT];
  EndRound();
}

void Match::Reward(int p) {
  players_[p].score += kHitPoints * state_.multiplier[p];
  const int doubled = state_.multiplier[p] * 2;
  state_.multiplier[p] = doubled > MAX_MULTIPLIER ? MAX_MULTIPLIER : doubled;
  events_.Add(Sound::Hit);
}

void Match::Penalise(int p) {
  state_.multiplier[p] = 1;
  players_[p].score -= kMissPoints;
  events_.Add(Sound::Miss);
}

void Match::StreakHits() {
  for (const int p : {LEFT, RIGHT}) {
    if (state_.last_hit[p] == NO_HIT) continue;
    if (players_[p].HitColour(state_.last_hit[p]) == state_.target) {
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
    if (state_.last_hit[p] == NO_HIT || state_.pending[p] == NO_COLOUR) continue;
    if (players_[p].HitColour(state_.last_hit[p]) == state_.pending[p]) {
      Reward(p);
      state_.pending[p] = NO_COLOUR;
    } else {
      Penalise(p);
    }
  }
  for (const int p : {LEFT, RIGHT}) {
    const int other = 1 - p;
    if (state_.last_hit[p] != NO_HIT && state_.pending[other] == NO_COLOUR) {
      state_.pending[other] = players_[p].HitColour(state_.last_hit[p]);
    }
  }
  if (TimeUp()) EndRound();
}

void Match::PurgeHits() {
  // Both hits are judged before any tile is passed: a tile given to a ring can land on the very
  // tile that ring's player has just hit and would turn a hit of the target into a miss.
  int hit_colour[2] = {NO_COLOUR, NO_COLOUR};
  for (const int p : {LEFT, RIGHT}) {
    if (state_.last_hit[p] != NO_HIT) hit_colour[p] = players_[p].HitColour(state_.last_hit[p]);
  }
  for (const int p : {LEFT, RIGHT}) {
    if (state_.last_hit[p] == NO_HIT) continue;
    if (hit_colour[p] == state_.target) {
      players_[1 - p].GiveTile(state_.target, &s_.random);
      events_.Add(Sound::Hit);
    } else {
      events_.Add(Sound::Miss);
    }
  }
  // Both clearance tests run, so two rings cleared in the same frame both pay.
  for (const int p : {LEFT, RIGHT}) {
    const int other = 1 - p;
    if (!players_[p].HasColour(state_.target)) {
      players_[p].score += kClearBonus;
      players_[other].score -= kTilePenalty * players_[other].CountColour(state_.target);
      EndRound();
    }
  }
  // After a clearance the vote has just started its own clock, so this cannot end it again.
  if (TimeUp()) {
    for (const int p : {LEFT, RIGHT}) {
      players_[p].score -= kTilePenalty * players_[p].CountColour(state_.target);
    }
    EndRound();
  }
}
