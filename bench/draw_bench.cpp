// Times each draw operation against SDL's equivalent on the same pixels, DrawTiled against one
// memcpy of the view, and RotateScale against SDL2_gfx's rotozoom. After the usual table it prints
// one line per comparison: "ratio <name> <ours ÷ peer>", from the fastest run of each side.
//
// The destination is always an 800 × 600 RGB565 view. Sprites are one generated picture (a disc
// with a soft rim): RGB565 for the opaque and colour-keyed blits, ARGB8888 where SDL needs
// per-pixel alpha, and prepared by our own image preparation for our side.
#include <SDL.h>
#include <SDL2_rotozoom.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"
#include "engine/images/image.h"

namespace {

constexpr int kViewW = 800;
constexpr int kViewH = 600;
constexpr int kX = 100;
constexpr int kY = 80;

struct Rgba {
  uint8_t r, g, b, a;
};

// Our own test picture: a colour gradient inside a disc whose rim fades out; the corners are
// fully transparent, as in a typical sprite.
std::vector<Rgba> Picture(int side) {
  std::vector<Rgba> out(static_cast<size_t>(side) * side);
  const float c = (static_cast<float>(side) - 1.0f) * 0.5f;
  const float radius = static_cast<float>(side) * 0.45f;
  const float rim = static_cast<float>(side) * 0.06f;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const float d = std::hypot(static_cast<float>(x) - c, static_cast<float>(y) - c);
      const float opacity = std::clamp((radius - d) / rim, 0.0f, 1.0f);
      Rgba& p = out[static_cast<size_t>(y) * side + x];
      p.r = static_cast<uint8_t>(40 + 200 * x / side);
      p.g = static_cast<uint8_t>(30 + 220 * y / side);
      p.b = static_cast<uint8_t>(255 - 180 * (x + y) / (2 * side));
      p.a = static_cast<uint8_t>(opacity * 255.0f);
    }
  }
  return out;
}

void PrepareImage(Image* image, const std::vector<Rgba>& picture, int side, int purpose) {
  image->Create(side, side, IMAGE_RGB24 | IMAGE_ALPHA);
  for (size_t i = 0; i < picture.size(); ++i) {
    image->data[3 * i] = picture[i].r;
    image->data[3 * i + 1] = picture[i].g;
    image->data[3 * i + 2] = picture[i].b;
    image->alpha[i] = picture[i].a;
  }
  image->Prepare(purpose);
}

struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// An RGB565 surface holding exactly the pixels of a prepared 16-bit image.
Surface Rgb565Copy(const Image& image) {
  Surface s(
      SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 16, SDL_PIXELFORMAT_RGB565));
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch,
                image.pixels16() + static_cast<ptrdiff_t>(y) * image.width,
                static_cast<size_t>(image.width) * 2);
  }
  return s;
}

Surface Argb8888(const std::vector<Rgba>& picture, int side) {
  Surface s(SDL_CreateRGBSurfaceWithFormat(0, side, side, 32, SDL_PIXELFORMAT_ARGB8888));
  for (int y = 0; y < side; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < side; ++x) {
      const Rgba& p = picture[static_cast<size_t>(y) * side + x];
      row[x] = (uint32_t{p.a} << 24) | (uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b;
    }
  }
  return s;
}

// A busy background, so that blending works on real values.
void FillBackground(uint16_t* pixels, int pitch_pixels) {
  for (int y = 0; y < kViewH; ++y) {
    for (int x = 0; x < kViewW; ++x) {
      pixels[y * pitch_pixels + x] = static_cast<uint16_t>((x * 37) ^ (y * 91));
    }
  }
}

// Our view: a plain buffer the engine object points at, as between ViewLock and ViewUnlock.
struct OurView {
  std::vector<uint16_t> pixels = std::vector<uint16_t>(static_cast<size_t>(kViewW) * kViewH);
  OurView() {
    SetScreenFormat(0xF800, 0x07E0, 0x001F);
    Vorn.view = pixels.data();
    Vorn.view_stride = kViewW;
    Vorn.view_yres = kViewH;
    Vorn.clip_left = 0;
    Vorn.clip_top = 0;
    Vorn.clip_right = kViewW - 1;
    Vorn.clip_bottom = kViewH - 1;
    Vorn.draw_func = SixteenBitDrawTable();
    FillBackground(pixels.data(), kViewW);
  }
};

Surface SdlView() {
  Surface s(SDL_CreateRGBSurfaceWithFormat(0, kViewW, kViewH, 16, SDL_PIXELFORMAT_RGB565));
  FillBackground(static_cast<uint16_t*>(s->pixels), s->pitch / 2);
  return s;
}

void OursDraw(benchmark::State& state, ImageDrawFn draw, int purpose) {
  const int side = static_cast<int>(state.range(0));
  OurView view;
  Image image;
  PrepareImage(&image, Picture(side), side, purpose);
  for (auto _ : state) {
    draw(kX, kY, &image);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * side * side * 2);
}

enum class SdlKind { kOpaque, kColourKey, kAlpha, kAdditive };

void SdlDraw(benchmark::State& state, SdlKind kind) {
  const int side = static_cast<int>(state.range(0));
  const std::vector<Rgba> picture = Picture(side);
  OurView unused_format;  // our preparation reads the screen format for the 565 sprites
  Surface view = SdlView();
  Surface sprite;
  if (kind == SdlKind::kOpaque || kind == SdlKind::kColourKey) {
    Image image;
    PrepareImage(&image, picture, side, kind == SdlKind::kOpaque ? DRAW_PLAIN : DRAW_MASKED);
    sprite = Rgb565Copy(image);
    SDL_SetSurfaceBlendMode(sprite.get(), SDL_BLENDMODE_NONE);
    if (kind == SdlKind::kColourKey) SDL_SetColorKey(sprite.get(), SDL_TRUE, 0);
  } else {
    sprite = Argb8888(picture, side);
    SDL_SetSurfaceBlendMode(sprite.get(),
                            kind == SdlKind::kAlpha ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD);
  }
  for (auto _ : state) {
    SDL_Rect at{kX, kY, side, side};
    SDL_BlitSurface(sprite.get(), nullptr, view.get(), &at);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * side * side * 2);
}

constexpr float kAngle = 30.0f;

void OursRotate(benchmark::State& state) {
  OurView view;
  Image source;
  PrepareImage(&source, Picture(80), 80, DRAW_MASKED);
  Image dest;
  dest.Create(80, 80, IMAGE_RGB16 | IMAGE_ALPHA);
  for (auto _ : state) {
    RotateScale(source, &dest, kAngle, 1.0f);
    benchmark::DoNotOptimize(dest.data);
    benchmark::ClobberMemory();
  }
}

void SdlRotate(benchmark::State& state) {
  OurView view;
  Image source;
  PrepareImage(&source, Picture(80), 80, DRAW_MASKED);
  Surface sprite = Rgb565Copy(source);
  for (auto _ : state) {
    Surface turned(rotozoomSurface(sprite.get(), kAngle, 1.0, SMOOTHING_OFF));
    benchmark::DoNotOptimize(turned->pixels);
    benchmark::ClobberMemory();
  }
}

void OursTiled(benchmark::State& state) {
  OurView view;
  Image tile;
  PrepareImage(&tile, Picture(64), 64, DRAW_PLAIN);
  int offset = 0;
  for (auto _ : state) {
    DrawTiled(offset, offset / 2, &tile);
    offset = (offset + 7) % 640;  // a moving background, as in the game
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kViewW * kViewH * 2);
}

void MemcpyView(benchmark::State& state) {
  OurView view;
  std::vector<uint16_t> source(view.pixels.size(), 0x1234);
  for (auto _ : state) {
    std::memcpy(view.pixels.data(), source.data(), view.pixels.size() * 2);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kViewW * kViewH * 2);
}

// Pairs of (ours, peer) benchmark names, by the name of the comparison.
struct Comparison {
  std::string name;
  std::string ours;
  std::string peer;
};

std::vector<Comparison> RegisterAll() {
  std::vector<Comparison> pairs;
  struct Op {
    const char* name;
    ImageDrawFn draw;
    int purpose;
    SdlKind kind;
  };
  const Op ops[] = {
      {"DrawPlain", DrawPlain, DRAW_PLAIN, SdlKind::kOpaque},
      {"DrawMasked", DrawMasked, DRAW_MASKED, SdlKind::kColourKey},
      {"DrawAlpha", DrawAlpha, DRAW_ALPHA, SdlKind::kAlpha},
      {"DrawAdditive", DrawAdditive, DRAW_ADDITIVE, SdlKind::kAdditive},
  };
  for (const Op& op : ops) {
    for (int side : {64, 256}) {
      const std::string name = op.name + std::to_string(side);
      const std::string ours = "ours/" + name;
      const std::string peer = "sdl/" + name;
      benchmark::RegisterBenchmark(ours.c_str(), OursDraw, op.draw, op.purpose)->Arg(side);
      benchmark::RegisterBenchmark(peer.c_str(), SdlDraw, op.kind)->Arg(side);
      pairs.push_back({name, ours + "/" + std::to_string(side), peer + "/" + std::to_string(side)});
    }
  }
  benchmark::RegisterBenchmark("ours/RotateScale80", OursRotate);
  benchmark::RegisterBenchmark("sdl_gfx/RotateScale80", SdlRotate);
  pairs.push_back({"RotateScale80", "ours/RotateScale80", "sdl_gfx/RotateScale80"});
  benchmark::RegisterBenchmark("ours/DrawTiled800x600", OursTiled);
  benchmark::RegisterBenchmark("memcpy/View800x600", MemcpyView);
  pairs.push_back({"DrawTiled", "ours/DrawTiled800x600", "memcpy/View800x600"});
  return pairs;
}

// The console table as usual, remembering the fastest CPU time per iteration of each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      const double t = run.GetAdjustedCPUTime();
      auto [it, inserted] = fastest_.emplace(run.benchmark_name(), t);
      if (!inserted) it->second = std::min(it->second, t);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& fastest() const { return fastest_; }

 private:
  std::map<std::string, double> fastest_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Comparison> pairs = RegisterAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Comparison& c : pairs) {
    const auto ours = reporter.fastest().find(c.ours);
    const auto peer = reporter.fastest().find(c.peer);
    if (ours == reporter.fastest().end() || peer == reporter.fastest().end()) continue;
    std::printf("ratio %s %.2f\n", c.name.c_str(), ours->second / peer->second);
  }
  benchmark::Shutdown();
  return 0;
}
