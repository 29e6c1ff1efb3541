#include "platform/sdl/sdl_events.h"

#include "platform/sdl/sdl_keys.h"

namespace platform::sdl {
namespace {

// Key messages carry a repeat count of 1; bit 30 says the key was already down (an auto-repeat
// or a release), bit 31 that it is being released.
constexpr intptr_t kKeyRepeatCount = 1;
constexpr intptr_t kKeyWasDown = intptr_t{1} << 30;
constexpr intptr_t kKeyReleasing = intptr_t{1} << 31;

void Add(std::vector<Message>* out, Window window, uint32_t message, uintptr_t wparam,
         intptr_t lparam) {
  out->push_back(Message{window, message, wparam, lparam});
}

uintptr_t ButtonFlags(uint32_t state) {
  uintptr_t flags = 0;
  if (state & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (state & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  if (state & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
  return flags;
}

void ConvertWindowEvent(const SDL_WindowEvent& event, Window window, std::vector<Message>* out) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // One window per program: the program becomes active as its window takes the keyboard.
      Add(out, window, WM_ACTIVATEAPP, 1, 0);
      Add(out, window, WM_SETFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Add(out, window, WM_ACTIVATEAPP, 0, 0);
      Add(out, window, WM_KILLFOCUS, 0, 0);
      break;
    case SDL_WINDOWEVENT_MOVED:
      // SDL reports where the client area now is, which is what the handler expects.
      Add(out, window, WM_MOVE, 0, MakeLParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_CLOSE:
      Add(out, window, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

intptr_t PointerLParam(const EventTargets& targets, Window window, int x, int y) {
  if (targets.to_view) targets.to_view(window, &x, &y);
  return MakeLParam(x, y);
}

uint32_t ButtonMessage(uint8_t button, bool down) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT:
      return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE:
      return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
      return 0;
  }
}

}  // namespace

void ConvertEvent(const SDL_Event& event, const EventTargets& targets, std::vector<Message>* out) {
  switch (event.type) {
    case SDL_QUIT: {
      // A quit request is the close button of the whole program.
      const Window window = targets.quit_target();
      if (window != nullptr) Add(out, window, WM_CLOSE, 0, 0);
      break;
    }
    case SDL_WINDOWEVENT: {
      const Window window = targets.window_of(event.window.windowID);
      if (window != nullptr) ConvertWindowEvent(event.window, window, out);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const Window window = targets.window_of(event.key.windowID);
      const uint8_t code = VirtualKey(event.key.keysym.sym, event.key.keysym.scancode);
      if (window == nullptr || code == 0) break;
      if (event.type == SDL_KEYDOWN) {
        Add(out, window, WM_KEYDOWN, code,
            kKeyRepeatCount | (event.key.repeat != 0 ? kKeyWasDown : 0));
      } else {
        Add(out, window, WM_KEYUP, code, kKeyRepeatCount | kKeyWasDown | kKeyReleasing);
      }
      break;
    }
    case SDL_TEXTINPUT: {
      const Window window = targets.window_of(event.text.windowID);
      if (window == nullptr) break;
      for (uint32_t code_point : DecodeUtf8(event.text.text, sizeof event.text.text)) {
        Add(out, window, WM_CHAR, code_point, kKeyRepeatCount);
      }
      break;
    }
    case SDL_MOUSEMOTION: {
      const Window window = targets.window_of(event.motion.windowID);
      if (window == nullptr) break;
      Add(out, window, WM_MOUSEMOVE, ButtonFlags(event.motion.state),
          PointerLParam(targets, window, event.motion.x, event.motion.y));
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const Window window = targets.window_of(event.button.windowID);
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      const uint32_t message = ButtonMessage(event.button.button, down);
      if (window == nullptr || message == 0) break;
      // The state after this event: SDL's button masks are one bit per button number.
      const uint32_t state = SDL_GetMouseState(nullptr, nullptr);
      Add(out, window, message, ButtonFlags(state),
          PointerLParam(targets, window, event.button.x, event.button.y));
      break;
    }
    default:
      break;
  }
}

std::vector<uint32_t> DecodeUtf8(const char* text, std::size_t size) {
  std::vector<uint32_t> code_points;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  std::size_t i = 0;
  while (i < size && bytes[i] != 0) {
    const unsigned char lead = bytes[i];
    std::size_t length = 0;
    uint32_t value = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
      length = 1;
      value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      value = lead & 0x1Fu;
      minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      value = lead & 0x0Fu;
      minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      value = lead & 0x07u;
      minimum = 0x10000;
    } else {
      ++i;  // a continuation byte or an invalid lead
      continue;
    }
    bool valid = i + length <= size;
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = bytes[i + k];
      if ((next & 0xC0) != 0x80) {
        valid = false;
      } else {
        value = (value << 6) | (next & 0x3Fu);
      }
    }
    if (valid && length > 1) {
      valid = value >= minimum && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    }
    if (!valid) {
      ++i;
      continue;
    }
    code_points.push_back(value);
    i += length;
  }
  return code_points;
}

}  // namespace platform::sdl
