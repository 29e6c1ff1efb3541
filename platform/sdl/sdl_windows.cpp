#include "platform/sdl/sdl_windows.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_message_box.h"

namespace platform::sdl {
namespace {

constexpr int SW_HIDE = 0;
// The engine's view is 16 bits per pixel whatever the desktop holds: presentation converts it.
constexpr int kDesktopDepth = 16;

// Where there is no display, SDL falls back to drivers that show nothing at all; a window there
// would run unseen for ever. They are used only when asked for by name (SDL_VIDEODRIVER), as
// tests do.
bool VisibleDriver() {
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (asked != nullptr && asked[0] != '\0') return true;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "offscreen") != 0 &&
         std::strcmp(driver, "dummy") != 0;
}

}  // namespace

SdlWindows::~SdlWindows() {
  for (const auto& record : windows_) {
    if (record->renderer != nullptr) SDL_DestroyRenderer(record->renderer);
    if (record->sdl != nullptr) SDL_DestroyWindow(record->sdl);
  }
  if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindows::StartVideo() {
  if (video_) return true;
  // Full-screen mode may scale the view to the real display mode; smoothing would only blur
  // its pixels.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (!VisibleDriver()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  video_ = true;
  SDL_StartTextInput();
  pads_.Start();
  return true;
}

Cursor SdlWindows::LoadArrowCursor() {
  return reinterpret_cast<Cursor>(&arrow_cursor_);
}

Brush SdlWindows::BlackBrush() {
  return reinterpret_cast<Brush>(&black_brush_);
}

int SdlWindows::RegisterClass(const WindowClass& window_class) {
  if (window_class.class_name == nullptr || window_class.proc == nullptr) return 0;
  for (const std::string& name : class_names_) {
    if (name == window_class.class_name) return 0;
  }
  // A class is of no use without windows, and there are none without a display.
  if (!StartVideo()) return 0;
  class_names_.emplace_back(window_class.class_name);
  classes_.push_back(window_class);
  classes_.back().class_name = nullptr;
  classes_.back().menu_name = nullptr;
  return 1;
}

int SdlWindows::DesktopDepth() {
  return kDesktopDepth;
}

int SdlWindows::DesktopWidth() {
  SDL_DisplayMode mode;
  if (!StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.w;
}

int SdlWindows::DesktopHeight() {
  SDL_DisplayMode mode;
  if (!StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.h;
}

Window SdlWindows::CreateWindow(uint32_t /*ex_style*/, const char* class_name, const char* title,
                                uint32_t style, int x, int y, int width, int height,
                                void* /*instance*/) {
  if (class_name == nullptr || !video_) return nullptr;
  const auto found = std::find(class_names_.begin(), class_names_.end(), class_name);
  if (found == class_names_.end()) return nullptr;
  const WindowClass& window_class =
      classes_[static_cast<std::size_t>(found - class_names_.begin())];

  // Windows appear only when shown; a pop-up has no frame. SDL sizes a window by its client
  // area, so the outer size asked for is the client size, and a window measured this way tells
  // the engine that no frame needs adding.
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
  const char* text = title != nullptr ? title : "";
  // Made ready for the accelerated renderer at once: adding it later would make SDL build the
  // window again, after it has been shown and taken the focus.
  SDL_Window* window = SDL_CreateWindow(text, x, y, width, height, flags | SDL_WINDOW_OPENGL);
  if (window == nullptr) window = SDL_CreateWindow(text, x, y, width, height, flags);
  if (window == nullptr) return nullptr;

  auto record = std::make_unique<Record>();
  record->sdl = window;
  record->proc = window_class.proc;
  windows_.push_back(std::move(record));
  return Handle(windows_.back().get());
}

void SdlWindows::GetClientSize(Window window, int* width, int* height) {
  int w = 0;
  int h = 0;
  if (SDL_Window* sdl_window = SdlWindow(window)) SDL_GetWindowSize(sdl_window, &w, &h);
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
}

void SdlWindows::ShowWindow(Window window, int show_cmd) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed) return;
  if (show_cmd == SW_HIDE) {
    SDL_HideWindow(record->sdl);
    record->shown = false;
    return;
  }
  // On an X server without a window manager SDL hands the shown window the keyboard focus
  // itself; with one, raising asks the manager to put it in front.
  SDL_ShowWindow(record->sdl);
  SDL_RaiseWindow(record->sdl);
  record->shown = true;
}

int SdlWindows::UpdateWindow(Window window) {
  return SdlWindow(window) != nullptr ? 1 : 0;
}

void SdlWindows::Pump() {
  if (!video_) return;
  const EventTargets targets{[this](uint32_t id) { return FromSdlId(id); },
                             [this] { return QuitTarget(); }};
  std::vector<Message> converted;
  SDL_Event event;
  while (converted.empty() && SDL_PollEvent(&event) != 0) {
    if (!pads_.Convert(event, QuitTarget(), &converted)) ConvertEvent(event, targets, &converted);
  }
  queue_.insert(queue_.end(), converted.begin(), converted.end());
}

bool SdlWindows::PeekMessage(Message* message) {
  // Messages already taken from SDL come first, then the quit message, then new events: a
  // quit posted while handling a message ends the loop before any later input is looked at.
  if (queue_.empty() && quit_posted_) {
    quit_posted_ = false;
    *message = Message{nullptr, WM_QUIT, static_cast<uintptr_t>(quit_code_), 0};
    return true;
  }
  if (queue_.empty()) Pump();
  if (queue_.empty()) return false;
  *message = queue_.front();
  queue_.pop_front();
  return true;
}

void SdlWindows::TranslateMessage(const Message& message) {
  if (message.message != WM_KEYDOWN) return;
  // SDL's text input reports only printable characters; these keys type control characters.
  switch (message.wparam) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
      queue_.push_front(Message{message.window, WM_CHAR, message.wparam, message.lparam});
      break;
    default:
      break;
  }
}

intptr_t SdlWindows::DispatchMessage(const Message& message) {
  Record* record = Find(message.window);
  if (record == nullptr || record->destroyed) return 0;
  return record->proc(message.window, message.message, message.wparam, message.lparam);
}

intptr_t SdlWindows::DefWindowProc(Window window, uint32_t message, uintptr_t /*wparam*/,
                                   intptr_t /*lparam*/) {
  // A close that the handler let through still closes the window; a window the handler has
  // already destroyed is left alone.
  if (message == WM_CLOSE) {
    Record* record = Find(window);
    if (record != nullptr && !record->destroyed && !record->destroying) DestroyWindow(window);
  }
  return 0;
}

void SdlWindows::PostQuitMessage(int exit_code) {
  quit_posted_ = true;
  quit_code_ = exit_code;
}

int SdlWindows::DestroyWindow(Window window) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed || record->destroying) return 0;
  record->destroying = true;
  record->proc(window, WM_DESTROY, 0, 0);
  record->destroying = false;
  record->destroyed = true;
  record->shown = false;
  // Messages still queued for it would reach a window that is gone.
  std::erase_if(queue_, [window](const Message& m) { return m.window == window; });
  if (record->renderer_users > 0) {
    SDL_HideWindow(record->sdl);
  } else {
    SDL_DestroyWindow(record->sdl);
    record->sdl = nullptr;
  }
  return 1;
}

void SdlWindows::ClientToScreen(Window window, int* x, int* y) {
  int left = 0;
  int top = 0;
  if (SDL_Window* sdl_window = SdlWindow(window)) SDL_GetWindowPosition(sdl_window, &left, &top);
  if (x != nullptr) *x += left;
  if (y != nullptr) *y += top;
}

Window SdlWindows::GetForegroundWindow() {
  if (!video_) return nullptr;
  SDL_Window* focused = SDL_GetKeyboardFocus();
  if (focused == nullptr) return nullptr;
  for (const auto& record : windows_) {
    if (!record->destroyed && record->sdl == focused) return Handle(record.get());
  }
  return nullptr;
}

int SdlWindows::MessageBox(Window owner, const char* text, const char* caption, uint32_t /*type*/) {
  // A hidden owner would hide the box with it.
  const Record* record = Find(owner);
  SDL_Window* parent = record != nullptr && record->shown ? record->sdl : nullptr;
  ShowMessageBox(parent, text, caption);
  return 1;  // the OK button
}

SDL_Window* SdlWindows::SdlWindow(Window window) const {
  const Record* record = Find(window);
  return record != nullptr && !record->destroyed ? record->sdl : nullptr;
}

SDL_Renderer* SdlWindows::AcquireRenderer(Window window) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed) return nullptr;
  if (record->renderer == nullptr) {
    // Waiting for the vertical blank where the display has one; the software renderer where
    // there is no accelerated one.
    record->renderer =
        SDL_CreateRenderer(record->sdl, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (record->renderer == nullptr) {
      record->renderer = SDL_CreateRenderer(record->sdl, -1, SDL_RENDERER_SOFTWARE);
    }
    if (record->renderer == nullptr) return nullptr;
  }
  ++record->renderer_users;
  return record->renderer;
}

void SdlWindows::ReleaseRenderer(Window window) {
  Record* record = Find(window);
  if (record == nullptr || record->renderer_users == 0) return;
  if (--record->renderer_users > 0) return;
  SDL_DestroyRenderer(record->renderer);
  record->renderer = nullptr;
  if (record->destroyed && record->sdl != nullptr) {
    SDL_DestroyWindow(record->sdl);
    record->sdl = nullptr;
  }
}

SdlWindows::Record* SdlWindows::Find(Window window) const {
  if (window == nullptr) return nullptr;
  for (const auto& record : windows_) {
    if (Handle(record.get()) == window) return record.get();
  }
  return nullptr;
}

Window SdlWindows::FromSdlId(uint32_t id) const {
  SDL_Window* sdl_window = SDL_GetWindowFromID(id);
  if (sdl_window == nullptr) return nullptr;
  for (const auto& record : windows_) {
    if (!record->destroyed && record->sdl == sdl_window) return Handle(record.get());
  }
  return nullptr;
}

Window SdlWindows::QuitTarget() const {
  // The window on screen, the latest first; a program whose windows are all hidden closes its
  // latest window.
  Window fallback = nullptr;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    const Record& record = **it;
    if (record.destroyed) continue;
    if (record.shown) return Handle(it->get());
    if (fallback == nullptr) fallback = Handle(it->get());
  }
  return fallback;
}

}  // namespace platform::sdl
