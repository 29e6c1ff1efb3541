#include "game/frame.h"

#include "engine/core/random.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"
#include "game/hud.h"

namespace {

// Spreads a draw over a quarter turn; the factor is 90 / 32767 in double precision.
constexpr double kDirectionSpread = 90.0 / 32767.0;
constexpr double kDirectionBase = 45.0;

void DrawAll(const Placements& items, GameAssets* assets) {
  for (const Placement& p : items) {
    Image* image = assets->Picture(p.art, p.index);
    if (image != nullptr) DrawMasked(p.x, p.y, image);
  }
}

}  // namespace

float HaloStartDirection(int draw) {
  return static_cast<float>(draw * kDirectionSpread + kDirectionBase);
}

void InitMatch(Match* match, GameAssets* assets, uint32_t seed) {
  Vorn.Initialize(0, VIEW_WIDTH, VIEW_HEIGHT);
  SeedRandom(seed);
  LoadGameSounds(assets);
  LoadGameImages(assets);
  // Both halos start in the same direction, so neither player starts with an advantage.
  const float theta = HaloStartDirection(Random());
  match->players[LEFT].Setup(LEFT, LEFT_CENTRE_X, CENTRE_Y, START_SCORE, theta, assets->tiles);
  match->players[RIGHT].Setup(RIGHT, RIGHT_CENTRE_X, CENTRE_Y, START_SCORE, theta, assets->tiles);
  match->sounds = assets->Sounds();
  match->state.round_start = 0;
  match->state.rounds_left = ROUNDS_PER_MATCH;
  match->state.game_state = GAME_START;
  match->state.last_hit[LEFT] = match->state.last_hit[RIGHT] = NO_HIT;
}

void DrawMatch(Match* match, GameAssets* assets, int now) {
  DrawTiled(0, 0, &assets->background);
  Placements items;
  StateItems(match->state, &items);
  DrawAll(items, assets);
  match->players[LEFT].Draw();
  match->players[RIGHT].Draw();
  items.clear();
  OverlayItems(match->state, match->players[LEFT].score, match->players[RIGHT].score, now, &items);
  DrawAll(items, assets);
}

int RunMatchFrame(Match* match, GameAssets* assets) {
  match->Update();
  match->EndTest();
  // A failed lock has already been reported by the engine; there is no view to draw into, so
  // this frame draws nothing and shows what the back buffer last held.
  if (Vorn.ViewLock()) {
    DrawMatch(match, assets, MatchClock());
    Vorn.ViewUnlock();
  }
  return Vorn.ViewUpdate();
}
