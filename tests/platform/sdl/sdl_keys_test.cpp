#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct KeyCase {
  SDL_Keycode symbol;
  SDL_Scancode scancode;
  int code;
};

void PrintTo(const KeyCase& key, std::ostream* out) {
  *out << "symbol 0x" << std::hex << key.symbol << " scancode " << std::dec << key.scancode;
}

class VirtualKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeyTest, MapsToTheVirtualKeyCode) {
  EXPECT_EQ(platform::sdl::VirtualKey(GetParam().symbol, GetParam().scancode), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyTest,
    testing::Values(
        // The game's keys.
        KeyCase{SDLK_d, SDL_SCANCODE_D, 0x44}, KeyCase{SDLK_f, SDL_SCANCODE_F, 0x46},
        KeyCase{SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25}, KeyCase{SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
        // Each group of the table at its ends.
        KeyCase{SDLK_a, SDL_SCANCODE_A, 'A'}, KeyCase{SDLK_z, SDL_SCANCODE_Z, 'Z'},
        KeyCase{SDLK_0, SDL_SCANCODE_0, '0'}, KeyCase{SDLK_9, SDL_SCANCODE_9, '9'},
        KeyCase{SDLK_UP, SDL_SCANCODE_UP, 0x26}, KeyCase{SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        KeyCase{SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
        KeyCase{SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
        KeyCase{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        KeyCase{SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        KeyCase{SDLK_TAB, SDL_SCANCODE_TAB, 0x09}, KeyCase{SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
        KeyCase{SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11}, KeyCase{SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
        KeyCase{SDLK_F1, SDL_SCANCODE_F1, 0x70}, KeyCase{SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        KeyCase{SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        KeyCase{SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
        KeyCase{SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
        KeyCase{SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        // The layout decides letters: the key in Q's place on a French keyboard types A.
        KeyCase{SDLK_a, SDL_SCANCODE_Q, 'A'},
        // A digit row that types accented letters, and a non-Latin layout, fall back to the
        // key's place.
        KeyCase{0xE9, SDL_SCANCODE_2, '2'}, KeyCase{0x0432, SDL_SCANCODE_D, 'D'},
        KeyCase{0x0436, SDL_SCANCODE_SEMICOLON, 0xBA},
        // Keys without a code.
        KeyCase{SDLK_MUTE, SDL_SCANCODE_MUTE, 0}, KeyCase{SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0}));

}  // namespace
