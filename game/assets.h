// The pictures and clips the match owns, and their loading in the order the game has always
// loaded them. Loaded once at start-up; they live as long as the program.
#pragma once

#include "engine/images/image.h"
#include "engine/sound/soundx.h"
#include "game/character.h"
#include "game/hud.h"
#include "game/player.h"
#include "game/step.h"

struct GameAssets {
  GameAssets() = default;
  GameAssets(const GameAssets&) = delete;
  GameAssets& operator=(const GameAssets&) = delete;

  Image tiles[TILE_COLOURS];
  Image targets[TILE_COLOURS];
  Image numbers[NUMBER_IMAGES];
  Image instructions[INSTRUCTION_IMAGES];
  Image background;
  Image rounds;
  SoundX hit;
  SoundX miss;
  SoundX vote;  // a clip of its own, from the same file as the miss sound
  // Each side's halo and its figure's family of frames.
  Image halos[2];
  Image figures[2][CHARACTER_FRAMES];
  // The mark beside the score of a side the computer plays, and which sides show it. Loaded
  // only when the computer plays, so that the game as always reads no file more.
  Image computer_mark;
  bool computer_side[2] = {false, false};
  // Where a tile's picture is turned before it is drawn; one serves every tile in turn.
  Image tile_work;

  // The picture a placement names, or null for an index outside its family.
  Image* Picture(Art art, int index);
  // The clip a sound event names.
  SoundX* Clip(Sound s);
};

// Hit, miss, vote.
void LoadGameSounds(GameAssets* assets);
// Tiles and targets interleaved by colour, numbers, instructions, background, rounds label.
void LoadGameImages(GameAssets* assets);
// A side's halo, then its figure's 61 frames (side 1 the second family, any other the first).
void LoadSideImages(GameAssets* assets, int side);
// The computer's mark, for `side` to show.
void LoadComputerMark(GameAssets* assets, int side);
