#include "platform/web/web_windows.h"

#include <algorithm>
#include <utility>

namespace platform::web {
namespace {

constexpr int SW_HIDE = 0;

}  // namespace

WebWindows::WebWindows(int desktop_width, int desktop_height, ShowBox show_box)
    : desktop_width_(desktop_width),
      desktop_height_(desktop_height),
      show_box_(std::move(show_box)) {}

// The page shows its own pointer and clears the canvas to black: handles that can be told
// apart are all the engine needs.
Cursor WebWindows::LoadArrowCursor() {
  return reinterpret_cast<Cursor>(&arrow_cursor_);
}

Brush WebWindows::BlackBrush() {
  return reinterpret_cast<Brush>(&black_brush_);
}

int WebWindows::RegisterClass(const WindowClass& window_class) {
  if (window_class.class_name == nullptr || window_class.proc == nullptr) return 0;
  if (std::find(class_names_.begin(), class_names_.end(), window_class.class_name) !=
      class_names_.end())
    return 0;
  class_names_.emplace_back(window_class.class_name);
  class_procs_.push_back(window_class.proc);
  return 1;
}

Window WebWindows::CreateWindow(uint32_t /*ex_style*/, const char* class_name,
                                const char* /*title*/, uint32_t /*style*/, int /*x*/, int /*y*/,
                                int width, int height, void* /*instance*/) {
  if (class_name == nullptr || width < 1 || height < 1) return nullptr;
  const auto found = std::find(class_names_.begin(), class_names_.end(), class_name);
  if (found == class_names_.end()) return nullptr;
  auto record = std::make_unique<Record>();
  record->proc = class_procs_[static_cast<std::size_t>(found - class_names_.begin())];
  // The canvas has no frame: the client area is the whole window.
  record->width = width;
  record->height = height;
  windows_.push_back(std::move(record));
  return Handle(windows_.back().get());
}

void WebWindows::GetClientSize(Window window, int* width, int* height) {
  const Record* record = Find(window);
  const bool live = record != nullptr && !record->destroyed;
  if (width != nullptr) *width = live ? record->width : 0;
  if (height != nullptr) *height = live ? record->height : 0;
}

void WebWindows::ShowWindow(Window window, int show_cmd) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed) return;
  record->shown = show_cmd != SW_HIDE;
  if (!record->shown) {
    if (on_page_ == window) on_page_ = nullptr;
    return;
  }
  // The page has one place for a window: the one shown last takes it, and with it the focus.
  on_page_ = window;
  if (page_focused_) {
    Post(WM_ACTIVATEAPP, 1);
    Post(WM_SETFOCUS, 0);
  }
}

int WebWindows::UpdateWindow(Window window) {
  const Record* record = Find(window);
  return record != nullptr && !record->destroyed ? 1 : 0;
}

bool WebWindows::PeekMessage(Message* message) {
  // A quit posted while handling a message ends the loop before any later input is looked at.
  if (queue_.empty() && quit_posted_) {
    quit_posted_ = false;
    *message = Message{nullptr, WM_QUIT, static_cast<uintptr_t>(quit_code_), 0};
    return true;
  }
  if (queue_.empty()) return false;
  *message = queue_.front().message;
  peeked_typed_ = queue_.front().typed;
  queue_.pop_front();
  return true;
}

void WebWindows::TranslateMessage(const Message& message) {
  if (message.message != WM_KEYDOWN || peeked_typed_ == 0) return;
  queue_.push_front(Queued{Message{message.window, WM_CHAR, peeked_typed_, 0}});
  peeked_typed_ = 0;
}

intptr_t WebWindows::DispatchMessage(const Message& message) {
  Record* record = Find(message.window);
  if (record == nullptr || record->destroyed) return 0;
  return record->proc(message.window, message.message, message.wparam, message.lparam);
}

intptr_t WebWindows::DefWindowProc(Window window, uint32_t message, uintptr_t /*wparam*/,
                                   intptr_t /*lparam*/) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

void WebWindows::PostQuitMessage(int exit_code) {
  quit_posted_ = true;
  quit_code_ = exit_code;
}

int WebWindows::DestroyWindow(Window window) {
  Record* record = Find(window);
  if (record == nullptr || record->destroyed) return 0;
  // Marked first, so that a handler destroying its window again is refused, not recursed.
  record->destroyed = true;
  record->proc(window, WM_DESTROY, 0, 0);
  record->shown = false;
  if (on_page_ == window) on_page_ = nullptr;
  // Messages still queued for it would reach a window that is gone.
  std::erase_if(queue_, [window](const Queued& q) { return q.message.window == window; });
  return 1;
}

// The canvas is the whole screen: client and screen positions are the same.
void WebWindows::ClientToScreen(Window /*window*/, int* /*x*/, int* /*y*/) {}

Window WebWindows::GetForegroundWindow() {
  return page_focused_ ? on_page_ : nullptr;
}

int WebWindows::MessageBox(Window /*owner*/, const char* text, const char* caption,
                           uint32_t /*type*/) {
  if (show_box_) show_box_(caption != nullptr ? caption : "", text != nullptr ? text : "");
  return 1;  // the OK button
}

void WebWindows::KeyDown(uint8_t virtual_key, uint8_t typed) {
  if (virtual_key != 0) {
    held_.set(virtual_key);
    Post(WM_KEYDOWN, virtual_key, typed);
  } else if (typed != 0) {
    // A key the desktop has no code for may still type a character.
    Post(WM_CHAR, typed);
  }
}

void WebWindows::KeyUp(uint8_t virtual_key) {
  if (!held_.test(virtual_key)) return;
  held_.reset(virtual_key);
  Post(WM_KEYUP, virtual_key);
}

void WebWindows::PageFocus(bool gained) {
  if (gained == page_focused_) return;
  page_focused_ = gained;
  if (gained) {
    Post(WM_ACTIVATEAPP, 1);
    Post(WM_SETFOCUS, 0);
  } else {
    for (int key = 1; key < 256; ++key) KeyUp(static_cast<uint8_t>(key));
    Post(WM_KILLFOCUS, 0);
    Post(WM_ACTIVATEAPP, 0);
  }
}

void WebWindows::Post(uint32_t message, uintptr_t wparam, uint8_t typed) {
  if (on_page_ == nullptr) return;
  queue_.push_back(Queued{Message{on_page_, message, wparam, 0}, typed});
}

WebWindows::Record* WebWindows::Find(Window window) const {
  if (window == nullptr) return nullptr;
  for (const auto& record : windows_) {
    if (Handle(record.get()) == window) return record.get();
  }
  return nullptr;
}

}  // namespace platform::web
