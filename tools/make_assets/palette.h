// The colours and symbols every picture shares.
#pragma once

#include "tools/make_assets/canvas.h"

namespace assets {

constexpr int kColours = 4;

// The four tile colours, picked to stay apart for the three common kinds of colour blindness
// as well as for normal sight; each also carries a symbol of its own.
inline Colour TileColour(int i) {
  static const Colour colours[kColours] = {Rgb(226, 52, 70), Rgb(244, 214, 56), Rgb(48, 208, 192),
                                           Rgb(160, 80, 230)};
  return colours[i];
}

// The mark drawn on (and in the colour of) each tile colour: a circle, a triangle, a square and
// a cross.
enum class Symbol { kCircle, kTriangle, kSquare, kCross };
inline Symbol TileSymbol(int i) {
  return static_cast<Symbol>(i);
}

// Ink for a symbol drawn on its own colour: dark on the light colours, light on the dark ones.
inline Colour SymbolInk(int i) {
  return (i == 1 || i == 2) ? Shade(TileColour(i), 0.3f) : Shade(TileColour(i), 1.85f);
}

// The rim of every sprite part, dark but never pure black.
inline Colour Ink() {
  return Rgb(22, 18, 34);
}

// The background's own mean colour: sprite edges are blended toward it, since masked drawing
// has no partial transparency.
inline Colour Backdrop() {
  return Rgb(26, 27, 50);
}

// Text on the panels and the digits.
inline Colour Paper() {
  return Rgb(246, 242, 230);
}

}  // namespace assets
