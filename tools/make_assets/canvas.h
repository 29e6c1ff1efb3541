// A floating-point RGBA drawing surface for the asset generator. Colours are kept
// premultiplied while drawing so that layers compose with plain "over"; pictures leave it as
// 8-bit RGBA, either opaque or with hard (0 or 255) alpha for masked drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/make_assets/shapes.h"

namespace assets {

// A straight (not premultiplied) colour, channels 0 to 1.
struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
};

Colour Rgb(int r, int g, int b, float a = 1.0f);
Colour Mix(Colour from, Colour to, float t);
// k below 1 darkens toward black, above 1 lightens toward white (2 is white).
Colour Shade(Colour c, float k);

// A colour that may vary over the picture (gradients, shading).
using Shader = std::function<Colour(float x, float y)>;

// An 8-bit picture as it is written to disk: rows top to bottom, 4 bytes per pixel (R, G, B, A).
struct Picture {
  int width = 0;
  int height = 0;
  bool has_alpha = false;  // false: every alpha byte is 255 and the file gets three samples
  std::vector<uint8_t> rgba;

  uint8_t* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

class Canvas {
 public:
  struct Px {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
  };

  Canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Px& At(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }
  const Px& At(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

  void Clear(Colour c);
  // Composes `c` over pixel (x, y) with the given coverage; outside pixels are ignored.
  void Blend(int x, int y, Colour c, float coverage);
  // Fills a shape with antialiased edges (one pixel wide, from its signed distance).
  void Fill(const Shape& shape, Colour c);
  void Fill(const Shape& shape, const Shader& shader);
  // A dark rim of `width` pixels around the shape, then the shape itself: how every part of a
  // sprite is drawn so that overlapping parts stay readable on any backdrop.
  void FillOutlined(const Shape& shape, const Shader& shader, Colour line, float width);
  void FillOutlined(const Shape& shape, Colour fill, Colour line, float width);
  // Composes another canvas over this one with its top-left at (x, y).
  void Draw(const Canvas& layer, int x, int y);
  // Adds a dark rim of `width` pixels around everything already drawn (by coverage).
  void Outline(Colour line, float width);

  // An opaque picture (alpha ignored, composed over black).
  Picture ToOpaque() const;
  // A picture for masked drawing: pixels covered at least half are made fully opaque, their
  // colour blended over `backdrop` by their coverage so that edges stay smooth on the game's
  // background; all others become fully transparent.
  Picture ToMasked(Colour backdrop) const;
  // A picture with its soft edges kept as partial alpha, for files that other programs show
  // on backdrops of their own (the desktop icon).
  Picture ToTranslucent() const;

 private:
  int width_;
  int height_;
  std::vector<Px> px_;
};

}  // namespace assets
