#include "game/character.h"

namespace {

// Milliseconds to seconds with the single-precision value of 0.001, the product kept in double:
// this is what makes the fixed gates pass at 20 ms and not at 19 ms.
constexpr double MS_TO_SECONDS = static_cast<double>(0.001f);

// Whether `elapsed` seconds are enough for a step in `state` at spin `s`. The loops step faster
// the faster the ring turns in their own direction.
bool GatePasses(int state, double elapsed, double s) {
  switch (state) {
    case 0:
      return elapsed > 0.02;
    case 1:
      return elapsed > 0.12 - 0.03 * s;
    case 2:
      return elapsed > 0.12 + 0.03 * s;
    case 5:
      return elapsed > 0.15 - 0.05 * s;
    case 6:
      return elapsed > 0.15 + 0.05 * s;
    default:
      return elapsed >= 0.02;
  }
}

}  // namespace

void Character::Setup(int family, uint32_t now_ms) {
  index = family;
  state = 0;
  frame = 30;
  step_time = now_ms;
}

void Character::Step(Spin key, float spin, uint32_t now) {
  // Unsigned difference, so that a clock that wraps past 2^32 still gives the true interval.
  const auto elapsed_ms = static_cast<int32_t>(now - step_time);
  const double elapsed = elapsed_ms * MS_TO_SECONDS;
  if (state < 0 || state >= CHARACTER_STATES) return;
  if (!GatePasses(state, elapsed, spin)) return;

  const Spin k = key;
  const double s = spin;
  int& f = frame;
  switch (state) {
    case 0:  // neutral: lean toward the held key, or back toward the resting frame 30
      if (k == Spin::First) {
        --f;
      } else if (k == Spin::Second) {
        ++f;
      } else {
        if (f < 30) ++f;
        if (f > 30) --f;
      }
      if (f <= 26 || f >= 34) state = static_cast<int>(k);
      break;
    case 1:  // first-key loop, frames 26 down to 21
      if (k == Spin::First) {
        if (--f < 21) f = 26;
      } else if (k == Spin::Second) {
        f = 5;
        state = 3;
      } else {
        f = 20;
        state = 7;
      }
      break;
    case 2:  // second-key loop, frames 34 up to 39
      if (k == Spin::First) {
        f = 55;
        state = 4;
      } else if (k == Spin::Second) {
        if (++f > 39) f = 34;
      } else {
        f = 40;
        state = 9;
      }
      break;
    case 3:  // turning from the first key to the second
      if (--f < 3) state = 12;
      break;
    case 4:  // turning from the second key to the first
      if (++f > 57) state = 11;
      break;
    case 5:  // coasting after the first key, frames 14 down to 9
      if (k == Spin::First) {
        f = 15;
        state = 8;
      } else if (s < 0.1) {
        f = 8;
        state = 13;
      } else if (--f < 9) {
        f = 14;
      }
      break;
    case 6:  // coasting after the second key, frames 46 up to 51
      if (k == Spin::Second) {
        f = 45;
        state = 10;
      } else if (-s < 0.1) {
        f = 52;
        state = 14;
      } else if (++f > 51) {
        f = 46;
      }
      break;
    case 7:  // first key released
      if (--f <= 14) state = 5;
      break;
    case 8:  // first key again while coasting
      if (++f > 20) {
        f = 26;
        state = 1;
      }
      break;
    case 9:  // second key released
      if (++f >= 46) state = 6;
      break;
    case 10:  // second key again while coasting
      if (--f < 40) {
        f = 34;
        state = 2;
      }
      break;
    case 11:  // turning toward the first key, second part
      if (k == Spin::First) {
        ++f;
        if (f > 60) {
          f = 18;
        } else if (f > 20 && f < 55) {
          f = 26;
          state = 1;
        }
      } else if (k == Spin::Second) {
        f = 5;
        state = 3;
      } else {
        if (f >= 58) {
          ++f;
        } else {
          --f;
        }
        if (f > 60) {
          f = 17;
        } else if (f < 15) {
          f = 14;
          state = 5;
        }
      }
      break;
    case 12:  // turning toward the second key, second part
      if (k == Spin::First) {
        f = 55;
        state = 4;
      } else if (k == Spin::Second) {
        --f;
        if (f < 0) {
          f = 42;
        } else if (f > 5 && f < 40) {
          f = 34;
          state = 2;
        }
      } else {
        if (f <= 2) {
          --f;
        } else {
          ++f;
        }
        if (f < 0) {
          f = 43;
        } else if (f > 45) {
          f = 46;
          state = 6;
        }
      }
      break;
    case 13:  // coming to rest after coasting the first way
      if (--f < 6) {
        f = 30;
        state = 0;
      }
      return;  // the stop sequence keeps the old step time, so it runs at full frame rate
    case 14:   // coming to rest after coasting the second way
      if (++f > 54) {
        f = 30;
        state = 0;
      }
      return;
  }
  step_time = now;
}
