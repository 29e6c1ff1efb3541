// Message boxes on the desktop, and on standard error where no display can show one.
#pragma once

#include <SDL2/SDL_video.h>

#include <cstdio>

namespace platform::sdl {

// Shows the text with one OK button and returns once it is closed. Where SDL cannot show a box
// (no display at all), writes "caption: text" and a line feed to `fallback` instead (the text
// alone when the caption is empty), so that the message is never lost. Null texts count as empty.
void ShowMessageBox(SDL_Window* owner, const char* text, const char* caption,
                    std::FILE* fallback = stderr);

}  // namespace platform::sdl
