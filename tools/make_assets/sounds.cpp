#include "tools/make_assets/sounds.h"

#include <cmath>

#include "tools/make_assets/wave_out.h"

namespace assets {
namespace {

constexpr double kTau = 6.283185307179586;

// A raised-cosine ramp in at the start and out at the end, with an exponential fall between.
double Envelope(double t, double length, double in, double out, double fall) {
  double e = std::exp(-fall * t);
  if (t < in) e *= 0.5 - 0.5 * std::cos(kTau * 0.5 * t / in);
  if (t > length - out) e *= 0.5 - 0.5 * std::cos(kTau * 0.5 * (length - t) / out);
  return e;
}

// A tone whose pitch glides from f0 to f1 over the sound (exponentially, as ears hear pitch),
// built from the given harmonic weights.
std::vector<float> Glide(double length, double f0, double f1, const std::vector<double>& harmonics,
                         double gain, double in, double out, double fall) {
  const int count = static_cast<int>(length * kSoundRate);
  std::vector<float> samples(count);
  double phase = 0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kSoundRate;
    const double f = f0 * std::pow(f1 / f0, t / length);
    double v = 0;
    for (size_t h = 0; h < harmonics.size(); ++h)
      v += harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
    samples[i] = static_cast<float>(gain * v * Envelope(t, length, in, out, fall));
    phase += kTau * f / kSoundRate;
  }
  // Exact silence at both ends.
  samples.front() = 0;
  samples.back() = 0;
  return samples;
}

}  // namespace

std::vector<float> MakeHitBeep() {
  return Glide(0.11, 880, 1760, {1.0, 0.35, 0.18, 0.08}, 0.5, 0.004, 0.02, 6.0);
}

std::vector<float> MakeBlip() {
  // Odd harmonics only: a soft square, hollow and lower.
  return Glide(0.09, 330, 247, {1.0, 0.0, 0.3, 0.0, 0.14}, 0.55, 0.003, 0.025, 9.0);
}

}  // namespace assets
