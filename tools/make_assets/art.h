// Every picture the game loads, each drawn for the place and the transformation the game
// gives it.
#pragma once

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/palette.h"
#include "tools/make_assets/shapes.h"
#include "tools/make_assets/text.h"

namespace assets {

// Ring tiles: a square source that the game turns about its centre by 68.5° minus the tile's
// angle, so the source shows its segment with the outward side at 68.5°.
constexpr int kTileSize = 80;
constexpr float kTileOutward = 68.5f;
constexpr float kRingRadius = 155.0f;
// Radial extent of a segment, seen from the ring's centre.
constexpr float kSegmentInner = 146.0f;
constexpr float kSegmentOuter = 166.0f;

constexpr int kBackgroundSize = 64;
constexpr int kTargetSize = 32;
constexpr int kHaloSize = 54;
constexpr int kNumberWidth = 16;
constexpr int kNumberHeight = 24;
constexpr int kNumberImages = 13;
constexpr int kInstructionImages = 9;
constexpr int kInstructionMaxWidth = 210;
constexpr int kInstructionMaxHeight = 150;

Picture MakeBackground();
Picture MakeTile(int colour);
Picture MakeTarget(int colour);
Picture MakeHalo();
// 0 to 9 the digits, 10 the minutes/seconds separator, 11 the minus sign, 12 the multiplier mark.
Picture MakeNumber(Fonts& fonts, int index);
Picture MakeRoundsLabel(Fonts& fonts);
// The mark under the score of a side the computer plays.
Picture MakeComputerMark(Fonts& fonts);
Picture MakeInstruction(Fonts& fonts, int index);

// A colour's symbol centred at (cx, cy), about `size` pixels in radius, turned by `angle`.
Shape SymbolShape(Symbol symbol, float cx, float cy, float size, float angle);

}  // namespace assets
