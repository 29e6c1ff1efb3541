// The window system on SDL: window classes and their handlers, windows, the message queue fed
// from SDL's events (pads' too), focus, positions and message boxes.
//
// A window keeps the client size it was made with as the size the engine sees, whatever size it
// has on screen: a framed window can be resized, maximised and switched to the desktop's full
// screen (F11, Alt+Enter), and its view is scaled to fit, with pointer positions mapped back.
#pragma once

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_render.h>
#include <SDL2/SDL_video.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_pads.h"

namespace platform::sdl {

class SdlWindows final : public WindowSystem {
 public:
  SdlWindows() = default;
  ~SdlWindows() override;
  SdlWindows(const SdlWindows&) = delete;
  SdlWindows& operator=(const SdlWindows&) = delete;

  Cursor LoadArrowCursor() override;
  Brush BlackBrush() override;
  int RegisterClass(const WindowClass& window_class) override;
  int DesktopDepth() override;
  int DesktopWidth() override;
  int DesktopHeight() override;
  Window CreateWindow(uint32_t ex_style, const char* class_name, const char* title, uint32_t style,
                      int x, int y, int width, int height, void* instance) override;
  void GetClientSize(Window window, int* width, int* height) override;
  void ShowWindow(Window window, int show_cmd) override;
  int UpdateWindow(Window window) override;
  bool PeekMessage(Message* message) override;
  void TranslateMessage(const Message& message) override;
  intptr_t DispatchMessage(const Message& message) override;
  intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wparam,
                         intptr_t lparam) override;
  void PostQuitMessage(int exit_code) override;
  int DestroyWindow(Window window) override;
  void ClientToScreen(Window window, int* x, int* y) override;
  Window GetForegroundWindow() override;
  int MessageBox(Window owner, const char* text, const char* caption, uint32_t type) override;

  // Starts SDL's video the first time it is needed; false when there is no display to use.
  bool StartVideo();
  // Framed windows made from now on open at the largest whole multiple of their size up to
  // `scale` that fits the desktop; 1, the default, opens them at their size.
  void SetOpeningScale(int scale) { opening_scale_ = scale; }
  // Switches a framed window between its own size and the desktop's full screen, the pointer
  // hidden there; the desktop's mode is never changed. Frameless windows are left alone: they
  // belong to the engine's own full-screen mode.
  void ToggleFullScreen(Window window);
  // A pointer position in the window's own coordinates turned into view coordinates for the
  // view the window was made for, as presentation places it; clamped to the view.
  void PointToView(Window window, int* x, int* y);
  // The SDL window behind a handle; null for an unknown or destroyed window.
  SDL_Window* SdlWindow(Window window) const;
  // The renderer that draws into a window's client area, made on first use and shared by its
  // users; null when the window is gone or no renderer can be made. Each successful call is
  // paired with ReleaseRenderer.
  SDL_Renderer* AcquireRenderer(Window window);
  // Drops one use; the last one destroys the renderer, and the SDL window too when the window
  // was destroyed meanwhile (SDL must not destroy a window under a live renderer).
  void ReleaseRenderer(Window window);

 private:
  struct Record {
    SDL_Window* sdl = nullptr;
    WindowProcFn proc = nullptr;
    bool shown = false;
    bool destroying = false;
    bool destroyed = false;
    SDL_Renderer* renderer = nullptr;
    int renderer_users = 0;
    int view_width = 0;  // the client size asked for, which the engine keeps seeing
    int view_height = 0;
    bool framed = false;
  };

  Record* Find(Window window) const;
  static Window Handle(Record* record) { return reinterpret_cast<Window>(record); }
  // Converts SDL events until one yields a message or none is left.
  void Pump();
  // Handles the back end's own keys (the full-screen toggle); true when the event was one.
  bool OwnKey(const SDL_Event& event);
  // The window that a quit request closes and that pad messages reach.
  Window QuitTarget() const;
  Window FromSdlId(uint32_t id) const;

  bool video_ = false;
  // SDL shows the arrow over its windows and presentation clears to black, so the class's
  // cursor and brush only need handles that can be told apart.
  char arrow_cursor_ = 0;
  char black_brush_ = 0;
  std::vector<WindowClass> classes_;
  std::vector<std::string> class_names_;  // own copies; the caller's strings may not last
  // Records live as long as the window system so that a stale handle is recognised, not followed.
  std::vector<std::unique_ptr<Record>> windows_;
  std::deque<Message> queue_;
  // Pads belong to the program rather than a window; their messages go to the window on screen.
  SdlPads pads_;
  bool quit_posted_ = false;
  int quit_code_ = 0;
  int opening_scale_ = 1;
};

}  // namespace platform::sdl
