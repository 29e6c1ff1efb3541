#include "tools/make_assets/canvas.h"

#include <algorithm>
#include <cmath>

namespace assets {
namespace {

uint8_t ToByte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Colour Rgb(int r, int g, int b, float a) {
  return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
          static_cast<float>(b) / 255.0f, a};
}

Colour Mix(Colour from, Colour to, float t) {
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

Colour Shade(Colour c, float k) {
  if (k <= 1.0f) return {c.r * k, c.g * k, c.b * k, c.a};
  return Mix(c, Colour{1, 1, 1, c.a}, std::min(k - 1.0f, 1.0f));
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height) {}

void Canvas::Clear(Colour c) {
  for (Px& p : px_) p = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::Blend(int x, int y, Colour c, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0f) return;
  const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  Px& p = At(x, y);
  p.r = c.r * a + p.r * (1 - a);
  p.g = c.g * a + p.g * (1 - a);
  p.b = c.b * a + p.b * (1 - a);
  p.a = a + p.a * (1 - a);
}

void Canvas::Fill(const Shape& shape, const Shader& shader) {
  const int x0 = std::max(0, static_cast<int>(std::floor(shape.left)) - 2);
  const int y0 = std::max(0, static_cast<int>(std::floor(shape.top)) - 2);
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(shape.right)) + 2);
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(shape.bottom)) + 2);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      const float coverage = std::clamp(0.5f - shape.distance(px, py), 0.0f, 1.0f);
      if (coverage > 0.0f) Blend(x, y, shader(px, py), coverage);
    }
  }
}

void Canvas::Fill(const Shape& shape, Colour c) {
  Fill(shape, [c](float, float) { return c; });
}

void Canvas::FillOutlined(const Shape& shape, const Shader& shader, Colour line, float width) {
  Fill(Grow(shape, width), line);
  Fill(shape, shader);
}

void Canvas::FillOutlined(const Shape& shape, Colour fill, Colour line, float width) {
  FillOutlined(
      shape, [fill](float, float) { return fill; }, line, width);
}

void Canvas::Draw(const Canvas& layer, int x, int y) {
  for (int j = 0; j < layer.height(); ++j) {
    for (int i = 0; i < layer.width(); ++i) {
      const int tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      const Px& s = layer.At(i, j);
      Px& d = At(tx, ty);
      d.r = s.r + d.r * (1 - s.a);
      d.g = s.g + d.g * (1 - s.a);
      d.b = s.b + d.b * (1 - s.a);
      d.a = s.a + d.a * (1 - s.a);
    }
  }
}

void Canvas::Outline(Colour line, float width) {
  // Coverage grown by a disc of `width`: the rim goes underneath what is already drawn.
  Canvas rim(width_, height_);
  const int reach = static_cast<int>(std::ceil(width)) + 1;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      float best = 0.0f;
      for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
          const int sx = x + dx, sy = y + dy;
          if (sx < 0 || sy < 0 || sx >= width_ || sy >= height_) continue;
          const float fall = std::clamp(
              width + 0.5f - std::sqrt(static_cast<float>(dx * dx + dy * dy)), 0.0f, 1.0f);
          best = std::max(best, At(sx, sy).a * fall);
        }
      }
      rim.Blend(x, y, line, best);
    }
  }
  rim.Draw(*this, 0, 0);
  px_ = rim.px_;
}

Picture Canvas::ToOpaque() const {
  Picture out{width_, height_, false, std::vector<uint8_t>(px_.size() * 4)};
  for (size_t i = 0; i < px_.size(); ++i) {
    out.rgba[i * 4 + 0] = ToByte(px_[i].r);
    out.rgba[i * 4 + 1] = ToByte(px_[i].g);
    out.rgba[i * 4 + 2] = ToByte(px_[i].b);
    out.rgba[i * 4 + 3] = 255;
  }
  return out;
}

Picture Canvas::ToTranslucent() const {
  Picture out{width_, height_, true, std::vector<uint8_t>(px_.size() * 4, 0)};
  for (size_t i = 0; i < px_.size(); ++i) {
    const Px& p = px_[i];
    if (p.a <= 0.0f) continue;  // straight colour is undefined where nothing covers
    out.rgba[i * 4 + 0] = ToByte(p.r / p.a);
    out.rgba[i * 4 + 1] = ToByte(p.g / p.a);
    out.rgba[i * 4 + 2] = ToByte(p.b / p.a);
    out.rgba[i * 4 + 3] = ToByte(p.a);
  }
  return out;
}

Picture Canvas::ToMasked(Colour backdrop) const {
  Picture out{width_, height_, true, std::vector<uint8_t>(px_.size() * 4, 0)};
  for (size_t i = 0; i < px_.size(); ++i) {
    const Px& p = px_[i];
    if (p.a < 0.5f) continue;
    const float rest = 1.0f - p.a;
    out.rgba[i * 4 + 0] = ToByte(p.r + backdrop.r * rest);
    out.rgba[i * 4 + 1] = ToByte(p.g + backdrop.g * rest);
    out.rgba[i * 4 + 2] = ToByte(p.b + backdrop.b * rest);
    out.rgba[i * 4 + 3] = 255;
  }
  return out;
}

}  // namespace assets
