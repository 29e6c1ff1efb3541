#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/messages.h"

namespace {

using platform::sdl::VirtualKey;

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
  const KeyCase& key = GetParam();
  EXPECT_EQ(VirtualKey(key.symbol, key.scancode), key.code);
}

// The game's own keys first, then every group the engine's table knows.
INSTANTIATE_TEST_SUITE_P(
    Keys, VirtualKeyTest,
    testing::Values(
        KeyCase{SDLK_d, SDL_SCANCODE_D, 0x44}, KeyCase{SDLK_f, SDL_SCANCODE_F, 0x46},
        KeyCase{SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25}, KeyCase{SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
        KeyCase{SDLK_UP, SDL_SCANCODE_UP, 0x26}, KeyCase{SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        KeyCase{SDLK_a, SDL_SCANCODE_A, 'A'}, KeyCase{SDLK_z, SDL_SCANCODE_Z, 'Z'},
        KeyCase{SDLK_0, SDL_SCANCODE_0, '0'}, KeyCase{SDLK_9, SDL_SCANCODE_9, '9'},
        KeyCase{SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
        KeyCase{SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
        KeyCase{SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
        KeyCase{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        KeyCase{SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        KeyCase{SDLK_TAB, SDL_SCANCODE_TAB, 0x09}, KeyCase{SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0x10},
        KeyCase{SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
        KeyCase{SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11},
        KeyCase{SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11}, KeyCase{SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
        KeyCase{SDLK_RALT, SDL_SCANCODE_RALT, 0x12}, KeyCase{SDLK_F1, SDL_SCANCODE_F1, 0x70},
        KeyCase{SDLK_F10, SDL_SCANCODE_F10, 0x79}, KeyCase{SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        KeyCase{SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        KeyCase{SDLK_EQUALS, SDL_SCANCODE_EQUALS, 0xBB},
        KeyCase{SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
        KeyCase{SDLK_MINUS, SDL_SCANCODE_MINUS, 0xBD},
        KeyCase{SDLK_PERIOD, SDL_SCANCODE_PERIOD, 0xBE},
        KeyCase{SDLK_SLASH, SDL_SCANCODE_SLASH, 0xBF},
        KeyCase{SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
        KeyCase{SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 0xDB},
        KeyCase{SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, 0xDC},
        KeyCase{SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, 0xDD},
        KeyCase{SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
        // The layout decides letters: the key in Q's place on a French keyboard types A.
        KeyCase{SDLK_a, SDL_SCANCODE_Q, 'A'},
        // A digit row that types accented letters still gives the digits.
        KeyCase{0xE9, SDL_SCANCODE_2, '2'}, KeyCase{'&', SDL_SCANCODE_1, '1'},
        // A non-Latin layout falls back to the key's place.
        KeyCase{0x0432, SDL_SCANCODE_D, 'D'}, KeyCase{0x0436, SDL_SCANCODE_SEMICOLON, 0xBA},
        // Keys without a code.
        KeyCase{SDLK_MUTE, SDL_SCANCODE_MUTE, 0}, KeyCase{SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0}));

TEST(VirtualKeyTest, EveryLetterAndDigitByItsUpperCaseCharacter) {
  for (int i = 0; i < 26; ++i) {
    const auto symbol = static_cast<SDL_Keycode>(SDLK_a + i);
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + i);
    EXPECT_EQ(VirtualKey(symbol, scancode), 'A' + i);
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(VirtualKey(static_cast<SDL_Keycode>(SDLK_0 + i), SDL_SCANCODE_UNKNOWN), '0' + i);
  }
  for (int i = 0; i < 12; ++i) {
    const auto symbol = static_cast<SDL_Keycode>(SDLK_F1 + i);
    EXPECT_EQ(VirtualKey(symbol, SDL_SCANCODE_UNKNOWN), 0x70 + i);
  }
}

}  // namespace
