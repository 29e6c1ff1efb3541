// The pictures with text: digits and marks, the rounds label and the instruction panels.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/round_kinds.h"
#include "tools/make_assets/art.h"

namespace assets {
namespace {

const char* const kBold = "DejaVuSans-Bold.ttf";
const char* const kCondensedBold = "DejaVuSansCondensed-Bold.ttf";
const char* const kCondensed = "DejaVuSansCondensed.ttf";

// Row of the digits' baseline inside a number image; the rounds label shares it.
constexpr int kDigitBaseline = 21;

// One piece of a panel line: text in a style, a colour's symbol chip, or a key cap.
struct Span {
  std::string text;
  TextStyle style;
  int symbol = -1;   // a tile colour: draws that colour's chip instead of text
  bool key = false;  // draws `text` on a key cap
};

struct Line {
  std::vector<Span> spans;
  int height = 16;
};

constexpr int kChip = 14;  // side of a symbol chip in a panel
constexpr int kKeyCap = 20;

int SpanWidth(Fonts& fonts, const Span& span) {
  if (span.symbol >= 0) return kChip + 4;
  if (span.key) return std::max(kKeyCap, TextWidth(fonts, span.style, span.text) + 10) + 4;
  return TextWidth(fonts, span.style, span.text);
}

void DrawChip(Canvas& canvas, int colour, float x, float cy) {
  const float half = kChip * 0.5f;
  const Shape chip = RoundBox(x + half, cy, half, half, 3.0f);
  canvas.Fill(chip, Ink());
  canvas.Fill(Grow(chip, -1.0f), TileColour(colour));
  canvas.Fill(SymbolShape(TileSymbol(colour), x + half, cy, 4.5f, -90.0f), SymbolInk(colour));
}

void DrawKey(Canvas& canvas, Fonts& fonts, const Span& span, float x, float cy) {
  const int w = SpanWidth(fonts, span) - 4;
  const Shape cap = RoundBox(x + static_cast<float>(w) * 0.5f, cy, static_cast<float>(w) * 0.5f,
                             kKeyCap * 0.5f, 4.0f);
  canvas.Fill(cap, Rgb(110, 112, 140));
  canvas.Fill(RoundBox(x + static_cast<float>(w) * 0.5f, cy - 1.5f,
                       static_cast<float>(w) * 0.5f - 2, kKeyCap * 0.5f - 3, 3.0f),
              Rgb(226, 226, 236));
  const TextLine label = RenderText(fonts, span.style, span.text);
  const Box ink = InkBounds(label.canvas);
  canvas.Draw(
      label.canvas,
      static_cast<int>(std::lround(x + static_cast<float>(w - (ink.right - ink.left)) * 0.5f)) -
          ink.left,
      static_cast<int>(std::lround(cy - 1.5f - static_cast<float>(ink.bottom - ink.top) * 0.5f)) -
          ink.top);
}

// Breaks a paragraph into lines of at most `width` pixels.
std::vector<Line> Wrap(Fonts& fonts, const std::string& text, const TextStyle& style, int width) {
  std::vector<Line> lines;
  std::string current;
  size_t pos = 0;
  while (pos <= text.size()) {
    const size_t space = std::min(text.find(' ', pos), text.size());
    const std::string word = text.substr(pos, space - pos);
    const std::string tried = current.empty() ? word : current + " " + word;
    if (!current.empty() && TextWidth(fonts, style, tried) > width) {
      lines.push_back({{{current, style}}, style.size + 3});
      current = word;
    } else {
      current = tried;
    }
    pos = space + 1;
  }
  if (!current.empty()) lines.push_back({{{current, style}}, style.size + 3});
  return lines;
}

// A dark panel of the given width, just tall enough for its lines, each line centred.
Picture Panel(Fonts& fonts, const std::vector<Line>& lines) {
  const int width = kInstructionMaxWidth;
  int height = 18;
  for (const Line& line : lines) height += line.height;
  height = std::min(height, kInstructionMaxHeight);
  Canvas canvas(width, height);
  const float hw = static_cast<float>(width) * 0.5f, hh = static_cast<float>(height) * 0.5f;
  const Shape frame = RoundBox(hw, hh, hw - 0.5f, hh - 0.5f, 10.0f);
  canvas.Fill(frame, Ink());
  canvas.Fill(Grow(frame, -1.5f), Rgb(96, 100, 160));
  canvas.Fill(Grow(frame, -3.0f), [&](float, float y) {
    return Mix(Rgb(40, 42, 78), Rgb(26, 27, 52), y / static_cast<float>(height));
  });

  float top = 9.0f;
  for (const Line& line : lines) {
    int line_width = 0;
    for (const Span& span : line.spans) line_width += SpanWidth(fonts, span);
    float x = std::round((static_cast<float>(width) - static_cast<float>(line_width)) * 0.5f);
    const float cy = top + static_cast<float>(line.height) * 0.5f;
    for (const Span& span : line.spans) {
      if (span.symbol >= 0) {
        DrawChip(canvas, span.symbol, x, cy);
      } else if (span.key) {
        DrawKey(canvas, fonts, span, x, cy);
      } else {
        const TextLine text = RenderText(fonts, span.style, span.text);
        // Baseline placed so that capitals sit in the middle of the line.
        const float cap = static_cast<float>(span.style.size) * 0.73f;
        const int baseline = static_cast<int>(std::lround(cy + cap * 0.5f));
        canvas.Draw(text.canvas, static_cast<int>(x) - text.pen_x, baseline - text.baseline);
      }
      x += static_cast<float>(SpanWidth(fonts, span));
    }
    top += static_cast<float>(line.height);
  }
  return canvas.ToMasked(Backdrop());
}

TextStyle Title(Colour colour) {
  return {kBold, 17, colour, 0, Ink()};
}
TextStyle Body() {
  return {kCondensed, 12, Rgb(214, 216, 236), 0, Ink()};
}
TextStyle Strong(Colour colour = Paper()) {
  return {kCondensedBold, 12, colour, 0, Ink()};
}

std::vector<Line> TitleLine(int colour, const std::string& title) {
  Line line{{}, 26};
  if (colour >= 0) {
    line.spans.push_back({"", {}, colour});
    line.spans.push_back({" ", Title(Paper())});
  }
  line.spans.push_back({title, Title(colour >= 0 ? Shade(TileColour(colour), 1.15f) : Paper())});
  return {line};
}

void Append(std::vector<Line>& to, std::vector<Line> more) {
  to.insert(to.end(), more.begin(), more.end());
}

void Gap(std::vector<Line>& to, int pixels) {
  to.push_back({{}, pixels});
}

// What each round kind's panel says of its rules, two paragraphs each.
const char* const kRoundRules[ROUND_KINDS][2] = {
    {"Line up long unbroken runs of the target colour on your own ring.",
     "When time is up every run scores 500 × its length squared, and your rival loses it."},
    {"Hit tiles of the target colour.",
     "Each hit in a row doubles your points, up to ×16. A wrong colour costs 500 and starts you "
     "over."},
    {"Your rival's hits choose the colour you must hit next; it shows inside your ring.",
     "Answer it for doubling points. A wrong colour costs 500."},
    {"Hit the target colour: each such hit sends one of its tiles over to your rival.",
     "Clear your ring of it first to win 100000."},
};

std::string Padded(const char* title, std::size_t width) {
  std::string s = title;
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

std::vector<Line> InstructionLines(Fonts& fonts, int index) {
  const int wrap = kInstructionMaxWidth - 26;
  std::vector<Line> lines;
  auto text = [&](const std::string& s) { Append(lines, Wrap(fonts, s, Body(), wrap)); };
  if (index < ROUND_KINDS) {
    const RoundKind& kind = ROUND_KIND[index];
    lines = TitleLine(kind.vote_colour, kind.title);
    text(kRoundRules[index][0]);
    Gap(lines, 4);
    text(kRoundRules[index][1]);
    return lines;
  }
  switch (index) {
    case 4:
      lines = TitleLine(-1, "VOTE");
      text("Hit a colour to vote for it. Ten votes choose the next round:");
      Gap(lines, 5);
      // The kinds in two columns, each title behind the colour that votes for it.
      for (int k = 0; k < ROUND_KINDS; k += 2) {
        const RoundKind& left = ROUND_KIND[k];
        const RoundKind& right = ROUND_KIND[k + 1];
        lines.push_back({{{"", {}, left.vote_colour},
                          {Padded(left.title, 7), Strong()},
                          {"", {}, right.vote_colour},
                          {Padded(right.title, 6), Strong()}},
                         19});
      }
      break;
    case 5: {
      lines = TitleLine(-1, "GET READY");
      text("Spin your ring to steer the halo into the tiles.");
      Gap(lines, 6);
      TextStyle key{kBold, 12, Ink(), 0, Ink()};
      lines.push_back({{{"LEFT  ", Strong()},
                        {"D", key, -1, true},
                        {"F", key, -1, true},
                        {"     RIGHT  ", Strong()},
                        {"\u2190", key, -1, true},
                        {"\u2192", key, -1, true}},
                       26});
      break;
    }
    case 6:
    case 7:
      Gap(lines, 6);
      lines.push_back(
          {{{index == 6 ? "LEFT PLAYER" : "RIGHT PLAYER", Title(Rgb(255, 214, 90))}}, 24});
      lines.push_back({{{"WINS!", {kBold, 24, Rgb(255, 214, 90), 0, Ink()}}}, 32});
      text("Well played!");
      break;
    case 8:
      Gap(lines, 6);
      lines.push_back({{{"BOTH BELOW ZERO", Title(Rgb(255, 120, 120))}}, 26});
      text("Nobody wins this time.");
      break;
  }
  return lines;
}

}  // namespace

Picture MakeNumber(Fonts& fonts, int index) {
  static const char* const glyphs[kNumberImages] = {"0", "1", "2", "3", "4",      "5",     "6",
                                                    "7", "8", "9", ":", "\u2212", "\u00d7"};
  // The wide minus and times signs a little smaller, so that every mark fits its 16 pixels.
  const TextStyle style{kCondensedBold, index >= 11 ? 16 : 19, Paper(), 2, Ink()};
  const TextLine line = RenderText(fonts, style, glyphs[index]);
  const Box ink = InkBounds(line.canvas);
  Canvas canvas(kNumberWidth, kNumberHeight);
  // Centred on its ink across, on the shared baseline down, so digits line up 18 pixels apart.
  const int x = (kNumberWidth - (ink.right - ink.left)) / 2 - ink.left;
  canvas.Draw(line.canvas, x, kDigitBaseline - line.baseline);
  return canvas.ToMasked(Backdrop());
}

Picture MakeRoundsLabel(Fonts& fonts) {
  // Drawn at (330, 10) beside the rounds digits at y 20: 10 rows higher, same baseline.
  const TextStyle style{kCondensedBold, 17, Rgb(200, 206, 255), 2, Ink()};
  const TextLine line = RenderText(fonts, style, "ROUNDS LEFT");
  const Box ink = InkBounds(line.canvas);
  const int baseline = kDigitBaseline + 10;
  Canvas canvas(ink.right - ink.left + 8, baseline + 5);
  canvas.Draw(line.canvas, 6 - ink.left, baseline - line.baseline);
  return canvas.ToMasked(Backdrop());
}

Picture MakeComputerMark(Fonts& fonts) {
  const TextStyle style{kCondensedBold, 15, Rgb(255, 214, 120), 2, Ink()};
  const TextLine line = RenderText(fonts, style, "COMPUTER");
  const Box ink = InkBounds(line.canvas);
  Canvas canvas(ink.right - ink.left + 8, ink.bottom - ink.top + 8);
  canvas.Draw(line.canvas, 4 - ink.left, 4 - ink.top);
  return canvas.ToMasked(Backdrop());
}

Picture MakeInstruction(Fonts& fonts, int index) {
  return Panel(fonts, InstructionLines(fonts, index));
}

}  // namespace assets
