#include "platform/sdl/sdl_windows.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_layout.h"
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
  const bool framed = (style & WS_POPUP) == 0;
  flags |= framed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS;
  const char* text = title != nullptr ? title : "";
  const int view_width = width;
  const int view_height = height;
  SDL_Rect room;
  if (framed && opening_scale_ > 1 && width > 0 && height > 0 &&
      SDL_GetDisplayUsableBounds(0, &room) == 0) {
    // Scaled about the same centre, and kept on the desktop.
    const int scale = OpeningScale(width, height, room.w, room.h, opening_scale_);
    x = std::max(room.x, x - (width * scale - width) / 2);
    y = std::max(room.y, y - (height * scale - height) / 2);
    width *= scale;
    height *= scale;
  }
  // Made ready for the accelerated renderer at once: adding it later would make SDL build the
  // window again, after it has been shown and taken the focus.
  SDL_Window* window = SDL_CreateWindow(text, x, y, width, height, flags | SDL_WINDOW_OPENGL);
  if (window == nullptr) window = SDL_CreateWindow(text, x, y, width, height, flags);
  if (window == nullptr) return nullptr;

  auto record = std::make_unique<Record>();
  record->sdl = window;
  record->proc = window_class.proc;
  record->view_width = view_width;
  record->view_height = view_height;
  record->framed = framed;
  windows_.push_back(std::move(record));
  return Handle(windows_.back().get());
}

void SdlWindows::GetClientSize(Window window, int* width, int* height) {
  const Record* record = Find(window);
  const bool live = record != nullptr && !record->destroyed;
  if (width != nullptr) *width = live ? record->view_width : 0;
  if (height != nullptr) *height = live ? record->view_height : 0;
}

void SdlWindows::ToggleFullScreen(Window window) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed || !record->framed) return;
  const bool full = (SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  if (SDL_SetWindowFullscreen(record->sdl, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
  SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindows::PointToView(Window window, int* x, int* y) {
  const Record* record = Find(window);
  // The engine's own full-screen mode keeps its window's coordinates.
  if (record == nullptr || record->destroyed || !record->framed) return;
  int window_width = 0;
  int window_height = 0;
  SDL_GetWindowSize(record->sdl, &window_width, &window_height);
  // The size actually drawn: a full-screen window without a window manager can report the
  // desktop's size while it is still drawn at its old one.
  int area_width = window_width;
  int area_height = window_height;
  if (record->renderer != nullptr) {
    int logical = 0;
    SDL_RenderGetLogicalSize(record->renderer, &logical, nullptr);
    if (logical != 0) return;  // the engine's full-screen mode: SDL has mapped the point already
    SDL_GetRendererOutputSize(record->renderer, &area_width, &area_height);
  }
  const ViewPlacement placement =
      PlaceView(record->view_width, record->view_height, area_width, area_height);
  WindowToView(placement, record->view_width, record->view_height, window_width, window_height,
               area_width, area_height, x, y);
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
                             [this] { return QuitTarget(); },
                             [this](Window window, int* x, int* y) { PointToView(window, x, y); }};
  std::vector<Message> converted;
  SDL_Event event;
  while (converted.empty() && SDL_PollEvent(&event) != 0) {
    if (OwnKey(event) || pads_.Convert(event, QuitTarget(), &converted)) continue;
    ConvertEvent(event, targets, &converted);
  }
  queue_.insert(queue_.end(), converted.begin(), converted.end());
}

bool SdlWindows::OwnKey(const SDL_Event& event) {
  if (event.type != SDL_KEYDOWN) return false;
  const SDL_Keysym& key = event.key.keysym;
  const bool alt_enter =
      (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0;
  if (key.sym != SDLK_F11 && !alt_enter) return false;
  // A held key toggles once.
  if (event.key.repeat == 0) ToggleFullScreen(FromSdlId(event.key.windowID));
  return true;
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
