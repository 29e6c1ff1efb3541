// Keys as the engine knows them: SDL's key reports turned into the virtual-key codes that index
// the engine's `keys` table.
#pragma once

#include <SDL2/SDL_keyboard.h>

#include <cstdint>

namespace platform::sdl {

// The virtual-key code of a key, or 0 when it has none. The key's symbol under the current
// layout decides first, so letters follow the layout as the game's players expect; keys whose
// symbol has no code (a digit row that types accented letters, a non-Latin layout) fall back to
// the key's position on a US keyboard.
uint8_t VirtualKey(SDL_Keycode symbol, SDL_Scancode scancode);

}  // namespace platform::sdl
