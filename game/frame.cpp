#include "game/frame.h"

#include "engine/core/vorn.h"
#include "engine/images/draw.h"
#include "game/hud.h"

namespace {

// The figure's top-left corner, from its ring's centre.
constexpr float FIGURE_DX = 136.0f;
constexpr float FIGURE_DY = 370.0f;

void DrawAll(const Placements& items, GameAssets* assets) {
  for (const Placement& p : items) {
    Image* image = assets->Picture(p.art, p.index);
    if (image != nullptr) DrawMasked(p.x, p.y, image);
  }
}

// Halo, then tiles 0 to 23, then the figure.
void DrawPlayer(const Player& p, GameAssets* assets) {
  const int family = p.character.index == 1 ? 1 : 0;
  p.halo.Draw(p.centre_x, p.centre_y, &assets->halos[family]);
  for (const RingTile& tile : p.tiles)
    tile.Draw(p.centre_x, p.centre_y, assets->tiles, &assets->tile_work);
  // A frame number outside the family (only possible if set from outside) draws nothing.
  const int frame = p.character.frame;
  if (frame < 0 || frame >= CHARACTER_FRAMES) return;
  DrawMasked(static_cast<int>(p.centre_x - FIGURE_DX), static_cast<int>(p.centre_y - FIGURE_DY),
             &assets->figures[family][frame]);
}

}  // namespace

uint32_t InitMatch(GameState* s, GameAssets* assets, uint32_t seed) {
  Vorn.Initialize(0, VIEW_WIDTH, VIEW_HEIGHT);
  LoadGameSounds(assets);
  LoadGameImages(assets);
  LoadSideImages(assets, LEFT);
  LoadSideImages(assets, RIGHT);
  const uint32_t now = Vorn.backend->Milliseconds();
  *s = NewGame(seed, now);
  return now;
}

void PlaySounds(const SoundEvents& events, GameAssets* assets) {
  for (int i = 0; i < SOUNDS; ++i) {
    for (int n = 0; n < events.count[i]; ++n)
      Vorn.SoundPlay(assets->Clip(static_cast<Sound>(i)), 0);
  }
}

void DrawMatch(const GameState& s, GameAssets* assets, uint32_t now_ms) {
  DrawTiled(0, 0, &assets->background);
  Placements items;
  StateItems(s.match, &items);
  DrawAll(items, assets);
  DrawPlayer(s.players[LEFT], assets);
  DrawPlayer(s.players[RIGHT], assets);
  items.clear();
  OverlayItems(s.match, s.players[LEFT].score, s.players[RIGHT].score, static_cast<int>(now_ms),
               &items);
  for (const int side : {LEFT, RIGHT}) {
    if (assets->computer_side[side]) ComputerMarkItems(side, &items);
  }
  DrawAll(items, assets);
}

int RunMatchFrame(GameState* s, GameAssets* assets, uint32_t now_ms, FrameInput in) {
  PlaySounds(Step(*s, now_ms, in), assets);
  // A failed lock has already been reported by the engine; there is no view to draw into, so
  // this frame draws nothing and shows what the back buffer last held.
  if (Vorn.ViewLock()) {
    DrawMatch(*s, assets, now_ms);
    Vorn.ViewUnlock();
  }
  return Vorn.ViewUpdate();
}
