#include "tools/make_assets/sheet.h"

#include <algorithm>
#include <string>

#include "tools/make_assets/art.h"
#include "tools/make_assets/figure.h"
#include "tools/make_assets/preview.h"

namespace assets {
namespace {

constexpr int kMargin = 20;
constexpr int kSheetWidth = 800 * 2 + kMargin * 3;
constexpr int kCaption = 16;

// Places pictures left to right, wrapping to a new row when the sheet's width is used up.
class Flow {
 public:
  Flow(Picture& sheet, Fonts& fonts, int top)
      : sheet_(sheet), fonts_(fonts), x_(kMargin), y_(top) {}

  // Reserves a cell of w × h pixels plus its caption; returns its top-left corner.
  std::pair<int, int> Cell(int w, int h, const std::string& caption) {
    if (x_ + w > kSheetWidth - kMargin && x_ > kMargin) NewRow();
    const int x = x_, y = y_;
    Caption(caption, x, y + h + 2);
    x_ += std::max(w, TextWidth(fonts_, Small(), caption)) + 14;
    row_height_ = std::max(row_height_, h + kCaption + 8);
    return {x, y};
  }

  void NewRow() {
    y_ += row_height_;
    x_ = kMargin;
    row_height_ = 0;
  }

  void Heading(const std::string& text) {
    if (x_ > kMargin) NewRow();
    y_ += 8;
    Write(TextStyle{"DejaVuSans-Bold.ttf", 16, Rgb(230, 232, 255), 0, Ink()}, text, kMargin, y_);
    y_ += 26;
  }

  int bottom() const { return y_ + row_height_; }

  static TextStyle Small() { return {"DejaVuSansCondensed.ttf", 11, Rgb(190, 194, 230), 0, Ink()}; }

  void Caption(const std::string& text, int x, int y) { Write(Small(), text, x, y); }

  void Write(const TextStyle& style, const std::string& text, int x, int y) {
    const TextLine line = RenderText(fonts_, style, text);
    for (int j = 0; j < line.canvas.height(); ++j)
      for (int i = 0; i < line.canvas.width(); ++i) {
        const Canvas::Px& p = line.canvas.At(i, j);
        const int tx = x + i - line.pen_x, ty = y + j;
        if (p.a <= 0 || tx < 0 || ty < 0 || tx >= sheet_.width || ty >= sheet_.height) continue;
        uint8_t* d = sheet_.At(tx, ty);
        for (int k = 0; k < 3; ++k) {
          const float s = k == 0 ? p.r : k == 1 ? p.g : p.b;
          d[k] = static_cast<uint8_t>(std::clamp(s * 255.0f + d[k] * (1 - p.a), 0.0f, 255.0f));
        }
      }
  }

 private:
  Picture& sheet_;
  Fonts& fonts_;
  int x_, y_;
  int row_height_ = 0;
};

void Paste(Picture& sheet, const Picture& picture, int x, int y) {
  for (int j = 0; j < picture.height; ++j)
    for (int i = 0; i < picture.width; ++i) {
      if (x + i >= sheet.width || y + j >= sheet.height) continue;
      std::copy_n(picture.At(i, j), 3, sheet.At(x + i, y + j));
    }
}

// The picture over the background, then shrunk by `factor` (box average).
Picture OnBackground(const Picture& picture, const Picture& background, int factor) {
  Picture full{picture.width, picture.height, false,
               std::vector<uint8_t>(picture.rgba.size(), 255)};
  DrawTiledOn(full, background);
  DrawMaskedOn(full, picture, 0, 0);
  if (factor == 1) return full;
  Picture small{picture.width / factor, picture.height / factor, false, {}};
  small.rgba.assign(static_cast<size_t>(small.width) * small.height * 4, 255);
  for (int y = 0; y < small.height; ++y)
    for (int x = 0; x < small.width; ++x)
      for (int k = 0; k < 3; ++k) {
        int sum = 0;
        for (int j = 0; j < factor; ++j)
          for (int i = 0; i < factor; ++i) sum += full.At(x * factor + i, y * factor + j)[k];
        small.At(x, y)[k] = static_cast<uint8_t>(sum / (factor * factor));
      }
  return small;
}

std::string ShortName(const std::string& name) {
  return name.substr(name.find('/') + 1);
}

}  // namespace

Picture DrawSheet(const Catalogue& c, Fonts& fonts) {
  const Picture& background = *c.Find(kBackgroundName);
  // Laid out twice: once to learn the height, once to draw.
  Picture sheet{kSheetWidth, 1, false, {}};
  int height = 0;
  for (int pass = 0; pass < 2; ++pass) {
    sheet.height = pass == 0 ? 8000 : height;
    sheet.rgba.assign(static_cast<size_t>(sheet.width) * sheet.height * 4, 255);
    for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
      sheet.rgba[i] = 14;
      sheet.rgba[i + 1] = 14;
      sheet.rgba[i + 2] = 26;
    }
    Flow flow(sheet, fonts, kMargin);
    flow.Heading("On screen: a vote, and a streak round (16-bit colours)");
    auto [vx, vy] = flow.Cell(800, 600, "vote");
    Paste(sheet, VoteScene(c), vx, vy);
    auto [sx, sy] = flow.Cell(800, 600, "streak round");
    Paste(sheet, StreakScene(c), sx, sy);

    flow.Heading("Ring tiles, targets, halo, background (2 x 2), rounds label");
    for (int i = 0; i < kColours; ++i) {
      const Picture& tile = *c.Find(TileName(i));
      auto [x, y] = flow.Cell(tile.width, tile.height, ShortName(TileName(i)));
      Paste(sheet, OnBackground(tile, background, 1), x, y);
    }
    for (int i = 0; i < kColours; ++i) {
      const Picture& target = *c.Find(TargetName(i));
      auto [x, y] = flow.Cell(target.width + 30, target.height, ShortName(TargetName(i)));
      Paste(sheet, OnBackground(target, background, 1), x, y);
    }
    const Picture& halo = *c.Find(kHaloName);
    auto [hx, hy] = flow.Cell(halo.width, halo.height, ShortName(kHaloName));
    Paste(sheet, OnBackground(halo, background, 1), hx, hy);
    Picture quad{background.width * 2, background.height * 2, false,
                 std::vector<uint8_t>(background.rgba.size() * 4, 255)};
    DrawTiledOn(quad, background);
    auto [bx, by] = flow.Cell(quad.width, quad.height, ShortName(kBackgroundName));
    Paste(sheet, quad, bx, by);
    const Picture& rounds = *c.Find(kRoundsName);
    auto [rx, ry] = flow.Cell(rounds.width, rounds.height, ShortName(kRoundsName));
    Paste(sheet, OnBackground(rounds, background, 1), rx, ry);

    flow.Heading("Numbers 0 to 12");
    for (int i = 0; i < kNumberImages; ++i) {
      const Picture& number = *c.Find(NumberName(i));
      auto [x, y] = flow.Cell(number.width + 24, number.height, ShortName(NumberName(i)));
      Paste(sheet, OnBackground(number, background, 1), x, y);
    }

    flow.Heading("Instructions 0 to 8");
    for (int i = 0; i < kInstructionImages; ++i) {
      const Picture& inst = *c.Find(InstructionName(i));
      auto [x, y] = flow.Cell(inst.width, inst.height, ShortName(InstructionName(i)));
      Paste(sheet, OnBackground(inst, background, 1), x, y);
    }

    for (int family = 0; family < kFigureFamilies; ++family) {
      flow.Heading(std::string("Figure \"") + FigureFamilyName(family) +
                   "\", frames 0 to 60 (half size)");
      for (int frame = 0; frame < kFigureFrames; ++frame) {
        const Picture small = OnBackground(*c.Find(FigureName(family, frame)), background, 2);
        auto [x, y] = flow.Cell(small.width, small.height, ShortName(FigureName(family, frame)));
        Paste(sheet, small, x, y);
      }
    }
    height = flow.bottom() + kMargin;
  }
  return sheet;
}

}  // namespace assets
