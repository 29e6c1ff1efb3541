#include "game/character.h"

namespace {

using State = CharacterState;

// Milliseconds to seconds with the single-precision value of 0.001, the product kept in double:
// this is what makes the fixed gates pass at 20 ms and not at 19 ms.
constexpr double MS_TO_SECONDS = static_cast<double>(0.001f);

// The frames of the family, by the sequence they belong to. The first key's sequences count
// down through the lower half of the family, the second key's mirror them upward.
constexpr int32_t kLastFrame = CHARACTER_FRAMES - 1;
// The loops while a key is held, from their entry to their last frame.
constexpr int32_t kFirstLoopEntry = 26, kFirstLoopEnd = 21;
constexpr int32_t kSecondLoopEntry = 34, kSecondLoopEnd = 39;
// The coasting loops after a release, from their entry to their last frame.
constexpr int32_t kFirstCoastEntry = 14, kFirstCoastEnd = 9;
constexpr int32_t kSecondCoastEntry = 46, kSecondCoastEnd = 51;
// A release plays from here to the coasting loop; the key again plays from here to its loop.
constexpr int32_t kFirstReleaseEntry = 20, kFirstAgainEntry = 15;
constexpr int32_t kSecondReleaseEntry = 40, kSecondAgainEntry = 45;
// A turn's first part enters here; its second part starts at the next frame beyond `Exit`.
constexpr int32_t kToSecondEntry = 5, kToSecondExit = 3;
constexpr int32_t kToFirstEntry = 55, kToFirstExit = 57;
// Where a turn's second part goes on after the family's end, with the key held or not.
constexpr int32_t kTowardFirstWrapHeld = 18, kTowardFirstWrapFree = 17;
constexpr int32_t kTowardSecondWrapHeld = 42, kTowardSecondWrapFree = 43;
// The stops, from their entry until they pass their end and the figure rests.
constexpr int32_t kFirstStopEntry = 8, kFirstStopEnd = 6;
constexpr int32_t kSecondStopEntry = 52, kSecondStopEnd = 54;

// Below this spin in its own direction a coasting figure stops.
constexpr double kCoastingSpin = 0.1;

// Whether `elapsed` seconds are enough for a step in `state` at spin `s`. The loops step faster
// the faster the ring turns in their own direction.
bool GatePasses(State state, double elapsed, double s) {
  switch (state) {
    case State::kRest:
      return elapsed > 0.02;
    case State::kFirstLoop:
      return elapsed > 0.12 - 0.03 * s;
    case State::kSecondLoop:
      return elapsed > 0.12 + 0.03 * s;
    case State::kFirstCoast:
      return elapsed > 0.15 - 0.05 * s;
    case State::kSecondCoast:
      return elapsed > 0.15 + 0.05 * s;
    default:
      return elapsed >= 0.02;
  }
}

// The loop a key leads into from rest: none, the first or the second.
State LoopOf(Spin key) {
  switch (key) {
    case Spin::First:
      return State::kFirstLoop;
    case Spin::Second:
      return State::kSecondLoop;
    default:
      return State::kRest;
  }
}

}  // namespace

void Character::Setup(int family, uint32_t now_ms) {
  index = family;
  state = State::kRest;
  frame = CHARACTER_REST_FRAME;
  step_time = now_ms;
}

void Character::Step(Spin key, float spin, uint32_t now) {
  // Unsigned difference, so that a clock that wraps past 2^32 still gives the true interval.
  const auto elapsed_ms = static_cast<int32_t>(now - step_time);
  const double elapsed = elapsed_ms * MS_TO_SECONDS;
  const auto number = static_cast<int32_t>(state);
  if (number < 0 || number >= CHARACTER_STATES) return;
  if (!GatePasses(state, elapsed, spin)) return;

  const Spin k = key;
  const double s = spin;
  int32_t& f = frame;
  switch (state) {
    case State::kRest:  // lean toward the held key, or back toward the resting frame
      if (k == Spin::First) {
        --f;
      } else if (k == Spin::Second) {
        ++f;
      } else {
        if (f < CHARACTER_REST_FRAME) ++f;
        if (f > CHARACTER_REST_FRAME) --f;
      }
      if (f <= kFirstLoopEntry || f >= kSecondLoopEntry) state = LoopOf(k);
      break;
    case State::kFirstLoop:
      if (k == Spin::First) {
        if (--f < kFirstLoopEnd) f = kFirstLoopEntry;
      } else if (k == Spin::Second) {
        f = kToSecondEntry;
        state = State::kFirstToSecond;
      } else {
        f = kFirstReleaseEntry;
        state = State::kFirstRelease;
      }
      break;
    case State::kSecondLoop:
      if (k == Spin::First) {
        f = kToFirstEntry;
        state = State::kSecondToFirst;
      } else if (k == Spin::Second) {
        if (++f > kSecondLoopEnd) f = kSecondLoopEntry;
      } else {
        f = kSecondReleaseEntry;
        state = State::kSecondRelease;
      }
      break;
    case State::kFirstToSecond:
      if (--f < kToSecondExit) state = State::kTowardSecond;
      break;
    case State::kSecondToFirst:
      if (++f > kToFirstExit) state = State::kTowardFirst;
      break;
    case State::kFirstCoast:
      if (k == Spin::First) {
        f = kFirstAgainEntry;
        state = State::kFirstAgain;
      } else if (s < kCoastingSpin) {
        f = kFirstStopEntry;
        state = State::kFirstStop;
      } else if (--f < kFirstCoastEnd) {
        f = kFirstCoastEntry;
      }
      break;
    case State::kSecondCoast:
      if (k == Spin::Second) {
        f = kSecondAgainEntry;
        state = State::kSecondAgain;
      } else if (-s < kCoastingSpin) {
        f = kSecondStopEntry;
        state = State::kSecondStop;
      } else if (++f > kSecondCoastEnd) {
        f = kSecondCoastEntry;
      }
      break;
    case State::kFirstRelease:
      if (--f <= kFirstCoastEntry) state = State::kFirstCoast;
      break;
    case State::kFirstAgain:
      if (++f > kFirstReleaseEntry) {
        f = kFirstLoopEntry;
        state = State::kFirstLoop;
      }
      break;
    case State::kSecondRelease:
      if (++f >= kSecondCoastEntry) state = State::kSecondCoast;
      break;
    case State::kSecondAgain:
      if (--f < kSecondReleaseEntry) {
        f = kSecondLoopEntry;
        state = State::kSecondLoop;
      }
      break;
    case State::kTowardFirst:
      if (k == Spin::First) {
        ++f;
        if (f > kLastFrame) {
          f = kTowardFirstWrapHeld;
        } else if (f > kFirstReleaseEntry && f < kToFirstEntry) {
          f = kFirstLoopEntry;
          state = State::kFirstLoop;
        }
      } else if (k == Spin::Second) {
        f = kToSecondEntry;
        state = State::kFirstToSecond;
      } else {
        // Still in the turn's own frames it plays on to the family's end; after the wrap it
        // plays down into the coasting loop.
        if (f > kToFirstExit) {
          ++f;
        } else {
          --f;
        }
        if (f > kLastFrame) {
          f = kTowardFirstWrapFree;
        } else if (f <= kFirstCoastEntry) {
          f = kFirstCoastEntry;
          state = State::kFirstCoast;
        }
      }
      break;
    case State::kTowardSecond:
      if (k == Spin::First) {
        f = kToFirstEntry;
        state = State::kSecondToFirst;
      } else if (k == Spin::Second) {
        --f;
        if (f < 0) {
          f = kTowardSecondWrapHeld;
        } else if (f > kToSecondEntry && f < kSecondReleaseEntry) {
          f = kSecondLoopEntry;
          state = State::kSecondLoop;
        }
      } else {
        if (f < kToSecondExit) {
          --f;
        } else {
          ++f;
        }
        if (f < 0) {
          f = kTowardSecondWrapFree;
        } else if (f >= kSecondCoastEntry) {
          f = kSecondCoastEntry;
          state = State::kSecondCoast;
        }
      }
      break;
    case State::kFirstStop:
      if (--f < kFirstStopEnd) {
        f = CHARACTER_REST_FRAME;
        state = State::kRest;
      }
      return;  // the stop sequence keeps the old step time, so it runs at full frame rate
    case State::kSecondStop:
      if (++f > kSecondStopEnd) {
        f = CHARACTER_REST_FRAME;
        state = State::kRest;
      }
      return;
  }
  step_time = now;
}
