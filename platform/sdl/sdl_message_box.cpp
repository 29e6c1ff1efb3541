#include "platform/sdl/sdl_message_box.h"

#include <SDL2/SDL_messagebox.h>

namespace platform::sdl {

void ShowMessageBox(SDL_Window* owner, const char* text, const char* caption, std::FILE* fallback) {
  const char* body = text != nullptr ? text : "";
  const char* title = caption != nullptr ? caption : "";
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, body, owner) == 0) return;
  if (title[0] != '\0') {
    std::fprintf(fallback, "%s: %s\n", title, body);
  } else {
    std::fprintf(fallback, "%s\n", body);
  }
  std::fflush(fallback);
}

}  // namespace platform::sdl
