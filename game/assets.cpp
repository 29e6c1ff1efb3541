#include "game/assets.h"

#include <cstdio>

#include "engine/images/image_loader.h"

namespace {

void LoadNumbered(const char* pattern, int i, Image* image, int purpose) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, i);
  ImageLoader::Load(name, image, purpose);
}

}  // namespace

Image* GameAssets::Picture(Art art, int index) {
  switch (art) {
    case Art::kTarget:
      return index >= 0 && index < TILE_COLOURS ? &targets[index] : nullptr;
    case Art::kNumber:
      return index >= 0 && index < NUMBER_IMAGES ? &numbers[index] : nullptr;
    case Art::kInstruction:
      return index >= 0 && index < INSTRUCTION_IMAGES ? &instructions[index] : nullptr;
    case Art::kRoundsLabel:
      return &rounds;
    case Art::kComputerMark:
      return &computer_mark;
  }
  return nullptr;
}

SoundX* GameAssets::Clip(Sound s) {
  switch (s) {
    case Sound::Hit:
      return &hit;
    case Sound::Miss:
      return &miss;
    case Sound::Vote:
      return &vote;
  }
  return nullptr;
}

void LoadGameSounds(GameAssets* a) {
  a->hit.Load("Sounds\\futurebeep3.wav");
  a->miss.Load("Sounds\\blip.wav");
  a->vote.Load("Sounds\\blip.wav");
}

void LoadGameImages(GameAssets* a) {
  for (int i = 0; i < TILE_COLOURS; ++i) {
    LoadNumbered("Images\\tile%02d.tif", i, &a->tiles[i], DRAW_MASKED);
    LoadNumbered("Images\\target%01d.tif", i, &a->targets[i], DRAW_MASKED);
  }
  for (int i = 0; i < NUMBER_IMAGES; ++i) {
    LoadNumbered("Images\\num%02d.tif", i, &a->numbers[i], DRAW_MASKED);
  }
  for (int i = 0; i < INSTRUCTION_IMAGES; ++i) {
    LoadNumbered("Images\\inst%01d.tif", i, &a->instructions[i], DRAW_MASKED);
  }
  ImageLoader::Load("Images\\background.tif", &a->background, DRAW_PLAIN);
  ImageLoader::Load("Images\\rounds.tif", &a->rounds, DRAW_MASKED);
}

void LoadSideImages(GameAssets* a, int side) {
  const int family = side == 1 ? 1 : 0;
  ImageLoader::Load("Images/halo.tif", &a->halos[family], DRAW_MASKED);
  const char* pattern = family == 1 ? "Images\\zappo%03d.tif" : "Images\\blinko%03d.tif";
  for (int i = 0; i < CHARACTER_FRAMES; ++i)
    LoadNumbered(pattern, i, &a->figures[family][i], DRAW_MASKED);
}

void LoadComputerMark(GameAssets* a, int side) {
  if (a->computer_mark.data == nullptr) {
    ImageLoader::Load("Images\\computer.tif", &a->computer_mark, DRAW_MASKED);
  }
  a->computer_side[side == RIGHT ? RIGHT : LEFT] = true;
}
