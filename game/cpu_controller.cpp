#include "game/cpu_controller.h"

#include <algorithm>
#include <cmath>

#include "game/cpu_aim.h"
#include "game/cpu_values.h"

namespace {

// The halo is touching the ring at this distance from the centre; while it does, its course is
// changing and the last frame's motion says nothing of the next one.
constexpr float kTouching = RING_RADIUS - 15.0f;
// How long the figure takes to start pushing: from rest or coasting into its stride, and
// through a change of direction.
constexpr float kStrideMs = 80.0f;
constexpr float kTurnAboutMs = 200.0f;
// A spin this slow counts as standing still when it comes to changing direction.
constexpr float kStillSpin = 0.2f;
// A change of spin this large from one frame to the next means the figure is pushing.
constexpr float kPushSeen = 0.1f;
// How much of one push's effect on the landing the aim may be off, and how far beyond that a
// miss must be before it pushes against the ring's turn.
constexpr float kPushStep = 0.15f;
constexpr float kStepShare = 0.6f;
constexpr float kAgainst = 3.0f;
// Clock gaps longer than this are pauses, not frames.
constexpr uint32_t kLongestFrameMs = 500;
// Bonuses in the choice of a tile: the one already aimed at is kept unless another is clearly
// better; among equals the nearer wins; one out of reach loses
// the more the further it is.
constexpr float kKeepAim = 0.3f;
constexpr float kPerDegree = 0.001f;
constexpr float kPerDegreeBeyond = 0.2f;
// A tile this close to where the halo lands is hit without another push.
constexpr float kWindow = 5.0f;

}  // namespace

CpuController::CpuController(int level, int side, uint32_t seed)
    : level_(LevelOf(level)),
      side_(side),
      dice_((static_cast<uint64_t>(seed) << 1) | static_cast<uint64_t>(side & 1)),
      hands_(LevelOf(level).reaction_ms) {}

Spin CpuController::Decide(const CpuView& v, uint32_t now_ms) {
  return hands_.Press(Think(v, now_ms), now_ms);
}

Spin CpuController::Next(const GameState& s, int, uint32_t now_ms) {
  return Decide(ViewOf(s), now_ms);
}

Spin CpuController::Think(const CpuView& v, uint32_t now_ms) {
  const CpuRing& r = v.ring[side_];
  const bool playing = v.kind >= GAME_RUNS && v.kind <= GAME_VOTE;
  if (playing && v.kind == GAME_VOTE && (!seen_ || kind_ != GAME_VOTE)) {
    vote_colour_ = PickVoteColour(level_.vote_spread, dice_);
  }
  const bool had_seen = seen_;
  const float spin = AngleGap(r.angle[0], ring_angle_);
  const float vx = r.halo_x - halo_x_;
  const float vy = r.halo_y - halo_y_;
  const uint32_t gap = now_ms - seen_at_;
  if (had_seen && gap > 0 && gap < kLongestFrameMs) {
    frame_ms_ = 0.9f * frame_ms_ + 0.1f * static_cast<float>(gap);
  }
  seen_ = playing;
  kind_ = v.kind;
  ring_angle_ = r.angle[0];
  halo_x_ = r.halo_x;
  halo_y_ = r.halo_y;
  seen_at_ = now_ms;
  if (!playing || !had_seen) {
    aim_ = -1;
    want_ = Spin::None;
    return want_;
  }

  if (r.halo_x * r.halo_x + r.halo_y * r.halo_y >= kTouching * kTouching) {
    // A new flight begins: a new aim, with a new slip of the hand.
    aim_ = -1;
    aim_offset_ = dice_.Spread(level_.aim_error);
    return want_;
  }
  const std::optional<Contact> contact = PredictContact(r.halo_x, r.halo_y, vx, vy);
  if (!contact) {
    want_ = Spin::None;
    return want_;
  }
  // Whatever it decides now, its hands keep doing what they do for a reaction time yet; if
  // that is pushing the ring, the push goes on until then.
  const float push_now = spin - spin_;
  spin_ = spin;
  float push = 0.0f;
  const Spin held = hands_.held();
  if ((held == Spin::First && push_now > kPushSeen) ||
      (held == Spin::Second && push_now < -kPushSeen)) {
    push = push_now;
  }
  const int delay = static_cast<int>(std::ceil(static_cast<float>(level_.reaction_ms) / frame_ms_));
  const float turn = PlannedTurn(spin, push, delay, contact->frames);

  float values[RING_TILES];
  TileValues(v, side_, vote_colour_, values);
  const float where = contact->direction + aim_offset_;
  aim_ = ChooseTile(r, where, contact->frames, values, spin, turn);
  const float gap_deg = AngleGap(where, r.angle[aim_] + turn);
  // One more update of pushing moves the landing by a push's worth of coasting; aiming finer
  // than about half of that only makes the hands twitch. Pushing against the ring's turn throws
  // the figure into its turn-about, which stops the ring dead, so that is kept for real misses.
  const float step = kStepShare * CoastTurn(kPushStep, contact->frames);
  const float tolerance = std::max(level_.tolerance, step);
  const float against = spin > kStillSpin || spin < -kStillSpin ? kAgainst * tolerance : tolerance;
  const float up = spin < -kStillSpin ? against : tolerance;
  const float down = spin > kStillSpin ? against : tolerance;
  want_ = gap_deg > up ? Spin::First : (gap_deg < -down ? Spin::Second : Spin::None);
  return want_;
}

int CpuController::ChooseTile(const CpuRing& r, float where, int frames, const float values[],
                              float spin, float coast) const {
  const float reaction = static_cast<float>(level_.reaction_ms);
  const auto lag = [&](float ms) { return static_cast<int>((reaction + ms) / frame_ms_); };
  // Pushing the way the ring already turns only needs the figure's stride; the other way it
  // has to turn about first.
  const float reach_up = Reach(frames, lag(spin > -kStillSpin ? kStrideMs : kTurnAboutMs));
  const float reach_down = Reach(frames, lag(spin < kStillSpin ? kStrideMs : kTurnAboutMs));
  const auto score = [&](int i) {
    const float gap = AngleGap(where, r.angle[i] + coast);
    const float reach = gap >= 0.0f ? reach_up : reach_down;
    const float beyond = std::max(0.0f, std::fabs(gap) - reach - kWindow);
    return values[i] - kPerDegree * std::fabs(gap) - kPerDegreeBeyond * beyond;
  };
  int best = 0;
  float best_score = -INFINITY;
  for (int i = 0; i < RING_TILES; ++i) {
    const float s = score(i);
    if (s > best_score) {
      best_score = s;
      best = i;
    }
  }
  // Changing its mind in mid-flight costs a person the push already made; it keeps its aim
  // while that is still within reach and worth about as much.
  if (aim_ >= 0 && score(aim_) > best_score - kKeepAim) return aim_;
  return best;
}
