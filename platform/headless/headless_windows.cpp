#include "platform/headless/headless_windows.h"

#include <algorithm>

namespace platform::headless {

namespace {

// Handles are small numbers dressed as pointers: stable, and never dereferenced.
Window HandleOf(std::size_t index) {
  return reinterpret_cast<Window>(static_cast<uintptr_t>(index + 1));
}

std::size_t IndexOf(Window window) {
  return reinterpret_cast<uintptr_t>(window) - 1;
}

// The character a key gives, or 0 for a key that types nothing.
int CharacterOf(uint32_t key, bool shift) {
  if (key >= 'A' && key <= 'Z') return shift ? static_cast<int>(key) : static_cast<int>(key) + 32;
  if (key >= '0' && key <= '9') return static_cast<int>(key);
  switch (key) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return '\r';
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    case VK_ESCAPE:
      return 27;
    default:
      return 0;
  }
}

}  // namespace

HeadlessWindows::HeadlessWindows(HeadlessPlatform& platform) : platform_(platform) {}

// Stand-ins: the headless desktop draws no cursor and paints no background.
Cursor HeadlessWindows::LoadArrowCursor() {
  return reinterpret_cast<Cursor>(static_cast<uintptr_t>(1));
}

Brush HeadlessWindows::BlackBrush() {
  return reinterpret_cast<Brush>(static_cast<uintptr_t>(1));
}

int HeadlessWindows::RegisterClass(const WindowClass& window_class) {
  if (platform_.TakeFault(Op::kRegisterClass) != OK) return 0;
  if (window_class.class_name == nullptr || window_class.proc == nullptr) return 0;
  if (Registered(window_class.class_name)) return 0;  // a class is registered once
  classes_.push_back(Class{window_class.class_name, window_class.proc});
  return static_cast<int>(classes_.size());
}

bool HeadlessWindows::Registered(const std::string& name) const {
  return std::any_of(classes_.begin(), classes_.end(),
                     [&](const Class& c) { return c.name == name; });
}

void HeadlessWindows::Frame(uint32_t style, int* side, int* top) const {
  if ((style & WS_SYSMENU) != 0 && (style & WS_POPUP) == 0) {
    *side = platform_.config().border;
    *top = platform_.config().border + platform_.config().caption;
  } else {
    *side = 0;
    *top = 0;
  }
}

Window HeadlessWindows::CreateWindow(uint32_t ex_style, const char* class_name, const char* title,
                                     uint32_t style, int x, int y, int width, int height, void*) {
  if (platform_.TakeFault(Op::kCreateWindow) != OK) return nullptr;
  if (class_name == nullptr || !Registered(class_name)) return nullptr;
  WindowInfo info;
  info.ex_style = ex_style;
  info.style = style;
  info.class_name = class_name;
  info.title = title != nullptr ? title : "";
  info.x = x;
  info.y = y;
  info.width = std::max(width, 0);
  info.height = std::max(height, 0);
  int side = 0;
  int top = 0;
  Frame(style, &side, &top);
  info.client_width = std::max(info.width - 2 * side, 0);
  info.client_height = std::max(info.height - top - side, 0);
  windows_.push_back(info);
  return HandleOf(windows_.size() - 1);
}

WindowInfo* HeadlessWindows::Lookup(Window window) {
  if (window == nullptr || IndexOf(window) >= windows_.size()) return nullptr;
  WindowInfo* info = &windows_[IndexOf(window)];
  return info->destroyed ? nullptr : info;
}

const WindowInfo* HeadlessWindows::Find(Window window) const {
  if (window == nullptr || IndexOf(window) >= windows_.size()) return nullptr;
  return &windows_[IndexOf(window)];
}

const HeadlessWindows::Class* HeadlessWindows::ClassOf(const WindowInfo& info) const {
  for (const Class& c : classes_) {
    if (c.name == info.class_name) return &c;
  }
  return nullptr;
}

Window HeadlessWindows::Main() const {
  for (std::size_t i = windows_.size(); i > 0; --i) {
    if (!windows_[i - 1].destroyed) return HandleOf(i - 1);
  }
  return nullptr;
}

void HeadlessWindows::GetClientSize(Window window, int* width, int* height) {
  const WindowInfo* info = Lookup(window);
  *width = info != nullptr ? info->client_width : 0;
  *height = info != nullptr ? info->client_height : 0;
}

void HeadlessWindows::ShowWindow(Window window, int show_cmd) {
  WindowInfo* info = Lookup(window);
  if (info == nullptr) return;
  info->show_cmd = show_cmd;
  info->visible = show_cmd != 0;
  if (info->visible) foreground_ = window;
}

int HeadlessWindows::UpdateWindow(Window window) {
  if (platform_.TakeFault(Op::kUpdateWindow) != OK) return 0;
  return Lookup(window) != nullptr ? 1 : 0;
}

void HeadlessWindows::IdlePass() {
  ++idle_polls_;
  platform_.Advance(platform_.config().ms_per_idle_poll);
  // Scheduled messages keep their order among themselves.
  auto due = std::stable_partition(scheduled_.begin(), scheduled_.end(),
                                   [&](const Scheduled& s) { return s.due <= idle_polls_; });
  for (auto it = scheduled_.begin(); it != due; ++it) queue_.push_back(it->message);
  scheduled_.erase(scheduled_.begin(), due);
  const uint64_t close_after = platform_.config().close_after_idle_polls;
  if (close_after != 0 && idle_polls_ == close_after) queue_.push_back(Message{nullptr, WM_CLOSE});
}

bool HeadlessWindows::PeekMessage(Message* message) {
  if (!queue_.empty()) {
    *message = queue_.front();
    queue_.pop_front();
    if (message->window == nullptr) message->window = Main();
    return true;
  }
  if (quit_pending_) {
    quit_pending_ = false;
    *message = Message{nullptr, WM_QUIT, static_cast<uintptr_t>(quit_code_), 0};
    return true;
  }
  IdlePass();
  return false;
}

void HeadlessWindows::PostAfterIdle(uint64_t idle_polls, const Message& message) {
  if (idle_polls == 0) {
    queue_.push_back(message);
    return;
  }
  scheduled_.push_back(Scheduled{idle_polls_ + idle_polls, message});
}

void HeadlessWindows::TranslateMessage(const Message& message) {
  if (message.message == WM_KEYUP && (message.wparam & 0xFF) == VK_SHIFT) shift_down_ = false;
  if (message.message != WM_KEYDOWN) return;
  const uint32_t key = static_cast<uint32_t>(message.wparam & 0xFF);
  if (key == VK_SHIFT) shift_down_ = true;
  const int character = CharacterOf(key, shift_down_);
  if (character != 0) {
    queue_.push_front(Message{message.window, WM_CHAR, static_cast<uintptr_t>(character), 0});
  }
}

intptr_t HeadlessWindows::DispatchMessage(const Message& message) {
  WindowInfo* info = Lookup(message.window);
  if (info == nullptr) return 0;
  const Class* window_class = ClassOf(*info);
  if (window_class == nullptr) return 0;
  return window_class->proc(message.window, message.message, message.wparam, message.lparam);
}

intptr_t HeadlessWindows::DefWindowProc(Window, uint32_t, uintptr_t, intptr_t) {
  return 0;
}

void HeadlessWindows::PostQuitMessage(int exit_code) {
  quit_pending_ = true;
  quit_code_ = exit_code;
}

int HeadlessWindows::DestroyWindow(Window window) {
  if (platform_.TakeFault(Op::kDestroyWindow) != OK) return 0;
  WindowInfo* info = Lookup(window);
  if (info == nullptr) return 0;
  info->destroyed = true;
  info->visible = false;
  if (foreground_ == window) foreground_ = nullptr;
  // The handler still sees its window during WM_DESTROY.
  const Class* window_class = ClassOf(*info);
  if (window_class != nullptr) window_class->proc(window, WM_DESTROY, 0, 0);
  return 1;
}

void HeadlessWindows::ClientToScreen(Window window, int* x, int* y) {
  const WindowInfo* info = Lookup(window);
  if (info == nullptr) return;
  int side = 0;
  int top = 0;
  Frame(info->style, &side, &top);
  *x += info->x + side;
  *y += info->y + top;
}

void HeadlessWindows::Move(Window window, int x, int y) {
  WindowInfo* info = Lookup(window);
  if (info == nullptr) return;
  info->x = x;
  info->y = y;
  int client_x = 0;
  int client_y = 0;
  ClientToScreen(window, &client_x, &client_y);
  queue_.push_back(Message{window, WM_MOVE, 0, MakeLParam(client_x, client_y)});
}

int HeadlessWindows::MessageBox(Window owner, const char* text, const char* caption, uint32_t) {
  platform_.RecordMessageBox(owner, text, caption);
  return 1;  // IDOK
}

}  // namespace platform::headless
