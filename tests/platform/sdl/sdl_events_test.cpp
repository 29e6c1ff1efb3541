// SDL's key reports and events turned into the virtual-key codes and window messages the
// engine's handler takes.
#include "platform/sdl/sdl_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "platform/sdl/sdl_keys.h"

namespace {

using namespace platform;

TEST(VirtualKey, MapsTheGamesKeysEachGroupAtItsEndsAndFallsBackToThePlace) {
  // clang-format off
  const struct { SDL_Keycode symbol; SDL_Scancode scancode; int code; } keys[] = {
      // The game's keys.
      {SDLK_d, SDL_SCANCODE_D, 0x44}, {SDLK_f, SDL_SCANCODE_F, 0x46},
      {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25}, {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
      // A few of each group of the table.
      {SDLK_z, SDL_SCANCODE_Z, 'Z'}, {SDLK_9, SDL_SCANCODE_9, '9'}, {SDLK_UP, SDL_SCANCODE_UP, 0x26},
      {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D}, {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
      // The layout decides letters: the key in Q's place on a French keyboard types A.
      {SDLK_a, SDL_SCANCODE_Q, 'A'},
      // A digit row that types accented letters, and a non-Latin layout, fall back to the place.
      {0xE9, SDL_SCANCODE_2, '2'}, {0x0432, SDL_SCANCODE_D, 'D'}, {0x0436, SDL_SCANCODE_SEMICOLON, 0xBA},
      // Keys without a code.
      {SDLK_MUTE, SDL_SCANCODE_MUTE, 0}, {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0}};
  // clang-format on
  for (const auto& [symbol, scancode, code] : keys)
    EXPECT_EQ(sdl::VirtualKey(symbol, scancode), code) << std::hex << symbol << " " << scancode;
}

constexpr uint32_t kOurs = 7;
constexpr intptr_t kWasDown = intptr_t{1} << 30;
constexpr intptr_t kReleasing = intptr_t{1} << 31;

const Window kWindow = reinterpret_cast<Window>(uintptr_t{0x1000});

SDL_Event Key(uint32_t type, SDL_Keycode symbol, SDL_Scancode scancode, uint8_t repeat = 0) {
  SDL_Event e{};
  e.key.type = type, e.key.windowID = kOurs, e.key.repeat = repeat;
  e.key.keysym.sym = symbol, e.key.keysym.scancode = scancode;
  return e;
}

SDL_Event OfWindow(uint8_t what, int data1 = 0, int data2 = 0, uint32_t id = kOurs) {
  SDL_Event e{};
  e.window.type = SDL_WINDOWEVENT, e.window.windowID = id, e.window.event = what;
  e.window.data1 = data1, e.window.data2 = data2;
  return e;
}

// Pointer events at (3, 4); a move with the left and middle buttons held.
SDL_Event Pointer(uint32_t type, uint8_t button = 0) {
  SDL_Event e{};
  e.type = type;
  if (type == SDL_MOUSEMOTION)
    e.motion.windowID = kOurs, e.motion.x = 3, e.motion.y = 4,
    e.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
  else
    e.button.windowID = kOurs, e.button.button = button, e.button.x = 3, e.button.y = 4;
  return e;
}

SDL_Event Text(const char* text) {
  SDL_Event e{};
  e.text.type = SDL_TEXTINPUT, e.text.windowID = kOurs;
  std::strncpy(e.text.text, text, sizeof e.text.text - 1);
  return e;
}

// A message, its wparam and its lparam.
using Expected = std::tuple<uint32_t, intptr_t, intptr_t>;

std::vector<Expected> Chars(std::initializer_list<intptr_t> code_points) {
  std::vector<Expected> messages;
  for (const intptr_t c : code_points) messages.emplace_back(WM_CHAR, c, 1);
  return messages;
}

TEST(ConvertEvent, GivesTheMessagesTheHandlerExpects) {
  // clang-format off
  const struct { const char* name; SDL_Event event; std::vector<Expected> messages; } cases[] = {
      {"key down", Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D), {{WM_KEYDOWN, 0x44, 1}}},
      {"auto-repeat is another key-down", Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, 1), {{WM_KEYDOWN, 0x44, 1 | kWasDown}}},
      {"key up", Key(SDL_KEYUP, SDLK_RIGHT, SDL_SCANCODE_RIGHT), {{WM_KEYUP, 0x27, 1 | kWasDown | kReleasing}}},
      {"typed text, one message per character", Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), Chars({'a', 0xE9, 0x20AC, 0x1F600})},
      // Octal escapes where a letter follows, since a hex escape would swallow it.
      {"broken UTF-8: stray continuation, lead alone, overlong, surrogates, too high, cut off",
       Text("\200a\303b\300\200c\355\240\200d\355\277\277e\364\220\200\200f\342\202"), Chars({'a', 'b', 'c', 'd', 'e', 'f'})},
      // Positions go through the window's mapping to view coordinates, here ten times (3, 4).
      {"pointer move", Pointer(SDL_MOUSEMOTION), {{WM_MOUSEMOVE, sdl::MK_LBUTTON | sdl::MK_MBUTTON, MakeLParam(30, 40)}}},
      {"left down", Pointer(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), {{WM_LBUTTONDOWN, 0, MakeLParam(30, 40)}}},
      {"middle up", Pointer(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE), {{WM_MBUTTONUP, 0, MakeLParam(30, 40)}}},
      {"extra button", Pointer(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1), {}},
      {"focus gained", OfWindow(SDL_WINDOWEVENT_FOCUS_GAINED), {{WM_ACTIVATEAPP, 1, 0}, {WM_SETFOCUS, 0, 0}}},
      {"focus lost", OfWindow(SDL_WINDOWEVENT_FOCUS_LOST), {{WM_ACTIVATEAPP, 0, 0}, {WM_KILLFOCUS, 0, 0}}},
      {"moved", OfWindow(SDL_WINDOWEVENT_MOVED, 112, 84), {{WM_MOVE, 0, MakeLParam(112, 84)}}},
      {"close button", OfWindow(SDL_WINDOWEVENT_CLOSE), {{WM_CLOSE, 0, 0}}},
      {"another window", OfWindow(SDL_WINDOWEVENT_CLOSE, 0, 0, kOurs + 1), {}}};
  // clang-format on
  const sdl::EventTargets targets{[](uint32_t id) { return id == kOurs ? kWindow : nullptr; },
                                  [] { return kWindow; },
                                  [](Window window, int* x, int* y) {
                                    if (window == kWindow) *x *= 10, *y *= 10;
                                  }};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Message> out;
    sdl::ConvertEvent(c.event, targets, &out);
    std::vector<Expected> got;
    for (const Message& m : out) {
      EXPECT_EQ(m.window, kWindow);
      // A button's flags come from SDL's own mouse state, not from the event: not compared.
      const bool button = m.message == WM_LBUTTONDOWN || m.message == WM_MBUTTONUP;
      got.emplace_back(m.message, button ? 0 : static_cast<intptr_t>(m.wparam), m.lparam);
    }
    EXPECT_EQ(got, c.messages);
  }
  // The text is read no further than its size, even without a closing NUL.
  EXPECT_EQ(sdl::DecodeUtf8("a\xE2\x82\xAC", 3), std::vector<uint32_t>{'a'});
}

}  // namespace
