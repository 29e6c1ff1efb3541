#include "platform/sdl/sdl_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using platform::Window;

constexpr uint32_t kOurs = 7;
constexpr uint32_t kNotOurs = 8;
constexpr intptr_t kAny = -1;
constexpr intptr_t kWasDown = intptr_t{1} << 30;
constexpr intptr_t kReleasing = intptr_t{1} << 31;

Window Ours() {
  return reinterpret_cast<Window>(uintptr_t{0x1000});
}

struct Expected {
  uint32_t message;
  intptr_t wparam = kAny;
  intptr_t lparam = kAny;
};

struct EventCase {
  const char* name;
  SDL_Event event;
  std::vector<Expected> messages;
};

void PrintTo(const EventCase& c, std::ostream* out) {
  *out << c.name;
}

SDL_Event Key(uint32_t type, SDL_Keycode symbol, SDL_Scancode scancode, uint8_t repeat = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.windowID = kOurs;
  e.key.keysym.sym = symbol;
  e.key.keysym.scancode = scancode;
  e.key.repeat = repeat;
  return e;
}

SDL_Event OfWindow(uint8_t what, int data1 = 0, int data2 = 0, uint32_t id = kOurs) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = id;
  e.window.event = what;
  e.window.data1 = data1;
  e.window.data2 = data2;
  return e;
}

SDL_Event Button(uint32_t type, uint8_t button) {
  SDL_Event e{};
  e.type = type;
  e.button.windowID = kOurs;
  e.button.button = button;
  e.button.x = 3;
  e.button.y = 4;
  return e;
}

SDL_Event Text(const char* text, uint32_t id = kOurs) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = id;
  std::strncpy(e.text.text, text, sizeof e.text.text - 1);
  return e;
}

SDL_Event Motion() {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = kOurs;
  e.motion.x = 30;
  e.motion.y = 40;
  e.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
  return e;
}

SDL_Event Quit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  return e;
}

class ConvertEventTest : public testing::TestWithParam<EventCase> {};

TEST_P(ConvertEventTest, GivesTheMessagesTheHandlerExpects) {
  const EventCase& c = GetParam();
  const platform::sdl::EventTargets targets{
      [](uint32_t id) { return id == kOurs ? Ours() : nullptr; }, [] { return Ours(); }};
  std::vector<platform::Message> out;
  platform::sdl::ConvertEvent(c.event, targets, &out);
  ASSERT_EQ(out.size(), c.messages.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    EXPECT_EQ(out[i].window, Ours()) << i;
    EXPECT_EQ(out[i].message, c.messages[i].message) << i;
    if (c.messages[i].wparam != kAny) {
      EXPECT_EQ(out[i].wparam, static_cast<uintptr_t>(c.messages[i].wparam)) << i;
    }
    if (c.messages[i].lparam != kAny) {
      EXPECT_EQ(out[i].lparam, c.messages[i].lparam) << i;
    }
  }
}

using namespace platform;  // message names

INSTANTIATE_TEST_SUITE_P(
    Events, ConvertEventTest,
    testing::Values(
        EventCase{"key down", Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D), {{WM_KEYDOWN, 0x44, 1}}},
        EventCase{"auto-repeat is another key-down",
                  Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, 1),
                  {{WM_KEYDOWN, 0x44, 1 | kWasDown}}},
        EventCase{"key up",
                  Key(SDL_KEYUP, SDLK_RIGHT, SDL_SCANCODE_RIGHT),
                  {{WM_KEYUP, 0x27, 1 | kWasDown | kReleasing}}},
        EventCase{"key without a code", Key(SDL_KEYDOWN, SDLK_MUTE, SDL_SCANCODE_MUTE), {}},
        EventCase{"typed text, one message per character",
                  Text("a\xC3\xA9\xE2\x82\xAC"),
                  {{WM_CHAR, 'a'}, {WM_CHAR, 0xE9}, {WM_CHAR, 0x20AC}}},
        EventCase{"pointer move",
                  Motion(),
                  {{WM_MOUSEMOVE, sdl::MK_LBUTTON | sdl::MK_MBUTTON, MakeLParam(30, 40)}}},
        EventCase{"left down",
                  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT),
                  {{WM_LBUTTONDOWN, kAny, MakeLParam(3, 4)}}},
        EventCase{"left up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), {{WM_LBUTTONUP}}},
        EventCase{"right down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), {{WM_RBUTTONDOWN}}},
        EventCase{"middle up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE), {{WM_MBUTTONUP}}},
        EventCase{"extra button", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1), {}},
        EventCase{"focus gained",
                  OfWindow(SDL_WINDOWEVENT_FOCUS_GAINED),
                  {{WM_ACTIVATEAPP, 1}, {WM_SETFOCUS}}},
        EventCase{"focus lost",
                  OfWindow(SDL_WINDOWEVENT_FOCUS_LOST),
                  {{WM_ACTIVATEAPP, 0}, {WM_KILLFOCUS}}},
        EventCase{"moved",
                  OfWindow(SDL_WINDOWEVENT_MOVED, 112, 84),
                  {{WM_MOVE, kAny, MakeLParam(112, 84)}}},
        EventCase{"close button", OfWindow(SDL_WINDOWEVENT_CLOSE), {{WM_CLOSE}}},
        EventCase{"quit request", Quit(), {{WM_CLOSE}}},
        EventCase{"another window", OfWindow(SDL_WINDOWEVENT_CLOSE, 0, 0, kNotOurs), {}}));

struct Utf8Case {
  std::string bytes;
  std::vector<uint32_t> code_points;
};

void PrintTo(const Utf8Case& c, std::ostream* out) {
  *out << "bytes";
  for (unsigned char byte : c.bytes) *out << ' ' << std::hex << int{byte};
}

class DecodeUtf8Test : public testing::TestWithParam<Utf8Case> {};

TEST_P(DecodeUtf8Test, DecodesWellFormedAndSkipsBrokenSequences) {
  const Utf8Case& c = GetParam();
  EXPECT_EQ(platform::sdl::DecodeUtf8(c.bytes.data(), c.bytes.size()), c.code_points);
}

// Octal escapes where a letter follows, since a hex escape would swallow it.
INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeUtf8Test,
    testing::Values(Utf8Case{"\xC3\xA9", {0xE9}}, Utf8Case{"\xF0\x9F\x98\x80", {0x1F600}},
                    Utf8Case{"\200a", {'a'}},                   // stray continuation byte
                    Utf8Case{"\303a", {'a'}},                   // lead without its continuation
                    Utf8Case{"\300\200a", {'a'}},               // overlong NUL
                    Utf8Case{"\355\240\200a", {'a'}},           // surrogate
                    Utf8Case{"\364\220\200\200a", {'a'}},       // beyond U+10FFFF
                    Utf8Case{"\xE2\x82", {}},                   // cut off by the size
                    Utf8Case{std::string("a\0b", 3), {'a'}}));  // stops at a NUL

}  // namespace
