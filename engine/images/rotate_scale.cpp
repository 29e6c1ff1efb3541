// Rotated and scaled copies of an image, by inverse mapping: every destination pixel takes the
// source pixel that lies under it.
//
// The working values are 32-bit floats on purpose. A destination pixel's position within its row
// is always the row start plus i steps, never a running sum along the row: running sums drift by
// a rounding step per pixel and move pixels that sit on a truncation boundary (the centre of a
// square picture turned by 45 degrees is one). For the same reason the engine is built without
// fused multiply-add, which would round the product and the sum as one.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/core/angles.h"
#include "engine/images/draw.h"

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

// Where destination pixel (0, 0) falls in the source, and how positions move along a row and
// from one row to the next.
struct Mapping {
  float u0;
  float v0;
  float du;
  float dv;
};

Mapping MakeMapping(int src_w, int src_h, int dst_w, int dst_h, float angle, float scale,
                    float ratio) {
  const int64_t squares = int64_t{dst_w} * dst_w + int64_t{dst_h} * dst_h;
  const float half_diagonal = static_cast<float>(std::sqrt(static_cast<double>(squares)) * 0.5);
  // 135 degrees is the direction of a square destination's top-left corner from its centre.
  const float corner = static_cast<float>((135.0f - angle) * DEG_TO_RAD);
  const float turn = static_cast<float>(angle * DEG_TO_RAD);
  Mapping m{};
  m.u0 = half_diagonal * std::cos(corner) / scale + static_cast<float>(src_w) * 0.5f;
  m.v0 = static_cast<float>(src_h) * 0.5f - half_diagonal * std::sin(corner) * ratio / scale;
  m.du = std::cos(turn) / scale;
  m.dv = ratio * std::sin(turn) / scale;
  return m;
}

// Position of destination pixel i along a row: row start plus i steps, each step rounded as
// a float. Every path below computes it exactly this way, so that they all agree to the bit.
inline float At(float start, int i, float step) {
  return start + static_cast<float>(i) * step;
}

// The first i in [0, n) where `holds(i)` is true, for a condition that, once true along the row,
// stays true; n when it never is. `guess` is where the exact answer is expected to be (from the
// same arithmetic in doubles); the walks correct it to the exact float answer, so a poor guess
// only costs time.
template <typename Holds>
int FirstWhere(Holds holds, double guess, int n) {
  int k = n;
  if (guess <= 0.0) {
    k = 0;
  } else if (guess < static_cast<double>(n)) {
    k = static_cast<int>(guess);
    if (static_cast<double>(k) < guess) ++k;  // rounded up: usually the answer itself
  }
  while (k > 0 && holds(k - 1)) --k;
  while (k < n && !holds(k)) ++k;
  return k;
}

struct Span {
  int first;
  int end;
};

// The pixels [first, end) of a row of n whose position along one axis, At(start, i, step), lies
// in [0, limit). Needs a finite start and step: the position is then monotonic in i (products and
// sums round monotonically, overflow included), so each bound holds on one side of a single index
// and the pixels that meet both form one run. Finding the two indices exactly replaces testing
// every pixel. `per_step` is 1 / step, worked out once per picture.
Span AxisSpan(float start, float step, double per_step, float limit, int n) {
  const auto at = [&](int i) { return At(start, i, step); };
  if (step == 0.0f) {
    const bool inside = start >= 0.0f && start < limit;
    return inside ? Span{0, n} : Span{0, 0};
  }
  const double low = -static_cast<double>(start) * per_step;
  const double high = (static_cast<double>(limit) - static_cast<double>(start)) * per_step;
  if (step > 0.0f) {
    return {FirstWhere([&](int i) { return at(i) >= 0.0f; }, low, n),
            FirstWhere([&](int i) { return at(i) >= limit; }, high, n)};
  }
  return {FirstWhere([&](int i) { return at(i) < limit; }, high, n),
          FirstWhere([&](int i) { return at(i) < 0.0f; }, low, n)};
}

// Copies the run [first, end) of a row whose positions are all known to lie inside the source.
// Each lookup is still clamped to the source: the run was found with the same float operations,
// but a compiler that fused or reordered them could move an end by a pixel, and that must cost a
// repeated edge pixel, never a read outside the picture.
template <typename T>
void CopyRun(const T* src, int src_w, [[maybe_unused]] int src_h, T* row, int first, int end,
             float row_u, float row_v, const Mapping& m) {
#if defined(__SSE2__) && defined(__x86_64__)
  // Four pixels at a time: the same float operations as At(), then the source index
  // v * src_w + u from one multiply-add of 16-bit halves, which holds whenever both sides of
  // the source fit in 15 bits (the index then stays below 2^31).
  if (end - first >= 4 && src_w <= 0x7FFF && src_h <= 0x7FFF) {
    const __m128 u0 = _mm_set1_ps(row_u);
    const __m128 v0 = _mm_set1_ps(row_v);
    const __m128 du = _mm_set1_ps(m.du);
    const __m128 dv = _mm_set1_ps(m.dv);
    const __m128i weights = _mm_set1_epi32((src_w << 16) | 1);
    const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i last_u = _mm_set1_epi32(src_w - 1);
    const __m128i last_v = _mm_set1_epi32(src_h - 1);
    // max(0, min(x, last)) per lane; a NaN or huge position converts to INT_MIN and becomes 0.
    const auto clamp = [](__m128i x, __m128i last) {
      x = _mm_andnot_si128(_mm_srai_epi32(x, 31), x);
      const __m128i over = _mm_cmpgt_epi32(x, last);
      return _mm_or_si128(_mm_and_si128(over, last), _mm_andnot_si128(over, x));
    };
    const auto four_at = [&](int i) {
      const __m128 fi = _mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(i), lanes));
      const __m128i u = clamp(_mm_cvttps_epi32(_mm_add_ps(u0, _mm_mul_ps(fi, du))), last_u);
      const __m128i v = clamp(_mm_cvttps_epi32(_mm_add_ps(v0, _mm_mul_ps(fi, dv))), last_v);
      const __m128i at = _mm_madd_epi16(_mm_or_si128(u, _mm_slli_epi32(v, 16)), weights);
      // Two indices per 64-bit move; both are below 2^31, so each half is an index.
      const auto low = static_cast<uint64_t>(_mm_cvtsi128_si64(at));
      const auto high = static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(at, at)));
      row[i] = src[static_cast<uint32_t>(low)];
      row[i + 1] = src[low >> 32];
      row[i + 2] = src[static_cast<uint32_t>(high)];
      row[i + 3] = src[high >> 32];
    };
    int i = first;
    for (; end - i >= 4; i += 4) four_at(i);
    // The last few pixels as the four that end the run: those already written get the same
    // values again.
    if (i < end) four_at(end - 4);
    return;
  }
#endif
  const float last_u = static_cast<float>(src_w - 1);
  const float last_v = static_cast<float>(src_h - 1);
  for (int i = first; i < end; ++i) {
    // Clamped as floats, so that the conversion to an index is always defined.
    const float u = std::clamp(At(row_u, i, m.du), 0.0f, last_u);
    const float v = std::clamp(At(row_v, i, m.dv), 0.0f, last_v);
    row[i] = src[static_cast<ptrdiff_t>(v) * src_w + static_cast<ptrdiff_t>(u)];
  }
}

// One pass over the destination for one buffer (pixels or alpha bytes). Pixels whose position is
// outside the source take `outside`.
template <typename T>
void MapPass(const T* src, int src_w, int src_h, T* dst, int dst_w, int dst_h, const Mapping& m,
             T outside) {
  const float limit_u = static_cast<float>(src_w);
  const float limit_v = static_cast<float>(src_h);
  const double per_du = 1.0 / static_cast<double>(m.du);
  const double per_dv = 1.0 / static_cast<double>(m.dv);
  float row_u = m.u0;
  float row_v = m.v0;
  for (int j = 0; j < dst_h; ++j) {
    T* row = dst + static_cast<ptrdiff_t>(j) * dst_w;
    // A start or step that is infinite or NaN leaves every position of the row infinite or NaN,
    // never inside the source: such a row is all outside.
    int first = 0;
    int end = 0;
    if (std::isfinite(row_u) && std::isfinite(row_v) && std::isfinite(m.du) &&
        std::isfinite(m.dv)) {
      const Span su = AxisSpan(row_u, m.du, per_du, limit_u, dst_w);
      const Span sv = AxisSpan(row_v, m.dv, per_dv, limit_v, dst_w);
      first = std::max(su.first, sv.first);
      end = std::max(first, std::min(su.end, sv.end));
    }
    std::fill(row, row + first, outside);
    CopyRun(src, src_w, src_h, row, first, end, row_u, row_v, m);
    std::fill(row + end, row + dst_w, outside);
    row_u -= m.dv;
    row_v += m.du;
  }
}

}  // namespace

void RotateScale(const Image& source, Image* dest, float angle, float scale) {
  // A destination with nothing to write into, or a source without rows, stays as it is.
  if (dest == nullptr || dest->data == nullptr || dest->width <= 0 || dest->height <= 0) return;
  // The purpose is taken even from a source without rows (a missing file), so that the copy is
  // still drawn by the operation that suits the source.
  dest->purpose = source.purpose;
  if (source.height <= 0 || source.width < 0) return;

  const int w1 = source.width;
  const int h1 = source.height;
  const int w2 = dest->width;
  const int h2 = dest->height;

  if (source.data != nullptr) {
    // A source wider than high is stretched vertically by its whole-number aspect ratio.
    const float ratio = static_cast<float>(w1 / h1);
    const Mapping m = MakeMapping(w1, h1, w2, h2, angle, scale, ratio);
    MapPass<uint16_t>(source.pixels16(), w1, h1, dest->pixels16(), w2, h2, m, 0);
  }
  if (source.alpha != nullptr && dest->alpha != nullptr) {
    const Mapping m = MakeMapping(w1, h1, w2, h2, angle, scale, 1.0f);
    MapPass<uint8_t>(source.alpha, w1, h1, dest->alpha, w2, h2, m, 255);
  }
}
