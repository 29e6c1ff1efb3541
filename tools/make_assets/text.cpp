#include "tools/make_assets/text.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>

namespace assets {
namespace {

// Composes the coverage of a rendered surface, in our own colour, onto the canvas.
void Stamp(Canvas& canvas, SDL_Surface* surface, int x, int y, Colour colour) {
  SDL_LockSurface(surface);
  for (int j = 0; j < surface->h; ++j) {
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + j * surface->pitch;
    for (int i = 0; i < surface->w; ++i) {
      uint32_t pixel = 0;
      std::copy_n(row + i * 4, 4, reinterpret_cast<uint8_t*>(&pixel));
      uint8_t r, g, b, a;
      SDL_GetRGBA(pixel, surface->format, &r, &g, &b, &a);
      canvas.Blend(x + i, y + j, colour, static_cast<float>(a) / 255.0f);
    }
  }
  SDL_UnlockSurface(surface);
}

}  // namespace

Fonts::Fonts(std::string folder) : folder_(std::move(folder)) {
  ok_ = TTF_Init() == 0;
  if (!ok_)
    std::fprintf(stderr, "make-assets: cannot start the font library: %s\n", TTF_GetError());
}

Fonts::~Fonts() {
  for (auto& [key, font] : open_) TTF_CloseFont(font);
  if (ok_) TTF_Quit();
}

TTF_Font* Fonts::Get(const std::string& file, int size) {
  if (!ok_) return nullptr;
  auto found = open_.find({file, size});
  if (found != open_.end()) return found->second;
  const std::string path = folder_ + file;
  TTF_Font* font = TTF_OpenFont(path.c_str(), size);
  if (font == nullptr) {
    std::fprintf(stderr, "make-assets: cannot open font %s: %s\n", path.c_str(), TTF_GetError());
    return nullptr;
  }
  TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  open_[{file, size}] = font;
  return font;
}

int TextWidth(Fonts& fonts, const TextStyle& style, const std::string& utf8) {
  TTF_Font* font = fonts.Get(style.font, style.size);
  int w = 0, h = 0;
  if (font == nullptr || utf8.empty() || TTF_SizeUTF8(font, utf8.c_str(), &w, &h) != 0) return 0;
  return w;
}

TextLine RenderText(Fonts& fonts, const TextStyle& style, const std::string& utf8) {
  TextLine line;
  TTF_Font* font = fonts.Get(style.font, style.size);
  if (font == nullptr || utf8.empty()) return line;
  const SDL_Color white{255, 255, 255, 255};
  TTF_SetFontOutline(font, 0);
  SDL_Surface* body = TTF_RenderUTF8_Blended(font, utf8.c_str(), white);
  if (body == nullptr) {
    std::fprintf(stderr, "make-assets: cannot render \"%s\": %s\n", utf8.c_str(), TTF_GetError());
    return line;
  }
  const int rim = std::max(style.outline, 0);
  line.canvas = Canvas(body->w + 2 * rim, body->h + 2 * rim);
  line.baseline = rim + TTF_FontAscent(font);
  line.pen_x = rim;
  line.advance = TextWidth(fonts, style, utf8);
  if (rim > 0) {
    TTF_SetFontOutline(font, rim);
    SDL_Surface* outer = TTF_RenderUTF8_Blended(font, utf8.c_str(), white);
    TTF_SetFontOutline(font, 0);
    if (outer != nullptr) {
      Stamp(line.canvas, outer, 0, 0, style.outline_colour);
      SDL_FreeSurface(outer);
    }
  }
  Stamp(line.canvas, body, rim, rim, style.colour);
  SDL_FreeSurface(body);
  return line;
}

Box InkBounds(const Canvas& canvas) {
  Box box{canvas.width(), canvas.height(), 0, 0};
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (canvas.At(x, y).a < 0.05f) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  if (box.right <= box.left) box = {};
  return box;
}

}  // namespace assets
