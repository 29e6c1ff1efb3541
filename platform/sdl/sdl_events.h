// SDL's events turned into the window messages the engine's window handler takes.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"

namespace platform::sdl {

// Button flags of a pointer move's word argument.
constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;
constexpr uintptr_t MK_MBUTTON = 0x0010;

struct EventTargets {
  // The window behind an SDL window id; null for one that is not ours or no longer exists.
  std::function<Window(uint32_t sdl_window_id)> window_of;
  // The window a quit request (SIGINT, SIGTERM, the session ending) closes; null when none.
  std::function<Window()> quit_target;
  // Turns a pointer position in a window into the view's coordinates; positions are passed on
  // as they are when it is not set.
  std::function<void(Window window, int* x, int* y)> to_view;
};

// Appends the messages one event stands for, in the order the handler should see them; events
// the engine has no message for, and events for windows that are gone, add nothing.
void ConvertEvent(const SDL_Event& event, const EventTargets& targets, std::vector<Message>* out);

// The code points of UTF-8 text: at most `size` bytes, stopping at a NUL. Malformed, overlong
// and surrogate sequences are skipped, so that a broken byte never becomes a typed character.
std::vector<uint32_t> DecodeUtf8(const char* text, std::size_t size);

}  // namespace platform::sdl
