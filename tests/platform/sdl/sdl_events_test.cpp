#include "platform/sdl/sdl_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using platform::Message;
using platform::Window;
using platform::sdl::ConvertEvent;
using platform::sdl::DecodeUtf8;
using platform::sdl::EventTargets;

constexpr uint32_t kOurId = 7;
constexpr uint32_t kOtherId = 8;

Window OurWindow() {
  return reinterpret_cast<Window>(uintptr_t{0x1000});
}

struct Converted {
  std::vector<Message> messages;
  Window quit_target = OurWindow();

  void From(const SDL_Event& event) {
    const EventTargets targets{[](uint32_t id) { return id == kOurId ? OurWindow() : nullptr; },
                               [this] { return quit_target; }};
    ConvertEvent(event, targets, &messages);
  }
};

SDL_Event Key(uint32_t type, SDL_Keycode symbol, SDL_Scancode scancode, uint8_t repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.windowID = kOurId;
  event.key.keysym.sym = symbol;
  event.key.keysym.scancode = scancode;
  event.key.repeat = repeat;
  return event;
}

SDL_Event WindowEvent(uint8_t what, int data1 = 0, int data2 = 0, uint32_t id = kOurId) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = id;
  event.window.event = what;
  event.window.data1 = data1;
  event.window.data2 = data2;
  return event;
}

SDL_Event Button(uint32_t type, uint8_t button, int x, int y) {
  SDL_Event event{};
  event.type = type;
  event.button.windowID = kOurId;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event Text(const char* text) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  event.text.windowID = kOurId;
  std::strncpy(event.text.text, text, sizeof event.text.text - 1);
  return event;
}

TEST(ConvertEventTest, KeysBecomeKeyMessagesWithTheirVirtualKeyCodes) {
  Converted c;
  c.From(Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D));
  c.From(Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D, 1));  // auto-repeat
  c.From(Key(SDL_KEYUP, SDLK_d, SDL_SCANCODE_D));
  c.From(Key(SDL_KEYDOWN, SDLK_RIGHT, SDL_SCANCODE_RIGHT));
  c.From(Key(SDL_KEYDOWN, SDLK_MUTE, SDL_SCANCODE_MUTE));  // no code: nothing
  ASSERT_EQ(c.messages.size(), 4u);
  EXPECT_EQ(c.messages[0].message, platform::WM_KEYDOWN);
  EXPECT_EQ(c.messages[0].wparam, 0x44u);
  EXPECT_EQ(c.messages[0].window, OurWindow());
  // Auto-repeat arrives as another key-down, marked as already down.
  EXPECT_EQ(c.messages[1].message, platform::WM_KEYDOWN);
  EXPECT_EQ(c.messages[1].wparam, 0x44u);
  EXPECT_NE(c.messages[1].lparam & (intptr_t{1} << 30), 0);
  EXPECT_EQ(c.messages[0].lparam & (intptr_t{1} << 30), 0);
  EXPECT_EQ(c.messages[2].message, platform::WM_KEYUP);
  EXPECT_EQ(c.messages[2].wparam, 0x44u);
  EXPECT_EQ(c.messages[3].wparam, 0x27u);
}

TEST(ConvertEventTest, TypedTextBecomesOneCharacterMessagePerCodePoint) {
  Converted c;
  c.From(Text("a\xC3\xA9\xE2\x82\xAC"));  // a, e acute, euro sign
  ASSERT_EQ(c.messages.size(), 3u);
  for (const Message& m : c.messages) EXPECT_EQ(m.message, platform::WM_CHAR);
  EXPECT_EQ(c.messages[0].wparam, uintptr_t{'a'});
  EXPECT_EQ(c.messages[1].wparam, 0xE9u);
  EXPECT_EQ(c.messages[2].wparam & 0xFF, 0xACu);  // the handler keeps the low 8 bits
}

TEST(ConvertEventTest, PointerMovesAndTheThreeButtonsInClientCoordinates) {
  Converted c;
  SDL_Event move{};
  move.type = SDL_MOUSEMOTION;
  move.motion.windowID = kOurId;
  move.motion.x = 30;
  move.motion.y = 40;
  move.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK;
  c.From(move);
  c.From(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2));
  c.From(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 2));
  c.From(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4));
  c.From(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 3, 4));
  c.From(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 5, 6));
  c.From(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 6));
  c.From(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 7, 8));  // no message for extra buttons
  const std::vector<uint32_t> expected = {platform::WM_MOUSEMOVE, platform::WM_LBUTTONDOWN,
                                          platform::WM_LBUTTONUP, platform::WM_RBUTTONDOWN,
                                          platform::WM_RBUTTONUP, platform::WM_MBUTTONDOWN,
                                          platform::WM_MBUTTONUP};
  ASSERT_EQ(c.messages.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(c.messages[i].message, expected[i]) << i;
  }
  EXPECT_EQ(c.messages[0].lparam, platform::MakeLParam(30, 40));
  EXPECT_EQ(c.messages[0].wparam, platform::sdl::MK_LBUTTON | platform::sdl::MK_MBUTTON);
  EXPECT_EQ(c.messages[3].lparam, platform::MakeLParam(3, 4));
}

TEST(ConvertEventTest, WindowEventsBecomeFocusActivationMoveAndClose) {
  Converted c;
  c.From(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  c.From(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  c.From(WindowEvent(SDL_WINDOWEVENT_MOVED, 112, 84));
  c.From(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  c.From(WindowEvent(SDL_WINDOWEVENT_EXPOSED));  // nothing for the handler
  struct Expected {
    uint32_t message;
    uintptr_t wparam;
  };
  const std::vector<Expected> expected = {
      {platform::WM_ACTIVATEAPP, 1}, {platform::WM_SETFOCUS, 0}, {platform::WM_ACTIVATEAPP, 0},
      {platform::WM_KILLFOCUS, 0},   {platform::WM_MOVE, 0},     {platform::WM_CLOSE, 0}};
  ASSERT_EQ(c.messages.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(c.messages[i].message, expected[i].message) << i;
    EXPECT_EQ(c.messages[i].wparam, expected[i].wparam) << i;
    EXPECT_EQ(c.messages[i].window, OurWindow()) << i;
  }
  EXPECT_EQ(c.messages[4].lparam, platform::MakeLParam(112, 84));
}

TEST(ConvertEventTest, AQuitRequestClosesTheMainWindowOrNothing) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Converted c;
  c.From(quit);
  ASSERT_EQ(c.messages.size(), 1u);
  EXPECT_EQ(c.messages[0].message, platform::WM_CLOSE);
  EXPECT_EQ(c.messages[0].window, OurWindow());

  Converted none;
  none.quit_target = nullptr;
  none.From(quit);
  EXPECT_TRUE(none.messages.empty());
}

TEST(ConvertEventTest, EventsForOtherWindowsAreDropped) {
  Converted c;
  c.From(WindowEvent(SDL_WINDOWEVENT_CLOSE, 0, 0, kOtherId));
  SDL_Event key = Key(SDL_KEYDOWN, SDLK_d, SDL_SCANCODE_D);
  key.key.windowID = kOtherId;
  c.From(key);
  SDL_Event text = Text("x");
  text.text.windowID = 0;  // no window had the keyboard
  c.From(text);
  EXPECT_TRUE(c.messages.empty());
}

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
  EXPECT_EQ(DecodeUtf8(c.bytes.data(), c.bytes.size()), c.code_points);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeUtf8Test,
    testing::Values(Utf8Case{"", {}}, Utf8Case{"ab", {'a', 'b'}}, Utf8Case{"\xC3\xA9", {0xE9}},
                    Utf8Case{"\xE2\x82\xAC", {0x20AC}}, Utf8Case{"\xF0\x9F\x98\x80", {0x1F600}},
                    Utf8Case{"\x80"
                             "a",
                             {'a'}},  // stray continuation byte
                    Utf8Case{"\xC3"
                             "a",
                             {'a'}},  // lead without its continuation
                    Utf8Case{"\xC0\x80"
                             "a",
                             {'a'}},  // overlong NUL
                    Utf8Case{"\xED\xA0\x80"
                             "a",
                             {'a'}},  // surrogate
                    Utf8Case{"\xF4\x90\x80\x80"
                             "a",
                             {'a'}},  // beyond U+10FFFF
                    Utf8Case{"\xFF"
                             "a",
                             {'a'}},                            // never a lead
                    Utf8Case{"\xE2\x82", {}},                   // cut off by the size
                    Utf8Case{std::string("a\0b", 3), {'a'}}));  // stops at a NUL

}  // namespace
