// Text for the pictures, rendered from Debian's DejaVu fonts.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "tools/make_assets/canvas.h"

struct _TTF_Font;

namespace assets {

// Opens the font library and the fonts it is asked for, each file and size once.
class Fonts {
 public:
  explicit Fonts(std::string folder = "/usr/share/fonts/truetype/dejavu/");
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  bool ok() const { return ok_; }
  // Null (with a line on standard error) when the file cannot be opened.
  _TTF_Font* Get(const std::string& file, int size);

 private:
  std::string folder_;
  bool ok_ = false;
  std::map<std::pair<std::string, int>, _TTF_Font*> open_;
};

struct TextStyle {
  std::string font = "DejaVuSans.ttf";
  int size = 12;
  Colour colour{1, 1, 1, 1};
  int outline = 0;  // width of a rim in `outline_colour`, in pixels
  Colour outline_colour{0, 0, 0, 1};
};

// A line of text on a transparent canvas just large enough for it and its rim.
struct TextLine {
  Canvas canvas{1, 1};
  int baseline = 0;  // row of the baseline within the canvas
  int pen_x = 0;     // column of the pen's start within the canvas
  int advance = 0;   // pen movement to the end of the line
};

// The rendered line, or an empty 1 × 1 canvas when the font cannot be used.
TextLine RenderText(Fonts& fonts, const TextStyle& style, const std::string& utf8);
// Pen advance of the line without rendering it.
int TextWidth(Fonts& fonts, const TextStyle& style, const std::string& utf8);

// The box (left, top inclusive; right, bottom exclusive) of everything visibly drawn.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};
Box InkBounds(const Canvas& canvas);

}  // namespace assets
