// The sounds' shape: short, quiet at both ends, and told apart by pitch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/make_assets/sounds.h"
#include "tools/make_assets/wave_out.h"

namespace {

// Zero crossings per second over a stretch of samples: a rough pitch.
double Crossings(const std::vector<float>& s, size_t from, size_t to) {
  int n = 0;
  for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return n * static_cast<double>(assets::kSoundRate) / static_cast<double>(to - from);
}

// About a tenth of a second, starting and ending in silence without a click (gentle first and
// last 2 ms), loud but unclipped; the hit beep rises and sits well above the blip.
TEST(AssetFiles, SoundsAreShortStartAndEndInSilenceAndDifferInPitch) {
  const std::vector<float> beep = assets::MakeHitBeep(), blip = assets::MakeBlip();
  for (const auto* s : {&beep, &blip}) {
    EXPECT_NEAR(static_cast<double>(s->size()) / assets::kSoundRate, 0.1, 0.04);
    EXPECT_EQ(s->front(), 0.0f);
    EXPECT_EQ(s->back(), 0.0f);
    for (size_t i = 1; i < assets::kSoundRate / 500; ++i) {
      EXPECT_LT(std::abs((*s)[i] - (*s)[i - 1]), 0.08f);
      EXPECT_LT(std::abs((*s)[s->size() - i] - (*s)[s->size() - i - 1]), 0.08f);
    }
    const auto [low, high] = std::minmax_element(s->begin(), s->end());
    const float peak = std::max(-*low, *high);
    EXPECT_TRUE(peak > 0.3f && peak < 0.95f) << peak;
  }
  const size_t half = beep.size() / 2;
  EXPECT_GT(Crossings(beep, half, beep.size()), Crossings(beep, 0, half) * 1.3);
  EXPECT_GT(Crossings(beep, 0, beep.size()), Crossings(blip, 0, blip.size()) * 2);
}

}  // namespace
